#pragma once

#include <QObject>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

// The usual rules of document windows inside a main window, which Qt keeps only in part: while
// the active window is maximized, every window that becomes active is maximized too, also when
// the maximized one closes; a restored window is never smaller than the whole of what it shows.
// Cascading and tiling restore the windows first and so end the maximized state.
class MdiChildRules : public QObject {
public:
    explicit MdiChildRules(QMdiArea* area);

    // `content` is the size at which the window's widget shows all of itself.
    void Watch(QMdiSubWindow* window, QSize content);
    // Called before `window` closes.
    void Closing(QMdiSubWindow* window);

private:
    void OnActivated(QMdiSubWindow* window);

    QMdiArea* m_pArea;
    bool m_bMaximized = false;
};
