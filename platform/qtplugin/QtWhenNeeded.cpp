#include "qtplugin/QtWhenNeeded.h"

#include "qtplugin/QtServicesLoader.h"
#include "render/TextCoverageCache.h"

#include <utility>

namespace kestrel {

namespace {

// Set when a picture this thread draws needed the services and they could
// not be had; taken (and cleared) once the picture is written.
thread_local bool missing = false;

QtServices* Services()
{
    QtServices* services = LoadQtServices();
    if (services == nullptr) {
        missing = true;
    }
    return services;
}

// A surface that draws nothing, for when Qt cannot be had.
class NoSurface : public DrawingSurface {
public:
    BackgroundMode SetBackgroundMode(BackgroundMode mode) override { return mode; }
    Colour SetBackgroundColour(Colour colour) override { return colour; }
    SurfaceRect ClipBox() const override { return {}; }
    void FillSolidRect(const SurfaceRect&, Colour) override {}
    SavedPen SelectPen(Colour) override { return {}; }
    void RestorePen(SavedPen) override {}
    void DrawLine(int, int, int, int) override {}
    SavedFont SelectFont(const FontRequest&) override { return {}; }
    void RestoreFont(SavedFont) override {}
    int SetTextAlign(int align) override { return align; }
    Colour SetTextColour(Colour colour) override { return colour; }
    TextExtent MeasureText(std::string_view) override { return {}; }
    std::optional<InkSpan> MeasureInk(std::string_view) override { return std::nullopt; }
    void DrawTextAt(int, int, std::string_view) override {}
    void DrawTextInBox(int, int, const SurfaceRect&, unsigned, std::string_view,
                       std::optional<int>) override
    {
    }
};

// Coverages from the cache; a QPainter over the pixels only when the
// surface asks for one.
class QtWhenNeededFallback : public RasterFallback {
public:
    QtWhenNeededFallback(std::uint32_t* pixels, int width, int height,
                         std::shared_ptr<TextCoverageCache> coverages)
        : coverages_(std::move(coverages)), pixels_(pixels), width_(width), height_(height)
    {
    }

    DrawingSurface& Begin() override
    {
        if (!painter_) {
            QtServices* services = Services();
            if (services == nullptr) {
                return none_;
            }
            painter_ = services->PainterOver(pixels_, width_, height_);
        }
        return painter_->Begin();
    }

    const TextCoverage* Coverage(const FontRequest& font, std::string_view text) override
    {
        return coverages_->Find(font, text);
    }

    std::optional<TextExtent> Measure(const FontRequest& font, std::string_view text) override
    {
        return coverages_->Measure(font, text);
    }

private:
    std::shared_ptr<TextCoverageCache> coverages_;
    std::uint32_t* pixels_;
    int width_;
    int height_;
    std::unique_ptr<RasterFallback> painter_;
    NoSurface none_;
};

class QtWhenNeededFallbackFactory : public RasterFallbackFactory {
public:
    std::unique_ptr<RasterFallback> Create(std::uint32_t* pixels, int width, int height) override
    {
        return std::make_unique<QtWhenNeededFallback>(pixels, width, height, coverages_);
    }

private:
    std::shared_ptr<TextCoverageCache> coverages_ = std::make_shared<TextCoverageCache>(
        [](const FontRequest& font, std::string_view text) -> std::optional<TextCoverage> {
            QtServices* services = Services();
            return services != nullptr ? services->TextCoverageOf(font, text) : std::nullopt;
        });
};

PictureWriter VectorWriter(PictureFormat format)
{
    return [format](const PictureRequest& request, OffscreenCanvasFactory& canvases,
                    const std::string& fileName, SaveProblem& problem) {
        QtServices* services = Services();
        if (services == nullptr) {
            problem = SaveProblem::NotWritten;
            return 0;
        }
        return services->SaveVector(format, request, canvases, fileName, problem);
    };
}

}  // namespace

QtWhenNeededCanvasFactory::QtWhenNeededCanvasFactory()
    : RasterCanvasFactory(std::make_shared<QtWhenNeededFallbackFactory>())
{
}

ExportRegistry QtWhenNeededExports()
{
    ExportRegistry registry;
    AddRasterExports(registry,
                     [](const PixelRows& rows) -> std::optional<std::vector<std::uint8_t>> {
                         QtServices* services = Services();
                         return services != nullptr ? services->TrueColourPng(rows) : std::nullopt;
                     });
    registry.Add(PictureFormat::Svg, VectorWriter(PictureFormat::Svg));
    registry.Add(PictureFormat::Pdf, VectorWriter(PictureFormat::Pdf));
    return registry;
}

bool TakeQtServicesMissing()
{
    return std::exchange(missing, false);
}

}  // namespace kestrel
