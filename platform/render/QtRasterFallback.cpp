#include "render/QtRasterFallback.h"

#include "app/GuiApplication.h"
#include "render/QPainterSurface.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <optional>

namespace kestrel {

namespace {

// Qt draws text taller than this from outlines, blended otherwise.
constexpr int LargestCoveredHeight = 64;

// The coverage of the inked pixels' bounding box, measured from
// (margin, margin); none when a pixel is not grey (not a coverage).
std::optional<TextCoverage> CoverageOf(const QImage& image, int margin)
{
    TextCoverage all{-margin, -margin, image.width(), image.height(), {}};
    all.alpha.reserve(static_cast<std::size_t>(all.width) * all.height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = row[x];
            if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)) {
                return std::nullopt;
            }
            all.alpha.push_back(static_cast<std::uint8_t>(255 - qBlue(pixel)));
        }
    }
    return TrimToInk(all);
}

}  // namespace

std::optional<TextCoverage> QtTextCoverage(const FontRequest& font, std::string_view text)
{
    EnsureGuiApplication();
    const int height = font.height > 0 ? font.height : QPainterSurface::DefaultFontHeight;
    if (height > LargestCoveredHeight) {
        return std::nullopt;
    }
    int margin = 0;
    int width = 0;
    {
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        QPainterSurface surface(painter);
        surface.SelectFont(font);
        const TextExtent extent = surface.MeasureText(text);
        margin = std::max(extent.height, height);
        width = extent.width;
    }
    QImage image(width + 2 * margin, 3 * margin, QImage::Format_RGB32);
    if (image.isNull()) {
        return std::nullopt;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.SelectFont(font);
        surface.SetTextColour(0);
        surface.SetTextAlign(AlignLeftTop);
        surface.DrawTextAt(margin, margin, text);
    }
    return CoverageOf(image, margin);
}

namespace {

// A QImage over the surface's pixels and the painter that stays active on
// it; each Begin gives a new QPainterSurface, so nothing selected before
// carries over.
class QtRasterFallback : public RasterFallback {
public:
    QtRasterFallback(std::uint32_t* pixels, int width, int height,
                     std::shared_ptr<TextCoverageCache> coverages)
        : coverages_(std::move(coverages)), pixels_(pixels), width_(width), height_(height)
    {
    }
    QtRasterFallback(const QtRasterFallback&) = delete;
    QtRasterFallback& operator=(const QtRasterFallback&) = delete;
    ~QtRasterFallback() override
    {
        surface_.reset();
        painter_.reset();
    }

    // The QImage over the pixels and its painter are made the first time
    // they are needed, and Qt's GUI with them.
    DrawingSurface& Begin() override
    {
        if (!painter_) {
            EnsureGuiApplication();
            image_ = QImage(reinterpret_cast<uchar*>(pixels_), width_, height_,
                            static_cast<qsizetype>(width_) * 4, QImage::Format_RGB32);
            painter_.emplace(&image_);
        }
        return surface_.emplace(*painter_);
    }

    const TextCoverage* Coverage(const FontRequest& font, std::string_view text) override
    {
        return coverages_ ? coverages_->Find(font, text) : nullptr;
    }

    std::optional<TextExtent> Measure(const FontRequest& font, std::string_view text) override
    {
        return coverages_ ? coverages_->Measure(font, text) : std::nullopt;
    }

private:
    std::shared_ptr<TextCoverageCache> coverages_;
    std::uint32_t* pixels_;
    int width_;
    int height_;
    QImage image_;
    std::optional<QPainter> painter_;
    std::optional<QPainterSurface> surface_;
};

}  // namespace

QtRasterFallbackFactory::QtRasterFallbackFactory()
    : coverages_(std::make_shared<TextCoverageCache>(QtTextCoverage))
{
}

QtRasterFallbackFactory::~QtRasterFallbackFactory() = default;

std::unique_ptr<RasterFallback> QtRasterFallbackFactory::Create(std::uint32_t* pixels, int width,
                                                                int height)
{
    return std::make_unique<QtRasterFallback>(pixels, width, height, coverages_);
}

std::unique_ptr<RasterFallback> QtPainterOver(std::uint32_t* pixels, int width, int height)
{
    return std::make_unique<QtRasterFallback>(pixels, width, height, nullptr);
}

PictureCanvasFactory::PictureCanvasFactory()
    : RasterCanvasFactory(std::make_shared<QtRasterFallbackFactory>())
{
}

QImage ToQImage(const PixelRows& rows)
{
    if (!rows.first || rows.width <= 0 || rows.height <= 0) {
        return {};
    }
    QImage image(rows.width, rows.height, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < rows.height; ++y) {
        const std::uint32_t* from = rows.Row(y);
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < rows.width; ++x) {
            to[x] = 0xFF000000U | from[x];  // opaque, as Format_RGB32 promises
        }
    }
    return image;
}

}  // namespace kestrel
