#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

namespace kestrel {

// Code 128 in code set B: characters 32 to 127 as values 0 to 95; a text
// with any other character has no symbol. With `autoAdd` on the modulo-103
// check character is drawn.
// Set B value of a character: codes 32 to 127 as 0 to 95; -1 for others.
int Code128BValue(char c);

// Code 128 set B can draw the text: every character has a value.
Refusal RuleCode128Characters(const CodeText& text);

// The Code 128 rules: the character set (the check character is drawn,
// never typed).
Refusal AcceptCode128B(RuleInput& input);

EncodeResult EncodeCode128(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out, TextCompletion& completion);

}  // namespace kestrel
