#pragma once

#include <QFileDialog>

// Qt's own file dialog, as the Open and Save dialogs of the program show it. A name in the folder
// that leads nowhere (a link that is broken or points round in a circle) is taken like any file,
// so that the program, not the dialog, says why it cannot be opened: the dialog would only say
// that the file cannot be found, while the user sees it listed.
class FileDialogWidget : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override;
};
