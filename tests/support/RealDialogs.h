#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

// Runs a command with the modal seam off, so that the program builds its real dialogs, and hands
// each dialog that opens meanwhile, in order, to the next answer: it looks at the dialog and ends
// it with keys, as a user would. A dialog that an answer leaves open, or that no answer expects,
// is closed and counted as a failure, so that no test hangs in a modal loop.
class RealDialogs {
public:
    using Answer = std::function<void(QWidget* dialog)>;
    static void Run(const std::function<void()>& command, std::vector<Answer> answers);

    // Makes the dialog the active window, as the window manager would, and waits for that.
    static bool Activate(QWidget* dialog);
    // Sends a key to the widget with the focus, or to the dialog when the focus is elsewhere.
    static void Press(QWidget* dialog, int key, bool alt = false);
    static QPushButton* DefaultButton(const QWidget* dialog);
    // The letters after '&' in the dialog's buttons and labels, in lower case.
    static QList<QChar> Mnemonics(const QWidget* dialog);
    static bool MnemonicsAreUnique(const QWidget* dialog);
};
