#pragma once

class QFileDialog;

// The Open and Save dialogs open at the size the user gave them last or, the first time, wide
// enough that every column of their detail view reads: Qt sizes those columns for English
// samples, and the German headers and dates are longer.
class FileDialogSize {
public:
    static void Restore(QFileDialog& dialog);
    static void Remember(const QFileDialog& dialog);
};
