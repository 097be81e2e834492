#pragma once

#include "picture/RgbPicture.h"
#include "render/RasterCanvas.h"
#include "render/RasterSurface.h"
#include "render/TextCoverageCache.h"

#include <QImage>

#include <memory>
#include <optional>
#include <string_view>

namespace kestrel {

// Text and sloped lines on a raster surface's pixels through QPainter, as
// QPainterSurface draws them on an off-screen QImage: the same pixels.
// Needs a QGuiApplication.
//
// It also gives the coverage of text up to the size Qt draws from its glyph
// cache, taken once per font and text from Qt's own drawing in black on
// white, for the surface to blend as Qt blends it. The coverages are kept
// by the factory for every fallback it makes; one factory serves one
// thread.
class QtRasterFallbackFactory : public RasterFallbackFactory {
public:
    QtRasterFallbackFactory();
    ~QtRasterFallbackFactory() override;
    std::unique_ptr<RasterFallback> Create(std::uint32_t* pixels, int width, int height) override;

private:
    std::shared_ptr<TextCoverageCache> coverages_;
};

// A QPainter over a raster surface's pixels that gives no coverages: for a
// surface whose text coverages come from elsewhere.
std::unique_ptr<RasterFallback> QtPainterOver(std::uint32_t* pixels, int width, int height);

// The canvases every picture that is written or copied is drawn on: raster
// surfaces with text through Qt, so that the window and kestrel-cli write
// the same pixels.
class PictureCanvasFactory : public RasterCanvasFactory {
public:
    PictureCanvasFactory();
};

// The coverage of the text in the font as Qt draws it, taken from its
// drawing in black on white; none for text Qt draws from outlines (taller
// than 64 pixels) or not in shades of grey.
std::optional<TextCoverage> QtTextCoverage(const FontRequest& font, std::string_view text);

// A copy of the pixels as a QImage of its own (Format_RGB32).
QImage ToQImage(const PixelRows& rows);

}  // namespace kestrel
