#include "render/ImageCanvas.h"

#include "picture/Colour.h"
#include "render/QPainterSurface.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace kestrel {

namespace {

// A picture with the painter that stays active on it.
struct Target {
    QImage image;
    QPainter painter;
};

}  // namespace

// The target a finished canvas gave back. Shared with the canvases, so one
// that outlives its factory still has somewhere to put it.
struct ImageCanvasFactory::Spare {
    std::unique_ptr<Target> target;
};

namespace {

// `rows` rows of `Width` pixels from `first`, `stride` bytes apart.
template <std::size_t Width>
void FillRows(QRgb* first, std::size_t stride, int rows, QRgb pixel)
{
    auto* row = reinterpret_cast<uchar*>(first);
    for (int y = 0; y < rows; ++y, row += stride) {
        std::fill_n(reinterpret_cast<QRgb*>(row), Width, pixel);
    }
}

template <std::size_t... Widths>
void FillNarrow(QRgb* first, std::size_t stride, int rows, std::size_t width, QRgb pixel,
                std::index_sequence<Widths...>)
{
    // Width w + 1 is the sequence's w-th: widths 1 to the last.
    (void)((width == Widths + 1 ? (FillRows<Widths + 1>(first, stride, rows, pixel), true) : false)
           || ...);
}

constexpr std::size_t NarrowFill = 16;  // pixels

void FillNarrow(QRgb* first, std::size_t stride, int rows, std::size_t width, QRgb pixel)
{
    FillNarrow(first, stride, rows, width, pixel, std::make_index_sequence<NarrowFill>());
}

// The canvas's surface: QPainterSurface for everything, but solid
// rectangles written straight into the picture's rows. A barcode is mostly
// such rectangles (the background and one per run of bars), and QPainter's
// way to a plain fill costs far more than the pixels. The pixels are the
// same: an opaque colour over an untransformed, unclipped painter replaces
// what was there. Whenever the painter is in any other state, the fill
// goes through QPainter as before.
class DirectFillSurface : public DrawingSurface {
public:
    DirectFillSurface(Target& target) : target_(target), inner_(target.painter) {}

    void FillSolidRect(const SurfaceRect& rect, Colour colour) override
    {
        const QPainter& painter = target_.painter;
        if (painter.hasClipping() || painter.opacity() != 1.0
            || painter.compositionMode() != QPainter::CompositionMode_SourceOver
            || !painter.worldTransform().isIdentity()) {
            inner_.FillSolidRect(rect, colour);
            return;
        }
        QImage& image = target_.image;
        const int left = std::max(rect.left, 0);
        const int top = std::max(rect.top, 0);
        const int right = std::min(rect.right, image.width());
        const int bottom = std::min(rect.bottom, image.height());
        if (left >= right || top >= bottom) {
            return;
        }
        const QRgb pixel = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
        uchar* const bits = image.bits();  // not shared: the painter draws on these same bytes
        const auto stride = static_cast<std::size_t>(image.bytesPerLine());
        const auto count = static_cast<std::size_t>(right - left);
        auto* const first = reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(top) * stride)
                            + left;
        // A bar is a few pixels wide and many rows tall: each row pixel by
        // pixel, which costs less than a call to copy a few bytes, with the
        // width known to the loop.
        if (count <= NarrowFill) {
            FillNarrow(first, stride, bottom - top, count, pixel);
            return;
        }
        // Wider, the first row pixel by pixel, the others copied from it.
        std::fill(first, first + count, pixel);
        for (int y = top + 1; y < bottom; ++y) {
            std::memcpy(reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(y) * stride) + left,
                        first, count * sizeof(QRgb));
        }
    }

    BackgroundMode SetBackgroundMode(BackgroundMode mode) override
    {
        return inner_.SetBackgroundMode(mode);
    }
    Colour SetBackgroundColour(Colour colour) override
    {
        return inner_.SetBackgroundColour(colour);
    }
    SurfaceRect ClipBox() const override { return inner_.ClipBox(); }
    SavedPen SelectPen(Colour colour) override { return inner_.SelectPen(colour); }
    void RestorePen(SavedPen saved) override { inner_.RestorePen(saved); }
    void DrawLine(int x0, int y0, int x1, int y1) override { inner_.DrawLine(x0, y0, x1, y1); }
    SavedFont SelectFont(const FontRequest& font) override { return inner_.SelectFont(font); }
    void RestoreFont(SavedFont saved) override { inner_.RestoreFont(saved); }
    int SetTextAlign(int align) override { return inner_.SetTextAlign(align); }
    Colour SetTextColour(Colour colour) override { return inner_.SetTextColour(colour); }
    TextExtent MeasureText(std::string_view text) override { return inner_.MeasureText(text); }
    std::optional<InkSpan> MeasureInk(std::string_view text) override
    {
        return inner_.MeasureInk(text);
    }
    void DrawTextAt(int x, int y, std::string_view text) override { inner_.DrawTextAt(x, y, text); }
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override
    {
        inner_.DrawTextInBox(x, y, box, options, text, advance);
    }

private:
    Target& target_;
    QPainterSurface inner_;
};

class ImageCanvas : public OffscreenCanvas {
public:
    ImageCanvas(std::shared_ptr<ImageCanvasFactory::Spare> spare, std::unique_ptr<Target> target)
        : spare_(std::move(spare)), target_(std::move(target))
    {
        surface_.emplace(*target_);
    }

    ~ImageCanvas() override
    {
        surface_.reset();
        spare_->target = std::move(target_);
    }

    bool IsValid() const override { return true; }
    DrawingSurface& Surface() override { return *surface_; }

    RgbPicture Picture() const override { return ToRgbPicture(target_->image); }

    PixelRows Rows() const override
    {
        const QImage& image = target_->image;
        return {image.width(), image.height(), image.constBits(),
                static_cast<std::size_t>(image.bytesPerLine())};
    }

private:
    std::shared_ptr<ImageCanvasFactory::Spare> spare_;
    std::unique_ptr<Target> target_;
    std::optional<DirectFillSurface> surface_;
};

// Sizes ImageSurface cannot make give an invalid canvas that ignores drawing.
class EmptyCanvas : public OffscreenCanvas {
public:
    EmptyCanvas(int width, int height) : surface_(width, height) {}

    bool IsValid() const override { return !surface_.Image().isNull(); }
    DrawingSurface& Surface() override { return surface_; }
    RgbPicture Picture() const override { return surface_.Picture(); }

private:
    ImageSurface surface_;
};

bool Fits(int width, int height)
{
    return width > 0 && height > 0 && width <= ImageSurface::MaxSide
           && height <= ImageSurface::MaxSide
           && std::int64_t{width} * height <= ImageSurface::MaxPixels;
}

}  // namespace

ImageCanvasFactory::ImageCanvasFactory() : spare_(std::make_shared<Spare>()) {}

ImageCanvasFactory::~ImageCanvasFactory() = default;

std::unique_ptr<OffscreenCanvas> ImageCanvasFactory::Create(int width, int height)
{
    if (!Fits(width, height)) {
        return std::make_unique<EmptyCanvas>(width, height);
    }
    std::unique_ptr<Target> target = std::move(spare_->target);
    if (target && target->image.width() == width && target->image.height() == height) {
        // As a new picture: white, and the painter as it was begun.
        target->image.fill(Qt::white);
    } else {
        target.reset();  // the painter ends before its picture goes
        target = std::make_unique<Target>();
        target->image = QImage(width, height, QImage::Format_RGB32);
        if (target->image.isNull()) {
            return std::make_unique<EmptyCanvas>(0, 0);
        }
        target->image.fill(Qt::white);
        if (!target->painter.begin(&target->image)) {
            return std::make_unique<EmptyCanvas>(0, 0);
        }
    }
    return std::make_unique<ImageCanvas>(spare_, std::move(target));
}

}  // namespace kestrel
