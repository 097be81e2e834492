#include "symbology/CodabarCheck.h"

#include "symbology/Codabar.h"
#include "symbology/ValidationResult.h"

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
    case '-': case '.': case '/': case '$': case '\\': case ':': case '+': return true;
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

}  // namespace

int RuleCodabarFrame(CodeText& text, const CodabarOptions& options)
{
    if (text.empty() || !IsCodabarStartStop(text.front())) {
        text.insert(text.begin(), StartStopCharacter(options.startIndex));
    }
    if (!IsCodabarStartStop(text.back())) {
        text += StartStopCharacter(options.stopIndex);
    }
    if (text.size() < 3) {
        return WrongLength;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!IsCodabarDataCharacter(text[i])) {
            return BadCharacter;
        }
    }
    return Accepted;
}

int RuleCodabarCheck(CodeText& text, bool adding, int method)
{
    if (method < 0 || method > 3) {
        return Accepted;  // no method chosen: nothing to add or compare
    }
    const int length = static_cast<int>(text.size());
    if (length < (adding ? 2 : 3)) {
        return WrongLength;  // no room for start, check and stop
    }
    const int checkPosition = length - 2;
    const int dataEnd = adding ? length - 1 : length - 2;

    if (method != 2) {
        for (int i = 1; i <= length - 3; ++i) {
            if (Byte(text[static_cast<std::size_t>(i)]) > Byte('9')) {
                return WrongCheckCharacter;
            }
        }
    }

    int checkValue = 0;
    switch (method) {
    case 0: {
        int sum = 0;
        const bool digitsOnly = VisitDigitsFromRight(text, 1, dataEnd, [&](int digit, int k) {
            const int weighed = k % 2 == 1 ? digit * 2 : digit;
            sum += weighed > 9 ? weighed - 9 : weighed;
        });
        if (!digitsOnly) {
            return BadCharacter;
        }
        checkValue = (10 - sum % 10) % 10;
        break;
    }
    case 1: {
        const int value = Modulus11CheckValue(text, 1, dataEnd);
        if (value == InvalidData) {
            return BadCharacter;
        }
        if (value == NoCheckCharacter) {
            return Accepted;
        }
        // Data for which this method has no check character was accepted
        // without one; such a text must verify too, or it could never be drawn.
        if (!adding && CodabarValue(text[static_cast<std::size_t>(checkPosition)]) != value
            && Modulus11CheckValue(text, 1, length - 1) == NoCheckCharacter) {
            return Accepted;
        }
        checkValue = value;
        break;
    }
    case 2: {
        int sum = 0;
        for (int i = 0; i < length; ++i) {
            if (!adding && i == checkPosition) {
                continue;
            }
            const int value = CodabarValue(text[static_cast<std::size_t>(i)]);
            if (value < 0) {
                return BadCharacter;
            }
            sum += value;
        }
        checkValue = (16 - sum % 16) % 16;
        break;
    }
    case 3: {
        // The data read as a decimal number: a sign, then digits up to the
        // first other character. Taken modulo 7 digit by digit, so any
        // number of digits works, and kept in 0..6 so the check is one digit.
        int position = 1;
        const int end = 1 + (adding ? length - 2 : length - 3);
        bool negative = false;
        if (position < end && (text[static_cast<std::size_t>(position)] == '-'
                               || text[static_cast<std::size_t>(position)] == '+')) {
            negative = text[static_cast<std::size_t>(position)] == '-';
            ++position;
        }
        int remainder = 0;
        for (; position < end && IsDigit(text[static_cast<std::size_t>(position)]); ++position) {
            remainder = (remainder * 10 + (text[static_cast<std::size_t>(position)] - '0')) % 7;
        }
        checkValue = negative ? (7 - remainder) % 7 : remainder;
        if (adding) {
            text.insert(text.end() - 1, static_cast<char>('0' + checkValue));
            return Accepted;
        }
        return text[static_cast<std::size_t>(checkPosition)] - '0' == checkValue
                   ? Accepted
                   : WrongCheckCharacter;
    }
    default:
        return Accepted;
    }

    if (adding) {
        text.insert(text.end() - 1, CodabarCheckAlphabet[static_cast<std::size_t>(checkValue)]);
        return Accepted;
    }
    return CodabarValue(text[static_cast<std::size_t>(checkPosition)]) == checkValue
               ? Accepted
               : WrongCheckCharacter;
}

}  // namespace kestrel
