#pragma once

#include "symbology/CodeText.h"

namespace kestrel {

// Star framing and the Code 39 character set: frames the text with * where a
// star is missing, then checks the characters between the stars (5). A text
// with nothing between the stars, the empty text included, is the wrong
// length (1).
int RuleCode39Frame(CodeText& text);

// The Code 39 check character, modulus 43 of the character values, on a
// framed text: the sum runs over the characters after the start.
// Adding puts the check character in front of the final *; verifying
// compares the character there (2).
int RuleCode39Check(CodeText& text, bool adding);

}  // namespace kestrel
