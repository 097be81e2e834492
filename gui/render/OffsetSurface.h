#pragma once

#include "render/DrawingSurface.h"

namespace kestrel {

// A surface whose picture coordinates sit `originX`, `originY` device pixels
// away from those of the surface it draws on: on screen, the picture's
// top-left moves with the scroll bars while the painter must stay
// untransformed. The clip box comes back in picture coordinates, so a
// scrolled view's visible area may start inside the picture or reach
// beyond it.
class OffsetSurface : public DrawingSurface {
public:
    OffsetSurface(DrawingSurface& device, int originX, int originY)
        : device_(device), originX_(originX), originY_(originY)
    {
    }

    BackgroundMode SetBackgroundMode(BackgroundMode mode) override;
    Colour SetBackgroundColour(Colour colour) override;
    SurfaceRect ClipBox() const override;
    void FillSolidRect(const SurfaceRect& rect, Colour colour) override;
    SavedPen SelectPen(Colour colour) override;
    void RestorePen(SavedPen saved) override;
    void DrawLine(int x0, int y0, int x1, int y1) override;
    SavedFont SelectFont(const FontRequest& font) override;
    void RestoreFont(SavedFont saved) override;
    int SetTextAlign(int align) override;
    Colour SetTextColour(Colour colour) override;
    TextExtent MeasureText(std::string_view text) override;
    std::optional<InkSpan> MeasureInk(std::string_view text) override;
    void DrawTextAt(int x, int y, std::string_view text) override;
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override;

private:
    SurfaceRect ToDevice(const SurfaceRect& rect) const;

    DrawingSurface& device_;
    int originX_;
    int originY_;
};

}  // namespace kestrel
