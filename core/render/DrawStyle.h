#pragma once

#include "picture/Colour.h"

#include <optional>
#include <string>

namespace kestrel {

// One comment line drawn at the top left of the picture.
struct CommentLine {
    std::string text;  // code page 932; empty draws nothing
    int height = 100;
    Colour colour = 0;
};

// Everything the drawing takes besides the symbol: colours, comments and
// the JAN and ITF options. Made from the settings at the start of each
// operation (paint, print, copy, save, a picture of kestrel-cli), so a
// change the options sheet writes shows at the next drawing.
struct DrawStyle {
    Colour background = 0xFFFFFF;
    Colour bars = 0;
    Colour text = 0;
    CommentLine comment1;
    CommentLine comment2;
    // JAN digits between the guards, the leading JAN-13 digit outside.
    bool janDigitsInBoxes = true;
    // Bearer widths in pixels; unset, six narrow widths of the symbol.
    std::optional<int> janBearerWidth;
    std::optional<int> itfBearerWidth;
};

}  // namespace kestrel
