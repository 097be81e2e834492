#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// Code 128 in code set B: characters 32 to 127 as values 0 to 95; a text
// with any other character has no symbol. With `autoAdd` on the modulo-103
// check character is drawn.
// Set B value of a character: codes 32 to 127 as 0 to 95; -1 for others.
int Code128BValue(char c);

// Code 128 set B can draw the text: every character has a value.
int RuleCode128Characters(const CodeText& text);

EncodeOutcome EncodeCode128(const CodeText& text, const EncodeSettings& settings,
                            SequenceBuilder& out);

}  // namespace kestrel
