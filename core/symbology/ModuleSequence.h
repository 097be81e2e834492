#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kestrel {

// The symbol as signed widths in pixels, left to right: negative a bar,
// positive a space. It holds the symbol only, without quiet zones.
struct ModuleSequence {
    static constexpr int Capacity = 512;

    std::array<std::int32_t, Capacity> elements{};
    std::int32_t count = 0;

    int TotalWidth() const;
    bool operator==(const ModuleSequence& other) const;
};

// The text form handed to other programs: per element "1"/"2" for a narrow or
// wide space and "-1"/"-2" for bars, measured in narrow widths, separated by
// commas. Quotients other than 1 to 3 give an empty field.
std::string FormatModuleText(const ModuleSequence& sequence, int narrowWidth);

// Builds a sequence element by element. It never writes past the capacity
// and never overflows a width: once either would happen it only remembers
// that it failed, and the encoder's result is refused.
class SequenceBuilder {
public:
    explicit SequenceBuilder(int narrowWidth);

    void append(bool bar, int units);
    // Appends a pattern of narrow (1) and wide (2) marks, bar first, with
    // the given unit sizes.
    void appendNarrowWide(std::span<const std::uint8_t> marks, int narrowUnits, int wideUnits);
    // Appends a pattern of module counts, alternating from the given colour.
    void appendModules(std::span<const std::uint8_t> modules, bool firstIsBar = true);

    bool failed() const { return failed_; }
    // Elements the encoding asked for, also beyond the capacity.
    int requested() const { return requested_; }
    const ModuleSequence& sequence() const { return sequence_; }

private:
    ModuleSequence sequence_;
    int narrowWidth_;
    int requested_ = 0;
    bool failed_ = false;
};

}  // namespace kestrel
