#pragma once

// Gives the process a private runtime folder when the session names none ($XDG_RUNTIME_DIR unset,
// as after su or over a plain remote shell). Qt looks into that folder while it starts and, left
// to pick one itself, says so on standard error; someone at a terminal should see only what the
// program says. The folder is the one Qt would pick, so other programs of the user meet it too.
// Call before the Qt application object exists.
void ProvideRuntimeDirectory();
