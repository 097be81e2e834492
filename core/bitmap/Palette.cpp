#include "bitmap/Palette.h"

#include "bitmap/ByteOrder.h"

#include <algorithm>
#include <bit>
#include <new>

namespace kestrel {

Palette PaletteFromColourTable(std::span<const std::uint8_t> table, std::size_t n)
{
    if (n > MaxPaletteSize || table.size() / 4 < n) {
        return {};
    }
    Palette palette(n);
    for (std::size_t i = 0; i < n; ++i) {
        palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    }
    return palette;
}

Palette MakeHalftonePalette()
{
    Palette palette(MaxPaletteSize);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {static_cast<std::uint8_t>((i % 8) * 32),
                      static_cast<std::uint8_t>(((i / 8) % 8) * 32),
                      static_cast<std::uint8_t>((i / 64) * 64), 0};
    }
    return palette;
}

std::uint16_t ColourKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<std::uint16_t>(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3));
}

PaletteEntry KeyColour(std::uint16_t key)
{
    return {static_cast<std::uint8_t>((key >> 8) & 0xF8), static_cast<std::uint8_t>((key >> 3) & 0xFC),
            static_cast<std::uint8_t>((key << 3) & 0xFF), 0};
}

bool IsUnbrokenMask(std::uint32_t mask)
{
    if (mask == 0) {
        return true;
    }
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

ChannelMask MakeChannelMask(std::uint32_t mask)
{
    if (mask == 0) {
        return {};
    }
    const int lowest = std::countr_zero(mask);
    const int highest = 31 - std::countl_zero(mask);
    const int kept = std::min(highest - lowest + 1, 8);
    const int shiftRight = highest - kept + 1;
    const std::uint32_t keptBits = (0xFFu >> (8 - kept)) << shiftRight;
    return {mask & keptBits, shiftRight, 8 - kept};
}

std::optional<ColourHistogram> ColourHistogram::Allocate()
{
    std::unique_ptr<Entry[]> entries(new (std::nothrow) Entry[Size]);
    if (!entries) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < Size; ++i) {
        entries[i] = {0, static_cast<std::uint16_t>(i)};
    }
    return ColourHistogram(std::move(entries));
}

Palette ColourHistogram::MostFrequent(std::size_t n)
{
    n = std::min(n, Size);
    std::partial_sort(entries_.get(), entries_.get() + n, entries_.get() + Size,
                      [](const Entry& a, const Entry& b) {
                          return a.count != b.count ? a.count > b.count : a.key < b.key;
                      });
    Palette palette(n);
    for (std::size_t i = 0; i < n; ++i) {
        palette[i] = KeyColour(entries_[i].key);
    }
    return palette;
}

bool CountPictureColours(const Dib& dib, ColourHistogram& histogram)
{
    const auto layout = InspectPicture(dib);
    if (!layout || layout->header.biSize != InfoHeaderSize) {
        return false;
    }
    const BitmapInfoHeader& header = layout->header;
    const std::uint8_t* pixels = dib.data() + layout->pixelOffset;

    if (header.biBitCount == 24 && header.biCompression == BI_RGB) {
        for (std::size_t y = 0; y < layout->rows; ++y) {
            const std::uint8_t* p = pixels + y * layout->rowSize;
            for (std::size_t x = 0; x < layout->width; ++x, p += 3) {
                histogram.Count(ColourKey(p[2], p[1], p[0]));
            }
        }
        return true;
    }
    if (header.biBitCount != 16 && header.biBitCount != 32) {
        return false;
    }
    for (const std::uint32_t mask : layout->masks) {
        if (!IsUnbrokenMask(mask)) {
            return false;
        }
    }
    const ChannelMask red = MakeChannelMask(layout->masks[0]);
    const ChannelMask green = MakeChannelMask(layout->masks[1]);
    const ChannelMask blue = MakeChannelMask(layout->masks[2]);
    auto count = [&](std::uint32_t pixel) {
        histogram.Count(ColourKey(red.Extract(pixel), green.Extract(pixel), blue.Extract(pixel)));
    };
    if (header.biBitCount == 16) {
        // Rows of an odd width end in a padding pixel, counted like any other.
        const std::size_t values = layout->rowSize / 2 * layout->rows;
        for (std::size_t i = 0; i < values; ++i) {
            count(bytes::ReadU16(pixels + 2 * i));
        }
    } else {
        const std::size_t values = layout->width * layout->rows;
        for (std::size_t i = 0; i < values; ++i) {
            count(bytes::ReadU32(pixels + 4 * i));
        }
    }
    return true;
}

Palette MakePicturePalette(const Dib& dib, const MaskWarning& warn)
{
    const auto layout = InspectPicture(dib);
    if (!layout || layout->header.biSize != InfoHeaderSize) {
        return {};
    }
    if (layout->colourCount > 0) {
        const std::span<const std::uint8_t> table(dib.data() + layout->colourTableOffset,
                                                  layout->colourCount * 4);
        return PaletteFromColourTable(table, layout->colourCount);
    }
    const BitmapInfoHeader& header = layout->header;
    if (header.biBitCount == 16 || header.biBitCount == 32) {
        for (const std::uint32_t mask : layout->masks) {
            if (!IsUnbrokenMask(mask)) {
                if (warn) {
                    warn();
                }
                return MakeHalftonePalette();
            }
        }
    } else if (header.biBitCount != 24) {
        return {};
    }
    auto histogram = ColourHistogram::Allocate();
    if (!histogram) {
        return MakeHalftonePalette();
    }
    if (!CountPictureColours(dib, *histogram)) {
        return {};
    }
    return histogram->MostFrequent(MaxPaletteSize);
}

}  // namespace kestrel
