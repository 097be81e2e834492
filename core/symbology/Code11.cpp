#include "symbology/Code11.h"

#include "symbology/PatternTable.h"
#include "symbology/ValidationResult.h"

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

int RuleCode11Characters(const CodeText& text)
{
    for (const char c : text) {
        if (Code11Value(c) < 0) {
            return BadCharacter;
        }
    }
    return Accepted;
}

int RuleCode11Check(const CodeText& text, int checkCharacters)
{
    const std::size_t length = text.size();
    if (length < static_cast<std::size_t>(checkCharacters) + 1) {
        return WrongLength;
    }
    if (RuleCode11Characters(text) != Accepted) {
        return BadCharacter;
    }
    if (checkCharacters == 2) {
        const int c = WeightedSum(text, length - 2, 10) % 11;
        if (c != Code11Value(text[length - 2])) {
            return WrongCheckCharacter;
        }
        const int k = WeightedSum(text, length - 1, 9) % 11;
        return k == Code11Value(text[length - 1]) ? Accepted : WrongCheckCharacter;
    }
    const int c = WeightedSum(text, length - 1, 10) % 11;
    return c == Code11Value(text[length - 1]) ? Accepted : WrongCheckCharacter;
}

EncodeOutcome EncodeCode11(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out)
{
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeOutcome::Unencodable;
    }
    if (RuleCode11Characters(text) != Accepted) {
        return EncodeOutcome::Unencodable;
    }
    out.appendNarrowWide(Code11Patterns[StartStop], units.narrow, units.wide);
    out.append(false, 1);
    for (const char c : text) {
        out.appendNarrowWide(Code11Patterns[static_cast<std::size_t>(Code11Value(c))],
                             units.narrow, units.wide);
        out.append(false, 1);
    }
    // The stop keeps its narrow elements at one unit under every ratio.
    out.appendNarrowWide(Code11Patterns[StartStop], 1, units.wide);
    return out.failed() ? EncodeOutcome::Unencodable : EncodeOutcome::Built;
}

}  // namespace kestrel
