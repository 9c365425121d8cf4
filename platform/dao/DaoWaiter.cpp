#include "DaoWaiter.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

class BlockingWaiter : public DaoWaiter {
public:
    bool Wait(int descriptor, bool forWriting, Clock::time_point deadline) override {
        pollfd watched{descriptor, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            const int timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
            // poll() ignores a negative descriptor and simply sleeps.
            const int ready = poll(&watched, 1, timeout);
            if (ready > 0) {
                return descriptor >= 0;
            }
            if (ready == 0 || errno != EINTR) {
                return false;
            }
        }
    }
};

BlockingWaiter g_blocking;
DaoWaiter* g_current = &g_blocking;

}  // namespace

DaoWaiter& DaoWaiter::Current() {
    return *g_current;
}

void DaoWaiter::Install(DaoWaiter* waiter) {
    g_current = waiter != nullptr ? waiter : &g_blocking;
}
