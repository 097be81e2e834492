#pragma once

// Changing a DIB's pixel format, and reading an off-screen picture out as a DIB.

#include "bitmap/Dib.h"
#include "bitmap/Palette.h"
#include "picture/RgbPicture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

// Whether ConvertPicture takes the request for a source of `sourceBitCount`
// bits. A `bitCount` of 0 keeps the source's bit count.
bool IsConvertRequest(int bitCount, std::uint32_t compression, int sourceBitCount);

// The source in another format. Through its palette (MakePicturePalette)
// when either side has 8 bits or fewer or is not BI_RGB: every pixel becomes
// the nearest palette colour (an exact palette colour its first entry), and
// a target of more than 8 bits stores that colour in its own format. Between
// BI_RGB formats of 16 bits and more, pixel by pixel (ConvertTrueColour).
//
// A run-length target (BI_RLE4 at 4 bits, BI_RLE8 at 8) is the BI_RGB
// picture of that depth coded by EncodeRunLength.
//
// On success the source is released; on refusal (nothing) it is untouched.
// Refused: requests IsConvertRequest declines, run-length sources,
// run-length targets from top-down sources, invalid DIBs, and sources
// without a palette (core headers).
Dib ConvertPicture(Dib& source, int bitCount, std::uint32_t compression,
                   const MaskWarning& warn = {});

// A BI_RGB source of 16, 24 or 32 bits as BI_RGB of `bitCount` (16, 24, 32).
// 16 bits are 5-5-5; five bits widen by shifting (the low bits stay 0), as
// the palette reads them. Nothing for anything else; the source is kept.
Dib ConvertTrueColour(const Dib& source, int bitCount);

// The off-screen picture as a DIB: 16 (5-5-5), 24 or 32 bits BI_RGB straight
// from the pixels; 1, 4 and 8 bits (and their run-length forms) straight from
// the pixels too, with the frequency palette (MakeFrequencyPalette), which
// gives byte for byte what reading out at 24 bits and converting gives;
// other requests are read out at 24 bits and converted with ConvertPicture.
// A bit count of 0 means 24, the off-screen display depth. Nothing for an
// inconsistent picture or a refused request.
Dib ReadOutPicture(const RgbPicture& picture, std::uint32_t compression, int bitCount);

// As ReadOutPicture, from pixels where they lie (their top bytes 0). With
// `colours`, the picture's colours and pixel counts kept while it was drawn,
// the palette comes from those instead of a pass over the pixels. With
// `rowNumbers`, one per row, where equal numbers mean equal rows, a row
// numbered as an earlier one is a copy of that one's bytes, read only once.
Dib ReadOutRows(const PixelRows& picture, std::uint32_t compression, int bitCount,
                const std::vector<PixelCount>* colours = nullptr,
                std::span<const std::uint32_t> rowNumbers = {});

}  // namespace kestrel
