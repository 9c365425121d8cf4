#pragma once

#include <QString>

// `periolex --copy SOURCE TARGET [--link FILE] [--table NAME] [--overwrite]`: copies a catalogue
// between files, links and servers on the terminal, without a window, and writes a link to the
// target when asked; `table` names the table of an old catalogue with several. Returns the exit
// code.
int RunCopyCommand(const QString& source, const QString& target, const QString& link,
                   const QString& table, bool overwrite);
