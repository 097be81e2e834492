#include "export/PngFile.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace kestrel {

namespace {

void PutU32(std::uint8_t* out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

void AppendU32(PngBytes& out, std::uint32_t value)
{
    std::uint8_t bytes[4];
    PutU32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

// Length, type, data and the CRC of type and data.
void AppendChunk(PngBytes& out, const char (&type)[5], const std::uint8_t* data, std::size_t size)
{
    AppendU32(out, static_cast<std::uint32_t>(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) {
        out.insert(out.end(), data, data + size);
    }
    AppendU32(
        out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(size + 4))));
}

// Deflate's fixed literal/length code of each symbol 0 to 287, bit-reversed
// as it is sent (Huffman codes go most significant bit first into a stream
// packed from the least significant end), with its length.
struct FixedCode {
    std::uint16_t bits;
    std::uint8_t length;
};

constexpr std::uint32_t Reversed(std::uint32_t code, int length)
{
    std::uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) {
        reversed |= ((code >> i) & 1U) << (length - 1 - i);
    }
    return reversed;
}

constexpr std::array<FixedCode, 288> FixedCodes = [] {
    std::array<FixedCode, 288> codes{};
    for (std::uint32_t symbol = 0; symbol < 288; ++symbol) {
        const auto [code, length] = symbol < 144   ? std::pair{0x30 + symbol, 8}
                                    : symbol < 256 ? std::pair{0x190 + (symbol - 144), 9}
                                    : symbol < 280 ? std::pair{symbol - 256, 7}
                                                   : std::pair{0xC0 + (symbol - 280), 8};
        codes[symbol] = {static_cast<std::uint16_t>(Reversed(code, length)),
                         static_cast<std::uint8_t>(length)};
    }
    return codes;
}();

// The length symbol (257 to 285), its base length and extra bits of each
// match length 3 to 258.
struct LengthCode {
    std::uint16_t symbol;
    std::uint16_t base;
    std::uint8_t extra;
};

constexpr std::array<LengthCode, 259> LengthCodes = [] {
    constexpr std::uint16_t Base[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                        15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                        67, 83, 99, 115, 131, 163, 195, 227, 258};
    constexpr std::uint8_t Extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    std::array<LengthCode, 259> codes{};
    for (std::size_t length = 3; length <= 258; ++length) {
        std::size_t code = 28;
        while (Base[code] > length) {
            --code;
        }
        codes[length] = {static_cast<std::uint16_t>(257 + code), Base[code], Extra[code]};
    }
    return codes;
}();

// A zlib stream of one deflate block with the fixed Huffman codes, whose
// only matches repeat the byte before (distance 1): run-length coding, which
// is what a barcode's rows need. The Adler-32 sum takes whole runs at once.
class RunLengthDeflate {
public:
    RunLengthDeflate()
    {
        out_.reserve(4096);
        out_.push_back(0x78);  // deflate, 32 KB window
        out_.push_back(0x01);  // no dictionary, fastest; (0x7801 % 31) == 0
        PutBits(1, 1);         // the last block
        PutBits(1, 2);         // fixed codes
    }

    // n copies of one byte.
    void Run(std::uint8_t value, std::size_t n)
    {
        if (n == 1) {  // most runs in antialiased text
            SumOne(value);
            PutSymbol(value);
            return;
        }
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
        const Distance code = DistanceCode(distance);
        // The longest match (no extra length bits) and its distance at once.
        const FixedCode longest = FixedCodes[LengthCodes[MaxMatch].symbol];
        const std::uint32_t longestBits = longest.bits | code.bits << longest.length;
        const int longestLength = longest.length + code.length;
        while (length >= MinMatch) {
            std::size_t part = std::min(length, MaxMatch);
            if (length - part > 0 && length - part < MinMatch) {
                part = length - MinMatch;
            }
            if (part == MaxMatch) {
                PutBits(longestBits, longestLength);
            } else {
                PutLength(part);
                PutBits(code.bits, code.length);
            }
            length -= part;
        }
        // Callers repeat at least three bytes, and the last part is never
        // cut below three: nothing is left.
    }

    // n steps of sum1 += value, sum2 += sum1.
    void Sum(std::uint8_t value, std::uint64_t n)
    {
        if (n == 1) {
            SumOne(value);
            return;
        }
        if (n < Base) {  // every run and row of a picture: one division each
            sum2_ = static_cast<std::uint32_t>((sum2_ + n * sum1_ + value * (n * (n + 1) / 2))
                                               % Base);
            sum1_ = static_cast<std::uint32_t>((sum1_ + n * value) % Base);
            return;
        }
        sum2_ = static_cast<std::uint32_t>(
            (sum2_ + n % Base * sum1_ + value * (n * (n + 1) / 2 % Base)) % Base);
        sum1_ = static_cast<std::uint32_t>((sum1_ + n % Base * value) % Base);
    }

    // One step, without a division.
    void SumOne(std::uint8_t value)
    {
        constexpr std::uint32_t Modulus = Base;
        sum1_ += value;
        sum1_ -= sum1_ >= Modulus ? Modulus : 0;
        sum2_ += sum1_;
        sum2_ -= sum2_ >= Modulus ? Modulus : 0;
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

    // The whole stream, valid while the coder lives.
    const std::vector<std::uint8_t>& Finish()
    {
        PutSymbol(256);  // end of block
        for (; bitCount_ > 0; bitCount_ -= 8, bits_ >>= 8) {
            out_.push_back(static_cast<std::uint8_t>(bits_));
        }
        const std::uint32_t adler = (sum2_ << 16) | sum1_;
        for (int shift = 24; shift >= 0; shift -= 8) {
            out_.push_back(static_cast<std::uint8_t>(adler >> shift));
        }
        return out_;
    }

private:
    static constexpr std::size_t MinMatch = 3;
    static constexpr std::size_t MaxMatch = 258;
    static constexpr std::uint64_t Base = 65521;

    // Deflate's bits go least significant first; whole words at a time.
    void PutBits(std::uint32_t value, int count)
    {
        bits_ |= std::uint64_t{value} << bitCount_;
        bitCount_ += count;
        if (bitCount_ >= 32) {
            // Room is made ahead, a doubling at a time: most pictures
            // code in a few kilobytes and never grow.
            const std::size_t size = out_.size();
            if (out_.capacity() - size < 4) {
                out_.reserve(2 * out_.capacity());
            }
            const auto word = static_cast<std::uint32_t>(bits_);
            out_.resize(size + 4);
            std::uint8_t* four = out_.data() + size;
            four[0] = static_cast<std::uint8_t>(word);
            four[1] = static_cast<std::uint8_t>(word >> 8);
            four[2] = static_cast<std::uint8_t>(word >> 16);
            four[3] = static_cast<std::uint8_t>(word >> 24);
            bits_ >>= 32;
            bitCount_ -= 32;
        }
    }

    void PutSymbol(unsigned symbol) { PutBits(FixedCodes[symbol].bits, FixedCodes[symbol].length); }

    void PutLength(std::size_t length)
    {
        const LengthCode& code = LengthCodes[length];
        PutSymbol(code.symbol);
        PutBits(static_cast<std::uint32_t>(length - code.base), code.extra);
    }

    // A distance's code and extra bits, as they are sent.
    struct Distance {
        std::uint32_t bits;
        int length;
    };

    static Distance DistanceCode(std::size_t distance)
    {
        static constexpr std::uint16_t DistanceBase[30] = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        unsigned code = 29;
        while (DistanceBase[code] > distance) {
            --code;
        }
        // Extra bits: none for codes 0 to 3, then (code / 2) − 1.
        const int extra = code < 4 ? 0 : static_cast<int>(code / 2 - 1);
        return {Reversed(code, 5) | static_cast<std::uint32_t>(distance - DistanceBase[code]) << 5,
                5 + extra};
    }

    std::vector<std::uint8_t> out_;
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    std::uint32_t sum1_ = 1;
    std::uint32_t sum2_ = 0;
};

// The colours of a picture in the order they first occur, each with its
// index, up to the 256 a palette holds: an open-addressed table with room
// for twice that many.
class PaletteIndex {
public:
    // The index of the colour (0xRRGGBB), a new one when it is new; none
    // once the colours are more than a palette holds.
    std::optional<std::uint8_t> Find(std::uint32_t colour)
    {
        std::size_t slot = (colour * 0x9E3779B1U) >> (32 - SlotBits);
        while (used_[slot] && colours_[slot] != colour) {
            slot = (slot + 1) & (Slots - 1);
        }
        if (!used_[slot]) {
            if (count_ == MaxColours) {
                return std::nullopt;
            }
            used_[slot] = true;
            colours_[slot] = colour;
            indices_[slot] = static_cast<std::uint8_t>(count_);
            palette_[count_++] = colour;
        }
        return indices_[slot];
    }

    std::size_t Count() const { return count_; }
    std::uint32_t Colour(std::size_t index) const { return palette_[index]; }

private:
    static constexpr std::size_t MaxColours = 256;
    static constexpr int SlotBits = 9;
    static constexpr std::size_t Slots = std::size_t{1} << SlotBits;
    static_assert(Slots >= 2 * MaxColours);
    std::array<bool, Slots> used_{};
    std::array<std::uint32_t, Slots> colours_{};
    std::array<std::uint8_t, Slots> indices_{};
    std::array<std::uint32_t, MaxColours> palette_{};
    std::size_t count_ = 0;
};

// A stretch of one palette index in a row.
struct IndexRun {
    std::uint8_t index;
    std::uint32_t length;

    bool operator==(const IndexRun&) const = default;
};

// The rows as runs of palette indices, each run as long as it goes; a row
// like the row above has none of its own (begin == end).
struct RunRows {
    PaletteIndex palette;
    std::vector<IndexRun> runs;
    std::vector<std::pair<std::size_t, std::size_t>> rows;  // [begin, end) in runs
};

constexpr std::uint32_t ColourMask = 0xFFFFFF;

// False when the picture has more colours than a palette holds.
// With `numbers` (equal numbers, equal rows), a row numbered as the row
// above is like it without a look at its pixels, and one numbered otherwise
// is not compared byte by byte first: its runs are compared instead.
bool FindRuns(const PixelRows& source, std::span<const std::uint32_t> numbers, RunRows& out)
{
    const auto width = static_cast<std::size_t>(source.width);
    out.rows.reserve(static_cast<std::size_t>(source.height));
    std::size_t previousBegin = 0;
    std::size_t previousEnd = 0;
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* row = source.Row(y);
        const bool likeAbove = y > 0
                               && (numbers.empty()
                                       ? std::memcmp(row, source.Row(y - 1), width * sizeof *row)
                                             == 0
                                       : numbers[static_cast<std::size_t>(y)]
                                             == numbers[static_cast<std::size_t>(y) - 1]);
        if (likeAbove) {
            out.rows.emplace_back(0, 0);
            continue;
        }
        const std::size_t begin = out.runs.size();
        for (std::size_t x = 0; x < width;) {
            const std::uint32_t pixel = row[x];
            std::size_t end = x + 1;
            while (end < width && row[end] == pixel) {
                ++end;
            }
            const std::optional<std::uint8_t> index = out.palette.Find(pixel & ColourMask);
            if (!index) {
                return false;
            }
            const auto length = static_cast<std::uint32_t>(end - x);
            // Pixels apart only in the top byte are one colour: one run.
            if (out.runs.size() > begin && out.runs.back().index == *index) {
                out.runs.back().length += length;
            } else {
                out.runs.push_back({*index, length});
            }
            x = end;
        }
        // Rows apart only in top bytes are alike too.
        if (y > 0
            && std::equal(out.runs.begin() + static_cast<std::ptrdiff_t>(begin), out.runs.end(),
                          out.runs.begin() + static_cast<std::ptrdiff_t>(previousBegin),
                          out.runs.begin() + static_cast<std::ptrdiff_t>(previousEnd))) {
            out.runs.resize(begin);
            out.rows.emplace_back(0, 0);
            continue;
        }
        out.rows.emplace_back(begin, out.runs.size());
        previousBegin = begin;
        previousEnd = out.runs.size();
    }
    return true;
}

}  // namespace

namespace {

// One bit a pixel, the leftmost pixel highest: the runs of index 1 set,
// whole bytes at a time between their ends.
void PackOneBitRow(const RunRows& found, std::size_t begin, std::size_t end,
                   std::vector<std::uint8_t>& packed)
{
    std::fill(packed.begin(), packed.end(), std::uint8_t{0});
    std::size_t x = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const std::size_t stop = x + found.runs[i].length;
        if (found.runs[i].index == 1) {
            for (; x < stop && x % 8 != 0; ++x) {
                packed[x / 8] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
            }
            for (; x + 8 <= stop; x += 8) {
                packed[x / 8] = 0xFF;
            }
            for (; x < stop; ++x) {
                packed[x / 8] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
            }
        }
        x = stop;
    }
}

// Each row: its filter type, then its bytes, coded into `deflate`.
void DeflateRows(const RunRows& found, int depth, std::size_t rowBytes, RunLengthDeflate& deflate)
{
    std::vector<std::uint8_t> packed(depth == 1 ? rowBytes : 0);
    // A stretch of equal rows is one "up" row of zeros and then copies of
    // it, as one long match reaching one stored row back. Far back, a match
    // takes more bits than a run of zeros; past two matches a row, runs.
    // A row of fewer bytes than the shortest match is not copied either:
    // one copy of it could not be coded.
    const std::size_t stored = rowBytes + 1;
    const bool copyRows = stored >= 3 && stored <= 516;
    std::size_t copies = 0;
    bool upBefore = false;
    for (const auto& [begin, end] : found.rows) {
        if (begin == end) {
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
        deflate.Run(0, 1);  // none: the bytes as they are
        if (depth == 8) {
            // Runs as long as they go are the runs of the row's bytes.
            for (std::size_t i = begin; i < end; ++i) {
                deflate.Run(found.runs[i].index, found.runs[i].length);
            }
            continue;
        }
        PackOneBitRow(found, begin, end, packed);
        deflate.Bytes(packed.data(), rowBytes);
    }
    deflate.Repeat(stored, copies * stored);
}

PngBytes AssemblePng(std::size_t width, int height, int depth, const RunRows& found,
                     const std::vector<std::uint8_t>& compressed)
{
    const std::size_t colours = found.palette.Count();
    PngBytes png;
    png.reserve(compressed.size() + 3 * colours + 64);
    static constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.insert(png.end(), Signature, Signature + sizeof Signature);
    std::uint8_t header[13];
    PutU32(header, static_cast<std::uint32_t>(width));
    PutU32(header + 4, static_cast<std::uint32_t>(height));
    header[8] = static_cast<std::uint8_t>(depth);
    header[9] = 3;                             // palette
    header[10] = header[11] = header[12] = 0;  // deflate, adaptive filters, no interlace
    AppendChunk(png, "IHDR", header, sizeof header);
    std::array<std::uint8_t, std::size_t{3} * 256> palette{};
    std::size_t entries = 0;
    for (std::size_t i = 0; i < colours; ++i) {
        const std::uint32_t colour = found.palette.Colour(i);
        palette[entries++] = static_cast<std::uint8_t>(colour >> 16);
        palette[entries++] = static_cast<std::uint8_t>(colour >> 8);
        palette[entries++] = static_cast<std::uint8_t>(colour);
    }
    AppendChunk(png, "PLTE", palette.data(), entries);
    AppendChunk(png, "IDAT", compressed.data(), compressed.size());
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace

std::optional<PngBytes> EncodeIndexedPng(const PixelRows& source,
                                         std::span<const std::uint32_t> rowNumbers)
{
    if (source.width <= 0 || source.height <= 0 || !source.first) {
        return PngBytes();
    }
    if (rowNumbers.size() != static_cast<std::size_t>(source.height)) {
        rowNumbers = {};
    }
    RunRows found;
    if (!FindRuns(source, rowNumbers, found)) {
        return std::nullopt;
    }
    const auto width = static_cast<std::size_t>(source.width);
    const int depth = found.palette.Count() <= 2 ? 1 : 8;
    const std::size_t rowBytes = depth == 1 ? (width + 7) / 8 : width;
    RunLengthDeflate deflate;
    DeflateRows(found, depth, rowBytes, deflate);
    return AssemblePng(width, source.height, depth, found, deflate.Finish());
}

}  // namespace kestrel
