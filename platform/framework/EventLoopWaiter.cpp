#include "EventLoopWaiter.h"

#include <poll.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <climits>
#include <optional>

#include "ServerWaitIndicator.h"

namespace {

bool ReadyNow(int descriptor, bool forWriting) {
    pollfd watched{descriptor, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    return descriptor >= 0 && poll(&watched, 1, 0) > 0;
}

// The window that the user works in, which says that it waits.
QWidget* WaitingWindow() {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->inherits("QMainWindow")) {
            return window;
        }
    }
    return nullptr;
}

bool IsPointerInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

EventLoopWaiter::EventLoopWaiter() {
    qApp->installEventFilter(this);
}

EventLoopWaiter::~EventLoopWaiter() = default;

bool EventLoopWaiter::Wait(int descriptor, bool forWriting, Clock::time_point deadline) {
    return Run(descriptor, forWriting, deadline, false) == Wake::Ready;
}

DaoWaiter::Wake EventLoopWaiter::WaitCancellable(int descriptor, bool forWriting,
                                                 Clock::time_point deadline) {
    return Run(descriptor, forWriting, deadline, true);
}

DaoWaiter::Wake EventLoopWaiter::Run(int descriptor, bool forWriting, Clock::time_point deadline,
                                     bool offerCancel) {
    // An answer that is there already costs no turn of the event loop.
    if (ReadyNow(descriptor, forWriting)) {
        return Wake::Ready;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return Wake::Deadline;
    }
    QEventLoop loop;
    Wake wake = Wake::Deadline;
    std::optional<QSocketNotifier> notifier;
    if (descriptor >= 0) {
        notifier.emplace(descriptor, forWriting ? QSocketNotifier::Write : QSocketNotifier::Read);
        QObject::connect(&*notifier, &QSocketNotifier::activated, &loop, [&] {
            wake = Wake::Ready;
            loop.quit();
        });
    }
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(std::chrono::milliseconds(std::min<long long>(left.count(), INT_MAX)));

    // A wait inside another (a timer's, say) has its own panel; the outer one's comes back after.
    const QPointer<ServerWaitIndicator> outerIndicator = std::exchange(m_indicator, nullptr);
    std::function<void()> outerCancel = std::exchange(m_cancel, nullptr);
    std::function<void()> cancel;
    if (offerCancel) {
        cancel = [&] {
            wake = Wake::Cancelled;
            loop.quit();
        };
    }
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
        if (QWidget* window = WaitingWindow()) {
            m_indicator = new ServerWaitIndicator(window, cancel);
            m_cancel = cancel;
            QApplication::changeOverrideCursor(Qt::BusyCursor);
        }
    });
    quiet.start(kQuietFor);

    ++m_nWaits;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loop.exec();
    QApplication::restoreOverrideCursor();
    --m_nWaits;
    delete m_indicator.data();
    m_indicator = outerIndicator;
    m_cancel = std::move(outerCancel);
    if (!m_held.empty() && !m_bReplayPlanned) {
        m_bReplayPlanned = true;
        QTimer::singleShot(0, this, &EventLoopWaiter::ReplayHeldKeys);
    }
    return wake;
}

bool EventLoopWaiter::eventFilter(QObject* watched, QEvent* event) {
    // Input reaches a window first and its widget after; the widget's event decides.
    if (m_nWaits == 0 || !watched->isWidgetType()) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // Taken as an ordinary key, which is held below: no shortcut starts a command now.
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        // Escape cancels once the panel offers it; typed before, it was meant for the form.
        if (m_cancel && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (type == QEvent::KeyPress) {
                m_cancel();
            }
            return true;
        }
        m_held.emplace_back(watched, event->clone());
        return true;
    }
    if (IsPointerInput(type)) {
        return !(m_indicator && m_indicator->Holds(watched));
    }
    if (type == QEvent::Close) {
        // The window's document is in the middle of a command.
        event->ignore();
        return true;
    }
    return false;
}

void EventLoopWaiter::ReplayHeldKeys() {
    // A question that the command asks takes the keys typed from now on, not those typed for
    // the form before it came.
    if (m_nWaits > 0 || QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(50, this, &EventLoopWaiter::ReplayHeldKeys);
        return;
    }
    m_bReplayPlanned = false;
    for (auto& [receiver, event] : std::exchange(m_held, {})) {
        if (receiver) {
            QCoreApplication::postEvent(receiver, event.release());
        }
    }
}
