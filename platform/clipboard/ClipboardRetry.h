#pragma once

#include <chrono>
#include <functional>

namespace kestrel {

// How long a write to the clipboard keeps trying while another program holds
// it (the copy command, and automation emptying it). A brief hold (a
// clipboard manager reading the last copy) passes unnoticed; a long one ends
// the write with a failure instead of freezing the window.
class ClipboardRetry {
public:
    using Milliseconds = std::chrono::milliseconds;

    static constexpr Milliseconds DefaultBound{2000};
    static constexpr Milliseconds DefaultPause{50};

    explicit ClipboardRetry(Milliseconds bound = DefaultBound, Milliseconds pause = DefaultPause)
        : bound_(bound), pause_(pause)
    {
    }

    // Calls `attempt` until it succeeds, and once more after the bound has
    // passed; between tries `wait` gets the time to let pass (the window keeps
    // processing events meanwhile). `elapsed` is the time since the first
    // try. True when an attempt succeeded.
    bool Run(const std::function<bool()>& attempt, const std::function<void(Milliseconds)>& wait,
             const std::function<Milliseconds()>& elapsed) const;

    // The same on the real clock, processing the application's events while
    // it waits.
    bool Run(const std::function<bool()>& attempt) const;

private:
    Milliseconds bound_;
    Milliseconds pause_;
};

}  // namespace kestrel
