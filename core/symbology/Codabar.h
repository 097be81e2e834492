#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

#include <string_view>

namespace kestrel {

// Codabar value: 0-9, - 10, $ and \ 11, : 12, / 13, . 14, + 15, A a t 16,
// B b n 17, C c * 18, D d e 19; -1 for anything else.
int CodabarValue(char c);

// A-D and a-d: the characters that start and stop a Codabar text.
bool IsCodabarStartStop(char c);

// The check alphabet indexed by value.
inline constexpr std::string_view CodabarCheckAlphabet = "0123456789-$:/.+ABCD";

// The eight start/stop characters in the order of the profile's index.
inline constexpr std::string_view CodabarStartStopCharacters = "ABCDabcd";

// Encodes the text framed by the document's start and stop characters where
// it has none, and names them in `completion`. With `check` on, the check
// character is verified first by `codabarCheckMethod`.
EncodeResult EncodeCodabar(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out, TextCompletion& completion);

// The Codabar rules: framing by the options' start and stop characters,
// the character set, then the check character by the options' method.
Refusal AcceptCodabar(RuleInput& input);

}  // namespace kestrel
