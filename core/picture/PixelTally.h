#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

// A pixel colour (0x00RRGGBB) with how many pixels of a picture have it.
struct PixelCount {
    std::uint32_t rgb = 0;
    std::uint64_t count = 0;

    bool operator==(const PixelCount&) const = default;
};

// How many pixels of each colour a picture has, kept up to date while it is
// drawn so that no one has to count its pixels afterwards. An open-addressed
// table: a barcode has two colours, and its antialiased text a few dozen.
class PixelTally {
public:
    PixelTally();

    // Adds `n` pixels of the colour; the top byte of `rgb` is ignored.
    void Add(std::uint32_t rgb, std::uint64_t n);
    // Takes `n` pixels of the colour away; never more than were added.
    void Remove(std::uint32_t rgb, std::uint64_t n);
    // Every run of one colour in `count` pixels from `row`, added (`sign` 1)
    // or taken away (-1).
    void AddRow(const std::uint32_t* row, std::size_t count, int sign);

    // No pixels of any colour, as a new tally.
    void Clear();
    // The colours with at least one pixel, in ascending order of colour.
    std::vector<PixelCount> Counts() const;

private:
    std::size_t SlotOf(std::uint32_t rgb);
    // A slot for a key not in the table, which grows when half full.
    std::size_t Insert(std::uint32_t key);

    // rgb + 1 in `keys_` (0 marks a free slot), its count beside it.
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint64_t> counts_;
    std::size_t used_ = 0;
    std::size_t lastSlot_ = 0;  // where the last colour looked up is
};

}  // namespace kestrel
