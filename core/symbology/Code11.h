#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// The Code 11 character set: digits and - only (5).
int RuleCode11Characters(const CodeText& text);

// The Code 11 check characters, verifying only: the typed check character(s)
// at the end, one (C: modulus 11, weights 1 to 10 from the right) or two (C,
// then K over the data and C: modulus 11, weights 1 to 9).
int RuleCode11Check(const CodeText& text, int checkCharacters);

// Code 11 of the text as typed, check characters included. 6n + 11 elements.
EncodeOutcome EncodeCode11(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out);

}  // namespace kestrel
