#include "export/SaveBitmap.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Convert.h"
#include "bitmap/Dib.h"
#include "render/DrawBarcode.h"
#include "render/DrawingSurface.h"
#include "render/OffscreenCanvas.h"

namespace kestrel {

namespace {

// The off-screen picture stands for the display: 24 bits, BI_RGB.
constexpr int DisplayBitCount = 24;
constexpr Colour White = 0xFFFFFF;
// PATH_MAX on Linux, terminator included.
constexpr std::size_t MaxPathBytes = 4095;

int Fail(SaveProblem reason, SaveProblem* problem)
{
    if (problem) {
        *problem = reason;
    }
    return 0;
}

}  // namespace

int SavedBitCount(int bitmapChoice)
{
    return bitmapChoice == 2 ? 8 : DisplayBitCount;
}

int SaveBitmap(const Drawing& drawing, int bitmapChoice, OffscreenCanvasFactory& canvases,
               const std::string& fileName, SaveProblem* problem)
{
    return SaveBitmapAs(drawing, canvases, fileName, SavedBitCount(bitmapChoice), BI_RGB, problem);
}

int SaveBitmapAs(const Drawing& drawing, OffscreenCanvasFactory& canvases,
                 const std::string& fileName, int bitCount, std::uint32_t compression,
                 SaveProblem* problem)
{
    if (problem) {
        *problem = SaveProblem::None;
    }
    const BarcodeSymbol& symbol = drawing.symbol;
    if (symbol.text.empty()) {
        return Fail(SaveProblem::NothingToSave, problem);
    }
    const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(drawing, canvases);
    if (!canvas) {
        return Fail(SaveProblem::NoPicture, problem);
    }

    if (!IsConvertRequest(bitCount, compression, DisplayBitCount)) {
        return Fail(SaveProblem::NotWritten, problem);
    }
    // Where the canvas kept its colours, its rows are read where they lie
    // and the palette comes from those counts.
    const std::optional<std::vector<PixelCount>> colours = canvas->Colours();
    const PixelRows rows = colours ? canvas->Rows() : PixelRows{};
    const Dib dib = rows.first
                        ? ReadOutRows(rows, compression, bitCount, &*colours, canvas->RowNumbers())
                        : ReadOutPicture(canvas->Picture(), compression, bitCount);
    if (dib.IsNull()) {
        return Fail(SaveProblem::NoPicture, problem);
    }
    if (SavePicture(fileName, dib, bitCount, compression) != 1) {
        return Fail(SaveProblem::NotWritten, problem);
    }
    return 1;
}

std::unique_ptr<OffscreenCanvas> DrawOnCanvas(const Drawing& drawing,
                                              OffscreenCanvasFactory& canvases)
{
    std::unique_ptr<OffscreenCanvas> canvas = canvases.Create(drawing.symbol.width,
                                                              drawing.symbol.height);
    if (!canvas || !canvas->IsValid()) {
        return nullptr;
    }
    DrawingSurface& surface = canvas->Surface();
    // A barcode's drawing begins by filling the whole picture in its
    // background colour; white is seen only when there is nothing to draw.
    if (drawing.symbol.text.empty() || !drawing.symbol.sequence) {
        surface.FillSolidRect(surface.ClipBox(), White);
    }
    DrawBarcode(drawing, surface);
    return canvas;
}

std::string SaveFileNameBesideProgram(const std::string& programPath)
{
    static constexpr char Name[] = "BarCode.bmp";
    const std::size_t slash = programPath.rfind('/');
    std::string joined = slash == std::string::npos ? std::string(Name)
                                                    : programPath.substr(0, slash + 1) + Name;
    return joined.size() > MaxPathBytes ? std::string() : joined;
}

}  // namespace kestrel
