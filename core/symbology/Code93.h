#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

namespace kestrel {

// Code 93 value of a data character: 0-9, A-Z (a-z count as A-Z), - . space
// $ / + % as 36 to 42; -1 for anything else. 43 to 46 are the shift
// characters ($) (%) (/) (+).
int Code93Value(char c);

// The Code 93 character set: a non-empty text of Code 93 data characters.
Refusal RuleCode93Characters(const CodeText& text);

// The Code 93 rules: the character set (the check characters are drawn,
// never typed). Extended Code 93: ASCII only.
Refusal AcceptCode93(RuleInput& input);
Refusal AcceptCode93Extended(RuleInput& input);

// Encodes the text, lower case as upper case, which `completion` then asks
// for; with `autoAdd` on the check characters C and K are computed and drawn
// (never stored in the text).
EncodeResult EncodeCode93(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion& completion);

// Full-ASCII Code 93: each character through the full-ASCII table, its
// prefix drawn as a shift character so that a reader restores the text.
EncodeResult EncodeCode93Extended(const CodeText& text, const EncodeSettings& settings,
                                  SequenceBuilder& out, TextCompletion& completion);

}  // namespace kestrel
