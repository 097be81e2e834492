#pragma once

#include <QElapsedTimer>
#include <QObject>

namespace kestrel {

// For the start-up benchmark only: when KESTREL_EXIT_AFTER_FIRST_PAINT is
// set, the program reports on standard error how long it took from main()
// to the end of the view's first paint, and ends at once, storing nothing.
class FirstPaintProbe : public QObject {
    Q_OBJECT

public:
    static bool Requested();
    FirstPaintProbe(QObject* watched, const QElapsedTimer& sinceStart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer sinceStart_;
    bool reported_ = false;
};

}  // namespace kestrel
