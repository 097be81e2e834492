#include "bitmap/Palette.h"

#include "bitmap/ByteOrder.h"

#include <algorithm>
#include <bit>
#include <cstring>
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
    return {static_cast<std::uint8_t>((key >> 8) & 0xF8),
            static_cast<std::uint8_t>((key >> 3) & 0xFC),
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
    const std::uint32_t keptBits = (0xFFU >> (8 - kept)) << shiftRight;
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

bool KeyTally::Add(std::uint16_t key, std::uint64_t n)
{
    if (n == 0) {
        return true;  // a key that never occurred stays among the unused
    }
    // Fibonacci hashing spreads the 5-6-5 keys of nearby colours apart.
    std::size_t slot = (static_cast<std::uint32_t>(key) * 0x9E3779B1U) >> 22 & (Slots - 1);
    const std::uint32_t stored = std::uint32_t{key} + 1;
    while (slots_[slot] != 0 && slots_[slot] != stored) {
        slot = (slot + 1) & (Slots - 1);
    }
    if (slots_[slot] == 0) {
        if (keys_ == Capacity) {
            return false;
        }
        slots_[slot] = stored;
        ++keys_;
    }
    counts_[slot] += n;
    return true;
}

Palette KeyTally::MostFrequent(std::size_t n) const
{
    n = std::min(n, ColourHistogram::Size);
    std::vector<ColourHistogram::Entry> used;
    used.reserve(keys_);
    for (std::size_t slot = 0; slot < Slots; ++slot) {
        if (slots_[slot] != 0) {
            used.push_back(
                {static_cast<std::uint16_t>(std::min<std::uint64_t>(counts_[slot], 0xFFFF)),
                 static_cast<std::uint16_t>(slots_[slot] - 1)});
        }
    }
    // Only the first n are wanted: a 1-bit picture takes two of dozens.
    const auto first = used.begin() + static_cast<std::ptrdiff_t>(std::min(n, used.size()));
    std::partial_sort(used.begin(), first, used.end(), [](const auto& a, const auto& b) {
        return a.count != b.count ? a.count > b.count : a.key < b.key;
    });
    Palette palette;
    palette.reserve(n);
    for (std::size_t i = 0; i < used.size() && palette.size() < n; ++i) {
        palette.push_back(KeyColour(used[i].key));
    }
    // Keys that never occurred follow in ascending order, as the
    // histogram's entries of count 0 do: the used keys, in order, are the
    // ones to step over.
    if (palette.size() == n) {
        return palette;
    }
    std::vector<std::uint16_t> taken(used.size());
    std::ranges::transform(used, taken.begin(), [](const auto& entry) { return entry.key; });
    std::ranges::sort(taken);
    auto next = taken.begin();
    for (std::size_t key = 0; key < ColourHistogram::Size && palette.size() < n; ++key) {
        if (next != taken.end() && *next == key) {
            ++next;
        } else {
            palette.push_back(KeyColour(static_cast<std::uint16_t>(key)));
        }
    }
    return palette;
}

namespace {

// Calls count(key, n) for the picture's pixels: each run of one colour in a
// row once, and a row that repeats the row above not at all but with its
// runs multiplied. Stops with false as soon as count does.
template <class Count>
bool CountPictureRuns(const PixelRows& picture, Count&& count)
{
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t height = static_cast<std::size_t>(picture.height);
    std::vector<std::pair<std::uint16_t, std::uint64_t>> runs;
    std::uint64_t repeats = 0;
    const std::uint32_t* previous = nullptr;
    auto flush = [&] {
        return std::ranges::all_of(runs, [&](const auto& run) {
            return count(run.first, run.second * repeats);
        });
    };
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint32_t* row = picture.Row(static_cast<int>(y));
        if (previous && std::memcmp(previous, row, width * sizeof *row) == 0) {
            ++repeats;
            continue;
        }
        if (!flush()) {
            return false;
        }
        runs.clear();
        repeats = 1;
        previous = row;
        for (std::size_t x = 0; x < width;) {
            const std::uint32_t colour = row[x];
            std::size_t end = x + 1;
            while (end < width && row[end] == colour) {
                ++end;
            }
            const std::uint16_t key = ColourKey(static_cast<std::uint8_t>(colour >> 16),
                                                static_cast<std::uint8_t>(colour >> 8),
                                                static_cast<std::uint8_t>(colour));
            if (!runs.empty() && runs.back().first == key) {
                runs.back().second += end - x;
            } else {
                runs.emplace_back(key, end - x);
            }
            x = end;
        }
    }
    return flush();
}

}  // namespace

Palette MakeFrequencyPalette(const RgbPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0
        || picture.pixels.size() < static_cast<std::size_t>(picture.width)
                                       * static_cast<std::size_t>(picture.height)) {
        return {};
    }
    return MakeFrequencyPalette(RowsOf(picture));
}

Palette MakeFrequencyPalette(const PixelRows& picture)
{
    if (picture.width <= 0 || picture.height <= 0 || !picture.first) {
        return {};
    }
    KeyTally tally;
    if (CountPictureRuns(picture,
                         [&](std::uint16_t key, std::uint64_t n) { return tally.Add(key, n); })) {
        return tally.MostFrequent(MaxPaletteSize);
    }
    auto histogram = ColourHistogram::Allocate();
    if (!histogram) {
        return MakeHalftonePalette();
    }
    CountPictureRuns(picture, [&](std::uint16_t key, std::uint64_t n) {
        histogram->CountRun(key, n);
        return true;
    });
    return histogram->MostFrequent(MaxPaletteSize);
}

Palette MakeFrequencyPalette(std::span<const PixelCount> colours, std::size_t entries)
{
    entries = std::min(entries, MaxPaletteSize);
    const auto keyOf = [](std::uint32_t rgb) {
        return ColourKey(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                         static_cast<std::uint8_t>(rgb));
    };
    KeyTally tally;
    const bool fits = std::ranges::all_of(colours, [&](const PixelCount& c) {
        return tally.Add(keyOf(c.rgb), c.count);
    });
    if (fits) {
        return tally.MostFrequent(entries);
    }
    auto histogram = ColourHistogram::Allocate();
    if (!histogram) {
        return MakeHalftonePalette();
    }
    for (const PixelCount& c : colours) {
        histogram->CountRun(keyOf(c.rgb), c.count);
    }
    return histogram->MostFrequent(entries);
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
                                                  std::size_t{layout->colourCount} * 4);
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
