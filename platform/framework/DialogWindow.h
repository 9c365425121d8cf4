#pragma once

#include <QtGlobal>

class QWidget;

// Every dialog of the program is a window of the program's window that is in front (or of the
// main window, while the program is not the active one): window managers give a window without
// one the frame of a main window, with minimize and maximize buttons. It has a title with its
// system menu and close button, and no other buttons.
void AfxMakeDialogWindow(QWidget* dialog, QWidget* owner = nullptr);
