#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace kestrel::cli {

// A picture of at most 256 colours as palette indices, the top row first.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    QList<QRgb> palette;          // 1 to 256 colours
    std::vector<std::uint8_t> indices;  // width * height entries
};

// The picture as a PNG file: colour type 3 (palette), 1 bit per pixel for
// at most two colours, else 8. A row that repeats the row above is stored
// with the "up" filter, which makes it all zeros, and the rest unfiltered;
// the rows are then run-length coded in deflate's fixed codes, a stretch of
// repeated rows as one copy. zlib itself, even run-length only (Z_RLE,
// level 1, one stream per thread), must scan every byte of every repeated
// row: a batch of 300 x 150 JAN-13 pictures ran at three quarters of the
// files per second (over ten times slower at 9,999 x 999), for files of 1.9 KB
// instead of 2.2 KB (14 KB instead of 68 KB at 9,999 x 999). Empty for an
// inconsistent picture.
QByteArray EncodeIndexedPng(const IndexedPicture& picture);

}  // namespace kestrel::cli
