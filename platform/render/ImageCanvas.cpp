#include "render/ImageCanvas.h"

#include "render/QPainterSurface.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstring>
#include <optional>

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

// Clears the unused top byte of each pixel, two pixels at a time.
void ClearTopBytes(std::uint32_t* pixels, std::size_t count)
{
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        std::uint64_t two;
        std::memcpy(&two, pixels + i, sizeof two);
        two &= 0x00FFFFFF00FFFFFFU;  // the top byte of either half, in either byte order
        std::memcpy(pixels + i, &two, sizeof two);
    }
    if (i < count) {
        pixels[i] &= 0xFFFFFFU;
    }
}

class ImageCanvas : public OffscreenCanvas {
public:
    ImageCanvas(std::shared_ptr<ImageCanvasFactory::Spare> spare, std::unique_ptr<Target> target)
        : spare_(std::move(spare)), target_(std::move(target))
    {
        surface_.emplace(target_->painter);
    }

    ~ImageCanvas() override
    {
        surface_.reset();
        spare_->target = std::move(target_);
    }

    bool IsValid() const override { return true; }
    DrawingSurface& Surface() override { return *surface_; }

    // The pixels of the 32-bit picture without the unused top byte, as
    // ToRgbPicture gives them.
    RgbPicture Picture() const override
    {
        const QImage& image = target_->image;
        RgbPicture picture;
        picture.width = image.width();
        picture.height = image.height();
        const auto width = static_cast<std::size_t>(picture.width);
        picture.pixels.reserve(width * static_cast<std::size_t>(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            picture.pixels.insert(picture.pixels.end(), row, row + width);
            ClearTopBytes(picture.pixels.data() + picture.pixels.size() - width, width);
        }
        return picture;
    }

private:
    std::shared_ptr<ImageCanvasFactory::Spare> spare_;
    std::unique_ptr<Target> target_;
    std::optional<QPainterSurface> surface_;
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
        target->painter.fillRect(QRect(0, 0, width, height), Qt::white);
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
