#pragma once

#include "export/PictureExport.h"
#include "picture/RgbPicture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// Every format both programs write: BMP and PNG from core (PNG of over 256
// colours through Qt's writer), SVG and PDF painted by Qt, one picture unit
// one SVG user unit or one PDF point, the page exactly the picture.
ExportRegistry StandardExports();

// A PNG of more colours than a palette holds, 24-bit truecolour through
// Qt's writer.
std::optional<std::vector<std::uint8_t>> EncodeTrueColourPng(const PixelRows& picture);

// The picture as a BMP or PNG file holds it; empty when it cannot be read.
RgbPicture ReadPictureFile(const std::string& fileName);

}  // namespace kestrel
