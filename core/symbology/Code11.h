#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// Rule C11: digits and - only (5).
int RuleCode11Characters(const CodeText& text);

// Rule C11C, verifying only: the typed check character(s) at the end, one
// (C) or two (C and K), modulo 11.
int RuleCode11Check(const CodeText& text, int checkCharacters);

// Code 11 of the text as typed, check characters included. 6n + 11 elements.
EncodeOutcome EncodeCode11(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out);

}  // namespace kestrel
