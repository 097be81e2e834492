#include "clipboard/ClipboardRetry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace kestrel {

bool ClipboardRetry::Run(const std::function<bool()>& attempt,
                         const std::function<void(Milliseconds)>& wait,
                         const std::function<Milliseconds()>& elapsed) const
{
    for (;;) {
        if (attempt()) {
            return true;
        }
        const Milliseconds spent = elapsed();
        if (spent >= bound_) {
            return false;
        }
        // A pause of at least a millisecond, so that a clock that has not
        // moved cannot turn this into a busy loop.
        wait(std::max(Milliseconds{1}, std::min(pause_, bound_ - spent)));
    }
}

bool ClipboardRetry::Run(const std::function<bool()>& attempt) const
{
    QElapsedTimer clock;
    clock.start();
    return Run(
        attempt,
        [](Milliseconds pause) {
            // The other program may need our answers (X11 selection requests)
            // before it lets go, so events are processed, not slept through.
            const QDeadlineTimer deadline(pause.count());
            while (!deadline.hasExpired()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                QThread::msleep(std::min<qint64>(5, std::max<qint64>(0, deadline.remainingTime())));
            }
        },
        [&clock] { return Milliseconds{clock.elapsed()}; });
}

}  // namespace kestrel
