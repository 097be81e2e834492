#include "symbology/Modulo10.h"

namespace kestrel {

Refusal RuleDigits(const CodeText& text)
{
    // Without a branch per character: the texts are short and this runs at
    // every encoding of the digit symbologies.
    bool allDigits = true;
    for (const char c : text) {
        allDigits &= IsDigit(c);
    }
    return allDigits ? Refusal::None : Refusal::NotADigit;
}

Refusal RuleModulo10(CodeText& text, bool adding)
{
    // The weights mean nothing for other characters; the encoders run this
    // rule before the digits-only rule, so say what is wrong rather than
    // guess a sum.
    if (RuleDigits(text) != Refusal::None) {
        return Refusal::NotADigit;
    }
    // No digits, nothing to check: adding would make a symbol of a check
    // digit alone.
    if (text.empty()) {
        return Refusal::WrongLength;
    }
    if (adding) {
        text += Modulo10CheckDigit(text);
        return Refusal::None;
    }
    return text.back() == Modulo10CheckDigit(std::string_view(text).substr(0, text.size() - 1))
               ? Refusal::None
               : Refusal::WrongCheckCharacter;
}

namespace {

// Digits weighted 3 and 1 from the right; -1 when one is not a digit.
// Two sums stepped in pairs, one per weight: it runs at every JAN encoding.
int WeightedSum(std::string_view digits)
{
    int weighs3 = 0;  // the rightmost digit and every second one left of it
    int weighs1 = 0;
    bool allDigits = true;
    std::size_t i = digits.size();
    for (; i >= 2; i -= 2) {
        allDigits &= IsDigit(digits[i - 1]) & IsDigit(digits[i - 2]);
        weighs3 += digits[i - 1] - '0';
        weighs1 += digits[i - 2] - '0';
    }
    if (i == 1) {
        allDigits &= IsDigit(digits[0]);
        weighs3 += digits[0] - '0';
    }
    return allDigits ? 3 * weighs3 + weighs1 : -1;
}

char CheckDigitOfSum(int sum)
{
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

}  // namespace

char Modulo10CheckDigit(std::string_view digits)
{
    return CheckDigitOfSum(WeightedSum(digits));
}

bool EndsWithModulo10CheckDigit(std::string_view text)
{
    if (text.empty() || !IsDigit(text.back())) {
        return false;
    }
    const int sum = WeightedSum(text.substr(0, text.size() - 1));
    return sum >= 0 && text.back() == CheckDigitOfSum(sum);
}

}  // namespace kestrel
