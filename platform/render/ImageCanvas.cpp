#include "render/ImageCanvas.h"

#include "render/QPainterSurface.h"

namespace kestrel {

namespace {

class ImageCanvas : public OffscreenCanvas {
public:
    ImageCanvas(int width, int height) : surface_(width, height) {}

    bool IsValid() const override { return !surface_.Image().isNull(); }
    DrawingSurface& Surface() override { return surface_; }
    RgbPicture Picture() const override { return surface_.Picture(); }

private:
    ImageSurface surface_;
};

}  // namespace

std::unique_ptr<OffscreenCanvas> ImageCanvasFactory::Create(int width, int height)
{
    return std::make_unique<ImageCanvas>(width, height);
}

}  // namespace kestrel
