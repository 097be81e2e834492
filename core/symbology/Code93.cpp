#include "symbology/Code93.h"

#include "symbology/Code39.h"
#include "symbology/FullAscii.h"
#include "symbology/PatternTable.h"

#include <array>

namespace kestrel {

namespace {

// The published Code 93 table in value order: 0-9, A-Z, - . space $ / + %,
// then the shift characters ($) (%) (/) (+). Six module counts per
// character, bar first, nine modules.
constexpr const char* Code93Rows[] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
};
constexpr auto Code93Patterns = PatternTable<6>(Code93Rows);
static_assert(Code93Patterns.size() == 47);
static_assert(PatternSum(Code93Patterns[0]) == 9 && PatternSum(Code93Patterns[46]) == 9);

constexpr auto Code93Drawn = DrawModulesTable(Code93Patterns, true);
constexpr DrawnPattern<6> StartStop{-1, 1, -1, 1, -4, 1};

// The values of one symbol. More than 84 characters can never fit the
// sequence (6n + 13 elements), so a small fixed list is enough and encoding
// allocates nothing.
class ValueList {
public:
    bool push(int value)
    {
        if (size_ >= static_cast<int>(values_.size())) {
            return false;
        }
        values_[static_cast<std::size_t>(size_++)] = value;
        return true;
    }
    int size() const { return size_; }
    int operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }

private:
    std::array<int, 96> values_;  // written before read; no need to clear
    int size_ = 0;
};

int ShiftValue(char prefix)
{
    switch (prefix) {
    case '$': return 43;
    case '%': return 44;
    case '/': return 45;
    case '+': return 46;
    default: return -1;
    }
}

// Draws a list of values with start, optional C and K, and stop.
void AppendSymbol(const ValueList& values, bool withChecks, SequenceBuilder& out)
{
    out.appendPattern(StartStop);
    for (int i = 0; i < values.size(); ++i) {
        out.appendPattern(Code93Drawn[static_cast<std::size_t>(values[i])]);
    }
    if (withChecks) {
        // Weights from the right: C 1 to 20, K 2 to 15 then 1 to 15,
        // repeating; counted rather than taken modulo per character.
        int c = 0;
        int k = 0;
        int cWeight = 1;
        int kWeight = 2;
        for (int i = values.size() - 1; i >= 0; --i) {
            c += values[i] * cWeight;
            k += values[i] * kWeight;
            cWeight = cWeight == 20 ? 1 : cWeight + 1;
            kWeight = kWeight == 15 ? 1 : kWeight + 1;
        }
        c %= 47;
        k = (k + c) % 47;
        out.appendPattern(Code93Drawn[static_cast<std::size_t>(c)]);
        out.appendPattern(Code93Drawn[static_cast<std::size_t>(k)]);
    }
    out.appendPattern(StartStop);
    out.append(true, 1);  // terminating bar
}

// Code 93's data characters are Code 39's, without the * that frames those.
constexpr int Code93ValueOf(char c)
{
    return c == '*' ? -1 : Code39ValueOf(c);
}

constexpr auto Code93Values = ByteValueTable(Code93ValueOf);

}  // namespace

int Code93Value(char c)
{
    return Code93Values[Byte(c)];
}

Refusal RuleCode93Characters(const CodeText& text)
{
    if (text.empty()) {
        return Refusal::WrongLength;
    }
    for (const char c : text) {
        if (Code93Value(c) < 0) {
            return Refusal::NoPattern;
        }
    }
    return Refusal::None;
}

Refusal AcceptCode93(RuleInput& input)
{
    return RuleCode93Characters(input.text);
}

Refusal AcceptCode93Extended(RuleInput& input)
{
    return RuleFullAsciiCharacters(input.text);
}

EncodeResult EncodeCode93(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion& completion)
{
    ValueList values;
    bool lowerCase = false;
    for (const char c : text) {
        const int value = Code93Value(c);
        if (value < 0) {
            return EncodeResult::Unencodable(Refusal::NoPattern);
        }
        if (!values.push(value)) {
            return EncodeResult::Unencodable(Refusal::TooManyElements);
        }
        lowerCase = lowerCase || IsLower(c);
    }
    AppendSymbol(values, settings.autoAdd != 0, out);
    if (out.failed()) {
        return EncodeResult::Drawn(out.refusal());
    }
    completion.upperCase = lowerCase;
    return EncodeResult::Built();
}

EncodeResult EncodeCode93Extended(const CodeText& text, const EncodeSettings& settings,
                                  SequenceBuilder& out, TextCompletion&)
{
    if (const Refusal characters = RuleFullAsciiCharacters(text); characters != Refusal::None) {
        return EncodeResult::Unencodable(characters);
    }
    ValueList values;
    for (const char c : text) {
        const std::string_view expansion = FullAsciiExpansion(Byte(c));
        const bool fits = expansion.size() == 2 ? values.push(ShiftValue(expansion[0]))
                                                      && values.push(Code93Value(expansion[1]))
                                                : values.push(Code93Value(expansion[0]));
        if (!fits) {
            return EncodeResult::Unencodable(Refusal::TooManyElements);
        }
    }
    AppendSymbol(values, settings.autoAdd != 0, out);
    return EncodeResult::Drawn(out.refusal());
}

}  // namespace kestrel
