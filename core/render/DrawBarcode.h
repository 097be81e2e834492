#pragma once

#include "render/BarcodeSymbol.h"
#include "render/DrawStyle.h"

namespace kestrel {

class DrawingSurface;

// Face name of every font the barcode drawing asks for, in code page 932.
inline constexpr char BarcodeFontFace[] =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ Ｐゴシック

// Draws the barcode: background, comment lines, bars, the bearer frame and
// the human-readable text, in the colours, comments and JAN and ITF options
// of `style`. Nothing happens when the symbol has no text. The surface's
// background mode and colour, pen and font are as they were afterwards;
// text colour and alignment are left as last used.
void DrawBarcode(const BarcodeSymbol& symbol, const DrawStyle& style, DrawingSurface& surface);

// A symbol with the style it is drawn in: what every output takes.
struct Drawing {
    BarcodeSymbol symbol;
    DrawStyle style;
};

inline void DrawBarcode(const Drawing& drawing, DrawingSurface& surface)
{
    DrawBarcode(drawing.symbol, drawing.style, surface);
}

}  // namespace kestrel
