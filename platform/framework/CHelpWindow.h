#pragma once

#include <QUrl>

class QWidget;

// The window in which the help pages are read: contents, back and forward, links between pages.
// One window serves the whole program; asking for help again brings it forward at the new page.
class CHelpWindow {
public:
    static void ShowPage(const QUrl& page, QWidget* owner);
    // The window, while it is open; for tests.
    static QWidget* Window();
    static QUrl CurrentPage();
};
