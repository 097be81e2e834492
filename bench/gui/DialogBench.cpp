// What a user waits for while editing: from the key press (or menu command)
// to the first paint of the code dialog and of the options sheet, and from
// OK of the code dialog to the view repainted with the new barcode. The
// dialogs are found as the active modal window, so the measure holds
// whatever the dialogs hold.

#include "app/ApplicationContext.h"
#include "app/MainFrame.h"
#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"
#include "render/BarCodeView.h"

#include "LoadedDocument.h"
#include "gui/QtBenchmarkMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using namespace kestrel;

struct Frame {
    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};
    ApplicationContext context{profile, gaps, doc, "/usr/bin/kestrel"};
    CMainFrame frame{context};

    Frame()
    {
        frame.ActivateFrame();
        Activate();
    }

    // The window takes the keys again once the last dialog has gone.
    void Activate()
    {
        QApplication::setActiveWindow(&frame);
        QApplication::processEvents();
    }
};

// Calls `shown` with the elapsed time at the first paint of a modal dialog,
// while that dialog is still open.
class FirstDialogPaint : public QObject {
public:
    FirstDialogPaint(const QElapsedTimer& clock, std::function<void(QDialog&, double)> shown)
        : clock_(clock), shown_(std::move(shown))
    {
        qApp->installEventFilter(this);
    }
    ~FirstDialogPaint() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (done_ || event->type() != QEvent::Paint || !watched->isWidgetType()) {
            return false;
        }
        auto* dialog = qobject_cast<QDialog*>(static_cast<QWidget*>(watched)->window());
        if (dialog == nullptr || !dialog->isModal()) {
            return false;
        }
        done_ = true;
        const double seconds = static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
        QTimer::singleShot(0, dialog, [this, dialog, seconds] { shown_(*dialog, seconds); });
        return false;
    }

private:
    const QElapsedTimer& clock_;
    std::function<void(QDialog&, double)> shown_;
    bool done_ = false;
};

void OpenAndMeasure(benchmark::State& state, const std::function<void(Frame&)>& open)
{
    Frame world;
    for (auto _ : state) {
        world.Activate();
        QElapsedTimer clock;
        double seconds = 0;
        FirstDialogPaint probe(clock, [&seconds](QDialog& dialog, double shownAfter) {
            seconds = shownAfter;
            dialog.reject();
        });
        clock.start();
        open(world);  // returns when the modal dialog has closed
        if (seconds == 0) {
            state.SkipWithError("no dialog was shown");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// The key I on the main window opens "コード設定".
void OpenCodeDialog(benchmark::State& state)
{
    OpenAndMeasure(state, [](Frame& world) { QTest::keyClick(&world.frame, Qt::Key_I); });
}
BENCHMARK(OpenCodeDialog)->UseManualTime()->Unit(benchmark::kMillisecond);

// The Edit menu's command opens "オプション設定".
void OpenOptionsSheet(benchmark::State& state)
{
    OpenAndMeasure(state, [](Frame& world) {
        world.frame.Action(CMainFrame::Command::Options)->trigger();
    });
}
BENCHMARK(OpenOptionsSheet)->UseManualTime()->Unit(benchmark::kMillisecond);

// OK on the code dialog with a JAN-13 text, to the end of the view's repaint.
void CodeDialogOkToRepaint(benchmark::State& state)
{
    Frame world;
    for (auto _ : state) {
        world.Activate();
        QElapsedTimer clock;
        FirstDialogPaint probe(clock, [&clock](QDialog& dialog, double) {
            dialog.findChild<QLineEdit*>(QStringLiteral("code"))->setText("490123456789");
            dialog.findChild<QAbstractButton*>(QStringLiteral("autoAdd"))->setChecked(true);
            clock.start();
            dialog.findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
        });
        QTest::keyClick(&world.frame, Qt::Key_I);
        world.frame.View()->viewport()->repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        if (world.doc.CodeText != "4901234567894") {
            state.SkipWithError("the dialog did not take the text");
            break;
        }
    }
}
BENCHMARK(CodeDialogOkToRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return kestrel::bench::RunQtBenchmarks(argc, argv);
}
