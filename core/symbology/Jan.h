#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

namespace kestrel {

// JAN-13 (EAN-13): 13 digits, the first carried by the parity of the left
// half; 59 elements, 95 modules.
EncodeResult EncodeJan13(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                         TextCompletion& completion);

// JAN-8 (EAN-8): 8 digits; 43 elements, 67 modules.
EncodeResult EncodeJan8(const CodeText& text, const EncodeSettings& settings, SequenceBuilder& out,
                        TextCompletion& completion);

// The JAN rules: 13 (8) digits, or one fewer with `AutoAdd`, then the
// modulus 10 check digit added or verified.
Refusal AcceptJan13(RuleInput& input);
Refusal AcceptJan8(RuleInput& input);

}  // namespace kestrel
