#pragma once

#include "CliOptions.h"
#include "export/SaveBitmap.h"
#include "picture/RgbPicture.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {
struct Drawing;
class OffscreenCanvasFactory;
}  // namespace kestrel

namespace kestrel::cli {

// "bmp", "png", "svg" or "pdf", as --format takes it.
std::optional<PictureFormat> FormatFromKey(std::string_view key);

// The format a file name's suffix names, in any case; none for other names.
std::optional<PictureFormat> FormatFromFileName(std::string_view fileName);

// Writes the document's barcode in `format`. Every format is drawn by the
// one DrawBarcode: BMP at the profile's depth; PNG losslessly, with a
// palette (1 bit for two colours) when the picture has few colours; SVG and
// PDF as vector pages of Width x Height units, one unit one SVG user unit
// or one PDF point. The file is written beside the target and renamed over
// it, so a failure leaves no partial file. 1 when written, 0 when not.
// A BMP's depth when the command line asks for one; without it the profile's.
struct BmpDepth {
    int bitCount = 24;
    bool runLength = false;
};

int SavePictureFile(const Drawing& drawing, int bitmapChoice, OffscreenCanvasFactory& canvases,
                    const std::string& fileName, PictureFormat format,
                    const std::optional<BmpDepth>& depth = std::nullopt,
                    SaveProblem* problem = nullptr);

// The picture as the file holds it (BMP or PNG); empty when it cannot be read.
RgbPicture ReadPictureFile(const std::string& fileName);

// The picture DrawBarcode draws for the document on a white off-screen
// canvas of Width x Height: the raster every format is drawn from.
RgbPicture DrawPicture(const Drawing& drawing, OffscreenCanvasFactory& canvases);

}  // namespace kestrel::cli
