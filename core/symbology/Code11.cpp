#include "symbology/Code11.h"

#include "symbology/PatternTable.h"

#include <array>

namespace kestrel {

namespace {

// The published Code 11 table: digits 0-9, the hyphen, then start/stop.
// Five marks, bar first, 1 narrow and 2 wide.
constexpr const char* Code11Rows[] = {
    "11112", "21112", "12112", "22111", "11212", "21211",
    "12211", "11122", "21121", "21111", "11211", "11221",
};
constexpr auto Code11Patterns = PatternTable<5>(Code11Rows);
static_assert(Code11Patterns.size() == 12);
constexpr std::size_t Hyphen = 10;
constexpr std::size_t StartStop = 11;

// Every character at every ratio followed by its one-unit gap, indexed
// [aspect][value]; the start is drawn the same way.
consteval auto DrawCode11Characters()
{
    std::array<std::array<DrawnPattern<6>, 12>, AspectCount> drawn{};
    for (int aspect = 0; aspect < AspectCount; ++aspect) {
        for (std::size_t value = 0; value < 12; ++value) {
            const DrawnPattern<5> marks = DrawNarrowWide(Code11Patterns[value],
                                                         AspectUnits[aspect]);
            auto& character = drawn[static_cast<std::size_t>(aspect)][value];
            for (std::size_t i = 0; i < 5; ++i) {
                character[i] = marks[i];
            }
            character[5] = 1;
        }
    }
    return drawn;
}
constexpr auto Code11Characters = DrawCode11Characters();

// The stop keeps its narrow elements at one unit under every ratio.
consteval auto DrawCode11Stops()
{
    std::array<DrawnPattern<5>, AspectCount> drawn{};
    for (int aspect = 0; aspect < AspectCount; ++aspect) {
        drawn[static_cast<std::size_t>(aspect)] = DrawNarrowWide(
            Code11Patterns[StartStop], ElementUnits{1, AspectUnits[aspect].wide});
    }
    return drawn;
}
constexpr auto Code11Stops = DrawCode11Stops();

// Value of a Code 11 character: a digit its digit, - 10; -1 otherwise.
int Code11Value(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    return c == '-' ? static_cast<int>(Hyphen) : -1;
}

// Sum of the values of text[0, end) weighted from the right by 1 to
// `maxWeight`, repeating; -1 when a character has no value.
int WeightedSum(const CodeText& text, std::size_t end, int maxWeight)
{
    int sum = 0;
    int weight = 1;
    for (std::size_t i = end; i-- > 0;) {
        const int value = Code11Value(text[i]);
        if (value < 0) {
            return -1;
        }
        sum += value * weight;
        weight = weight == maxWeight ? 1 : weight + 1;
    }
    return sum;
}

}  // namespace

Refusal RuleCode11Characters(const CodeText& text)
{
    for (const char c : text) {
        if (Code11Value(c) < 0) {
            return Refusal::NoPattern;
        }
    }
    return Refusal::None;
}

Refusal RuleCode11Check(const CodeText& text, int checkCharacters)
{
    const std::size_t length = text.size();
    if (length < static_cast<std::size_t>(checkCharacters) + 1) {
        return Refusal::WrongLength;
    }
    if (RuleCode11Characters(text) != Refusal::None) {
        return Refusal::NoPattern;
    }
    if (checkCharacters == 2) {
        const int c = WeightedSum(text, length - 2, 10) % 11;
        if (c != Code11Value(text[length - 2])) {
            return Refusal::WrongCheckCharacter;
        }
        const int k = WeightedSum(text, length - 1, 9) % 11;
        return k == Code11Value(text[length - 1]) ? Refusal::None : Refusal::WrongCheckCharacter;
    }
    const int c = WeightedSum(text, length - 1, 10) % 11;
    return c == Code11Value(text[length - 1]) ? Refusal::None : Refusal::WrongCheckCharacter;
}

namespace {

Refusal AcceptCode11(RuleInput& input, int checkCharacters)
{
    if (const Refusal characters = RuleCode11Characters(input.text); characters != Refusal::None) {
        return characters;
    }
    return input.checkRule ? RuleCode11Check(input.text, checkCharacters) : Refusal::None;
}

}  // namespace

Refusal AcceptCode11OneCheck(RuleInput& input)
{
    return AcceptCode11(input, 1);
}

Refusal AcceptCode11TwoChecks(RuleInput& input)
{
    return AcceptCode11(input, 2);
}

EncodeResult EncodeCode11(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion&)
{
    if (!IsAspect(settings.aspect)) {
        return EncodeResult::Unencodable(Refusal::ImpossibleGeometry);
    }
    const auto aspect = static_cast<std::size_t>(settings.aspect);
    const auto& characters = Code11Characters[aspect];
    out.appendPattern(characters[StartStop]);
    for (const char c : text) {
        const int value = Code11Value(c);
        if (value < 0) {
            return EncodeResult::Unencodable(Refusal::NoPattern);
        }
        out.appendPattern(characters[static_cast<std::size_t>(value)]);
    }
    out.appendPattern(Code11Stops[aspect]);
    return EncodeResult::Drawn(out.refusal());
}

}  // namespace kestrel
