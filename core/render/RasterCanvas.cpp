#include "render/RasterCanvas.h"

#include "render/RasterSurface.h"

#include <utility>

namespace kestrel {

// The surface a finished canvas gave back. Shared with the canvases, so one
// that outlives its factory still has somewhere to put it.
struct RasterCanvasFactory::Spare {
    std::unique_ptr<RasterSurface> surface;
};

namespace {

class RasterCanvas : public OffscreenCanvas {
public:
    RasterCanvas(std::unique_ptr<RasterSurface> surface,
                 std::shared_ptr<RasterCanvasFactory::Spare> spare)
        : surface_(std::move(surface)), spare_(std::move(spare))
    {
    }
    ~RasterCanvas() override
    {
        if (surface_->IsValid()) {
            spare_->surface = std::move(surface_);
        }
    }
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    bool IsValid() const override { return surface_->IsValid(); }
    DrawingSurface& Surface() override { return *surface_; }
    RgbPicture Picture() const override { return surface_->Picture(); }
    PixelRows Rows() const override { return surface_->Rows(); }
    std::optional<std::vector<PixelCount>> Colours() const override { return surface_->Colours(); }
    std::span<const std::uint32_t> RowNumbers() const override { return surface_->RowNumbers(); }

private:
    std::unique_ptr<RasterSurface> surface_;
    std::shared_ptr<RasterCanvasFactory::Spare> spare_;
};

}  // namespace

RasterCanvasFactory::RasterCanvasFactory(std::shared_ptr<RasterFallbackFactory> fallback)
    : fallback_(std::move(fallback)), spare_(std::make_shared<Spare>())
{
}

RasterCanvasFactory::~RasterCanvasFactory() = default;

std::unique_ptr<OffscreenCanvas> RasterCanvasFactory::Create(int width, int height)
{
    std::unique_ptr<RasterSurface> surface = std::move(spare_->surface);
    if (surface && surface->Width() == width && surface->Height() == height) {
        surface->Restart();
    } else {
        surface = std::make_unique<RasterSurface>(width, height, fallback_.get());
    }
    return std::make_unique<RasterCanvas>(std::move(surface), spare_);
}

}  // namespace kestrel
