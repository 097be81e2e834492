#include "PictureFile.h"

#include "bitmap/Dib.h"
#include "document/BarCodeDoc.h"
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
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <vector>

namespace kestrel::cli {

namespace {

constexpr Colour White = 0xFFFFFF;
// An indexed PNG holds at most this many colours.
constexpr std::size_t MaxPaletteColours = 256;
// At 72 dots per inch one picture unit is one PDF point.
constexpr int PdfDotsPerInch = 72;

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

// The picture in the fewest bits that hold it exactly: a barcode of two
// colours (no text) becomes a 1-bit PNG, one with antialiased text an
// 8-bit indexed one when it can.
QImage Compact(const RgbPicture& picture)
{
    std::vector<QRgb> palette;
    for (const std::uint32_t pixel : picture.pixels) {
        const QRgb colour = qRgb(static_cast<int>((pixel >> 16) & 0xFFU),
                                 static_cast<int>((pixel >> 8) & 0xFFU),
                                 static_cast<int>(pixel & 0xFFU));
        if (std::find(palette.begin(), palette.end(), colour) == palette.end()) {
            palette.push_back(colour);
            if (palette.size() > MaxPaletteColours) {
                break;
            }
        }
    }
    const bool indexed = palette.size() <= MaxPaletteColours;
    const QImage::Format format = !indexed               ? QImage::Format_RGB32
                                  : palette.size() <= 2 ? QImage::Format_Mono
                                                         : QImage::Format_Indexed8;
    QImage image(picture.width, picture.height, format);
    if (image.isNull()) {
        return image;
    }
    if (indexed) {
        image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    }
    // Rows are filled directly: QImage::setPixel on every pixel cost more
    // than the PNG coding itself. Neighbours mostly share a colour, so its
    // index is looked up again only where the colour changes.
    QRgb lastColour = 0;
    uint lastIndex = static_cast<uint>(palette.size());
    for (int y = 0; y < picture.height; ++y) {
        uchar* const row = image.scanLine(y);
        if (format == QImage::Format_Mono) {
            std::fill(row, row + image.bytesPerLine(), uchar{0});
        }
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.at(x, y);
            const QRgb colour = qRgb(static_cast<int>((pixel >> 16) & 0xFFU),
                                     static_cast<int>((pixel >> 8) & 0xFFU),
                                     static_cast<int>(pixel & 0xFFU));
            if (!indexed) {
                reinterpret_cast<QRgb*>(row)[x] = colour;
                continue;
            }
            if (lastIndex == palette.size() || colour != lastColour) {
                lastColour = colour;
                lastIndex = static_cast<uint>(
                    std::find(palette.begin(), palette.end(), colour) - palette.begin());
            }
            if (format == QImage::Format_Indexed8) {
                row[x] = static_cast<uchar>(lastIndex);
            } else if (lastIndex != 0) {
                row[x >> 3] |= static_cast<uchar>(0x80U >> (x & 7));  // most significant bit first
            }
        }
    }
    return image;
}

// Draws the barcode with a painter over `device`, one picture unit one
// device unit. The document's background is the first rectangle drawn.
bool PaintVector(const CBarCodeDoc& doc, const Profile& profile, QPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    QPainterSurface surface(painter);
    DrawBarcode(doc, profile, surface);
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

bool WriteSvg(const CBarCodeDoc& doc, const Profile& profile, QSaveFile& file)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(doc.Width, doc.Height));
    generator.setViewBox(QRect(0, 0, doc.Width, doc.Height));
    generator.setTitle(QStringLiteral("Barcode"));
    if (!PaintVector(doc, profile, generator)) {
        return false;
    }
    const QByteArray svg =
        WithMappedFontFamily(WithSizeInUserUnits(buffer.data(), doc.Width, doc.Height));
    return !svg.isEmpty() && file.write(svg) == svg.size();
}

bool WritePdf(const CBarCodeDoc& doc, const Profile& profile, QSaveFile& file)
{
    QPdfWriter writer(&file);
    writer.setResolution(PdfDotsPerInch);
    writer.setCreator(QStringLiteral("kestrel-cli"));
    // An exact match keeps a page that happens to be near a paper size
    // from growing to it.
    const QPageSize page(QSizeF(doc.Width, doc.Height), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    if (!writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(),
                                          QPageLayout::Point))) {
        return false;
    }
    if (writer.width() != doc.Width || writer.height() != doc.Height) {
        return false;
    }
    return PaintVector(doc, profile, writer);
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

int SavePictureFile(const CBarCodeDoc& doc, const Profile& profile,
                    OffscreenCanvasFactory& canvases, const std::string& fileName,
                    PictureFormat format, const std::optional<BmpDepth>& depth,
                    SaveProblem* problem)
{
    if (format == PictureFormat::Bmp && depth) {
        const std::uint32_t compression = !depth->runLength   ? BI_RGB
                                          : depth->bitCount == 4 ? BI_RLE4
                                                                 : BI_RLE8;
        return SaveBitmapAs(doc, profile, canvases, fileName, depth->bitCount, compression,
                            problem);
    }
    if (format == PictureFormat::Bmp) {
        return SaveBitmap(doc, profile, canvases, fileName, problem);
    }
    if (problem) {
        *problem = SaveProblem::None;
    }
    if (doc.CodeText.empty()) {
        return Fail(SaveProblem::NothingToSave, problem);
    }
    if (doc.Width <= 0 || doc.Height <= 0) {
        return Fail(SaveProblem::NoPicture, problem);
    }
    // QSaveFile writes beside the target and renames only on commit; a
    // failure before that removes what it wrote.
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly)) {
        return Fail(SaveProblem::NotWritten, problem);
    }
    bool drawn = false;
    switch (format) {
    case PictureFormat::Png: {
        const QImage image = Compact(DrawPicture(doc, profile, canvases));
        if (image.isNull()) {
            file.cancelWriting();
            return Fail(SaveProblem::NoPicture, problem);
        }
        drawn = image.save(&file, "PNG");
        break;
    }
    case PictureFormat::Svg: drawn = WriteSvg(doc, profile, file); break;
    case PictureFormat::Pdf: drawn = WritePdf(doc, profile, file); break;
    case PictureFormat::Bmp: break;
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return Fail(SaveProblem::NotWritten, problem);
    }
    return file.commit() ? 1 : Fail(SaveProblem::NotWritten, problem);
}

RgbPicture ReadPictureFile(const std::string& fileName)
{
    return ToRgbPicture(QImage(QString::fromStdString(fileName)));
}

RgbPicture DrawPicture(const CBarCodeDoc& doc, const Profile& profile,
                       OffscreenCanvasFactory& canvases)
{
    const std::unique_ptr<OffscreenCanvas> canvas = canvases.Create(doc.Width, doc.Height);
    if (!canvas || !canvas->IsValid()) {
        return {};
    }
    DrawingSurface& surface = canvas->Surface();
    surface.FillSolidRect(surface.ClipBox(), White);
    DrawBarcode(doc, profile, surface);
    return canvas->Picture();
}

}  // namespace kestrel::cli
