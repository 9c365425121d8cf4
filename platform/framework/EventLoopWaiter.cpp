#include "EventLoopWaiter.h"

#include <poll.h>

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <optional>

namespace {

bool ReadyNow(int descriptor, bool forWriting) {
    pollfd watched{descriptor, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    return descriptor >= 0 && poll(&watched, 1, 0) > 0;
}

}  // namespace

bool EventLoopWaiter::Wait(int descriptor, bool forWriting, Clock::time_point deadline) {
    // An answer that is there already costs no turn of the event loop.
    if (ReadyNow(descriptor, forWriting)) {
        return true;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return false;
    }
    QEventLoop loop;
    bool ready = false;
    std::optional<QSocketNotifier> notifier;
    if (descriptor >= 0) {
        notifier.emplace(descriptor, forWriting ? QSocketNotifier::Write : QSocketNotifier::Read);
        QObject::connect(&*notifier, &QSocketNotifier::activated, &loop, [&] {
            ready = true;
            loop.quit();
        });
    }
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(std::chrono::milliseconds(std::min<long long>(left.count(), INT_MAX)));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
    return ready;
}
