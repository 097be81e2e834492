#pragma once

#include "render/OffscreenCanvas.h"

#include <memory>

namespace kestrel {

// Off-screen pictures on QImage. Drawing text needs a QGuiApplication.
//
// A factory keeps the picture and painter of the last canvas it made and
// hands them, painted white again, to the next canvas of the same size:
// a batch draws thousands of pictures of one size, and a new picture and
// painter for each cost more than the drawing. Each canvas still gets a
// surface of its own, so nothing a drawing selected carries over. One
// factory serves one thread.
class ImageCanvasFactory : public OffscreenCanvasFactory {
public:
    ImageCanvasFactory();
    ~ImageCanvasFactory() override;
    ImageCanvasFactory(const ImageCanvasFactory&) = delete;
    ImageCanvasFactory& operator=(const ImageCanvasFactory&) = delete;

    std::unique_ptr<OffscreenCanvas> Create(int width, int height) override;

    struct Spare;

private:
    std::shared_ptr<Spare> spare_;
};

}  // namespace kestrel
