#include "export/PictureExport.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Dib.h"
#include "export/PngFile.h"
#include "render/DrawBarcode.h"
#include "render/OffscreenCanvas.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <utility>

namespace kestrel {

namespace {

// The keys --format takes and the suffixes that name each format.
constexpr std::array<std::pair<std::string_view, PictureFormat>, 4> FormatKeys{{
    {"bmp", PictureFormat::Bmp},
    {"png", PictureFormat::Png},
    {"svg", PictureFormat::Svg},
    {"pdf", PictureFormat::Pdf},
}};

int WriteBmp(const PictureRequest& request, OffscreenCanvasFactory& canvases,
             const std::string& fileName, SaveProblem& problem)
{
    if (!request.depth) {
        return SaveBitmap(request.drawing, request.bitmapChoice, canvases, fileName, &problem);
    }
    const std::uint32_t compression = !request.depth->runLength      ? BI_RGB
                                      : request.depth->bitCount == 4 ? BI_RLE4
                                                                     : BI_RLE8;
    return SaveBitmapAs(request.drawing, canvases, fileName, request.depth->bitCount, compression,
                        &problem);
}

int WritePng(const PictureRequest& request, OffscreenCanvasFactory& canvases,
             const std::string& fileName, SaveProblem& problem,
             const TrueColourPngEncoder& trueColour)
{
    // Straight from the canvas's rows where it lends them.
    const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(request.drawing, canvases);
    RgbPicture copy;
    PixelRows rows = canvas ? canvas->Rows() : PixelRows{};
    if (canvas && !rows.first) {
        copy = canvas->Picture();
        rows = RowsOf(copy);
    }
    if (!rows.first || rows.width <= 0 || rows.height <= 0) {
        problem = SaveProblem::NoPicture;
        return 0;
    }
    std::optional<std::vector<std::uint8_t>> png = EncodeIndexedPng(
        rows, copy.pixels.empty() ? canvas->RowNumbers() : std::span<const std::uint32_t>());
    if (!png && trueColour) {
        png = trueColour(rows);
    }
    if (!png || png->empty()) {
        problem = SaveProblem::NotWritten;
        return 0;
    }
    return WritePictureBytes(fileName, *png, problem);
}

}  // namespace

std::optional<PictureFormat> FormatFromKey(std::string_view key)
{
    std::string lower(key);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [name, format] : FormatKeys) {
        if (lower == name) {
            return format;
        }
    }
    return std::nullopt;
}

std::optional<PictureFormat> FormatFromFileName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    return FormatFromKey(fileName.substr(dot + 1));
}

int WritePictureBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                      SaveProblem& problem)
{
    if (bytes.empty() || WriteWholeFile(fileName, {std::span<const std::uint8_t>(bytes)}) != 1) {
        problem = SaveProblem::NotWritten;
        return 0;
    }
    return 1;
}

void ExportRegistry::Add(PictureFormat format, PictureWriter writer)
{
    writers_.emplace_back(format, std::move(writer));
}

int ExportRegistry::Save(const PictureRequest& request, OffscreenCanvasFactory& canvases,
                         const std::string& fileName, PictureFormat format,
                         SaveProblem* problem) const
{
    SaveProblem reason = SaveProblem::None;
    int written = 0;
    const auto found = std::find_if(writers_.begin(), writers_.end(),
                                    [format](const auto& entry) { return entry.first == format; });
    const BarcodeSymbol& symbol = request.drawing.symbol;
    if (found == writers_.end()) {
        reason = SaveProblem::NotWritten;
    } else if (symbol.text.empty()) {
        reason = SaveProblem::NothingToSave;
    } else if (symbol.width <= 0 || symbol.height <= 0) {
        reason = SaveProblem::NoPicture;
    } else {
        written = found->second(request, canvases, fileName, reason);
    }
    if (problem) {
        *problem = written == 1 ? SaveProblem::None : reason;
    }
    return written;
}

void AddRasterExports(ExportRegistry& registry, TrueColourPngEncoder trueColour)
{
    registry.Add(PictureFormat::Bmp, WriteBmp);
    registry.Add(PictureFormat::Png,
                 [trueColour = std::move(trueColour)](
                     const PictureRequest& request, OffscreenCanvasFactory& canvases,
                     const std::string& fileName, SaveProblem& problem) {
                     return WritePng(request, canvases, fileName, problem, trueColour);
                 });
}

RgbPicture DrawPicture(const Drawing& drawing, OffscreenCanvasFactory& canvases)
{
    const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(drawing, canvases);
    return canvas ? canvas->Picture() : RgbPicture{};
}

}  // namespace kestrel
