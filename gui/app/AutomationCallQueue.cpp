#include "app/AutomationCallQueue.h"

#include <utility>

namespace kestrel {

AutomationCallQueue::AutomationCallQueue(Handler handler) : handler_(std::move(handler)) {}

void AutomationCallQueue::Submit(const Call& call, Reply reply)
{
    SubmitTask([this, call, reply = std::move(reply)] { reply(handler_(call)); });
}

void AutomationCallQueue::SubmitTask(std::function<void()> task)
{
    waiting_.push_back(std::move(task));
    RunWaiting();
}

void AutomationCallQueue::RunWaiting()
{
    if (busy_) {
        return;  // the outer Submit, further up this stack, will run it
    }
    // Not busy any more when a handler or a reply throws, so that later
    // calls are not kept waiting for ever.
    struct BusyScope {
        bool& busy;
        explicit BusyScope(bool& flag) : busy(flag) { busy = true; }
        ~BusyScope() { busy = false; }
    } scope(busy_);
    while (!waiting_.empty()) {
        const std::function<void()> next = std::move(waiting_.front());
        waiting_.pop_front();
        next();
    }
}

}  // namespace kestrel
