#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace kestrel {

// Runs automation calls one at a time, in the order they came, as window
// messages sent to one window are. A handler may run a nested event loop (a
// modal message box of the copy or the save), in which the next call can
// already arrive: that call waits here and is run and answered once the
// running one has finished, instead of running inside it.
class AutomationCallQueue {
public:
    struct Call {
        std::uint32_t message = 0;
        std::uint32_t wParam = 0;
        std::int32_t lParam = 0;
    };
    // The result of a call; nothing for a message number that is not one of
    // the five.
    using Handler = std::function<std::optional<std::int32_t>(const Call&)>;
    // Answers the caller.
    using Reply = std::function<void(std::optional<std::int32_t>)>;

    explicit AutomationCallQueue(Handler handler);

    // Runs `call` and gives `reply` its result before returning, unless a
    // call is running; then `call` waits and this returns at once. Every
    // call's reply is given exactly once, in the order the calls came.
    void Submit(const Call& call, Reply reply);
    // Runs `task` in turn with the calls, as Submit runs a call: the typed
    // interface's methods share the numeric messages' order and document.
    void SubmitTask(std::function<void()> task);

    // A call is running (Submit was entered from inside a handler).
    bool Busy() const { return busy_; }
    std::size_t Waiting() const { return waiting_.size(); }

private:
    void RunWaiting();

    Handler handler_;
    std::deque<std::function<void()>> waiting_;
    bool busy_ = false;
};

}  // namespace kestrel
