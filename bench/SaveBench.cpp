// One in-process SaveBitmap of the default picture: a 300 × 150 JAN-13,
// drawn on a QImage, read out at 24 bits and written as a BMP file. Saving
// over an existing file waits for the disk before the rename (so the old file
// survives a crash); a new file does not.

#include "DefaultDocument.h"

#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "process/HeapTuning.h"
#include "render/DrawBarcode.h"
#include "render/ImageCanvas.h"
#include "render/QPainterSurface.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kestrel;

using bench::DefaultDocument;

void SaveBitmapDefaultJan13(benchmark::State& state)
{
    DefaultDocument document;
    ImageCanvasFactory canvases;
    QTemporaryDir dir;
    const std::string file = dir.filePath("BarCode.bmp").toStdString();
    for (auto _ : state) {
        if (SaveBitmap(ReadDrawing(document.doc, document.profile), 0, canvases, file) != 1) {
            state.SkipWithError("not written");
            break;
        }
    }
}
BENCHMARK(SaveBitmapDefaultJan13)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same into a new file each time: no earlier file to keep safe, so no
// sync to disk before the rename.
void SaveBitmapDefaultJan13NewFile(benchmark::State& state)
{
    DefaultDocument document;
    ImageCanvasFactory canvases;
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state) {
        const std::string file = dir.filePath(QString("BarCode-%1.bmp").arg(++n)).toStdString();
        if (SaveBitmap(ReadDrawing(document.doc, document.profile), 0, canvases, file) != 1) {
            state.SkipWithError("not written");
            break;
        }
    }
}
BENCHMARK(SaveBitmapDefaultJan13NewFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The drawing alone, as one repaint of the default picture costs.
void DrawBarcodeDefaultJan13(benchmark::State& state)
{
    DefaultDocument document;
    ImageSurface surface(document.doc.Width, document.doc.Height);
    for (auto _ : state) {
        DrawBarcode(ReadDrawing(document.doc, document.profile), surface);
    }
}
BENCHMARK(DrawBarcodeDefaultJan13)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KeepPictureBuffersInHeap();  // as the programs do
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
