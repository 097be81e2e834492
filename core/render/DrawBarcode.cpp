#include "render/DrawBarcode.h"

#include "render/BarcodeSymbol.h"
#include "render/DrawStyle.h"
#include "render/DrawingSurface.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

namespace {

// Geometry comes from the user and the profile, so sums of widths and
// margins can leave int: all of it is worked out in 64 bits.
using Wide = std::int64_t;

// Farther than any surface reaches, and small enough that a surface adding
// a text width to it stays within int.
constexpr Wide FarAway = Wide{1} << 30;

int ToCoordinate(Wide value)
{
    return static_cast<int>(std::clamp(value, -FarAway, FarAway));
}

int ToInt(Wide value)
{
    return static_cast<int>(
        std::clamp<Wide>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Pixels [first, end) along one axis.
struct Span {
    Wide first;
    Wide end;
};

// The pixels a one-pixel line from `from` to `to` covers along its axis:
// the start included, the end excluded, in either direction.
Span LineSpan(Wide from, Wide to)
{
    if (from < to) {
        return {from, to};
    }
    if (from > to) {
        return {to + 1, from + 1};
    }
    return {from, from};
}

// Bars and bearers are runs of parallel one-pixel lines. Each run is filled
// as one rectangle of the same pixels, cut to the clip box first, so neither
// a huge width nor a huge coordinate costs more than one call.
class RunPainter {
public:
    RunPainter(DrawingSurface& surface, Colour colour)
        : surface_(surface), clip_(surface.ClipBox()), colour_(colour)
    {
    }

    void Fill(Span columns, Span rows)
    {
        const Wide left = std::max<Wide>(columns.first, clip_.left);
        const Wide right = std::min<Wide>(columns.end, clip_.right);
        const Wide top = std::max<Wide>(rows.first, clip_.top);
        const Wide bottom = std::min<Wide>(rows.end, clip_.bottom);
        if (left < right && top < bottom) {
            surface_.FillSolidRect({static_cast<int>(left), static_cast<int>(top),
                                    static_cast<int>(right), static_cast<int>(bottom)},
                                   colour_);
        }
    }

    // `count` vertical lines at x = first, first + 1, ... from y0 to y1.
    void Columns(Wide first, Wide count, Wide y0, Wide y1)
    {
        Fill({first, first + count}, LineSpan(y0, y1));
    }
    // `count` horizontal lines at y = first, first + 1, ... from x0 to x1.
    void Rows(Wide first, Wide count, Wide x0, Wide x1)
    {
        Fill(LineSpan(x0, x1), {first, first + count});
    }

private:
    DrawingSurface& surface_;
    SurfaceRect clip_;
    Colour colour_;
};

Wide Magnitude(std::int32_t element)
{
    return element < 0 ? -Wide{element} : Wide{element};
}

int ElementCount(const ModuleSequence& sequence)
{
    return std::clamp<int>(sequence.count, 0, ModuleSequence::Capacity);
}

// The x just right of element `index`, walking from the left margin. A
// sequence too short to have that element (the symbology changed since the
// last encoding) gives the right end of the symbol, so the text still lands
// on the barcode.
Wide EdgeAfter(const ModuleSequence& sequence, Wide left, int index)
{
    Wide x = left;
    const int count = ElementCount(sequence);
    for (int i = 0; i < count; ++i) {
        x += Magnitude(sequence.elements[static_cast<std::size_t>(i)]);
        if (i == index) {
            return x;
        }
    }
    return x;
}

// Up to `count` bytes from `first`; fewer, or none, past the end.
std::string_view Part(std::string_view text, std::size_t first, std::size_t count)
{
    return text.substr(std::min(first, text.size()), count);
}

std::string_view LastPart(std::string_view text, std::size_t count)
{
    return text.substr(text.size() - std::min(count, text.size()));
}

// Long numbers read more easily in groups when the symbol has a frame.
std::string Regrouped(std::string text)
{
    const auto join = [](std::string_view source, std::initializer_list<std::size_t> sizes) {
        std::string out;
        std::size_t at = 0;
        for (const std::size_t size : sizes) {
            if (!out.empty()) {
                out += "  ";
            }
            out += Part(source, at, size);
            at += size;
        }
        return out;
    };
    if (text.size() == 14) {
        text = join(text, {3, 5, 5, 1});
    }
    if (text.size() == 16) {
        text = join(text, {5, 5, 5, 1});
    }
    if (text.size() == 6) {
        text = join(text, {5, 1});
    }
    return text;
}

void DrawComment(DrawingSurface& surface, const std::string& text, int height, Colour colour, int y)
{
    const SavedFont saved = surface.SelectFont(
        {BarcodeFontFace, height, FontCharset::ShiftJis, 400});
    surface.SetTextAlign(AlignLeftTop);
    surface.SetTextColour(colour);
    surface.DrawTextAt(0, y, text);
    surface.RestoreFont(saved);
}

// The frame around ITF hugs the bars; the one around JAN takes the whole
// height of the picture.
void DrawFrame(RunPainter& runs, Wide n, Wide right, Wide top, Wide bottom)
{
    if (n <= 0) {
        return;
    }
    runs.Columns(0, n, top, bottom);
    runs.Rows(top, n, 0, right);
    runs.Columns(right - n + 1, n, top, bottom);
    runs.Rows(bottom - n + 1, n, 0, right);
}

// One half of a JAN symbol's digits, spread over the modules between its
// guards: when the digits are narrower than that space, each takes an equal
// share of it.
struct DigitGroup {
    std::string_view text;
    Wide left;
    Wide right;
    Wide spreadDivisor;  // the share of the free space
    Wide widthDivisor;   // the share of the digits' own width
};

// Where a group goes: the reference point and every digit's advance (none:
// the font's own advances).
struct GroupPlacement {
    Wide x;
    std::optional<int> advance;
};

// The digits are spread over the box, or keep the font's advances when they
// are wider than the box, and stand 4 right of its centre. Left at that, a
// group reaches past its box, its last digit most: the clip of a JAN-8 box
// cuts that digit, the opaque box of the next group erases it, or it runs
// into the guard bars. So the advance is cut, where needed, to the widest
// even one at which the group, its last digit at its own width, fits the box,
// and the group moves left of its place only as far as the box requires.
GroupPlacement PlaceGroup(DrawingSurface& surface, const DigitGroup& group, Wide width)
{
    const Wide room = group.right - group.left;
    const Wide count = static_cast<Wide>(group.text.size());
    GroupPlacement usual{(group.left + group.right) / 2 + 4, std::nullopt};
    if (width < room) {
        usual.advance = ToInt((room - width) / group.spreadDivisor + width / group.widthDivisor);
    }
    if (count == 0 || room <= 0) {
        return usual;  // no room to fit anything in: a sequence too short for the layout
    }
    const Wide last = surface.MeasureText(group.text.substr(group.text.size() - 1)).width;
    Wide advance = usual.advance ? Wide{*usual.advance} : room / count;
    if (count > 1 && (count - 1) * advance + last > room) {
        advance = (room - last) / (count - 1);
    }
    if (advance < 1) {
        return usual;
    }
    // The surface centres count * advance pixels on the reference point.
    const Wide half = count * advance / 2;
    const Wide span = (count - 1) * advance + last;
    const Wide start = std::max(group.left, std::min(usual.x - half, group.right - span));
    return {start + half, ToInt(advance)};
}

// The widest step from one digit's inked columns to the next's, at most:
// the advance at which no two neighbours share a column. None when no two
// neighbours both ink.
std::optional<Wide> DigitReach(DrawingSurface& surface, std::string_view text)
{
    std::optional<Wide> reach;
    std::optional<InkSpan> previous;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::optional<InkSpan> ink = surface.MeasureInk(text.substr(i, 1));
        if (previous && ink) {
            reach = std::max(reach.value_or(0), Wide{previous->right} - ink->left);
        }
        previous = ink;
    }
    return reach;
}

// Neighbours whose inked columns meet in one column touch, stroke to
// stroke, and still read as two digits; a second column is overlap.
constexpr Wide TouchingColumns = 1;

// Whether the placement gives the digits an even advance at which no two
// neighbours overlap (`reach` as DigitReach measured it).
bool DigitsApart(const GroupPlacement& placement, std::optional<Wide> reach)
{
    return placement.advance && (!reach || *reach - *placement.advance <= TouchingColumns);
}

// The largest font height below `font`'s at which the group's digits stand
// apart inside its box; none when not even the smallest does. A digit's ink
// grows with the height almost in proportion, and at the height sought the
// box gives each digit about an even share of it; the search starts a
// quarter above that guess instead of at the top of a range of hundreds.
std::optional<int> HeightThatFits(DrawingSurface& surface, const DigitGroup& group,
                                  const FontRequest& font, const GroupPlacement& placement,
                                  std::optional<Wide> reach)
{
    const Wide count = std::max<Wide>(static_cast<Wide>(group.text.size()), 1);
    const Wide room = group.right - group.left;
    const Wide advance = placement.advance ? Wide{*placement.advance} : room / count;
    // The advance at which the digits at this height would just touch.
    const Wide step = reach.value_or(advance) - TouchingColumns;
    Wide start = font.height - 1;
    if (step > 0 && room > 0) {
        const Wide guess = Wide{font.height} * room / (count * step);
        start = std::min(start, guess + guess / 4 + 2);
    }
    for (Wide height = start; height >= 1; --height) {
        FontRequest smaller = font;
        smaller.height = ToInt(height);
        const SavedFont saved = surface.SelectFont(smaller);
        const bool fits = DigitsApart(PlaceGroup(surface, group,
                                                 surface.MeasureText(group.text).width),
                                      DigitReach(surface, group.text));
        surface.RestoreFont(saved);
        if (fits) {
            return smaller.height;
        }
    }
    return std::nullopt;
}

// A group is drawn in the text's font where its digits stand apart at the
// advance its box allows. Where they would run into each other, which a
// narrow module and a tall font bring about, the group alone is drawn at
// the largest height at which they stand apart, on the same baseline and in
// the same box: digits a cashier can still read and type.
void DrawDigitGroup(DrawingSurface& surface, const FontRequest& font, const DigitGroup& group,
                    Wide bottom, std::optional<Wide> y, unsigned options)
{
    const TextExtent extent = surface.MeasureText(group.text);
    const Wide halfHeight = extent.height / 2;
    const Wide top = y.value_or(bottom - halfHeight);
    const SurfaceRect box{ToCoordinate(group.left), ToCoordinate(bottom - halfHeight),
                          ToCoordinate(group.right), ToCoordinate(bottom + halfHeight)};
    const GroupPlacement placement = PlaceGroup(surface, group, extent.width);
    const std::optional<Wide> reach = DigitReach(surface, group.text);
    const std::optional<int> smaller = DigitsApart(placement, reach)
                                           ? std::nullopt
                                           : HeightThatFits(surface, group, font, placement, reach);
    if (!smaller) {
        surface.DrawTextInBox(ToCoordinate(placement.x), ToCoordinate(top), box, options,
                              group.text, placement.advance);
        return;
    }
    FontRequest reduced = font;
    reduced.height = *smaller;
    const SavedFont saved = surface.SelectFont(reduced);
    const TextExtent fitted = surface.MeasureText(group.text);
    const GroupPlacement apart = PlaceGroup(surface, group, fitted.width);
    surface.DrawTextInBox(ToCoordinate(apart.x), ToCoordinate(top + extent.ascent - fitted.ascent),
                          box, options, group.text, apart.advance);
    surface.RestoreFont(saved);
}

// The rows the bars span: between the margins, or the whole height when
// the margins leave nothing; the text takes 21 pixels off the bottom.
struct BarRows {
    Wide top;
    Wide bottom;
};

BarRows BarRowsOf(const BarcodeSymbol& symbol)
{
    BarRows rows{symbol.ymargin, Wide{symbol.height} - symbol.ymargin};
    if (rows.bottom < 1) {
        rows = {0, symbol.height};
    }
    if (symbol.showText) {
        rows.bottom -= 21;
    }
    return rows;
}

void DrawComments(DrawingSurface& surface, const DrawStyle& style)
{
    Wide commentBottom = 0;
    if (!style.comment1.text.empty()) {
        DrawComment(surface, style.comment1.text, style.comment1.height, style.comment1.colour, 0);
        commentBottom = style.comment1.height;
    }
    if (!style.comment2.text.empty()) {
        DrawComment(surface, style.comment2.text, style.comment2.height, style.comment2.colour,
                    ToCoordinate(commentBottom));
    }
}

// Returns the symbol's width: the sum of its elements.
Wide DrawBars(RunPainter& runs, const BarcodeSymbol& symbol, BarRows rows)
{
    const ModuleSequence& sequence = *symbol.sequence;
    const Wide left = symbol.xmargin;
    Wide x = left;
    for (int i = 0; i < ElementCount(sequence); ++i) {
        const std::int32_t element = sequence.elements[static_cast<std::size_t>(i)];
        if (element < 0) {
            runs.Columns(x, Magnitude(element), rows.top, rows.bottom);
        }
        x += Magnitude(element);
    }
    return x - left;
}

void DrawBearers(RunPainter& runs, const BarcodeSymbol& symbol, const DrawStyle& style,
                 BarRows rows, Wide symbolWidth)
{
    if (!symbol.bearer) {
        return;
    }
    const Wide frameRight = Wide{symbol.xmargin} + symbolWidth + symbol.xmargin;
    const int sixNarrow = ToInt(Wide{6} * symbol.narrowWidth);
    switch (symbol.frame) {
    case BearerFrame::AroundBars:
        DrawFrame(runs, style.itfBearerWidth.value_or(sixNarrow), frameRight, rows.top,
                  rows.bottom);
        break;
    case BearerFrame::WholeHeight:
        DrawFrame(runs, style.janBearerWidth.value_or(sixNarrow), frameRight, 0, symbol.height);
        break;
    case BearerFrame::None: break;
    }
}

// The leading digit stands left of the symbol; the other twelve sit in two
// groups between the guards, over the bars' feet.
void DrawJan13Digits(DrawingSurface& surface, const BarcodeSymbol& symbol, const FontRequest& font,
                     Wide barBottom)
{
    const std::string_view text = symbol.text;
    const ModuleSequence& sequence = *symbol.sequence;
    const Wide left = symbol.xmargin;
    const std::string_view leading = Part(text, 0, 1);
    const TextExtent first = surface.MeasureText(leading);
    const Wide y = barBottom - first.height / 2;
    surface.DrawTextAt(ToCoordinate(left - first.width - 5), ToCoordinate(y), leading);
    DrawDigitGroup(surface, font,
                   {Part(text, 1, 6), EdgeAfter(sequence, left, 2), EdgeAfter(sequence, left, 27),
                    6, 5},
                   barBottom, y, TextBoxOpaque);
    DrawDigitGroup(surface, font,
                   {LastPart(text, 6), EdgeAfter(sequence, left, 31), EdgeAfter(sequence, left, 55),
                    6, 5},
                   barBottom, y, TextBoxOpaque);
}

void DrawJan8Digits(DrawingSurface& surface, const BarcodeSymbol& symbol, const FontRequest& font,
                    Wide barBottom)
{
    const std::string_view text = symbol.text;
    const ModuleSequence& sequence = *symbol.sequence;
    const Wide left = symbol.xmargin;
    DrawDigitGroup(surface, font,
                   {Part(text, 0, 4), EdgeAfter(sequence, left, 2), EdgeAfter(sequence, left, 19),
                    5, 4},
                   barBottom, std::nullopt, TextBoxOpaque | TextBoxClipped);
    DrawDigitGroup(surface, font,
                   {LastPart(text, 4), EdgeAfter(sequence, left, 22), EdgeAfter(sequence, left, 39),
                    5, 4},
                   barBottom, std::nullopt, TextBoxOpaque | TextBoxClipped);
}

void DrawReadableText(DrawingSurface& surface, const BarcodeSymbol& symbol, const DrawStyle& style,
                      Wide barBottom, Wide symbolWidth)
{
    if (!symbol.showText) {
        return;
    }
    const FontRequest font{BarcodeFontFace, symbol.textHeight, FontCharset::Ansi, 400};
    const SavedFont oldFont = surface.SelectFont(font);
    surface.SetTextAlign(AlignCentreTop);
    surface.SetTextColour(style.text);
    const TextLayout layout = style.janDigitsInBoxes ? symbol.layout : TextLayout::Plain;
    switch (layout) {
    case TextLayout::Jan13: DrawJan13Digits(surface, symbol, font, barBottom); break;
    case TextLayout::Jan8: DrawJan8Digits(surface, symbol, font, barBottom); break;
    case TextLayout::Plain: {
        const std::string text(symbol.text);
        const std::string shown = symbol.bearer ? Regrouped(text) : text;
        surface.DrawTextAt(ToCoordinate(symbol.xmargin + symbolWidth / 2),
                           ToCoordinate(barBottom + 2), shown);
        break;
    }
    }
    surface.RestoreFont(oldFont);
}

}  // namespace

void DrawBarcode(const BarcodeSymbol& symbol, const DrawStyle& style, DrawingSurface& surface)
{
    if (symbol.text.empty() || !symbol.sequence) {
        return;
    }
    const BackgroundMode oldMode = surface.SetBackgroundMode(BackgroundMode::Transparent);
    const Colour oldBackground = surface.SetBackgroundColour(style.background);
    surface.FillSolidRect(surface.ClipBox(), style.background);
    DrawComments(surface, style);

    const BarRows rows = BarRowsOf(symbol);
    const SavedPen oldPen = surface.SelectPen(style.bars);
    RunPainter runs(surface, style.bars);
    const Wide symbolWidth = DrawBars(runs, symbol, rows);
    DrawBearers(runs, symbol, style, rows, symbolWidth);
    surface.RestorePen(oldPen);

    DrawReadableText(surface, symbol, style, rows.bottom, symbolWidth);

    surface.SetBackgroundMode(oldMode);
    surface.SetBackgroundColour(oldBackground);
}

}  // namespace kestrel
