#include "render/OffsetSurface.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace kestrel {

namespace {

// Picture coordinates reach INT_MAX in a huge document; moving them by the
// origin must not overflow, and a point that far out is off the device anyway.
int Shift(int value, int by)
{
    const std::int64_t moved = std::int64_t{value} + by;
    return static_cast<int>(std::clamp<std::int64_t>(moved, INT_MIN, INT_MAX));
}

}  // namespace

SurfaceRect OffsetSurface::ToDevice(const SurfaceRect& rect) const
{
    return {Shift(rect.left, originX_), Shift(rect.top, originY_), Shift(rect.right, originX_),
            Shift(rect.bottom, originY_)};
}

BackgroundMode OffsetSurface::SetBackgroundMode(BackgroundMode mode)
{
    return device_.SetBackgroundMode(mode);
}

Colour OffsetSurface::SetBackgroundColour(Colour colour)
{
    return device_.SetBackgroundColour(colour);
}

SurfaceRect OffsetSurface::ClipBox() const
{
    const SurfaceRect clip = device_.ClipBox();
    if (clip.IsEmpty()) {
        return {};
    }
    return {Shift(clip.left, -originX_), Shift(clip.top, -originY_), Shift(clip.right, -originX_),
            Shift(clip.bottom, -originY_)};
}

void OffsetSurface::FillSolidRect(const SurfaceRect& rect, Colour colour)
{
    device_.FillSolidRect(ToDevice(rect), colour);
}

SavedPen OffsetSurface::SelectPen(Colour colour)
{
    return device_.SelectPen(colour);
}

void OffsetSurface::RestorePen(SavedPen saved)
{
    device_.RestorePen(saved);
}

void OffsetSurface::DrawLine(int x0, int y0, int x1, int y1)
{
    device_.DrawLine(Shift(x0, originX_), Shift(y0, originY_), Shift(x1, originX_),
                     Shift(y1, originY_));
}

SavedFont OffsetSurface::SelectFont(const FontRequest& font)
{
    return device_.SelectFont(font);
}

void OffsetSurface::RestoreFont(SavedFont saved)
{
    device_.RestoreFont(saved);
}

int OffsetSurface::SetTextAlign(int align)
{
    return device_.SetTextAlign(align);
}

Colour OffsetSurface::SetTextColour(Colour colour)
{
    return device_.SetTextColour(colour);
}

TextExtent OffsetSurface::MeasureText(std::string_view text)
{
    return device_.MeasureText(text);
}

std::optional<InkSpan> OffsetSurface::MeasureInk(std::string_view text)
{
    return device_.MeasureInk(text);
}

void OffsetSurface::DrawTextAt(int x, int y, std::string_view text)
{
    device_.DrawTextAt(Shift(x, originX_), Shift(y, originY_), text);
}

void OffsetSurface::DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                                  std::string_view text, std::optional<int> advance)
{
    device_.DrawTextInBox(Shift(x, originX_), Shift(y, originY_), ToDevice(box), options, text,
                          advance);
}

}  // namespace kestrel
