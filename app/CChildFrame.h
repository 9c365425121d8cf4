#pragma once

#include <CMDIChildWnd.h>

// The window of a catalogue inside the main window: opens maximized, has a caption, system menu
// and minimize/maximize buttons, and no sizing border.
class CChildFrame : public CMDIChildWnd {
public:
    bool PreCreateWindow(CREATESTRUCT& cs) override;
};
