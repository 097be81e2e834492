#pragma once

#include "export/PictureExport.h"
#include "picture/RgbPicture.h"
#include "profile/Profile.h"
#include "render/RasterSurface.h"
#include "verify/VerifyPicture.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// What only Qt (and ZXing) gives a program that otherwise runs without it: kestrel-cli
// writes BMP and PNG pictures whose text FreeType gives without loading Qt
// at all, and reaches the rest through this interface, from a library
// loaded the first time it is needed (see QtServicesLoader.h). Every call
// may be made from any thread once the services are loaded; the loader
// starts Qt's GUI and prepares its fonts for threads before it hands them
// out.
class QtServices {
public:
    virtual ~QtServices() = default;

    // The INI profile as QSettings reads it, read-only (for files beyond
    // the plain form PlainIniProfile reads).
    virtual std::unique_ptr<Profile> ReadProfile(const std::string& iniPath) = 0;
    // Where QSettings keeps the per-user profile.
    virtual std::string DefaultProfilePath() = 0;

    // A QPainter over a raster surface's pixels, for the text and sloped
    // lines the surface does not draw itself.
    virtual std::unique_ptr<RasterFallback> PainterOver(std::uint32_t* pixels, int width,
                                                        int height) = 0;
    // The text's coverage as Qt draws it; none where Qt draws from outlines.
    virtual std::optional<TextCoverage> TextCoverageOf(const FontRequest& font,
                                                       std::string_view text) = 0;

    // A PNG of more colours than a palette holds.
    virtual std::optional<std::vector<std::uint8_t>> TrueColourPng(const PixelRows& rows) = 0;
    // Writes an SVG or PDF file, as the window writes it.
    virtual int SaveVector(PictureFormat format, const PictureRequest& request,
                           OffscreenCanvasFactory& canvases, const std::string& fileName,
                           SaveProblem& problem) = 0;
    // A BMP or PNG file's pixels; empty when it cannot be read.
    virtual RgbPicture ReadPictureFile(const std::string& fileName) = 0;
    // The picture decoded by ZXing and compared with the symbol's text.
    virtual ScanResult Scan(const RgbPicture& picture, int codeType,
                            const std::string& codeTextUtf8) = 0;
};

}  // namespace kestrel

// The one symbol the library exports: the services, made on the first call.
extern "C" kestrel::QtServices* KestrelQtServices();
