#include "FileDialogWidget.h"

#include <QFileInfo>

void FileDialogWidget::accept() {
    const QStringList files = selectedFiles();
    if (acceptMode() == AcceptOpen && files.size() == 1) {
        const QFileInfo chosen(files.constFirst());
        if (chosen.isSymLink() && !chosen.exists()) {
            QDialog::accept();
            return;
        }
    }
    QFileDialog::accept();
}
