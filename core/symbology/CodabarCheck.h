#pragma once

#include "symbology/CodeText.h"

namespace kestrel {

// The options sheet's Codabar settings that the rules read from the profile.
struct CodabarOptions {
    int checkMethod = 2;  // 0 modulus 10, 1 weighted modulus 11, 2 modulus 16, 3 modulus 7
    int startIndex = 0;   // into "ABCDabcd"
    int stopIndex = 0;
};

// Codabar framing and character set: puts the configured start and stop
// characters where the text has none, then needs 3 characters (1) and only
// Codabar data characters (5).
int RuleCodabarFrame(CodeText& text, const CodabarOptions& options);

// The Codabar check character on a framed text: in front of the stop, by
// one of the four methods. Adding inserts it; verifying compares (2).
int RuleCodabarCheck(CodeText& text, bool adding, int method);

}  // namespace kestrel
