#include "DialogHelp.h"

#include <QAction>
#include <QWidget>

#include "CHelpWindow.h"
#include "ResourceLookup.h"

void AfxEnableDialogHelp(QWidget* dialog, unsigned nIDHelp) {
    if (!dialog || AfxHelpUrl(nIDHelp).isEmpty()) {
        return;
    }
    auto* help = new QAction(dialog);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(help, &QAction::triggered, dialog,
                     [dialog, nIDHelp] { CHelpWindow::ShowPage(AfxHelpUrl(nIDHelp), dialog); });
    dialog->addAction(help);
}
