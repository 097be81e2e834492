#pragma once

#include "symbology/CodeText.h"

namespace kestrel {

// Rule D: digits only (3 otherwise).
int RuleDigits(const CodeText& text);

// Rule M10, the JAN / 2-of-5 check digit, weights 3 and 1 from the right.
// Adding appends the digit; verifying compares the last character (2).
int RuleModulo10(CodeText& text, bool adding);

}  // namespace kestrel
