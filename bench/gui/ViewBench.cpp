// One repaint of the default picture (a 300 × 150 JAN-13) in the view, as
// the window does after every change of the document: the background fill,
// the bars and text through DrawBarcode, and the boundary.

#include "render/BarCodeView.h"

#include "DefaultDocument.h"
#include "gui/QtBenchmarkMain.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace kestrel;

using bench::DefaultDocument;

// The viewport repainted at once, on the window's backing store.
void ViewRepaintDefaultJan13(benchmark::State& state)
{
    DefaultDocument document;
    CBarCodeView view(document.doc, document.profile);
    view.resize(400, 250);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.viewport()->repaint();
    }
}
BENCHMARK(ViewRepaintDefaultJan13)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same painting rendered into a picture of the viewport's size.
void ViewRenderDefaultJan13(benchmark::State& state)
{
    DefaultDocument document;
    CBarCodeView view(document.doc, document.profile);
    view.resize(400, 250);
    view.show();
    QApplication::processEvents();
    QImage target(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.viewport()->render(&target);
    }
}
BENCHMARK(ViewRenderDefaultJan13)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return kestrel::bench::RunQtBenchmarks(argc, argv);
}
