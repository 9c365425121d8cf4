#include "DialogWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

#include "CMDIFrameWnd.h"

void AfxMakeDialogWindow(QWidget* dialog, QWidget* owner) {
    if (!owner) {
        owner = QApplication::activeWindow();
    }
    if (!owner || owner == dialog) {
        CMDIFrameWnd* frame = AfxGetMainFrame();
        owner = frame ? frame->MainWindow() : nullptr;
    }
    const Qt::WindowFlags flags = dialog->windowFlags();
    dialog->setParent(owner ? owner->window() : nullptr,
                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          (flags & Qt::MSWindowsFixedSizeDialogHint));
}
