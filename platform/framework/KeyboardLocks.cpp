#include "KeyboardLocks.h"

#include <QGuiApplication>

// X11's headers define names (None, Bool, Status) that clash with Qt's; they come last.
#if defined(PERIOLEX_HAVE_XKB) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define PERIOLEX_READ_XKB 1
#endif

namespace {

std::function<std::optional<KeyboardLocks>()>& Reader() {
    static std::function<std::optional<KeyboardLocks>()> reader;
    return reader;
}

#ifdef PERIOLEX_READ_XKB
// Indicators are found by name: their numbers differ between keyboard maps.
bool IndicatorOn(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) &&
           on;
}
#endif

std::optional<KeyboardLocks> ReadFromWindowSystem() {
#ifdef PERIOLEX_READ_XKB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (Display* display = x11 ? x11->display() : nullptr) {
        return KeyboardLocks{IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"),
                             IndicatorOn(display, "Scroll Lock")};
    }
#endif
    return std::nullopt;
}

}  // namespace

std::optional<KeyboardLocks> AfxReadKeyboardLocks() {
    return Reader() ? Reader()() : ReadFromWindowSystem();
}

void AfxSetKeyboardLockReader(std::function<std::optional<KeyboardLocks>()> reader) {
    Reader() = std::move(reader);
}
