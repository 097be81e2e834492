#pragma once

#include "picture/RgbPicture.h"
#include "render/DrawingSurface.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class QString;

namespace kestrel {

// Barcode drawing onto anything a QPainter paints: a QImage, a widget while
// it repaints, a printer page. The painter must be active and untransformed
// while the surface draws, or scaled by whole numbers with a clip set, which
// the clip box then follows (a printed page at several dots per pixel); the
// surface leaves the painter's own pen, brush, font and clipping as it found
// them.
//
// Pixels are exact: fills and horizontal or vertical lines are filled
// rectangles, never antialiased. Other lines go through QPainter::drawLine
// and include their end point.
class QPainterSurface : public DrawingSurface {
public:
    // The size a font of height 0 or less gets, in pixels.
    static constexpr int DefaultFontHeight = 12;
    // Taller requests are cut to this: glyphs of such a size would only
    // exhaust memory, and no picture is that tall.
    static constexpr int LargestFontHeight = 4096;

    explicit QPainterSurface(QPainter& painter);

    // The Qt font a request becomes. The face names Japanese systems use for
    // their proportional gothic are mapped to IPAGothic (digits half an em
    // wide, like theirs), else IPAPGothic or Noto CJK; the character set is
    // left to Qt's own fallback.
    //
    // Text is laid out in a cell of the font's typographic ascent and
    // descent. Qt's metrics take the larger descent some fonts declare for
    // Windows, which makes the IPA fonts' cell 1.08 em; the typographic cell
    // is 1 em, as it is for the font the face name stands for.
    static QFont FontFor(const FontRequest& request);

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
    // From the text drawn alone in black on white on a picture of its own.
    std::optional<InkSpan> MeasureInk(std::string_view text) override;
    void DrawTextAt(int x, int y, std::string_view text) override;
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override;

private:
    // Fills [left, right) x [top, bottom), cut to the clip box first so
    // that no Qt rectangle ever overflows.
    void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              Colour colour);
    void DrawGlyphs(std::int64_t x, std::int64_t y, const QString& text, std::optional<int> advance,
                    const SurfaceRect* clip);

    // A selected font with the cell it is laid out in.
    struct SelectedFont {
        QFont font;
        int ascent;
        int descent;
        FontRequest request;
    };
    SelectedFont Select(const FontRequest& request) const;

    QPainter& painter_;
    BackgroundMode mode_ = BackgroundMode::Transparent;
    Colour background_ = 0xFFFFFF;
    Colour textColour_ = 0;
    int align_ = AlignLeftTop;
    std::vector<Colour> pens_{0};
    std::vector<SelectedFont> fonts_;
};

namespace detail {
// The picture and its painter, made before the surface that draws on them.
struct ImageTarget {
    ImageTarget(int width, int height);
    QImage image;
    QPainter painter;
};
}  // namespace detail

// An off-screen picture of a given size to draw on, white to begin with.
// Sizes of 0 or less, or beyond MaxSide on a side or MaxPixels in all, give
// an empty picture that ignores drawing.
class ImageSurface : private detail::ImageTarget, public QPainterSurface {
public:
    static constexpr int MaxSide = 32767;
    static constexpr std::int64_t MaxPixels = std::int64_t{1} << 27;

    ImageSurface(int width, int height);

    const QImage& Image() const { return image; }
    RgbPicture Picture() const;
};

// A picture's pixels as 0x00RRGGBB, the top row first; empty for a null
// image.
RgbPicture ToRgbPicture(const QImage& image);

// Finds and loads the barcode font, with the fallbacks its Japanese and
// half-width katakana need, by drawing a little of each once. Call it before
// several threads draw at once: fontconfig sets its own locks up the first
// time it is used, in a way that threads starting together race on.
void PrepareFontsForThreads();

}  // namespace kestrel
