#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

// Every modal question of the program (message box, file dialog, dialog from a template) passes
// through here. In normal use nothing is queued and the real dialog runs. Tests switch the seam
// on and queue answers beforehand, so that no test ever waits on a real modal loop.
struct ModalRequest {
    enum class Kind { MessageBox, FileDialog, Dialog };
    Kind kind;
    QString text;          // message text, or the dialog's title
    QString caption;       // message box caption, or the name a file dialog proposes
    unsigned type = 0;     // message box type (MB_...)
    unsigned help = 0;     // the help topic that F1 shows, or 0
    QString details = {};  // message box: what its "Details" button shows
};

struct ModalAnswer {
    int result = 0;    // IDOK, IDYES, ... as the dialog would return it
    QString fileName;  // for file dialogs: the name the user typed or chose
    // For dialogs built from templates: called with the dialog before it "closes", to fill in
    // fields as a user would.
    std::function<void(QWidget*)> fill;
    // For dialogs that ask for one text: the text the user typed.
    QString text = {};
};

class ModalSeam {
public:
    static void Enable(bool on);
    static bool IsEnabled();

    static void Push(ModalAnswer answer);
    // As Push; `meanwhile` runs when the answer is handed out, standing for what happens
    // elsewhere while the question is open.
    static void Push(ModalAnswer answer, std::function<void()> meanwhile);
    // With the seam on: records the request and hands out the next queued answer; an
    // unexpected request is recorded as unanswered and gets IDCANCEL.
    static ModalAnswer Answer(const ModalRequest& request);

    static const std::vector<ModalRequest>& Requests();
    static std::vector<ModalRequest> Unanswered();
    static std::size_t Pending();
    static void Reset();
};
