#include "symbology/TwoOfFive.h"

#include "symbology/Modulo10.h"
#include "symbology/PatternTable.h"

namespace kestrel {

namespace {

// The published 2 of 5 table: five marks per digit, 1 narrow and 2 wide.
constexpr const char* DigitRows[] = {
    "11221", "21112", "12112", "22111", "11212", "21211", "12211", "11122", "21121", "12121",
};
constexpr auto DigitMarks = PatternTable<5>(DigitRows);
static_assert(DigitMarks.size() == 10);

// Interleaved 2 of 5 draws digits in pairs: the first in the bars, the
// second in the spaces between them. Every pair at every ratio, indexed
// [aspect][10 * first + second].
consteval auto DrawItfPairs()
{
    std::array<std::array<DrawnPattern<10>, 100>, AspectCount> drawn{};
    for (int aspect = 0; aspect < AspectCount; ++aspect) {
        const ElementUnits units = AspectUnits[aspect];
        for (std::size_t pair = 0; pair < 100; ++pair) {
            const auto& inBars = DigitMarks[pair / 10];
            const auto& inSpaces = DigitMarks[pair % 10];
            std::array<std::uint8_t, 10> modules{};
            for (std::size_t mark = 0; mark < 5; ++mark) {
                modules[2 * mark] = static_cast<std::uint8_t>(inBars[mark] == 2 ? units.wide
                                                                                : units.narrow);
                modules[2 * mark + 1] = static_cast<std::uint8_t>(
                    inSpaces[mark] == 2 ? units.wide : units.narrow);
            }
            drawn[static_cast<std::size_t>(aspect)][pair] = DrawModules(modules, true);
        }
    }
    return drawn;
}
constexpr auto ItfPairs = DrawItfPairs();

// Standard 2 of 5 carries a digit in its bars only; each bar is followed by
// a space of one unit. Indexed [aspect][digit].
consteval auto DrawStfDigits()
{
    std::array<std::array<DrawnPattern<10>, 10>, AspectCount> drawn{};
    for (int aspect = 0; aspect < AspectCount; ++aspect) {
        const ElementUnits units = AspectUnits[aspect];
        for (std::size_t digit = 0; digit < 10; ++digit) {
            std::array<std::uint8_t, 10> modules{};
            for (std::size_t mark = 0; mark < 5; ++mark) {
                modules[2 * mark] = static_cast<std::uint8_t>(
                    DigitMarks[digit][mark] == 2 ? units.wide : units.narrow);
                modules[2 * mark + 1] = 1;
            }
            drawn[static_cast<std::size_t>(aspect)][digit] = DrawModules(modules, true);
        }
    }
    return drawn;
}
constexpr auto StfDigits = DrawStfDigits();

// Start: four elements of one unit under every ratio.
constexpr DrawnPattern<4> Start{-1, 1, -1, 1};

}  // namespace

EncodeResult EncodeItf(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                       TextCompletion&)
{
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeResult::Unencodable(Refusal::ImpossibleGeometry);
    }
    if (text.size() % 2 != 0) {
        return EncodeResult::Unencodable(Refusal::WrongLength);
    }
    if (RuleDigits(text) != Refusal::None) {
        return EncodeResult::Unencodable(Refusal::NotADigit);
    }
    const auto& pairs = ItfPairs[static_cast<std::size_t>(settings.aspect)];
    out.appendPattern(Start);
    for (std::size_t pair = 0; pair < text.size(); pair += 2) {
        out.appendPattern(pairs[10 * DigitIndex(text[pair]) + DigitIndex(text[pair + 1])]);
    }
    // Stop: wide bar, then a narrow space and bar of one unit.
    out.append(true, units.wide);
    out.append(false, 1);
    out.append(true, 1);
    return EncodeResult::Drawn(out.refusal());
}

EncodeResult EncodeStf(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                       TextCompletion&)
{
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeResult::Unencodable(Refusal::ImpossibleGeometry);
    }
    if (RuleDigits(text) != Refusal::None) {
        return EncodeResult::Unencodable(Refusal::NotADigit);
    }
    const auto& digits = StfDigits[static_cast<std::size_t>(settings.aspect)];
    out.appendPattern(Start);
    for (const char digit : text) {
        out.appendPattern(digits[DigitIndex(digit)]);
    }
    // Stop: wide bar, narrow space, narrow bar, all at this ratio's units.
    out.append(true, units.wide);
    out.append(false, units.narrow);
    out.append(true, units.narrow);
    return EncodeResult::Drawn(out.refusal());
}

Refusal AcceptStf(RuleInput& input)
{
    if (const Refusal digits = RuleDigits(input.text); digits != Refusal::None) {
        return digits;
    }
    return input.checkRule ? RuleModulo10(input.text, input.adding) : Refusal::None;
}

Refusal AcceptItf(RuleInput& input)
{
    const bool odd = input.text.size() % 2 == 1;
    if (input.adding && !odd) {
        return Refusal::WrongLength;  // the check digit would make it odd
    }
    if (!input.adding && odd) {
        input.text.insert(input.text.begin(), '0');
        input.leadingZeroAdded = true;
    }
    return AcceptStf(input);
}

}  // namespace kestrel
