#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// Rebuilds `sequence` from `text` with the encoder of `codeType`, and applies
// the encoder's changes to `text` (start and stop characters, case folding).
// Both change only when the result is 1; on 0 they stay exactly as they
// were. A `codeType` outside the catalogue changes nothing and yields 1.
//
// Results: 0 when a verification asked for by `Check` fails (JAN, Codabar,
// Code 39) or when the text has no symbol in this symbology (characters it
// cannot draw, an impossible ratio, narrow width or gap, or more than
// 512 elements); 1 otherwise. Extended Code 39 yields 1 after a failed
// verification, which leaves the sequence as it was.
int EncodeSymbology(int codeType, CodeText& text, const EncodeSettings& settings,
                    ModuleSequence& sequence);

// Whether the text's symbol fits the 512-element sequence.
bool FitsModuleSequence(int codeType, const CodeText& text, int autoAdd);

}  // namespace kestrel
