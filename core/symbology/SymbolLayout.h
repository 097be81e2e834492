#pragma once

namespace kestrel {

// How the human-readable digits are laid out under the bars.
enum class TextLayout {
    Plain,  // the text centred under the symbol
    Jan13,  // the first digit left of the guard, then two groups of six
    Jan8,   // two groups of four
};

// Where the bearer bars go, when the document asks for them (`Case`).
enum class BearerFrame {
    None,         // the symbology has no bearer
    WholeHeight,  // the frame takes the whole height of the picture (JAN)
    AroundBars,   // a box around the bars alone (ITF)
};

}  // namespace kestrel
