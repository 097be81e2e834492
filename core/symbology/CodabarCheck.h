#pragma once

#include "symbology/CodeText.h"
#include "symbology/Refusal.h"

namespace kestrel {

// The options sheet's Codabar settings that the rules read from the profile.
struct CodabarOptions {
    int checkMethod = 2;  // 0 modulus 10, 1 weighted modulus 11, 2 modulus 16, 3 modulus 7
    int startIndex = 0;   // into "ABCDabcd"
    int stopIndex = 0;
};

// The four check methods in the order of the profile's number.
enum class CodabarCheckMethod { Modulus10, Modulus11, Modulus16, Modulus7 };
inline constexpr int CodabarCheckMethodCount = 4;

// Codabar framing and character set: puts the configured start and stop
// characters where the text has none, then needs 3 characters and only
// Codabar data characters.
Refusal RuleCodabarFrame(CodeText& text, const CodabarOptions& options);

// The Codabar check character on a framed text: in front of the stop, by
// the method the profile's number names (none outside 0 to 3: nothing to
// add or compare). Adding inserts it; verifying compares.
Refusal RuleCodabarCheck(CodeText& text, bool adding, int method);

}  // namespace kestrel
