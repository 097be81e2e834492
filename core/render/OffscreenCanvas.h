#pragma once

#include "picture/RgbPicture.h"

#include <memory>

namespace kestrel {

class DrawingSurface;

// An off-screen picture to draw the barcode on and read back, made by the
// platform (a QImage on this one).
class OffscreenCanvas {
public:
    virtual ~OffscreenCanvas() = default;

    // False when the picture could not be made (a size out of reach).
    virtual bool IsValid() const = 0;
    virtual DrawingSurface& Surface() = 0;
    virtual RgbPicture Picture() const = 0;
    // The picture's own rows, valid until the canvas is drawn on again or
    // goes; none (a null `first`) where only Picture's copy can be had.
    virtual PixelRows Rows() const { return {}; }
};

class OffscreenCanvasFactory {
public:
    virtual ~OffscreenCanvasFactory() = default;
    virtual std::unique_ptr<OffscreenCanvas> Create(int width, int height) = 0;
};

}  // namespace kestrel
