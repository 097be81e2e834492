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
// the rows are then run-length coded in deflate's fixed codes. A barcode's
// rows are runs and repeats, and this codes them a few times faster than
// zlib searching for matches; the files come out about a third larger
// (2.5 KB for a 300 x 150 JAN-13 with its text), wide pictures more. Empty
// for an inconsistent picture.
QByteArray EncodeIndexedPng(const IndexedPicture& picture);

}  // namespace kestrel::cli
