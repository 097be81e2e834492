#include "symbology/Code39.h"

#include "symbology/FullAscii.h"
#include "symbology/PatternTable.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrel {

namespace {

// The published Code 39 table in value order (0-9, A-Z, - . space $ / + %, *):
// nine marks per character, bar first, 1 narrow and 2 wide, three wide.
constexpr const char* Code39Rows[] = {
    "111221211", "211211112", "112211112", "212211111", "111221112", "211221111", "112221111",
    "111211212", "211211211", "112211211", "211112112", "112112112", "212112111", "111122112",
    "211122111", "112122111", "111112212", "211112211", "112112211", "111122211", "211111122",
    "112111122", "212111121", "111121122", "211121121", "112121121", "111111222", "211111221",
    "112111221", "111121221", "221111112", "122111112", "222111111", "121121112", "221121111",
    "122121111", "121111212", "221111211", "122111211", "121212111", "121211121", "121112121",
    "111212121", "121121211",
};
constexpr auto Code39Patterns = PatternTable<9>(Code39Rows);
static_assert(Code39Patterns.size() == 44);

consteval bool EveryCode39PatternHasThreeWide()
{
    for (const auto& pattern : Code39Patterns) {
        int wide = 0;
        for (const auto mark : pattern) {
            wide += mark == 2 ? 1 : 0;
        }
        if (wide != 3) {
            return false;
        }
    }
    return true;
}
static_assert(EveryCode39PatternHasThreeWide());
constexpr auto Code39Drawn = DrawNarrowWideTable(Code39Patterns);

constexpr auto Code39Values = ByteValueTable(Code39ValueOf);

constexpr int StarValue = 43;

// The longest framed text whose symbol can fit the sequence: ten elements a
// character. Extended Code 39 expands up to this on the stack; longer ones
// are refused anyway and take the heap.
constexpr std::size_t MaxFramedLength = ModuleSequence::Capacity / 10;

bool HasLowerCase(std::string_view text)
{
    return std::ranges::any_of(text, [](char c) { return IsLower(c); });
}

// Draws a text as it stands, * included; lower case draws as upper case.
EncodeResult DrawCode39(std::string_view text, const EncodeSettings& settings, SequenceBuilder& out)
{
    if (settings.check) {
        CodeText copy(text);  // framing may add to the copy; the text stays
        Refusal verified = RuleCode39Frame(copy);
        if (verified == Refusal::None) {
            verified = RuleCode39Check(copy, false);
        }
        if (verified != Refusal::None) {
            return EncodeResult::Refused(verified);
        }
    }
    if (!IsAspect(settings.aspect)) {
        return EncodeResult::Unencodable(Refusal::ImpossibleGeometry);
    }
    const auto& patterns = Code39Drawn[static_cast<std::size_t>(settings.aspect)];
    for (const char c : text) {
        const int value = Code39Value(c);
        if (value < 0) {
            return EncodeResult::Unencodable(Refusal::NoPattern);
        }
        out.appendPattern(patterns[static_cast<std::size_t>(value)]);
        out.append(false, settings.code39GapX);
    }
    return EncodeResult::Drawn(out.refusal());
}

}  // namespace

int Code39Value(char c)
{
    return Code39Values[Byte(c)];
}

EncodeResult EncodeCode39(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion& completion)
{
    const EncodeResult result = DrawCode39(text, settings, out);
    completion.upperCase = result.built() && HasLowerCase(text);
    return result;
}

CodeText Code39ExtendedFramedExpansion(const CodeText& text, bool lastIsCheck)
{
    const std::size_t expanded = lastIsCheck && !text.empty() ? text.size() - 1 : text.size();
    CodeText framed = "*";
    for (std::size_t i = 0; i < expanded; ++i) {
        framed += FullAsciiExpansion(Byte(text[i]));
    }
    if (expanded < text.size()) {
        framed += text.back();  // the check character is a Code 39 character already
    }
    framed += '*';
    return framed;
}

char Code39ExtendedCheckCharacter(const CodeText& text)
{
    int sum = 0;
    for (const char c : text) {
        for (const char expandedCharacter : FullAsciiExpansion(Byte(c))) {
            sum += Code39Value(expandedCharacter);
        }
    }
    return Code39CheckAlphabet[static_cast<std::size_t>(sum % 43)];
}

EncodeResult EncodeCode39Extended(const CodeText& text, const EncodeSettings& settings,
                                  SequenceBuilder& out, TextCompletion&)
{
    if (const Refusal characters = RuleFullAsciiCharacters(text); characters != Refusal::None) {
        return EncodeResult::Unencodable(characters);
    }
    const bool lastIsCheck = settings.autoAdd != 0 && !text.empty();
    const std::size_t expanded = lastIsCheck ? text.size() - 1 : text.size();
    std::array<char, MaxFramedLength> framed;
    std::size_t length = 0;
    const auto put = [&](char c) {
        if (length == framed.size()) {
            return false;
        }
        framed[length++] = c;
        return true;
    };
    bool fits = put('*');
    for (std::size_t i = 0; fits && i < expanded; ++i) {
        for (const char c : FullAsciiExpansion(Byte(text[i]))) {
            fits = fits && put(c);
        }
    }
    if (lastIsCheck) {
        fits = fits && put(text.back());  // a Code 39 character already
    }
    fits = fits && put('*');
    if (!fits) {
        // No symbol, but with `Check` on the verification still decides
        // between refused and unencodable, as for any other text.
        return DrawCode39(Code39ExtendedFramedExpansion(text, lastIsCheck), settings, out);
    }
    return DrawCode39(std::string_view(framed.data(), length), settings, out);
}

Refusal RuleCode39Frame(CodeText& text)
{
    if (text.empty()) {
        return Refusal::WrongLength;
    }
    if (text.front() != '*') {
        text.insert(text.begin(), '*');
    }
    // A lone * is a start without a stop: close it rather than let one star
    // stand for both ends.
    if (text.back() != '*' || text.size() == 1) {
        text += '*';
    }
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        const int value = Code39Value(text[i]);
        if (value < 0 || value == StarValue) {
            return Refusal::NoPattern;
        }
    }
    return text.size() > 2 ? Refusal::None : Refusal::WrongLength;
}

Refusal RuleCode39Check(CodeText& text, bool adding)
{
    const int length = static_cast<int>(text.size());
    const int checkPosition = adding ? length - 1 : length - 2;
    if (checkPosition < 1) {
        return adding ? Refusal::WrongLength : Refusal::WrongCheckCharacter;
    }
    int sum = 0;
    for (int i = 1; i < checkPosition; ++i) {
        const int value = Code39Value(text[static_cast<std::size_t>(i)]);
        if (value < 0 || value == StarValue) {
            return Refusal::NoPattern;
        }
        sum += value;
    }
    const char checkCharacter = Code39CheckAlphabet[static_cast<std::size_t>(sum % 43)];
    if (adding) {
        text.back() = checkCharacter;
        text += '*';
        return Refusal::None;
    }
    // The encoder folds lower case before drawing, so a typed lower-case
    // check letter stands for its capital.
    return ToUpper(text[static_cast<std::size_t>(checkPosition)]) == checkCharacter
               ? Refusal::None
               : Refusal::WrongCheckCharacter;
}

Refusal AcceptCode39(RuleInput& input)
{
    if (const Refusal framed = RuleCode39Frame(input.text); framed != Refusal::None) {
        return framed;
    }
    return input.checkRule ? RuleCode39Check(input.text, input.adding) : Refusal::None;
}

Refusal AcceptCode39Extended(RuleInput& input)
{
    if (const Refusal characters = RuleFullAsciiCharacters(input.text);
        characters != Refusal::None) {
        return characters;
    }
    if (input.adding && !input.text.empty()) {
        input.text += Code39ExtendedCheckCharacter(input.text);
    }
    return Refusal::None;
}

}  // namespace kestrel
