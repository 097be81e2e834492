#include "symbology/Modulo10.h"

#include "symbology/ValidationResult.h"

namespace kestrel {

int RuleDigits(const CodeText& text)
{
    for (const char c : text) {
        if (!IsDigit(c)) {
            return NotADigit;
        }
    }
    return Accepted;
}

int RuleModulo10(CodeText& text, bool adding)
{
    // The weights mean nothing for other characters; the encoders run this
    // rule before rule D, so say what is wrong rather than guess a sum.
    if (RuleDigits(text) != Accepted) {
        return NotADigit;
    }
    const int length = static_cast<int>(text.size()) + (adding ? 1 : 0);
    if (length < 1) {
        return WrongLength;
    }
    int sum = 0;
    for (int i = 0; i <= length - 2; ++i) {
        const int weight = (length - 2 - i) % 2 == 0 ? 3 : 1;
        sum += (text[static_cast<std::size_t>(i)] - '0') * weight;
    }
    const char checkDigit = static_cast<char>('0' + (10 - sum % 10) % 10);
    if (adding) {
        text += checkDigit;
        return Accepted;
    }
    return text.back() == checkDigit ? Accepted : WrongCheckCharacter;
}

}  // namespace kestrel
