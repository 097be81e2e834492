#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// JAN-13 (EAN-13): 13 digits, the first carried by the parity of the left
// half; 59 elements, 95 modules.
EncodeOutcome EncodeJan13(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out);

// JAN-8 (EAN-8): 8 digits; 43 elements, 67 modules.
EncodeOutcome EncodeJan8(const CodeText& text, const EncodeSettings& settings,
                         SequenceBuilder& out);

}  // namespace kestrel
