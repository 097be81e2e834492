#pragma once

#include "picture/PixelTally.h"
#include "picture/RgbPicture.h"

#include <memory>
#include <optional>
#include <span>
#include <vector>

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
    // Every colour of the picture with its number of pixels, where the
    // canvas kept them while it drew; none where they must be counted.
    virtual std::optional<std::vector<PixelCount>> Colours() const { return std::nullopt; }
    // A number for each row of Rows, equal for rows of equal pixels, where
    // the canvas kept them while it drew (unequal numbers may still hold
    // equal rows); empty otherwise. Valid as long as what Rows gave.
    virtual std::span<const std::uint32_t> RowNumbers() const { return {}; }
};

class OffscreenCanvasFactory {
public:
    virtual ~OffscreenCanvasFactory() = default;
    virtual std::unique_ptr<OffscreenCanvas> Create(int width, int height) = 0;
};

}  // namespace kestrel
