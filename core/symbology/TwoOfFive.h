#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// ITF (interleaved 2 of 5): digit pairs, the first in the bars and the second
// in the spaces; an even number of digits. 5n + 7 elements.
EncodeOutcome EncodeItf(const CodeText& text, const EncodeSettings& settings,
                        SequenceBuilder& out);

// STF (standard 2 of 5): each digit in five bars with narrow spaces.
// 10n + 7 elements.
EncodeOutcome EncodeStf(const CodeText& text, const EncodeSettings& settings,
                        SequenceBuilder& out);

}  // namespace kestrel
