#pragma once

#include "render/OffscreenCanvas.h"

#include <memory>

namespace kestrel {

class RasterFallbackFactory;
class RasterSurface;

// Off-screen pictures on RasterSurface. Text needs a fallback painter; with
// none, pictures have bars, bearers and backgrounds only.
//
// A factory keeps the surface of the last canvas it made and hands it,
// white again, to the next canvas of the same size. One factory serves one
// thread.
class RasterCanvasFactory : public OffscreenCanvasFactory {
public:
    explicit RasterCanvasFactory(std::shared_ptr<RasterFallbackFactory> fallback = nullptr);
    ~RasterCanvasFactory() override;
    RasterCanvasFactory(const RasterCanvasFactory&) = delete;
    RasterCanvasFactory& operator=(const RasterCanvasFactory&) = delete;

    std::unique_ptr<OffscreenCanvas> Create(int width, int height) override;

    struct Spare;

private:
    std::shared_ptr<RasterFallbackFactory> fallback_;
    std::shared_ptr<Spare> spare_;
};

}  // namespace kestrel
