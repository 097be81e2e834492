#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

namespace kestrel {

// The Code 11 character set: digits and - only.
Refusal RuleCode11Characters(const CodeText& text);

// The Code 11 check characters, verifying only: the typed check character(s)
// at the end, one (C: modulus 11, weights 1 to 10 from the right) or two (C,
// then K over the data and C: modulus 11, weights 1 to 9).
Refusal RuleCode11Check(const CodeText& text, int checkCharacters);

// The Code 11 rules: the character set, then one or two typed check
// characters verified.
Refusal AcceptCode11OneCheck(RuleInput& input);
Refusal AcceptCode11TwoChecks(RuleInput& input);

// Code 11 of the text as typed, check characters included. 6n + 11 elements.
EncodeResult EncodeCode11(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion& completion);

}  // namespace kestrel
