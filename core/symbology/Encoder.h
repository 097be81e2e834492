#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

namespace kestrel {

// Rebuilds `sequence` from `text` with the encoder of `codeType`, and applies
// the encoder's changes to `text` (start and stop characters, case folding).
// Both change only when the symbol was built; on a refusal they stay exactly
// as they were. A `codeType` outside the catalogue changes nothing and
// refuses nothing.
//
// Refused in verification when a verification asked for by `Check` fails
// (JAN, Codabar, Code 39); refused in drawing when the text has no symbol in
// this symbology (characters it cannot draw, an impossible ratio, narrow
// width or gap, or more than 512 elements). Extended Code 39's failed
// verification answers 1 (EncodeNumber) and leaves the sequence as it was.
EncodeResult EncodeSymbology(int codeType, CodeText& text, const EncodeSettings& settings,
                             ModuleSequence& sequence);

// Whether the text's symbol fits the 512-element sequence: why not, or None.
Refusal SymbolFits(int codeType, const CodeText& text, int autoAdd);

}  // namespace kestrel
