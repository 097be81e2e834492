#include "app/AutomationCallQueue.h"

#include <utility>

namespace kestrel {

AutomationCallQueue::AutomationCallQueue(Handler handler) : handler_(std::move(handler)) {}

void AutomationCallQueue::Submit(const Call& call, Reply reply)
{
    waiting_.push_back({call, std::move(reply)});
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
        Pending next = std::move(waiting_.front());
        waiting_.pop_front();
        const std::optional<std::int32_t> result = handler_(next.call);
        next.reply(result);
    }
}

}  // namespace kestrel
