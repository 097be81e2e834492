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
// zlib then codes a barcode's repeated rows almost for nothing, much
// faster than a general-purpose PNG writer filtering and compressing every
// row. Empty for an inconsistent picture.
QByteArray EncodeIndexedPng(const IndexedPicture& picture);

}  // namespace kestrel::cli
