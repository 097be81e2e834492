#pragma once

#include "picture/Colour.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// A rectangle of pixels: left and top inside it, right and bottom just
// outside. Normalised when right >= left and bottom >= top.
struct SurfaceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const SurfaceRect&) const = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;  // the font's whole cell, ascent plus descent
    int ascent = 0;  // the part of the cell above the baseline
};

// The columns in which some text inks at least half of a pixel, counted
// from where it starts: left inside, right just outside. The faint edges of
// antialiased glyphs are left out: glyphs whose outlines touch share them.
struct InkSpan {
    int left = 0;
    int right = 0;

    bool operator==(const InkSpan&) const = default;
};

// Whether text output fills its cell with the background colour first.
enum class BackgroundMode { Transparent, Opaque };

// Where the reference point of text output lies on the text.
enum TextAlign : int {
    AlignLeftTop = 0,    // left edge and top of the cell
    AlignCentreTop = 6,  // horizontal centre and top of the cell
};

enum class FontCharset : int { Ansi = 0, ShiftJis = 128 };

struct FontRequest {
    std::string faceName;  // code page 932; the surface maps it to a font it has
    int height = 0;        // em height in pixels; 0 or less: the surface's default size
    FontCharset charset = FontCharset::Ansi;
    int weight = 400;

    bool operator==(const FontRequest&) const = default;
};

// Options of DrawTextInBox; combine with |.
enum TextBoxOption : unsigned {
    TextBoxOpaque = 1U << 0,   // fill the box with the background colour first
    TextBoxClipped = 1U << 1,  // nothing of the text outside the box
};

// What a selection replaced; handing it back restores that pen or font and
// discards everything selected since.
struct SavedPen {
    int depth = 0;
};
struct SavedFont {
    int depth = 0;
};

// The few things barcode drawing needs from a device context: a screen, a
// printer page or an off-screen picture. Coordinates are device pixels, x to
// the right and y down. Text is 8-bit code page 932; the surface converts it.
// A fresh surface has a transparent background of white, a black pen, text
// in black aligned left and top, and a font of the surface's choosing.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Each setter returns the value it replaced.
    virtual BackgroundMode SetBackgroundMode(BackgroundMode mode) = 0;
    virtual Colour SetBackgroundColour(Colour colour) = 0;

    // The part of the surface that drawing can change: on a picture the whole
    // picture, on screen the area being repainted. Always normalised.
    virtual SurfaceRect ClipBox() const = 0;

    virtual void FillSolidRect(const SurfaceRect& rect, Colour colour) = 0;

    // A solid pen one pixel wide.
    virtual SavedPen SelectPen(Colour colour) = 0;
    virtual void RestorePen(SavedPen saved) = 0;
    // A line in the current pen from (x0, y0) up to but not including
    // (x1, y1). Exact to the pixel for horizontal and vertical lines.
    virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;

    virtual SavedFont SelectFont(const FontRequest& font) = 0;
    virtual void RestoreFont(SavedFont saved) = 0;

    virtual int SetTextAlign(int align) = 0;
    virtual Colour SetTextColour(Colour colour) = 0;
    // In the current font, as DrawTextAt would lay it out.
    virtual TextExtent MeasureText(std::string_view text) = 0;
    // The columns the text inks (InkSpan) in the current font, as DrawTextAt
    // would draw it; none when it inks nothing or the surface cannot tell.
    virtual std::optional<InkSpan> MeasureInk(std::string_view text) = 0;
    // Text at the reference point in the current font, alignment and text
    // colour; an opaque background mode fills the text's cell first.
    virtual void DrawTextAt(int x, int y, std::string_view text) = 0;
    // As DrawTextAt, with a box (normalised) that the options may fill and
    // clip to. With `advance`, each character starts that many pixels after
    // the one before, and the text is that many pixels per character wide.
    virtual void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                               std::string_view text, std::optional<int> advance) = 0;
};

}  // namespace kestrel
