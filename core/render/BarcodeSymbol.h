#pragma once

#include "symbology/ModuleSequence.h"
#include "symbology/SymbolLayout.h"

#include <string_view>

namespace kestrel {

// The barcode as the drawing needs it: the completed text, its module
// sequence, how its text and bearer frame are laid out, and the picture's
// geometry. It refers to the text and sequence of its owner, so it lives no
// longer than the owner stays unchanged.
struct BarcodeSymbol {
    std::string_view text;  // code page 932
    const ModuleSequence* sequence = nullptr;
    TextLayout layout = TextLayout::Plain;
    BearerFrame frame = BearerFrame::None;
    int width = 300;  // the picture
    int height = 150;
    int xmargin = 25;
    int ymargin = 25;
    int narrowWidth = 1;
    int textHeight = 16;
    bool showText = true;
    bool bearer = false;
};

}  // namespace kestrel
