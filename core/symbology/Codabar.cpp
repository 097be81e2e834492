#include "symbology/Codabar.h"

#include "symbology/CodabarCheck.h"
#include "symbology/PatternTable.h"

namespace kestrel {

namespace {

// The published Codabar (NW-7) table in value order 0-9, - $ : / . +, A-D:
// seven marks per character, bar first, 1 narrow and 2 wide.
constexpr const char* CodabarRows[] = {
    "1111122", "1111221", "1112112", "2211111", "1121121", "2111121", "1211112",
    "1211211", "1221111", "2112111", "1112211", "1122111", "2111212", "2121112",
    "2121211", "1121212", "1122121", "1212112", "1112122", "1112221",
};
constexpr auto CodabarPatterns = PatternTable<7>(CodabarRows);
static_assert(CodabarPatterns.size() == 20);
constexpr auto CodabarDrawn = DrawNarrowWideTable(CodabarPatterns);

constexpr int CodabarValueOf(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    switch (c) {
    case '-': return 10;
    case '$':
    case '\\': return 11;
    case ':': return 12;
    case '/': return 13;
    case '.': return 14;
    case '+': return 15;
    case 'A':
    case 'a':
    case 't': return 16;
    case 'B':
    case 'b':
    case 'n': return 17;
    case 'C':
    case 'c':
    case '*': return 18;
    case 'D':
    case 'd':
    case 'e': return 19;
    default: return -1;
    }
}

constexpr auto CodabarValues = ByteValueTable(CodabarValueOf);

}  // namespace

int CodabarValue(char c)
{
    return CodabarValues[Byte(c)];
}

bool IsCodabarStartStop(char c)
{
    return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd');
}

EncodeResult EncodeCodabar(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out, TextCompletion& completion)
{
    if (settings.check) {
        CodeText copy = text;  // the rule's text is one it may add to
        if (const Refusal verified = RuleCodabarCheck(copy, false, settings.codabarCheckMethod);
            verified != Refusal::None) {
            return EncodeResult::Refused(verified);
        }
    }
    if (!IsAspect(settings.aspect)) {
        return EncodeResult::Unencodable(Refusal::ImpossibleGeometry);
    }
    // The start goes in first, so an empty text framed by it ends in a start
    // character too and gets no stop.
    const bool addStart = text.empty() || !IsCodabarStartStop(text.front());
    const char last = text.empty() ? settings.codabarStart : text.back();
    const bool addStop = !IsCodabarStartStop(last);

    const auto& patterns = CodabarDrawn[static_cast<std::size_t>(settings.aspect)];
    const auto appendCharacter = [&](char c) {
        const int value = CodabarValue(c);
        if (value < 0) {
            return false;
        }
        out.appendPattern(patterns[static_cast<std::size_t>(value)]);
        out.append(false, settings.codabarGapX);
        return true;
    };
    if (addStart && !appendCharacter(settings.codabarStart)) {
        return EncodeResult::Unencodable(Refusal::NoPattern);
    }
    for (const char c : text) {
        if (!appendCharacter(c)) {
            return EncodeResult::Unencodable(Refusal::NoPattern);
        }
    }
    if (addStop && !appendCharacter(settings.codabarStop)) {
        return EncodeResult::Unencodable(Refusal::NoPattern);
    }
    if (out.failed()) {
        return EncodeResult::Drawn(out.refusal());
    }
    completion.start = addStart ? settings.codabarStart : '\0';
    completion.stop = addStop ? settings.codabarStop : '\0';
    return EncodeResult::Built();
}

}  // namespace kestrel
