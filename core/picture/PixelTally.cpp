#include "picture/PixelTally.h"

#include <algorithm>
#include <bit>

namespace kestrel {

namespace {

constexpr std::size_t InitialSlots = 64;   // a power of two
constexpr std::size_t KeptColours = 1024;  // by Clear
constexpr std::uint32_t ColourBits = 0x00FFFFFFU;

std::size_t Hash(std::uint32_t rgb, std::size_t mask)
{
    // Fibonacci hashing spreads the neighbouring greys of antialiased text,
    // in the product's top bits: its low bits depend on the key's low bits
    // alone, and the greys of one text differ in all three channels alike.
    const int bits = std::countr_zero(mask + 1);
    return static_cast<std::size_t>((rgb * 0x9E3779B1U) >> (32 - bits));
}

}  // namespace

PixelTally::PixelTally() : keys_(InitialSlots, 0), counts_(InitialSlots, 0) {}

std::size_t PixelTally::SlotOf(std::uint32_t rgb)
{
    const std::uint32_t key = (rgb & ColourBits) + 1;
    if (keys_[lastSlot_] == key) {
        return lastSlot_;  // runs of one colour come in turns: bars, spaces
    }
    const std::size_t mask = keys_.size() - 1;
    std::size_t slot = Hash(key, mask);
    while (keys_[slot] != 0 && keys_[slot] != key) {
        slot = (slot + 1) & mask;
    }
    if (keys_[slot] == 0) {
        slot = Insert(key);
    }
    lastSlot_ = slot;
    return slot;
}

std::size_t PixelTally::Insert(std::uint32_t key)
{
    std::size_t mask = keys_.size() - 1;
    if (2 * (used_ + 1) > keys_.size()) {
        // Half full: twice the slots, every colour placed again.
        std::vector<std::uint32_t> keys(2 * keys_.size(), 0);
        std::vector<std::uint64_t> counts(2 * counts_.size(), 0);
        mask = keys.size() - 1;
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] != 0) {
                std::size_t to = Hash(keys_[i], mask);
                while (keys[to] != 0) {
                    to = (to + 1) & mask;
                }
                keys[to] = keys_[i];
                counts[to] = counts_[i];
            }
        }
        keys_.swap(keys);
        counts_.swap(counts);
    }
    std::size_t slot = Hash(key, mask);
    while (keys_[slot] != 0) {
        slot = (slot + 1) & mask;
    }
    keys_[slot] = key;
    ++used_;
    return slot;
}

void PixelTally::Add(std::uint32_t rgb, std::uint64_t n)
{
    if (n != 0) {
        counts_[SlotOf(rgb)] += n;
    }
}

void PixelTally::Remove(std::uint32_t rgb, std::uint64_t n)
{
    if (n != 0) {
        std::uint64_t& count = counts_[SlotOf(rgb)];
        count -= std::min(count, n);
    }
}

void PixelTally::AddRow(const std::uint32_t* row, std::size_t count, int sign)
{
    for (std::size_t x = 0; x < count;) {
        const std::uint32_t rgb = row[x] & ColourBits;
        std::size_t end = x + 1;
        while (end < count && (row[end] & ColourBits) == rgb) {
            ++end;
        }
        std::uint64_t& pixels = counts_[SlotOf(rgb)];
        const std::uint64_t n = end - x;
        pixels = sign > 0 ? pixels + n : pixels - std::min(pixels, n);
        x = end;
    }
}

void PixelTally::Clear()
{
    // The colours stay in their slots with no pixels, when they are few:
    // the next picture of a batch has the same ones. Many are let go.
    std::fill(counts_.begin(), counts_.end(), 0);
    if (used_ > KeptColours) {
        std::fill(keys_.begin(), keys_.end(), 0);
        used_ = 0;
    }
    lastSlot_ = 0;
}

std::vector<PixelCount> PixelTally::Counts() const
{
    std::vector<PixelCount> out;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] != 0 && counts_[i] != 0) {
            out.push_back({keys_[i] - 1, counts_[i]});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const PixelCount& a, const PixelCount& b) { return a.rgb < b.rgb; });
    return out;
}

}  // namespace kestrel
