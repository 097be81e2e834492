#include "PngFile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrel::cli {

namespace {

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

// A zlib stream of one deflate block with the fixed Huffman codes, whose
// only matches repeat the byte before (distance 1): run-length coding, which
// is what a barcode's rows need. The Adler-32 sum takes whole runs at once.
class RunLengthDeflate {
public:
    RunLengthDeflate()
    {
        out_.push_back(0x78);  // deflate, 32 KB window
        out_.push_back(0x01);  // no dictionary, fastest; (0x7801 % 31) == 0
        PutBits(1, 1);         // the last block
        PutBits(1, 2);         // fixed codes
    }

    // n copies of one byte.
    void Run(std::uint8_t value, std::size_t n)
    {
        if (n == 0) {
            return;
        }
        Sum(value, n);
        PutSymbol(value);
        std::size_t left = n - 1;
        while (left >= MinMatch) {
            // Never leave 1 or 2 behind after a full match: they could not
            // be a match themselves.
            std::size_t length = std::min(left, MaxMatch);
            if (left - length > 0 && left - length < MinMatch) {
                length = left - MinMatch;
            }
            PutLength(length);
            PutBits(0, 5);  // distance code 0: distance 1
            left -= length;
        }
        for (; left > 0; --left) {
            PutSymbol(value);
        }
    }

    // `length` bytes that repeat the ones `distance` bytes back (1 to
    // 32,768), which may overlap them: a copy of `bytes` repeated, the
    // bytes counted into the sum by the caller through Sum.
    void Repeat(std::size_t distance, std::size_t length)
    {
        while (length >= MinMatch) {
            std::size_t part = std::min(length, MaxMatch);
            if (length - part > 0 && length - part < MinMatch) {
                part = length - MinMatch;
            }
            PutLength(part);
            PutDistance(distance);
            length -= part;
        }
        // Callers repeat at least three bytes, and the last part is never
        // cut below three: nothing is left.
    }

    // n steps of sum1 += value, sum2 += sum1.
    void Sum(std::uint8_t value, std::uint64_t n)
    {
        sum2_ = static_cast<std::uint32_t>(
            (sum2_ + n % Base * sum1_ + value * (n * (n + 1) / 2 % Base)) % Base);
        sum1_ = static_cast<std::uint32_t>((sum1_ + n % Base * value) % Base);
    }

    // Bytes as they come, their runs of four or more coded as runs.
    void Bytes(const std::uint8_t* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size;) {
            std::size_t end = i + 1;
            while (end < size && data[end] == data[i]) {
                ++end;
            }
            Run(data[i], end - i);
            i = end;
        }
    }

    QByteArray Finish()
    {
        PutSymbol(256);  // end of block
        if (bitCount_ > 0) {
            out_.push_back(static_cast<std::uint8_t>(bits_));
        }
        const std::uint32_t adler = (sum2_ << 16) | sum1_;
        for (int shift = 24; shift >= 0; shift -= 8) {
            out_.push_back(static_cast<std::uint8_t>(adler >> shift));
        }
        return QByteArray(reinterpret_cast<const char*>(out_.data()),
                          static_cast<qsizetype>(out_.size()));
    }

private:
    static constexpr std::size_t MinMatch = 3;
    static constexpr std::size_t MaxMatch = 258;
    static constexpr std::uint64_t Base = 65521;

    // Deflate's bits go least significant first, Huffman codes most
    // significant first.
    void PutBits(std::uint32_t value, int count)
    {
        bits_ |= std::uint64_t{value} << bitCount_;
        bitCount_ += count;
        while (bitCount_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }

    void PutCode(std::uint32_t code, int length)
    {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) {
            reversed |= ((code >> i) & 1U) << (length - 1 - i);
        }
        PutBits(reversed, length);
    }

    // The fixed literal/length code of a symbol 0 to 285.
    void PutSymbol(unsigned symbol)
    {
        if (symbol < 144) {
            PutCode(0x30 + symbol, 8);
        } else if (symbol < 256) {
            PutCode(0x190 + (symbol - 144), 9);
        } else if (symbol < 280) {
            PutCode(symbol - 256, 7);
        } else {
            PutCode(0xC0 + (symbol - 280), 8);
        }
    }

    void PutLength(std::size_t length)
    {
        static constexpr std::uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                                         15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                                         67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr std::uint8_t LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        unsigned code = 28;
        while (LengthBase[code] > length) {
            --code;
        }
        PutSymbol(257 + code);
        PutBits(static_cast<std::uint32_t>(length - LengthBase[code]), LengthExtra[code]);
    }

    void PutDistance(std::size_t distance)
    {
        static constexpr std::uint16_t DistanceBase[30] = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        unsigned code = 29;
        while (DistanceBase[code] > distance) {
            --code;
        }
        PutCode(code, 5);
        // Extra bits: 0 for codes 0 to 3, then (code / 2) − 1.
        PutBits(static_cast<std::uint32_t>(distance - DistanceBase[code]), code < 4 ? 0 : static_cast<int>(code / 2 - 1));
    }

    std::vector<std::uint8_t> out_;
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    std::uint32_t sum1_ = 1;
    std::uint32_t sum2_ = 0;
};

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
    RunLengthDeflate deflate;
    std::vector<std::uint8_t> row(rowBytes);
    // A stretch of equal rows is one "up" row of zeros and then copies of
    // it, as one long match reaching one stored row back. Far back, a match
    // takes more bits than a run of zeros; past two matches a row, runs.
    // A row of fewer bytes than the shortest match is not copied either:
    // one copy of it could not be coded.
    const std::size_t stored = rowBytes + 1;
    const bool copyRows = stored >= 3 && stored <= 516;
    std::size_t copies = 0;
    bool upBefore = false;
    const std::uint8_t* previous = nullptr;
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* index = picture.indices.data() + y * width;
        if (previous && std::memcmp(previous, index, width) == 0) {
            if (upBefore && copyRows) {
                deflate.Sum(2, 1);
                deflate.Sum(0, rowBytes);
                ++copies;
            } else {
                deflate.Run(2, 1);  // up: the row less the row above
                deflate.Run(0, rowBytes);
                upBefore = true;
            }
            continue;
        }
        deflate.Repeat(stored, copies * stored);
        copies = 0;
        upBefore = false;
        previous = index;
        if (depth == 8) {
            std::memcpy(row.data(), index, width);
        } else {
            for (std::size_t x = 0; x < width; x += 8) {
                const std::size_t n = std::min<std::size_t>(8, width - x);
                unsigned byte = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    byte |= (index[x + i] & 1U) << (7 - i);  // the leftmost pixel highest
                }
                row[x / 8] = static_cast<std::uint8_t>(byte);
            }
        }
        deflate.Run(0, 1);  // none: the bytes as they are
        deflate.Bytes(row.data(), rowBytes);
    }
    deflate.Repeat(stored, copies * stored);
    const QByteArray compressed = deflate.Finish();

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
    AppendChunk(png, "IDAT", compressed.constData(), static_cast<std::size_t>(compressed.size()));
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace kestrel::cli
