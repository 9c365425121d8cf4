#include "MdiChildRules.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
