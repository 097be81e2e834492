#pragma once

#include "symbology/CodeText.h"
#include "symbology/Refusal.h"

#include <string_view>

namespace kestrel {

// Digits only.
Refusal RuleDigits(const CodeText& text);

// The modulus 10 check digit of JAN and 2-of-5, weights 3 and 1 from the
// right. Adding appends the digit; verifying compares the last character.
Refusal RuleModulo10(CodeText& text, bool adding);

// The check digit of a string of digits, weights 3 and 1 from the right.
char Modulo10CheckDigit(std::string_view digits);

// Verifies without a copy: all digits, and the last the check digit of the
// others (the modulus 10 rule and the digits-only rule both accept).
bool EndsWithModulo10CheckDigit(std::string_view text);

}  // namespace kestrel
