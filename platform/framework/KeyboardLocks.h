#pragma once

#include <functional>
#include <optional>

// The lock keys' state as the window system keeps it, so that the status bar can show it before
// the first key press.
struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Nothing where the window system does not tell (Qt offers no portable way to ask).
std::optional<KeyboardLocks> AfxReadKeyboardLocks();

// Tests stand in for the window system; an empty function brings the real one back.
void AfxSetKeyboardLockReader(std::function<std::optional<KeyboardLocks>()> reader);
