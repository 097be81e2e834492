#include "render/DrawBarcode.h"

#include "document/BarCodeDoc.h"
#include "profile/Profile.h"
#include "profile/ProfileSchema.h"
#include "render/DrawingSurface.h"
#include "symbology/Symbology.h"

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

int ToCoordinate(Wide value) { return static_cast<int>(std::clamp(value, -FarAway, FarAway)); }

int ToInt(Wide value)
{
    return static_cast<int>(std::clamp<Wide>(value, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
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

Wide Magnitude(std::int32_t element) { return element < 0 ? -Wide{element} : Wide{element}; }

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

void DrawComment(DrawingSurface& surface, const std::string& text, int height, Colour colour,
                 int y)
{
    const SavedFont saved =
        surface.SelectFont({BarcodeFontFace, height, FontCharset::ShiftJis, 400});
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

void DrawDigitGroup(DrawingSurface& surface, const DigitGroup& group, Wide bottom,
                    std::optional<Wide> y, unsigned options)
{
    const TextExtent extent = surface.MeasureText(group.text);
    const Wide halfHeight = extent.height / 2;
    const GroupPlacement placement = PlaceGroup(surface, group, extent.width);
    const SurfaceRect box{ToCoordinate(group.left), ToCoordinate(bottom - halfHeight),
                          ToCoordinate(group.right), ToCoordinate(bottom + halfHeight)};
    surface.DrawTextInBox(ToCoordinate(placement.x),
                          ToCoordinate(y.value_or(bottom - halfHeight)), box, options,
                          group.text, placement.advance);
}

}  // namespace

void DrawBarcode(const CBarCodeDoc& doc, const Profile& profile, DrawingSurface& surface)
{
    if (doc.CodeText.empty()) {
        return;
    }
    const std::string_view text = doc.CodeText;
    const ModuleSequence& sequence = doc.ModuleSequence;

    const Colour backColour = static_cast<Colour>(profile::Read(profile, profile::BackColor));
    const BackgroundMode oldMode = surface.SetBackgroundMode(BackgroundMode::Transparent);
    const Colour oldBackground = surface.SetBackgroundColour(backColour);
    surface.FillSolidRect(surface.ClipBox(), backColour);

    Wide commentBottom = 0;
    const std::string comment1 = profile::Read(profile, profile::String1);
    if (!comment1.empty()) {
        const int height = profile::Read(profile, profile::High1ForDrawing);
        DrawComment(surface, comment1, height,
                    static_cast<Colour>(profile::Read(profile, profile::Color1)), 0);
        commentBottom = height;
    }
    const std::string comment2 = profile::Read(profile, profile::String2);
    if (!comment2.empty()) {
        DrawComment(surface, comment2, profile::Read(profile, profile::High2ForDrawing),
                    static_cast<Colour>(profile::Read(profile, profile::Color2)),
                    ToCoordinate(commentBottom));
    }

    // Bars span the height between the margins; when the margins leave
    // nothing, the whole height. The text takes 21 pixels off the bottom.
    Wide barTop = doc.Ymargin;
    Wide barBottom = Wide{doc.Height} - doc.Ymargin;
    if (barBottom < 1) {
        barTop = 0;
        barBottom = doc.Height;
    }
    if (doc.DispCode != 0) {
        barBottom -= 21;
    }

    const Colour barColour = static_cast<Colour>(profile::Read(profile, profile::BarColor));
    const SavedPen oldPen = surface.SelectPen(barColour);
    RunPainter runs(surface, barColour);
    const Wide left = doc.Xmargin;
    Wide x = left;
    for (int i = 0; i < ElementCount(sequence); ++i) {
        const std::int32_t element = sequence.elements[static_cast<std::size_t>(i)];
        if (element < 0) {
            runs.Columns(x, Magnitude(element), barTop, barBottom);
        }
        x += Magnitude(element);
    }
    const Wide symbolWidth = x - left;  // the walk above has summed the widths

    if (doc.Case != 0) {
        const Wide frameRight = left + symbolWidth + doc.Xmargin;
        const Wide sixNarrow = Wide{6} * doc.NWidth;
        if (doc.CodeType == Itf) {
            const profile::IntKey width{profile::ItfCaseWidthForOptions.section,
                                        profile::ItfCaseWidthForOptions.key, ToInt(sixNarrow)};
            DrawFrame(runs, profile::Read(profile, width), frameRight, barTop, barBottom);
        } else if (doc.CodeType == Jan13 || doc.CodeType == Jan8) {
            const profile::IntKey width{profile::JanCaseWidthForOptions.section,
                                        profile::JanCaseWidthForOptions.key, ToInt(sixNarrow)};
            DrawFrame(runs, profile::Read(profile, width), frameRight, 0, doc.Height);
        }
    }
    surface.RestorePen(oldPen);

    if (doc.DispCode != 0) {
        const SavedFont oldFont =
            surface.SelectFont({BarcodeFontFace, doc.CodeHigh, FontCharset::Ansi, 400});
        surface.SetTextAlign(AlignCentreTop);
        const int codeOut = profile::Read(profile, profile::JanCodeOut);
        surface.SetTextColour(static_cast<Colour>(profile::Read(profile, profile::CodeColor)));

        if (codeOut != 0 && doc.CodeType == Jan13) {
            // The leading digit stands left of the symbol; the other twelve
            // sit in two groups between the guards, over the bars' feet.
            const std::string_view leading = Part(text, 0, 1);
            const TextExtent first = surface.MeasureText(leading);
            const Wide y = barBottom - first.height / 2;
            surface.DrawTextAt(ToCoordinate(left - first.width - 5), ToCoordinate(y), leading);
            DrawDigitGroup(surface,
                           {Part(text, 1, 6), EdgeAfter(sequence, left, 2),
                            EdgeAfter(sequence, left, 27), 6, 5},
                           barBottom, y, TextBoxOpaque);
            DrawDigitGroup(surface,
                           {LastPart(text, 6), EdgeAfter(sequence, left, 31),
                            EdgeAfter(sequence, left, 55), 6, 5},
                           barBottom, y, TextBoxOpaque);
        } else if (codeOut != 0 && doc.CodeType == Jan8) {
            DrawDigitGroup(surface,
                           {Part(text, 0, 4), EdgeAfter(sequence, left, 2),
                            EdgeAfter(sequence, left, 19), 5, 4},
                           barBottom, std::nullopt, TextBoxOpaque | TextBoxClipped);
            DrawDigitGroup(surface,
                           {LastPart(text, 4), EdgeAfter(sequence, left, 22),
                            EdgeAfter(sequence, left, 39), 5, 4},
                           barBottom, std::nullopt, TextBoxOpaque | TextBoxClipped);
        } else {
            const std::string shown = doc.Case != 0 ? Regrouped(doc.CodeText) : doc.CodeText;
            surface.DrawTextAt(ToCoordinate(left + symbolWidth / 2), ToCoordinate(barBottom + 2),
                               shown);
        }
        surface.RestoreFont(oldFont);
    }

    surface.SetBackgroundMode(oldMode);
    surface.SetBackgroundColour(oldBackground);
}

}  // namespace kestrel
