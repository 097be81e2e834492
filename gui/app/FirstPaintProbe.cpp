#include "app/FirstPaintProbe.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace kestrel {

bool FirstPaintProbe::Requested()
{
    return !qEnvironmentVariableIsEmpty("KESTREL_EXIT_AFTER_FIRST_PAINT");
}

FirstPaintProbe::FirstPaintProbe(QObject* watched, const QElapsedTimer& sinceStart)
    : QObject(watched), sinceStart_(sinceStart)
{
    watched->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !reported_) {
        reported_ = true;
        // Measured once the paint has run, when control is back in the loop.
        QTimer::singleShot(0, [this] {
            std::fprintf(stderr, "first paint after %.1f ms\n",
                         static_cast<double>(sinceStart_.nsecsElapsed()) / 1e6);
            std::fflush(stderr);
            ::_exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kestrel
