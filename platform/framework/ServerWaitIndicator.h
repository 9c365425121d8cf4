#pragma once

#include <QFrame>
#include <functional>

// A panel at the foot of a window that says that the program waits for the database server,
// with "Abbrechen" for a command that the user may cancel. It never takes the keyboard focus:
// keys the user types meanwhile are meant for the form; Escape cancels (see EventLoopWaiter).
class ServerWaitIndicator : public QFrame {
public:
    static constexpr const char* kObjectName = "ServerWaitIndicator";

    // Without `cancel`, the panel only says that the program waits.
    ServerWaitIndicator(QWidget* window, std::function<void()> cancel);

    // Whether `object` is the panel or part of it.
    bool Holds(const QObject* object) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the panel at the foot of its window, across its width's middle.
    void Place();
};
