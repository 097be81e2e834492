#include "symbology/CodabarCheck.h"

#include "symbology/Codabar.h"

#include <array>

namespace kestrel {

namespace {

char StartStopCharacter(int index)
{
    // An index outside the eight choices (a hand-edited profile) means the
    // first choice rather than whatever lies beyond the list.
    return index >= 0 && index < static_cast<int>(CodabarStartStopCharacters.size())
               ? CodabarStartStopCharacters[static_cast<std::size_t>(index)]
               : CodabarStartStopCharacters.front();
}

bool IsCodabarDataCharacter(char c)
{
    if (IsDigit(c) || IsCodabarStartStop(c)) {
        return true;
    }
    switch (c) {
    case '-':
    case '.':
    case '/':
    case '$':
    case '\\':
    case ':':
    case '+': return true;
    default: return false;
    }
}

// Distance from `sum` up to the next multiple of 11 that is at least `sum`
// and at least 11.
int DistanceToMultipleOf11(int sum)
{
    if (sum == 0) {
        return 11;
    }
    return sum % 11 == 0 ? 0 : 11 - sum % 11;
}

constexpr std::array<int, 12> Modulus11Weights{2, 6, 3, 5, 4, 8, 7, 10, 9, 5, 3, 6};
constexpr std::array<int, 12> Modulus11SecondWeights{9, 5, 8, 6, 7, 3, 4, 10, 2, 6, 8, 5};

// The data digits, rightmost first, run through `visit(digit, indexFromRight)`.
// The methods that weigh digits cannot weigh - $ / . +, which pass the code
// test below; such a text is refused as holding a bad character.
template <typename Visit>
bool VisitDigitsFromRight(const CodeText& text, int first, int end, Visit visit)
{
    int fromRight = 0;
    for (int i = end - 1; i >= first; --i, ++fromRight) {
        const char c = text[static_cast<std::size_t>(i)];
        if (!IsDigit(c)) {
            return false;
        }
        visit(c - '0', fromRight);
    }
    return true;
}

constexpr int InvalidData = -1;
constexpr int NoCheckCharacter = -2;

// The weighted modulus 11 check value of the digits text[first, end), or
// NoCheckCharacter for data this method gives none, or InvalidData.
int Modulus11CheckValue(const CodeText& text, int first, int end)
{
    int sum = 0;
    int secondSum = 0;
    const bool digitsOnly = VisitDigitsFromRight(text, first, end, [&](int digit, int k) {
        sum += digit * Modulus11Weights[static_cast<std::size_t>(k) % 12];
        secondSum += digit * Modulus11SecondWeights[static_cast<std::size_t>(k) % 12];
    });
    if (!digitsOnly) {
        return InvalidData;
    }
    const int value = DistanceToMultipleOf11(sum);
    if (value != 1) {
        return value;
    }
    const int second = DistanceToMultipleOf11(secondSum);
    return second == 10 ? NoCheckCharacter : 11 - second;
}

// The places in a framed text the methods work on: the check character
// goes in front of the stop; the data runs from after the start to it (to
// the stop when the check is still to be added).
struct CheckPlaces {
    int length;
    int checkPosition;
    int dataEnd;
};

// A method's check value for the data, or why there is none.
struct CheckValue {
    Refusal refusal = Refusal::None;
    int value = 0;
    bool none = false;  // the method gives this data no check character
};

// Digits doubled at every second place from the right, digit sums added,
// and the distance to the next multiple of 10.
CheckValue Modulus10(const CodeText& text, bool, const CheckPlaces& places)
{
    int sum = 0;
    const bool digitsOnly = VisitDigitsFromRight(text, 1, places.dataEnd, [&](int digit, int k) {
        const int weighed = k % 2 == 1 ? digit * 2 : digit;
        sum += weighed > 9 ? weighed - 9 : weighed;
    });
    if (!digitsOnly) {
        return {Refusal::NotWeighable};
    }
    return {Refusal::None, (10 - sum % 10) % 10};
}

CheckValue Modulus11(const CodeText& text, bool adding, const CheckPlaces& places)
{
    const int value = Modulus11CheckValue(text, 1, places.dataEnd);
    if (value == InvalidData) {
        return {Refusal::NotWeighable};
    }
    if (value == NoCheckCharacter) {
        return {Refusal::None, 0, true};
    }
    // Data for which this method has no check character was accepted
    // without one; such a text must verify too, or it could never be drawn.
    if (!adding && CodabarValue(text[static_cast<std::size_t>(places.checkPosition)]) != value
        && Modulus11CheckValue(text, 1, places.length - 1) == NoCheckCharacter) {
        return {Refusal::None, 0, true};
    }
    return {Refusal::None, value};
}

// The values of every character, start and stop included, and the distance
// to the next multiple of 16.
CheckValue Modulus16(const CodeText& text, bool adding, const CheckPlaces& places)
{
    int sum = 0;
    for (int i = 0; i < places.length; ++i) {
        if (!adding && i == places.checkPosition) {
            continue;
        }
        const int value = CodabarValue(text[static_cast<std::size_t>(i)]);
        if (value < 0) {
            return {Refusal::NoPattern};
        }
        sum += value;
    }
    return {Refusal::None, (16 - sum % 16) % 16};
}

// The data read as a decimal number: a sign, then digits up to the first
// other character. Taken modulo 7 digit by digit, so any number of digits
// works, and kept in 0..6 so the check is one digit.
CheckValue Modulus7(const CodeText& text, bool adding, const CheckPlaces& places)
{
    const auto at = [&](int i) { return text[static_cast<std::size_t>(i)]; };
    int position = 1;
    const int end = 1 + (adding ? places.length - 2 : places.length - 3);
    bool negative = false;
    if (position < end && (at(position) == '-' || at(position) == '+')) {
        negative = at(position) == '-';
        ++position;
    }
    int remainder = 0;
    for (; position < end && IsDigit(at(position)); ++position) {
        remainder = (remainder * 10 + (at(position) - '0')) % 7;
    }
    return {Refusal::None, negative ? (7 - remainder) % 7 : remainder};
}

// Indexed by CodabarCheckMethod.
constexpr std::array<CheckValue (*)(const CodeText&, bool, const CheckPlaces&),
                     CodabarCheckMethodCount>
    CheckMethods{Modulus10, Modulus11, Modulus16, Modulus7};

// Every method but modulus 16 weighs digits: a character above 9 before
// the check place cannot be part of a valid text.
bool WeighsDigitsOnly(CodabarCheckMethod method)
{
    return method != CodabarCheckMethod::Modulus16;
}

}  // namespace

Refusal RuleCodabarFrame(CodeText& text, const CodabarOptions& options)
{
    if (text.empty() || !IsCodabarStartStop(text.front())) {
        text.insert(text.begin(), StartStopCharacter(options.startIndex));
    }
    if (!IsCodabarStartStop(text.back())) {
        text += StartStopCharacter(options.stopIndex);
    }
    if (text.size() < 3) {
        return Refusal::WrongLength;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!IsCodabarDataCharacter(text[i])) {
            return Refusal::NoPattern;
        }
    }
    return Refusal::None;
}

Refusal RuleCodabarCheck(CodeText& text, bool adding, int methodNumber)
{
    if (methodNumber < 0 || methodNumber >= CodabarCheckMethodCount) {
        return Refusal::None;  // no method chosen: nothing to add or compare
    }
    const auto method = static_cast<CodabarCheckMethod>(methodNumber);
    const int length = static_cast<int>(text.size());
    if (length < (adding ? 2 : 3)) {
        return Refusal::WrongLength;  // no room for start, check and stop
    }
    const CheckPlaces places{length, length - 2, adding ? length - 1 : length - 2};
    if (WeighsDigitsOnly(method)) {
        for (int i = 1; i <= length - 3; ++i) {
            if (Byte(text[static_cast<std::size_t>(i)]) > Byte('9')) {
                return Refusal::CheckNeedsDigits;
            }
        }
    }
    const CheckValue check = CheckMethods[static_cast<std::size_t>(method)](text, adding, places);
    if (check.refusal != Refusal::None || check.none) {
        return check.refusal;
    }
    if (adding) {
        text.insert(text.end() - 1, CodabarCheckAlphabet[static_cast<std::size_t>(check.value)]);
        return Refusal::None;
    }
    return CodabarValue(text[static_cast<std::size_t>(places.checkPosition)]) == check.value
               ? Refusal::None
               : Refusal::WrongCheckCharacter;
}

Refusal AcceptCodabar(RuleInput& input)
{
    if (const Refusal framed = RuleCodabarFrame(input.text, input.codabar);
        framed != Refusal::None) {
        return framed;
    }
    return input.checkRule ? RuleCodabarCheck(input.text, input.adding, input.codabar.checkMethod)
                           : Refusal::None;
}

}  // namespace kestrel
