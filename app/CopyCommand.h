#pragma once

// `periolex --copy SOURCE TARGET [--link FILE] [--overwrite]`: copies a catalogue between files,
// links and servers on the terminal, without a window. Returns the exit code.
int RunCopyCommand(int argc, char** argv);
