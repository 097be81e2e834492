#include "symbology/ModuleSequence.h"

#include <cstdlib>
#include <limits>

namespace kestrel {

int ModuleSequence::TotalWidth() const
{
    std::int64_t total = 0;
    for (int i = 0; i < count && i < Capacity; ++i) {
        total += std::llabs(elements[static_cast<std::size_t>(i)]);
    }
    return total > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                   : static_cast<int>(total);
}

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

SequenceBuilder::SequenceBuilder(int narrowWidth)
    : narrowWidth_(narrowWidth), failed_(narrowWidth < 1)
{
}

void SequenceBuilder::append(bool bar, int units)
{
    ++requested_;
    const std::int64_t width = static_cast<std::int64_t>(units) * narrowWidth_;
    if (failed_ || sequence_.count >= ModuleSequence::Capacity || width < 1
        || width > std::numeric_limits<std::int32_t>::max()) {
        failed_ = true;
        return;
    }
    sequence_.elements[static_cast<std::size_t>(sequence_.count++)] =
        static_cast<std::int32_t>(bar ? -width : width);
}

void SequenceBuilder::appendNarrowWide(std::span<const std::uint8_t> marks, int narrowUnits,
                                       int wideUnits)
{
    bool bar = true;
    for (const std::uint8_t mark : marks) {
        append(bar, mark == 2 ? wideUnits : narrowUnits);
        bar = !bar;
    }
}

void SequenceBuilder::appendModules(std::span<const std::uint8_t> modules, bool firstIsBar)
{
    bool bar = firstIsBar;
    for (const std::uint8_t units : modules) {
        append(bar, units);
        bar = !bar;
    }
}

}  // namespace kestrel
