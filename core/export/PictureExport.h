#pragma once

#include "export/SaveBitmap.h"
#include "picture/RgbPicture.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct Drawing;
class OffscreenCanvasFactory;

enum class PictureFormat { Bmp, Png, Svg, Pdf };

// "bmp", "png", "svg" or "pdf", in any case.
std::optional<PictureFormat> FormatFromKey(std::string_view key);
// The format a file name's suffix names, in any case; none for other names.
std::optional<PictureFormat> FormatFromFileName(std::string_view fileName);

// A BMP's depth asked for directly; without it the profile's choice holds.
struct BmpDepth {
    int bitCount = 24;
    bool runLength = false;
};

// What a picture file is made from: the drawing, and for BMP its depth.
struct PictureRequest {
    const Drawing& drawing;
    int bitmapChoice = 0;  // the profile's "Settings"/"Bitmap"
    std::optional<BmpDepth> depth;
};

// Writes a file of one format from the drawing: 1 when written, else 0 with
// `problem` saying why.
using PictureWriter =
    std::function<int(const PictureRequest& request, OffscreenCanvasFactory& canvases,
                      const std::string& fileName, SaveProblem& problem)>;

// Writes bytes made in memory as a whole file (beside the target, renamed
// over it): the end of every writer that makes its bytes first.
int WritePictureBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                      SaveProblem& problem);

// The picture formats a program can write, each drawn by the one
// DrawBarcode: BMP through the DIB library and PNG here, SVG and PDF from
// the platform's painter. A file is written whole beside its target and
// renamed over it, so a failure leaves no partial file.
class ExportRegistry {
public:
    void Add(PictureFormat format, PictureWriter writer);

    // 1 when written, 0 when not (`problem`, when given, says why).
    int Save(const PictureRequest& request, OffscreenCanvasFactory& canvases,
             const std::string& fileName, PictureFormat format,
             SaveProblem* problem = nullptr) const;

private:
    std::vector<std::pair<PictureFormat, PictureWriter>> writers_;
};

// A PNG of more colours than a palette holds; none when it cannot be made.
using TrueColourPngEncoder =
    std::function<std::optional<std::vector<std::uint8_t>>(const PixelRows&)>;

// BMP and PNG, the raster formats; PNG pictures of over 256 colours go to
// `trueColour`.
void AddRasterExports(ExportRegistry& registry, TrueColourPngEncoder trueColour);

// The barcode drawn on a white off-screen picture of the symbol's size: the
// raster every raster format is made from. Empty when it cannot be made.
RgbPicture DrawPicture(const Drawing& drawing, OffscreenCanvasFactory& canvases);

}  // namespace kestrel
