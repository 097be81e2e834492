#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

namespace kestrel {

// ITF (interleaved 2 of 5): digit pairs, the first in the bars and the second
// in the spaces; an even number of digits. 5n + 7 elements.
EncodeResult EncodeItf(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                       TextCompletion& completion);

// STF (standard 2 of 5): each digit in five bars with narrow spaces.
// 10n + 7 elements.
EncodeResult EncodeStf(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                       TextCompletion& completion);

// The ITF rules: an odd count of digits gets a leading 0 (an even count
// with `AutoAdd` is one too many), then digits only and the modulus 10
// check digit added or verified.
Refusal AcceptItf(RuleInput& input);
// The STF rules: any number of digits, then the modulus 10 check digit.
Refusal AcceptStf(RuleInput& input);

}  // namespace kestrel
