#pragma once

// Palettes for DIBs: from a colour table, the fixed halftone palette, and the
// frequency palette of a true-colour picture built from a colour histogram.

#include "bitmap/Dib.h"
#include "picture/PixelTally.h"
#include "picture/RgbPicture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace kestrel {

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;

    bool operator==(const PaletteEntry&) const = default;
};

// At most MaxPaletteSize entries; empty means "no palette".
using Palette = std::vector<PaletteEntry>;
inline constexpr std::size_t MaxPaletteSize = 256;

// Called when a picture's colour masks are unusable and the halftone palette
// stands in. A front end shows messages::MaskWarningText for it.
using MaskWarning = std::function<void()>;

// n colour-table entries (blue, green, red, reserved) as n palette entries in
// the same order. Empty when n is over 256 or the table holds fewer entries.
Palette PaletteFromColourTable(std::span<const std::uint8_t> table, std::size_t n);

// 256 entries: red (i mod 8) × 32, green ((i / 8) mod 8) × 32, blue (i / 64) × 64.
Palette MakeHalftonePalette();

// A colour reduced to 5-6-5 bits, the unit the histogram counts in.
std::uint16_t ColourKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// The colour a key stands for, low bits zero: white gives (248, 252, 248).
PaletteEntry KeyColour(std::uint16_t key);

// How one channel is taken out of a 16- or 32-bit pixel: keep the mask's
// eight highest set bits, shift them down, then up to fill eight bits.
struct ChannelMask {
    std::uint32_t mask = 0;  // reduced to at most eight bits
    int shiftRight = 0;      // the lowest kept bit
    int shiftLeft = 0;       // 8 − the number of kept bits

    std::uint8_t Extract(std::uint32_t pixel) const
    {
        return static_cast<std::uint8_t>(((pixel & mask) >> shiftRight) << shiftLeft);
    }
};

// Whether the mask's set bits form one unbroken run (0 does).
bool IsUnbrokenMask(std::uint32_t mask);
// The extraction for a mask. A broken mask is reduced over the span from its
// lowest to its highest set bit, which stays in bounds but means little.
ChannelMask MakeChannelMask(std::uint32_t mask);

// 65,536 saturating counts, one per colour key, for one palette build.
class ColourHistogram {
public:
    static constexpr std::size_t Size = 65536;

    struct Entry {
        std::uint16_t count;
        std::uint16_t key;
    };

    // Every key set to its index and every count to 0; nothing when the
    // memory cannot be had.
    static std::optional<ColourHistogram> Allocate();

    void Count(std::uint16_t key)
    {
        std::uint16_t& count = entries_[key].count;
        if (count != 0xFFFF) {
            ++count;
        }
    }
    // `n` pixels of one key at once, saturating like n calls of Count.
    void CountRun(std::uint16_t key, std::uint64_t n)
    {
        std::uint16_t& count = entries_[key].count;
        count = static_cast<std::uint16_t>(std::min<std::uint64_t>(count + n, 0xFFFF));
    }
    std::uint16_t CountOf(std::uint16_t key) const { return entries_[key].count; }

    // The colours of the `n` most frequent keys, highest count first and
    // among equal counts the lower key first. Reorders the entries, so
    // CountOf means nothing afterwards.
    Palette MostFrequent(std::size_t n);

private:
    explicit ColourHistogram(std::unique_ptr<Entry[]> entries) : entries_(std::move(entries)) {}
    std::unique_ptr<Entry[]> entries_;
};

// The keys of a picture of few colours with their counts, in a small
// open-addressed table: filling and sorting the 65,536 counts of the
// histogram costs more than counting a barcode's pixels. Its palette is the
// one the histogram gives for the same pixels.
class KeyTally {
public:
    // Distinct keys it holds; more make Add fail.
    static constexpr std::size_t Capacity = 512;

    // False, once a key beyond Capacity would be needed.
    bool Add(std::uint16_t key, std::uint64_t n);
    std::size_t Keys() const { return keys_; }

    // As ColourHistogram::MostFrequent for the same pixels: the used keys by
    // count (saturated at 65,535), highest first, the lower key first among
    // equals, then the unused keys in ascending order.
    Palette MostFrequent(std::size_t n) const;

private:
    static constexpr std::size_t Slots = 2 * Capacity;                         // a power of two
    std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(Slots, 0);  // key + 1, 0 free
    std::vector<std::uint64_t> counts_ = std::vector<std::uint64_t>(Slots, 0);
    std::size_t keys_ = 0;
};

// The frequency palette of a picture: the palette MakePicturePalette gives
// for the picture read out at 24 bits, without that read-out. Identical
// rows are counted once and runs of one colour in a row as one addition.
// The halftone palette when the histogram is needed but cannot be had.
Palette MakeFrequencyPalette(const RgbPicture& picture);
// The same for pixels where they lie (their top bytes 0).
Palette MakeFrequencyPalette(const PixelRows& picture);
// The same from the picture's colours and their pixel counts, where the
// drawing kept them: no pass over the pixels. Only its first `entries`
// entries, where a picture of fewer bits has no room for more.
Palette MakeFrequencyPalette(std::span<const PixelCount> colours,
                             std::size_t entries = MaxPaletteSize);

// Counts every pixel of a valid uncompressed 16-, 24- or 32-bit DIB. 24 bits
// count row by row; 16 and 32 bits walk the pixel array flat, so a 16-bit
// row's padding pixel counts as black. False (nothing counted) for other
// pictures or when a mask is broken.
bool CountPictureColours(const Dib& dib, ColourHistogram& histogram);

// The palette a picture is shown and converted with: its colour table when
// it has one, else for 16, 24 and 32 bits the 256 most frequent colours.
// Broken masks report through `warn` and give the halftone palette, as does
// a histogram that cannot be allocated. Empty for a core header or an
// invalid DIB.
Palette MakePicturePalette(const Dib& dib, const MaskWarning& warn = {});

}  // namespace kestrel
