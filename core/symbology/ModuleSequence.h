#pragma once

#include "symbology/Refusal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>

namespace kestrel {

// The symbol as signed widths in pixels, left to right: negative a bar,
// positive a space. It holds the symbol only, without quiet zones.
struct ModuleSequence {
    static constexpr int Capacity = 512;

    std::array<std::int32_t, Capacity> elements{};
    std::int32_t count = 0;

    bool operator==(const ModuleSequence& other) const;
};

// The text form handed to other programs: per element "1"/"2" for a narrow or
// wide space and "-1"/"-2" for bars, measured in narrow widths, separated by
// commas. Quotients other than 1 to 3 give an empty field.
std::string FormatModuleText(const ModuleSequence& sequence, int narrowWidth);

// A pattern ready to draw: element sizes in narrow widths, negative a bar and
// positive a space. 32-bit like the widths, so drawing one is a plain copy.
template <std::size_t Width>
using DrawnPattern = std::array<std::int32_t, Width>;

// The widest element any pattern table holds: a wide mark at the ratio 2:5.
// The tables are checked against it when they are built.
inline constexpr int MaxDrawnUnits = 5;

// Builds a sequence element by element. It never writes past the capacity
// and never overflows a width: once either would happen it only remembers
// that it failed, and the encoder's result is refused.
//
// It keeps the elements in units of the narrow width and scales them once,
// when the symbol is committed: drawing a pattern is then a copy, and the
// multiplying runs over the whole symbol a vector at a time.
class SequenceBuilder {
public:
    explicit SequenceBuilder(int narrowWidth)
        : narrowWidth_(narrowWidth),
          everyPatternFits_(narrowWidth >= 1
                            && narrowWidth
                                   <= std::numeric_limits<std::int32_t>::max() / MaxDrawnUnits),
          failed_(narrowWidth < 1)
    {
    }
    // It points into itself.
    SequenceBuilder(const SequenceBuilder&) = delete;
    SequenceBuilder& operator=(const SequenceBuilder&) = delete;

    void append(bool bar, int units)
    {
        const std::int64_t width = static_cast<std::int64_t>(units) * narrowWidth_;
        if (width < 1 || width > std::numeric_limits<std::int32_t>::max()) {
            failed_ = true;  // no width, or wider than 32 bits
            return;
        }
        if (std::int32_t* out = reserve(1)) {
            *out = bar ? -units : units;
        }
    }

    template <std::size_t Width>
    void appendPattern(const DrawnPattern<Width>& pattern)
    {
        if (!everyPatternFits_) {
            appendWidthChecked(pattern);
            return;
        }
        if (std::int32_t* out = reserve(static_cast<int>(Width))) {
            store(out, pattern, std::make_index_sequence<Width>{});
        }
    }

    bool failed() const { return failed_; }
    // Why it failed: the 512 elements overflowed, or a width was impossible.
    Refusal refusal() const
    {
        if (!failed_) {
            return Refusal::None;
        }
        return overflowed_ ? Refusal::TooManyElements : Refusal::ImpossibleGeometry;
    }

    // Writes the built symbol into `sequence` in pixels. Whatever a longer
    // earlier symbol left beyond the new end is cleared, so the sequence
    // holds this symbol alone.
    void commitTo(ModuleSequence& sequence);

private:
    // The one place of the 512-element bound: room for `elements` more, or
    // nullptr (and failed) when the sequence would overflow. After a failure
    // it may still give room; what is drawn then is refused with the rest.
    std::int32_t* reserve(int elements)
    {
        if (end() - next_ < elements) {
            failed_ = true;
            overflowed_ = true;
            return nullptr;
        }
        std::int32_t* out = next_;
        next_ += elements;
        return out;
    }
    const std::int32_t* end() const { return units_.data() + units_.size(); }

    // Spelt out for the compiler, which called memmove for a few elements
    // or kept a loop; copied into a local first, so it can tell that the
    // stores leave the pattern alone and move whole vectors.
    template <std::size_t Width, std::size_t... Index>
    static void store(std::int32_t* out, const DrawnPattern<Width>& pattern,
                      std::index_sequence<Index...>)
    {
        const DrawnPattern<Width> units = pattern;
        ((out[Index] = units[Index]), ...);
    }

    // For narrow widths so large that a table's widest element may not fit
    // 32 bits: element by element, each width checked.
    void appendWidthChecked(std::span<const std::int32_t> pattern);

    // Not zeroed: only the elements before next_ are ever read, and each of
    // them was written before. Clearing 2 KB per encoding cost more than
    // drawing most symbols.
    std::array<std::int32_t, ModuleSequence::Capacity> units_;
    // The next element to write, a pointer rather than a count: a compiler
    // must assume that storing an element may change an int member, so a
    // count went to memory and back between patterns, but never a pointer.
    std::int32_t* next_ = units_.data();
    int narrowWidth_;
    bool everyPatternFits_;  // MaxDrawnUnits narrow widths fit 32 bits
    bool failed_;
    bool overflowed_ = false;
};

}  // namespace kestrel
