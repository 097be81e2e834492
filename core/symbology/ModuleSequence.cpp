#include "symbology/ModuleSequence.h"

#include <algorithm>

namespace kestrel {

bool ModuleSequence::operator==(const ModuleSequence& other) const
{
    if (count != other.count) {
        return false;
    }
    for (int i = 0; i < count && i < Capacity; ++i) {
        if (elements[static_cast<std::size_t>(i)] != other.elements[static_cast<std::size_t>(i)]) {
            return false;
        }
    }
    return true;
}

std::string FormatModuleText(const ModuleSequence& sequence, int narrowWidth)
{
    std::string text;
    if (narrowWidth < 1) {
        return text;  // widths cannot be measured in a unit of zero
    }
    for (int i = 0; i < sequence.count && i < ModuleSequence::Capacity; ++i) {
        switch (sequence.elements[static_cast<std::size_t>(i)] / narrowWidth) {
        case 1: text += "1"; break;
        case 2:
        case 3: text += "2"; break;
        case -1: text += "-1"; break;
        case -2:
        case -3: text += "-2"; break;
        default: break;
        }
        text += ',';
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

void SequenceBuilder::appendWidthChecked(std::span<const std::int32_t> pattern)
{
    for (const std::int32_t units : pattern) {
        append(units < 0, units < 0 ? -units : units);
    }
}

void SequenceBuilder::commitTo(ModuleSequence& sequence)
{
    // Cannot overflow: every element's width was checked when it was
    // appended. Scaled in blocks of four, each loaded into a local first so
    // the compiler sees that the stores leave the builder alone and uses
    // vector multiplies; then the last few one by one.
    constexpr int Block = 4;
    const auto count = static_cast<int>(next_ - units_.data());
    const std::int32_t narrowWidth = narrowWidth_;
    int i = 0;
    if (narrowWidth == 1) {
        // The usual case, and there the units are the widths. Multiplying
        // took as long as all the rest of a short symbol.
        std::copy(units_.cbegin(), units_.cbegin() + count, sequence.elements.begin());
        i = count;
    }
    for (; i + Block <= count; i += Block) {
        std::array<std::int32_t, Block> block;
        std::copy_n(units_.begin() + i, Block, block.begin());
        const auto at = static_cast<std::size_t>(i);
        for (std::size_t j = 0; j < block.size(); ++j) {
            sequence.elements[at + j] = block[j] * narrowWidth;
        }
    }
    for (; i < count; ++i) {
        sequence.elements[static_cast<std::size_t>(i)] = units_[static_cast<std::size_t>(i)]
                                                         * narrowWidth;
    }
    const int oldCount = std::clamp(sequence.count, 0, ModuleSequence::Capacity);
    if (oldCount > count) {
        std::fill(sequence.elements.begin() + count, sequence.elements.begin() + oldCount, 0);
    }
    sequence.count = count;
}

}  // namespace kestrel
