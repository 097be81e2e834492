#pragma once

#include "picture/RgbPicture.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrel {

using PngBytes = std::vector<std::uint8_t>;

// The picture as a PNG file of colour type 3 (palette) when it has at most
// 256 colours, else none. The palette holds the colours in the order they
// first occur, the top row first; 1 bit per pixel for at most two colours,
// else 8. A row that repeats the row above is stored with the "up" filter,
// which makes it all zeros, and the rest unfiltered; the rows are then
// run-length coded in deflate's fixed codes, a stretch of repeated rows as
// one copy. zlib itself, even run-length only (Z_RLE, level 1, one stream
// per thread), must scan every byte of every repeated row: a batch of
// 300 x 150 JAN-13 pictures ran at three quarters of the files per second
// (over ten times slower at 9,999 x 999), for files of 1.9 KB instead of
// 2.2 KB (14 KB instead of 68 KB at 9,999 x 999).
//
// The pixels are read where they lie and only where a row differs from the
// row above, a run of one colour at a time: a barcode has a few distinct
// rows of long runs, and neither a copy of the picture nor an index per
// pixel pays for itself. With `rowNumbers`, one per row, where equal numbers
// mean equal rows, a row numbered as the row above is not read at all.
// Empty for a picture of no pixels.
std::optional<PngBytes> EncodeIndexedPng(const PixelRows& source,
                                         std::span<const std::uint32_t> rowNumbers = {});

}  // namespace kestrel
