#include "bitmap/Convert.h"

#include "bitmap/ByteOrder.h"
#include "bitmap/RunLength.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <span>
#include <vector>

namespace kestrel {

namespace {

constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return (red << 16) | (green << 8) | blue;
}
constexpr std::uint8_t Red(std::uint32_t rgb)
{
    return static_cast<std::uint8_t>(rgb >> 16);
}
constexpr std::uint8_t Green(std::uint32_t rgb)
{
    return static_cast<std::uint8_t>(rgb >> 8);
}
constexpr std::uint8_t Blue(std::uint32_t rgb)
{
    return static_cast<std::uint8_t>(rgb);
}

// Reads the stored rows of an uncompressed DIB as 0x00RRGGBB colours.
class RowReader {
public:
    RowReader(const Dib& dib, const DibLayout& layout) : dib_(dib), layout_(layout)
    {
        const std::uint8_t* table = dib.data() + layout.colourTableOffset;
        // Indices past the table read as black rather than past the block.
        for (std::size_t i = 0; i < layout.colourCount && i < table_.size(); ++i) {
            const std::uint8_t* e = table + i * layout.entrySize;
            table_[i] = Rgb(e[2], e[1], e[0]);
        }
        for (int i = 0; i < 3; ++i) {
            channels_[i] = MakeChannelMask(layout.masks[i]);
        }
    }

    void Read(std::size_t row, std::uint32_t* out) const
    {
        const std::uint8_t* p = dib_.data() + layout_.pixelOffset + row * layout_.rowSize;
        const std::size_t width = layout_.width;
        switch (layout_.header.biBitCount) {
        case 1:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = table_[(p[x / 8] >> (7 - x % 8)) & 1];
            }
            break;
        case 4:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = table_[(p[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
            }
            break;
        case 8:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = table_[p[x]];
            }
            break;
        case 16:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = FromMasks(bytes::ReadU16(p + 2 * x));
            }
            break;
        case 24:
            for (std::size_t x = 0; x < width; ++x, p += 3) {
                out[x] = Rgb(p[2], p[1], p[0]);
            }
            break;
        case 32:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = FromMasks(bytes::ReadU32(p + 4 * x));
            }
            break;
        default: break;
        }
    }

private:
    std::uint32_t FromMasks(std::uint32_t pixel) const
    {
        return Rgb(channels_[0].Extract(pixel), channels_[1].Extract(pixel),
                   channels_[2].Extract(pixel));
    }

    const Dib& dib_;
    const DibLayout& layout_;
    std::array<std::uint32_t, 256> table_{};
    std::array<ChannelMask, 3> channels_{};
};

// Writes 0x00RRGGBB colours into a stored row of 16, 24 or 32 bits. One
// loop per layout: a read-out of a large picture runs through here for
// every pixel.
void WriteTrueColourRow(std::uint8_t* p, const std::uint32_t* colours, std::size_t width,
                        int bitCount, bool sixBitGreen)
{
    switch (bitCount) {
    case 16:
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t c = colours[x];
            const std::uint32_t value = sixBitGreen ? ((Red(c) >> 3) << 11) | ((Green(c) >> 2) << 5)
                                                          | (Blue(c) >> 3)
                                                    : ((Red(c) >> 3) << 10) | ((Green(c) >> 3) << 5)
                                                          | (Blue(c) >> 3);
            bytes::WriteU16(p + 2 * x, static_cast<std::uint16_t>(value));
        }
        break;
    case 24:
        for (std::size_t x = 0; x < width; ++x, p += 3) {
            const std::uint32_t c = colours[x];
            p[0] = Blue(c);
            p[1] = Green(c);
            p[2] = Red(c);
        }
        break;
    case 32:
        for (std::size_t x = 0; x < width; ++x) {
            bytes::WriteU32(p + 4 * x, colours[x] & 0x00FFFFFF);
        }
        break;
    default: break;
    }
}

// Finds the nearest palette entry (squared RGB distance, first entry on a
// tie). Bars and text repeat few colours, so answers are remembered in a
// small table indexed by a hash of the colour, each with the exact colour it
// was computed for; a clash only costs a search again.
class NearestEntry {
public:
    // A small palette is searched fast, and a small cache is set up fast:
    // a barcode's picture is read out in less time than a large one takes.
    explicit NearestEntry(const Palette& palette, std::size_t usable)
        : palette_(palette), usable_(usable), cacheBits_(usable <= 16 ? 8 : 12),
          cache_(std::size_t{1} << cacheBits_, Slot{Empty, 0})
    {
    }

    std::uint8_t Index(std::uint32_t colour)
    {
        colour &= 0x00FFFFFF;
        if (colour == lastColour_) {
            return lastIndex_;
        }
        Slot& slot = cache_[(colour * 0x9E3779B1U) >> (32 - cacheBits_)];
        if (slot.colour != colour) {
            slot = {colour, Search(colour)};
        }
        lastColour_ = colour;
        lastIndex_ = slot.index;
        return slot.index;
    }

private:
    static constexpr std::uint32_t Empty = 0xFFFFFFFF;  // no 0x00RRGGBB colour
    struct Slot {
        std::uint32_t colour;
        std::uint8_t index;
    };

    std::uint8_t Search(std::uint32_t colour) const
    {
        const int r = Red(colour);
        const int g = Green(colour);
        const int b = Blue(colour);
        std::size_t best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < usable_; ++i) {
            const int dr = r - palette_[i].red;
            const int dg = g - palette_[i].green;
            const int db = b - palette_[i].blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
                if (distance == 0) {
                    break;
                }
            }
        }
        return static_cast<std::uint8_t>(best);
    }

    const Palette& palette_;
    std::size_t usable_;
    int cacheBits_;
    std::vector<Slot> cache_;
    std::uint32_t lastColour_ = Empty;
    std::uint8_t lastIndex_ = 0;
};

// Palette index `index` into pixels [x, end) of a zeroed row of 1, 4 or 8
// bits, whole bytes at a time between the run's ends: a barcode's rows are
// a few dozen runs each.
void PutIndexRun(std::uint8_t* p, std::size_t x, std::size_t end, std::uint8_t index, int bitCount)
{
    switch (bitCount) {
    case 1: {
        if ((index & 1U) == 0) {
            return;
        }
        for (; x < end && x % 8 != 0; ++x) {
            p[x / 8] = static_cast<std::uint8_t>(p[x / 8] | (0x80U >> (x % 8)));
        }
        if (const std::size_t bytes = (end - x) / 8; bytes > 0) {
            std::memset(p + x / 8, 0xFF, bytes);
            x += 8 * bytes;
        }
        for (; x < end; ++x) {
            p[x / 8] = static_cast<std::uint8_t>(p[x / 8] | (0x80U >> (x % 8)));
        }
        break;
    }
    case 4: {
        const unsigned nibble = index & 0xFU;
        if (nibble == 0) {
            return;
        }
        if (x < end && x % 2 != 0) {
            p[x / 2] = static_cast<std::uint8_t>(p[x / 2] | nibble);
            ++x;
        }
        if (const std::size_t bytes = (end - x) / 2; bytes > 0) {
            std::memset(p + x / 2, static_cast<int>(nibble << 4 | nibble), bytes);
            x += 2 * bytes;
        }
        if (x < end) {
            p[x / 2] = static_cast<std::uint8_t>(p[x / 2] | nibble << 4);
        }
        break;
    }
    case 8: std::memset(p + x, index, end - x); break;
    default: break;
    }
}

// Where the stored rows already written came from, by the numbers of their
// picture rows (equal numbers, equal pixels): a small direct-mapped memory,
// as a picture's equal rows are few kinds, mostly side by side. A number
// it has forgotten only costs mapping its row again.
class EarlierRows {
public:
    // The stored row of an earlier row numbered `number`, if remembered.
    std::optional<std::size_t> Find(std::uint32_t number) const
    {
        const Slot& slot = slots_[number % Slots];
        if (slot.stored != None && slot.number == number) {
            return slot.stored;
        }
        return std::nullopt;
    }
    void Remember(std::uint32_t number, std::size_t stored)
    {
        slots_[number % Slots] = {number, stored};
    }

private:
    static constexpr std::size_t Slots = 64;
    static constexpr std::size_t None = std::numeric_limits<std::size_t>::max();
    struct Slot {
        std::uint32_t number = 0;
        std::size_t stored = None;
    };
    std::array<Slot, Slots> slots_{};
};

std::int32_t StoredHeight(const DibLayout& layout)
{
    return layout.header.biHeight;  // keeps top-down pictures top-down
}

// The colour table of an indexed picture (`entries` of the palette) and the
// masks of a BI_BITFIELDS one.
void WriteTableAndMasks(Dib& target, const DibLayout& layout, const Palette& palette,
                        std::size_t entries, std::uint32_t compression, bool sixBitGreen)
{
    std::uint8_t* out = target.data();
    std::uint8_t* table = out + layout.colourTableOffset;
    for (std::size_t i = 0; i < entries; ++i) {
        table[4 * i] = palette[i].blue;
        table[4 * i + 1] = palette[i].green;
        table[4 * i + 2] = palette[i].red;
    }
    if (compression == BI_BITFIELDS) {
        const std::uint32_t masks[3] = {sixBitGreen ? 0xF800U : 0x00FF0000U,
                                        sixBitGreen ? 0x07E0U : 0x0000FF00U,
                                        sixBitGreen ? 0x001FU : 0x000000FFU};
        for (std::size_t i = 0; i < 3; ++i) {
            bytes::WriteU32(out + InfoHeaderSize + 4 * i, masks[i]);
        }
    }
}

// Calls put(x, end, index) for each stretch of the row whose colours map to
// one palette entry: one look-up for each run of one colour, neighbouring
// runs of one entry put as one.
template <class Nearest, class Put>
void ForEachIndexRun(const std::uint32_t* source, std::size_t width, Nearest& nearest, Put&& put)
{
    std::size_t runStart = 0;
    std::uint8_t runIndex = 0;
    for (std::size_t x = 0; x < width;) {
        const std::uint32_t colour = source[x];
        std::size_t end = x + 1;
        while (end < width && source[end] == colour) {
            ++end;
        }
        const std::uint8_t index = nearest.Index(colour);
        if (index != runIndex) {
            put(runStart, x, runIndex);
            runStart = x;
            runIndex = index;
        }
        x = end;
    }
    put(runStart, width, runIndex);
}

// A new DIB of `bitCount` bits whose pixels are the picture's colours
// mapped onto the palette: indices for 8 bits or fewer, the palette colour
// itself in a 16- or 32-bit `compression` otherwise. rowAt(y) gives stored
// row y (bottom-up for a positive height) as 0x00RRGGBB colours; the row it
// gave last must stay readable until the next call. numberAt(y) gives the
// row's number where the picture numbered its rows (equal numbers, equal
// pixels): a row numbered as one before it is copied from that one's stored
// row. Unnumbered, a row equal to the one before it is copied. Either way,
// copied rows are not mapped again.
template <class RowAt, class NumberAt>
Dib MapThroughPalette(std::size_t width, std::size_t rows, std::int32_t storedHeight,
                      const Palette& palette, int bitCount, std::uint32_t compression,
                      RowAt&& rowAt, NumberAt&& numberAt)
{
    const bool indexed = bitCount <= 8;
    const std::size_t usable = indexed ? std::min<std::size_t>(palette.size(),
                                                               std::size_t{1} << bitCount)
                                       : palette.size();
    Dib target = NewPicture(static_cast<std::int32_t>(width), storedHeight, bitCount, compression,
                            indexed ? static_cast<std::uint32_t>(usable) : 0);
    const auto targetLayout = InspectPicture(target);
    if (!targetLayout) {
        return {};
    }
    std::uint8_t* out = target.data();
    const bool sixBitGreen = compression == BI_BITFIELDS && bitCount == 16;
    WriteTableAndMasks(target, *targetLayout, palette, indexed ? usable : 0, compression,
                       sixBitGreen);

    try {
        NearestEntry nearest(palette, usable);
        std::vector<std::uint32_t> colours(indexed ? 0 : width);
        std::vector<std::uint8_t> indices(indexed ? 0 : width);
        const std::uint32_t* previous = nullptr;
        EarlierRows earlier;
        const auto putRun = [&](std::uint8_t* row, std::size_t x, std::size_t end,
                                std::uint8_t index) {
            if (indexed) {
                PutIndexRun(row, x, end, index, bitCount);
            } else {
                std::memset(indices.data() + x, index, end - x);
            }
        };
        for (std::size_t y = 0; y < rows; ++y) {
            const std::uint32_t* source = rowAt(y);
            std::uint8_t* row = out + targetLayout->pixelOffset + y * targetLayout->rowSize;
            const std::optional<std::uint32_t> number = numberAt(y);
            if (number) {
                if (const std::optional<std::size_t> same = earlier.Find(*number)) {
                    std::memcpy(row,
                                out + targetLayout->pixelOffset + *same * targetLayout->rowSize,
                                targetLayout->rowSize);
                    continue;
                }
                earlier.Remember(*number, y);
            } else if (previous && std::memcmp(previous, source, width * sizeof *source) == 0) {
                std::memcpy(row, row - targetLayout->rowSize, targetLayout->rowSize);
                previous = source;
                continue;
            }
            previous = source;
            ForEachIndexRun(source, width, nearest,
                            [&](std::size_t x, std::size_t end, std::uint8_t index) {
                                putRun(row, x, end, index);
                            });
            if (!indexed) {
                for (std::size_t x = 0; x < width; ++x) {
                    const PaletteEntry& e = palette[indices[x]];
                    colours[x] = Rgb(e.red, e.green, e.blue);
                }
                WriteTrueColourRow(row, colours.data(), width, bitCount, sixBitGreen);
            }
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return target;
}

Dib ConvertThroughPalette(const Dib& source, const DibLayout& layout, int bitCount,
                          std::uint32_t compression, const MaskWarning& warn)
{
    const Palette palette = MakePicturePalette(source, warn);
    if (palette.empty()) {
        return {};
    }
    try {
        const RowReader reader(source, layout);
        // Two buffers in turn, so the row read before stays readable.
        std::vector<std::uint32_t> buffers[2] = {std::vector<std::uint32_t>(layout.width),
                                                 std::vector<std::uint32_t>(layout.width)};
        return MapThroughPalette(
            layout.width, layout.rows, StoredHeight(layout), palette, bitCount, compression,
            [&](std::size_t y) {
                std::uint32_t* row = buffers[y % 2].data();
                reader.Read(y, row);
                return static_cast<const std::uint32_t*>(row);
            },
            [](std::size_t) { return std::optional<std::uint32_t>(); });
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The picture straight into a 1-, 4- or 8-bit BI_RGB DIB, or a run-length
// one: what reading it out at 24 bits and converting that gives, without
// the 24-bit picture in between.
Dib ReadOutIndexed(const PixelRows& picture, int bitCount, std::uint32_t compression,
                   const std::vector<PixelCount>* colours, std::span<const std::uint32_t> numbers)
{
    // Entries past what the bit count indexes would never be used.
    const Palette palette = colours != nullptr
                                ? MakeFrequencyPalette(*colours, std::size_t{1} << bitCount)
                                : MakeFrequencyPalette(picture);
    if (palette.empty()) {
        return {};
    }
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t rows = static_cast<std::size_t>(picture.height);
    Dib target;
    try {
        // Stored rows are bottom-up: the picture's last row comes first.
        target = MapThroughPalette(
            width, rows, picture.height, palette, bitCount, BI_RGB,
            [&](std::size_t y) { return picture.Row(static_cast<int>(rows - 1 - y)); },
            [&](std::size_t y) {
                return numbers.empty() ? std::optional<std::uint32_t>()
                                       : std::optional(numbers[rows - 1 - y]);
            });
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (target && compression != BI_RGB) {
        target = EncodeRunLength(target);
    }
    return target;
}

}  // namespace

bool IsConvertRequest(int bitCount, std::uint32_t compression, int sourceBitCount)
{
    switch (bitCount) {
    case 0:
        return compression == BI_RGB || (compression == BI_RLE4 && sourceBitCount == 4)
               || (compression == BI_RLE8 && sourceBitCount == 8);
    case 1:
    case 24: return compression == BI_RGB;
    case 4: return compression == BI_RGB || compression == BI_RLE4;
    case 8: return compression == BI_RGB || compression == BI_RLE8;
    case 16:
    case 32: return compression == BI_RGB || compression == BI_BITFIELDS;
    default: return false;
    }
}

Dib ConvertTrueColour(const Dib& source, int bitCount)
{
    const auto layout = InspectPicture(source);
    if (!layout || layout->header.biCompression != BI_RGB || layout->header.biBitCount < 16
        || (bitCount != 16 && bitCount != 24 && bitCount != 32)) {
        return {};
    }
    Dib target = NewPicture(static_cast<std::int32_t>(layout->width), StoredHeight(*layout),
                            bitCount, BI_RGB, 0);
    const auto targetLayout = InspectPicture(target);
    if (!targetLayout) {
        return {};
    }
    try {
        const RowReader reader(source, *layout);
        std::vector<std::uint32_t> colours(layout->width);
        for (std::size_t y = 0; y < layout->rows; ++y) {
            reader.Read(y, colours.data());
            WriteTrueColourRow(target.data() + targetLayout->pixelOffset
                                   + y * targetLayout->rowSize,
                               colours.data(), layout->width, bitCount, false);
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return target;
}

Dib ConvertPicture(Dib& source, int bitCount, std::uint32_t compression, const MaskWarning& warn)
{
    const auto layout = InspectPicture(source);
    if (!layout) {
        return {};
    }
    const BitmapInfoHeader& header = layout->header;
    const int sourceBits = header.biBitCount;
    if (!IsConvertRequest(bitCount, compression, sourceBits)) {
        return {};
    }
    // Run-length pictures are written but not read. A run-length target is
    // the uncompressed picture of its depth, coded afterwards; coded
    // pictures are bottom-up only, so a top-down source cannot become one.
    const bool runLength = compression == BI_RLE4 || compression == BI_RLE8;
    if (header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8
        || (runLength && layout->topDown)) {
        return {};
    }
    const std::uint32_t stored = runLength ? BI_RGB : compression;
    const int targetBits = bitCount == 0 ? sourceBits : bitCount;
    const bool throughPalette = sourceBits <= 8 || targetBits <= 8 || stored != BI_RGB
                                || header.biCompression != BI_RGB;
    Dib target = throughPalette ? ConvertThroughPalette(source, *layout, targetBits, stored, warn)
                                : ConvertTrueColour(source, targetBits);
    if (target && runLength) {
        target = EncodeRunLength(target);
    }
    if (target) {
        source.Release();
    }
    return target;
}

Dib ReadOutPicture(const RgbPicture& picture, std::uint32_t compression, int bitCount)
{
    if (picture.width <= 0 || picture.height <= 0
        || picture.pixels.size()
               != static_cast<std::size_t>(picture.width)
                      * static_cast<std::size_t>(picture.height)) {
        return {};
    }
    return ReadOutRows(RowsOf(picture), compression, bitCount);
}

Dib ReadOutRows(const PixelRows& picture, std::uint32_t compression, int bitCount,
                const std::vector<PixelCount>* colours, std::span<const std::uint32_t> rowNumbers)
{
    if (picture.width <= 0 || picture.height <= 0 || !picture.first) {
        return {};
    }
    if (rowNumbers.size() != static_cast<std::size_t>(picture.height)) {
        rowNumbers = {};
    }
    const int bits = bitCount == 0 ? 24 : bitCount;
    const bool direct = compression == BI_RGB && (bits == 16 || bits == 24 || bits == 32);
    if (!direct && bits <= 8) {
        if (!IsConvertRequest(bits, compression, 24)) {
            return {};
        }
        return ReadOutIndexed(picture, bits, compression, colours, rowNumbers);
    }
    const int readBits = direct ? bits : 24;
    Dib dib = NewTrueColourPicture(picture.width, picture.height, readBits);
    const auto layout = InspectPicture(dib);
    if (!layout) {
        return {};
    }
    const std::size_t width = static_cast<std::size_t>(picture.width);
    std::uint8_t* const stored = dib.data() + layout->pixelOffset;
    EarlierRows earlier;
    for (std::size_t y = 0; y < layout->rows; ++y) {
        // The picture's top row is the DIB's last stored row.
        const std::size_t from = layout->rows - 1 - y;
        std::uint8_t* row = stored + y * layout->rowSize;
        if (!rowNumbers.empty()) {
            if (const std::optional<std::size_t> same = earlier.Find(rowNumbers[from])) {
                std::memcpy(row, stored + *same * layout->rowSize, layout->rowSize);
                continue;
            }
            earlier.Remember(rowNumbers[from], y);
        }
        WriteTrueColourRow(row, picture.Row(static_cast<int>(from)), width, readBits, false);
    }
    if (direct) {
        return dib;
    }
    return ConvertPicture(dib, bits, compression);
}

}  // namespace kestrel
