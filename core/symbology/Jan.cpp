#include "symbology/Jan.h"

#include "symbology/Modulo10.h"
#include "symbology/PatternTable.h"

namespace kestrel {

namespace {

// The published EAN tables. Set L (odd parity) and set G (even parity) start
// with a space; set R has the module widths of set L and starts with a bar.
constexpr const char* SetLRows[] = {
    "3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112",
};
constexpr const char* SetGRows[] = {
    "1123", "1222", "2212", "1141", "2311", "1321", "4111", "2131", "3121", "2113",
};
constexpr auto SetL = PatternTable<4>(SetLRows);
constexpr auto SetG = PatternTable<4>(SetGRows);
static_assert(SetL.size() == 10 && SetG.size() == 10);
static_assert(PatternSum(SetL[0]) == 7 && PatternSum(SetG[9]) == 7);

// The digits as drawn: left-hand ones start with a space, right-hand ones
// with a bar.
constexpr auto LeftOdd = DrawModulesTable(SetL, false);
constexpr auto LeftEven = DrawModulesTable(SetG, false);
constexpr auto Right = DrawModulesTable(SetL, true);

// For each leading digit, which of the six left-hand digits take set G.
constexpr const char* LeadingDigitParity[] = {
    "LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL",
};

constexpr DrawnPattern<3> SideGuard{-1, 1, -1};
constexpr DrawnPattern<5> CentreGuard{1, -1, 1, -1, 1};

// A text whose check digit was verified is all digits already.
bool IsAllDigits(const CodeText& text, std::size_t length, const EncodeSettings& settings)
{
    return text.size() == length && (settings.check || RuleDigits(text) == Refusal::None);
}

EncodeResult VerifyCheckDigit(const CodeText& text, const EncodeSettings& settings)
{
    if (settings.check && !EndsWithModulo10CheckDigit(text)) {
        return EncodeResult::Refused(
            RuleDigits(text) == Refusal::None ? Refusal::WrongCheckCharacter : Refusal::NotADigit);
    }
    return EncodeResult::Built();
}

// A text of the wrong length or with a letter has no symbol.
Refusal JanTextRefusal(const CodeText& text, std::size_t length)
{
    return text.size() != length ? Refusal::WrongLength : Refusal::NotADigit;
}

Refusal AcceptJan(RuleInput& input, std::size_t stored)
{
    if (input.text.size() != (input.adding ? stored - 1 : stored)) {
        return Refusal::WrongLength;
    }
    if (const Refusal digits = RuleDigits(input.text); digits != Refusal::None) {
        return digits;
    }
    return input.checkRule ? RuleModulo10(input.text, input.adding) : Refusal::None;
}

void AppendLeftDigit(SequenceBuilder& out, char digit, bool evenParity)
{
    out.appendPattern(evenParity ? LeftEven[DigitIndex(digit)] : LeftOdd[DigitIndex(digit)]);
}

void AppendRightDigit(SequenceBuilder& out, char digit)
{
    out.appendPattern(Right[DigitIndex(digit)]);
}

}  // namespace

EncodeResult EncodeJan13(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                         TextCompletion&)
{
    if (const EncodeResult verified = VerifyCheckDigit(text, settings); !verified.built()) {
        return verified;
    }
    // The digit positions are fixed; anything but 13 digits has no symbol.
    if (!IsAllDigits(text, 13, settings)) {
        return EncodeResult::Unencodable(JanTextRefusal(text, 13));
    }
    const char* parity = LeadingDigitParity[DigitIndex(text[0])];
    out.appendPattern(SideGuard);
    for (std::size_t i = 1; i <= 6; ++i) {
        AppendLeftDigit(out, text[i], parity[i - 1] == 'G');
    }
    out.appendPattern(CentreGuard);
    for (std::size_t i = 7; i <= 12; ++i) {
        AppendRightDigit(out, text[i]);
    }
    out.appendPattern(SideGuard);
    return EncodeResult::Drawn(out.refusal());
}

EncodeResult EncodeJan8(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                        TextCompletion&)
{
    if (const EncodeResult verified = VerifyCheckDigit(text, settings); !verified.built()) {
        return verified;
    }
    if (!IsAllDigits(text, 8, settings)) {
        return EncodeResult::Unencodable(JanTextRefusal(text, 8));
    }
    out.appendPattern(SideGuard);
    for (std::size_t i = 0; i <= 3; ++i) {
        AppendLeftDigit(out, text[i], false);
    }
    out.appendPattern(CentreGuard);
    for (std::size_t i = 4; i <= 7; ++i) {
        AppendRightDigit(out, text[i]);
    }
    out.appendPattern(SideGuard);
    return EncodeResult::Drawn(out.refusal());
}

Refusal AcceptJan13(RuleInput& input)
{
    return AcceptJan(input, 13);
}

Refusal AcceptJan8(RuleInput& input)
{
    return AcceptJan(input, 8);
}

}  // namespace kestrel
