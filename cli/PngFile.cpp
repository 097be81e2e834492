#include "PngFile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrel::cli {

namespace {

// zlib's level: the repeated rows are long runs of zeros, which the fastest
// level finds as well as the others.
constexpr int CompressionLevel = 1;

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}();

std::uint32_t Crc(const char* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFFU)
{
    for (std::size_t i = 0; i < size; ++i) {
        crc = CrcTable[(crc ^ static_cast<std::uint8_t>(data[i])) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

void AppendU32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

// Length, type, data and the CRC of type and data.
void AppendChunk(QByteArray& out, const char (&type)[5], const char* data, std::size_t size)
{
    AppendU32(out, static_cast<std::uint32_t>(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, static_cast<qsizetype>(size));
    AppendU32(out, Crc(out.constData() + start, size + 4) ^ 0xFFFFFFFFU);
}

}  // namespace

QByteArray EncodeIndexedPng(const IndexedPicture& picture)
{
    const auto width = static_cast<std::size_t>(picture.width);
    const auto height = static_cast<std::size_t>(picture.height);
    if (picture.width <= 0 || picture.height <= 0 || picture.palette.isEmpty()
        || picture.palette.size() > 256 || picture.indices.size() != width * height) {
        return {};
    }
    const int depth = picture.palette.size() <= 2 ? 1 : 8;
    const std::size_t rowBytes = depth == 1 ? (width + 7) / 8 : width;

    // Each row: its filter type, then its bytes.
    QByteArray raw(static_cast<qsizetype>((rowBytes + 1) * height), '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(raw.data());
    const std::uint8_t* previous = nullptr;
    for (std::size_t y = 0; y < height; ++y, out += rowBytes + 1) {
        const std::uint8_t* index = picture.indices.data() + y * width;
        if (previous && std::memcmp(previous, index, width) == 0) {
            out[0] = 2;  // up: the bytes stay zero
            continue;
        }
        previous = index;
        std::uint8_t* row = out + 1;
        if (depth == 8) {
            std::memcpy(row, index, width);
            continue;
        }
        for (std::size_t x = 0; x < width; x += 8) {
            const std::size_t n = std::min<std::size_t>(8, width - x);
            unsigned byte = 0;
            for (std::size_t i = 0; i < n; ++i) {
                byte |= (index[x + i] & 1U) << (7 - i);  // the leftmost pixel highest
            }
            row[x / 8] = static_cast<std::uint8_t>(byte);
        }
    }
    // qCompress puts the length in front of the zlib stream.
    const QByteArray compressed = qCompress(raw, CompressionLevel);
    if (compressed.size() <= 4) {
        return {};
    }

    QByteArray png;
    png.reserve(compressed.size() + 3 * picture.palette.size() + 64);
    png.append("\x89PNG\r\n\x1A\n", 8);
    char header[13];
    qToBigEndian(static_cast<std::uint32_t>(width), header);
    qToBigEndian(static_cast<std::uint32_t>(height), header + 4);
    header[8] = static_cast<char>(depth);
    header[9] = 3;  // palette
    header[10] = header[11] = header[12] = 0;  // deflate, adaptive filters, no interlace
    AppendChunk(png, "IHDR", header, sizeof header);
    QByteArray palette;
    for (const QRgb colour : picture.palette) {
        palette.append(static_cast<char>(qRed(colour)));
        palette.append(static_cast<char>(qGreen(colour)));
        palette.append(static_cast<char>(qBlue(colour)));
    }
    AppendChunk(png, "PLTE", palette.constData(), static_cast<std::size_t>(palette.size()));
    AppendChunk(png, "IDAT", compressed.constData() + 4, static_cast<std::size_t>(compressed.size() - 4));
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace kestrel::cli
