#include "export/QtPictureExports.h"

#include "app/GuiApplication.h"
#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"

#include <QBuffer>
#include <QFontInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

namespace kestrel {

namespace {

// At 72 dots per inch one picture unit is one PDF point.
constexpr int PdfDotsPerInch = 72;

std::vector<std::uint8_t> ToBytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            reinterpret_cast<const std::uint8_t*>(bytes.constData()) + bytes.size()};
}

QRgb ToQRgb(std::uint32_t pixel)
{
    return 0xFF000000U | (pixel & 0xFFFFFFU);
}

// Draws the barcode with a painter over `device`, one picture unit one
// device unit. The document's background is the first rectangle drawn.
bool PaintVector(const Drawing& drawing, QPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    QPainterSurface surface(painter);
    DrawBarcode(drawing, surface);
    return painter.end();
}

// The generator gives the page's size in millimetres, rounded, which
// rasterisers turn into a pixel more or less than the picture has (260
// units came out 261 pixels wide). Plain user units keep one unit one pixel.
QByteArray WithSizeInUserUnits(const QByteArray& svg, int width, int height)
{
    static const QRegularExpression size(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\""));
    QString text = QString::fromUtf8(svg);
    const QRegularExpressionMatch found = size.match(text);
    if (!found.hasMatch()) {
        return {};
    }
    text.replace(found.capturedStart(), found.capturedLength(),
                 QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(width).arg(height));
    return text.toUtf8();
}

// The generator names a font by the face asked for, which a viewer without
// it replaces by any sans serif of other widths; the file names the family
// the picture was laid out in instead.
QByteArray WithMappedFontFamily(QByteArray svg)
{
    FontRequest request;
    request.faceName = BarcodeFontFace;
    const QFont asked = QPainterSurface::FontFor(request);
    const QString mapped = QFontInfo(asked).family();
    if (!mapped.isEmpty() && mapped != asked.family()) {
        svg.replace("font-family=\"" + asked.family().toHtmlEscaped().toUtf8() + '"',
                    "font-family=\"" + mapped.toHtmlEscaped().toUtf8() + '"');
    }
    return svg;
}

bool WriteSvg(const Drawing& drawing, QIODevice& file)
{
    const int width = drawing.symbol.width;
    const int height = drawing.symbol.height;
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(QStringLiteral("Barcode"));
    if (!PaintVector(drawing, generator)) {
        return false;
    }
    const QByteArray svg = WithMappedFontFamily(WithSizeInUserUnits(buffer.data(), width, height));
    return !svg.isEmpty() && file.write(svg) == svg.size();
}

bool WritePdf(const Drawing& drawing, QIODevice& file)
{
    const int width = drawing.symbol.width;
    const int height = drawing.symbol.height;
    QPdfWriter writer(&file);
    writer.setResolution(PdfDotsPerInch);
    writer.setCreator(QStringLiteral("kestrel-cli"));
    // An exact match keeps a page that happens to be near a paper size
    // from growing to it.
    const QPageSize page(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!writer.setPageLayout(
            QPageLayout(page, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point))) {
        return false;
    }
    if (writer.width() != width || writer.height() != height) {
        return false;
    }
    return PaintVector(drawing, writer);
}

// SVG and PDF are made in memory and written whole, as the raster formats are.
PictureWriter VectorWriter(bool (*write)(const Drawing&, QIODevice&))
{
    return [write](const PictureRequest& request, OffscreenCanvasFactory&,
                   const std::string& fileName, SaveProblem& problem) {
        EnsureGuiApplication();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const bool drawn = write(request.drawing, buffer);
        buffer.close();
        if (!drawn || bytes.isEmpty()) {
            problem = SaveProblem::NotWritten;
            return 0;
        }
        return WritePictureBytes(fileName, ToBytes(bytes), problem);
    };
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeTrueColourPng(const PixelRows& picture)
{
    EnsureGuiApplication();
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull()) {
        return std::nullopt;
    }
    const auto width = static_cast<std::size_t>(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* pixels = picture.Row(y);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::size_t x = 0; x < width; ++x) {
            row[x] = ToQRgb(pixels[x]);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return ToBytes(bytes);
}

ExportRegistry StandardExports()
{
    ExportRegistry registry;
    AddRasterExports(registry, EncodeTrueColourPng);
    registry.Add(PictureFormat::Svg, VectorWriter(WriteSvg));
    registry.Add(PictureFormat::Pdf, VectorWriter(WritePdf));
    return registry;
}

RgbPicture ReadPictureFile(const std::string& fileName)
{
    EnsureGuiApplication();
    return ToRgbPicture(QImage(QString::fromStdString(fileName)));
}

}  // namespace kestrel
