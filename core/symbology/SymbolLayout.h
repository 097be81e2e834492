#pragma once

namespace kestrel {

// How the human-readable text sits under a symbol: centred under the bars,
// or in the digit boxes between a JAN symbol's guards.
enum class TextLayout { Plain, Jan13, Jan8 };

// The frame of bearer bars a symbology can have: none, the whole height of
// the picture (JAN), or around the bars alone (ITF).
enum class BearerFrame { None, WholeHeight, AroundBars };

}  // namespace kestrel
