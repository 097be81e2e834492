#include "symbology/TwoOfFive.h"

#include "symbology/Modulo10.h"
#include "symbology/PatternTable.h"
#include "symbology/ValidationResult.h"

namespace kestrel {

namespace {

// The published 2 of 5 table: five marks per digit, 1 narrow and 2 wide.
constexpr const char* DigitRows[] = {
    "11221", "21112", "12112", "22111", "11212",
    "21211", "12211", "11122", "21121", "12121",
};
constexpr auto DigitMarks = PatternTable<5>(DigitRows);
static_assert(DigitMarks.size() == 10);

int UnitsOf(std::uint8_t mark, const ElementUnits& units)
{
    return mark == 2 ? units.wide : units.narrow;
}

// Start: four elements of one unit under every ratio.
void AppendStart(SequenceBuilder& out)
{
    out.append(true, 1);
    out.append(false, 1);
    out.append(true, 1);
    out.append(false, 1);
}

}  // namespace

EncodeOutcome EncodeItf(const CodeText& text, const EncodeSettings& settings,
                        SequenceBuilder& out)
{
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeOutcome::Unencodable;
    }
    if (text.size() % 2 != 0 || RuleDigits(text) != Accepted) {
        return EncodeOutcome::Unencodable;
    }
    AppendStart(out);
    for (std::size_t pair = 0; pair < text.size(); pair += 2) {
        const auto& inBars = DigitMarks[static_cast<std::size_t>(text[pair] - '0')];
        const auto& inSpaces = DigitMarks[static_cast<std::size_t>(text[pair + 1] - '0')];
        for (std::size_t mark = 0; mark < 5; ++mark) {
            out.append(true, UnitsOf(inBars[mark], units));
            out.append(false, UnitsOf(inSpaces[mark], units));
        }
    }
    // Stop: wide bar, then a narrow space and bar of one unit.
    out.append(true, units.wide);
    out.append(false, 1);
    out.append(true, 1);
    return out.failed() ? EncodeOutcome::Unencodable : EncodeOutcome::Built;
}

EncodeOutcome EncodeStf(const CodeText& text, const EncodeSettings& settings,
                        SequenceBuilder& out)
{
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeOutcome::Unencodable;
    }
    if (RuleDigits(text) != Accepted) {
        return EncodeOutcome::Unencodable;
    }
    AppendStart(out);
    for (const char digit : text) {
        for (const std::uint8_t mark : DigitMarks[static_cast<std::size_t>(digit - '0')]) {
            out.append(true, UnitsOf(mark, units));
            out.append(false, 1);
        }
    }
    // Stop: wide bar, narrow space, narrow bar, all at this ratio's units.
    out.append(true, units.wide);
    out.append(false, units.narrow);
    out.append(true, units.narrow);
    return out.failed() ? EncodeOutcome::Unencodable : EncodeOutcome::Built;
}

}  // namespace kestrel
