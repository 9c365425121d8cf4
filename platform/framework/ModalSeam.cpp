#include "ModalSeam.h"

#include "AfxRes.h"

namespace {

struct QueuedAnswer {
    ModalAnswer answer;
    std::function<void()> meanwhile;
};

struct SeamState {
    bool enabled = false;
    std::deque<QueuedAnswer> queue;
    std::vector<ModalRequest> requests;
    std::vector<ModalRequest> unanswered;
};

SeamState& State() {
    static SeamState state;
    return state;
}

}  // namespace

void ModalSeam::Enable(bool on) {
    State().enabled = on;
}

bool ModalSeam::IsEnabled() {
    return State().enabled;
}

void ModalSeam::Push(ModalAnswer answer) {
    Push(std::move(answer), {});
}

void ModalSeam::Push(ModalAnswer answer, std::function<void()> meanwhile) {
    State().queue.push_back({std::move(answer), std::move(meanwhile)});
}

ModalAnswer ModalSeam::Answer(const ModalRequest& request) {
    SeamState& s = State();
    s.requests.push_back(request);
    if (s.queue.empty()) {
        s.unanswered.push_back(request);
        return ModalAnswer{IDCANCEL, {}, {}};
    }
    QueuedAnswer queued = std::move(s.queue.front());
    s.queue.pop_front();
    if (queued.meanwhile) {
        queued.meanwhile();
    }
    return std::move(queued.answer);
}

const std::vector<ModalRequest>& ModalSeam::Requests() {
    return State().requests;
}

std::vector<ModalRequest> ModalSeam::Unanswered() {
    return State().unanswered;
}

std::size_t ModalSeam::Pending() {
    return State().queue.size();
}

void ModalSeam::Reset() {
    SeamState& s = State();
    s.queue.clear();
    s.requests.clear();
    s.unanswered.clear();
}
