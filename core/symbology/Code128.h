#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// Code 128 in code set B: characters 32 to 127 as values 0 to 95; other
// characters draw nothing but keep their place in the check sum. With
// `autoAdd` on the modulo-103 check character is drawn.
EncodeOutcome EncodeCode128(const CodeText& text, const EncodeSettings& settings,
                            SequenceBuilder& out);

}  // namespace kestrel
