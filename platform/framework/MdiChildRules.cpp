#include "MdiChildRules.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

MdiChildRules::MdiChildRules(QMdiArea* area) : QObject(area), m_pArea(area) {
    connect(area, &QMdiArea::subWindowActivated, this, &MdiChildRules::OnActivated);
}

void MdiChildRules::Watch(QMdiSubWindow* window, QSize content) {
    // The window's own minimum counts its title bar and border around the content.
    if (content.isValid()) {
        window->widget()->setMinimumSize(content);
    }
    window->setMinimumSize(window->minimumSizeHint());
    window->resize(window->minimumSize());
    connect(window, &QMdiSubWindow::windowStateChanged, this,
            [this, window](Qt::WindowStates, Qt::WindowStates state) {
                if (window == m_pArea->currentSubWindow()) {
                    m_bMaximized = (state & Qt::WindowMaximized) != 0;
                }
            });
}

void MdiChildRules::Closing(QMdiSubWindow* window) {
    if (window != m_pArea->currentSubWindow() || !window->isMaximized()) {
        return;
    }
    // While a window closes, Qt activates the others in turn and restores some of them on the
    // way; the window that is active in the end is maximized once Qt is done.
    m_bMaximized = true;
    QTimer::singleShot(0, this, [this] {
        QMdiSubWindow* active = m_pArea->currentSubWindow();
        if (active && !active->isMaximized()) {
            active->showMaximized();
        }
    });
}

void MdiChildRules::OnActivated(QMdiSubWindow* window) {
    // Null while the main window itself is inactive: the state stays as it was.
    if (!window) {
        return;
    }
    if (m_bMaximized && !window->isMaximized()) {
        window->showMaximized();
    }
    m_bMaximized = window->isMaximized();
}
