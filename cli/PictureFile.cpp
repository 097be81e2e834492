#include "PictureFile.h"

#include "PngFile.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Dib.h"
#include "render/DrawBarcode.h"
#include "render/DrawingSurface.h"
#include "render/OffscreenCanvas.h"
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

#include <algorithm>
#include <array>
#include <span>
#include <cctype>
#include <cstring>
#include <vector>

namespace kestrel::cli {

namespace {

constexpr Colour White = 0xFFFFFF;
// At 72 dots per inch one picture unit is one PDF point.
constexpr int PdfDotsPerInch = 72;

// A canvas with the barcode drawn, none when the picture cannot be made.
std::unique_ptr<OffscreenCanvas> DrawOnCanvas(const Drawing& drawing,
                                              OffscreenCanvasFactory& canvases)
{
    std::unique_ptr<OffscreenCanvas> canvas =
        canvases.Create(drawing.symbol.width, drawing.symbol.height);
    if (!canvas || !canvas->IsValid()) {
        return nullptr;
    }
    DrawingSurface& surface = canvas->Surface();
    // A barcode's drawing begins by filling the whole picture in its
    // background colour; white is seen only when there is nothing to draw.
    if (drawing.symbol.text.empty()) {
        surface.FillSolidRect(surface.ClipBox(), White);
    }
    DrawBarcode(drawing, surface);
    return canvas;
}

int Fail(SaveProblem reason, SaveProblem* problem)
{
    if (problem) {
        *problem = reason;
    }
    return 0;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

QRgb ToQRgb(std::uint32_t pixel)
{
    return 0xFF000000U | (pixel & 0xFFFFFFU);
}

// More colours than a palette holds: 24-bit truecolour through Qt's writer.
bool WriteTrueColourPng(const PixelRows& picture, QIODevice& file)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    const auto width = static_cast<std::size_t>(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* pixels = picture.Row(y);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::size_t x = 0; x < width; ++x) {
            row[x] = ToQRgb(pixels[x]);
        }
    }
    return image.save(&file, "PNG");
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
QByteArray WithSizeInUserUnits(QByteArray svg, int width, int height)
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
    const QByteArray svg =
        WithMappedFontFamily(WithSizeInUserUnits(buffer.data(), width, height));
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
    const QPageSize page(QSizeF(width, height), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    if (!writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(),
                                          QPageLayout::Point))) {
        return false;
    }
    if (writer.width() != width || writer.height() != height) {
        return false;
    }
    return PaintVector(drawing, writer);
}

}  // namespace

std::optional<PictureFormat> FormatFromKey(std::string_view key)
{
    const std::string lower = Lower(key);
    if (lower == "bmp") return PictureFormat::Bmp;
    if (lower == "png") return PictureFormat::Png;
    if (lower == "svg") return PictureFormat::Svg;
    if (lower == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

std::optional<PictureFormat> FormatFromFileName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    return FormatFromKey(fileName.substr(dot + 1));
}

int SavePictureFile(const Drawing& drawing, int bitmapChoice, OffscreenCanvasFactory& canvases,
                    const std::string& fileName, PictureFormat format,
                    const std::optional<BmpDepth>& depth, SaveProblem* problem)
{
    if (format == PictureFormat::Bmp && depth) {
        const std::uint32_t compression = !depth->runLength   ? BI_RGB
                                          : depth->bitCount == 4 ? BI_RLE4
                                                                 : BI_RLE8;
        return SaveBitmapAs(drawing, canvases, fileName, depth->bitCount, compression, problem);
    }
    if (format == PictureFormat::Bmp) {
        return SaveBitmap(drawing, bitmapChoice, canvases, fileName, problem);
    }
    if (problem) {
        *problem = SaveProblem::None;
    }
    if (drawing.symbol.text.empty()) {
        return Fail(SaveProblem::NothingToSave, problem);
    }
    if (drawing.symbol.width <= 0 || drawing.symbol.height <= 0) {
        return Fail(SaveProblem::NoPicture, problem);
    }
    // The file is made in memory and written whole, beside the target and
    // renamed over it, as BMP files are: a failure leaves no partial file,
    // and only a file that replaces another waits for the disk.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    switch (format) {
    case PictureFormat::Png: {
        // Straight from the canvas's rows where it lends them.
        const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(drawing, canvases);
        RgbPicture copy;
        PixelRows rows = canvas ? canvas->Rows() : PixelRows{};
        if (canvas && !rows.first) {
            copy = canvas->Picture();
            rows = RowsOf(copy);
        }
        if (!rows.first || rows.width <= 0 || rows.height <= 0) {
            return Fail(SaveProblem::NoPicture, problem);
        }
        if (const std::optional<QByteArray> png = EncodeIndexedPng(rows)) {
            drawn = !png->isEmpty() && buffer.write(*png) == png->size();
        } else {
            drawn = WriteTrueColourPng(rows, buffer);
        }
        break;
    }
    case PictureFormat::Svg: drawn = WriteSvg(drawing, buffer); break;
    case PictureFormat::Pdf: drawn = WritePdf(drawing, buffer); break;
    case PictureFormat::Bmp: break;
    }
    buffer.close();
    if (!drawn || bytes.isEmpty()) {
        return Fail(SaveProblem::NotWritten, problem);
    }
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    return WriteWholeFile(fileName, {data}) == 1 ? 1 : Fail(SaveProblem::NotWritten, problem);
}

RgbPicture ReadPictureFile(const std::string& fileName)
{
    return ToRgbPicture(QImage(QString::fromStdString(fileName)));
}

RgbPicture DrawPicture(const Drawing& drawing, OffscreenCanvasFactory& canvases)
{
    const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(drawing, canvases);
    return canvas ? canvas->Picture() : RgbPicture{};
}

}  // namespace kestrel::cli
