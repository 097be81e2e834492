#pragma once

#include "render/OffscreenCanvas.h"

namespace kestrel {

// Off-screen pictures on QImage. Drawing text needs a QGuiApplication.
class ImageCanvasFactory : public OffscreenCanvasFactory {
public:
    std::unique_ptr<OffscreenCanvas> Create(int width, int height) override;
};

}  // namespace kestrel
