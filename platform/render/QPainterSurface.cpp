#include "render/QPainterSurface.h"

#include "app/GuiApplication.h"
#include "render/DrawBarcode.h"
#include "render/RasterSurface.h"
#include "text/Cp932.h"

#include <QColor>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPen>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <utility>

namespace kestrel {

namespace {

using Wide = std::int64_t;

QColor ToQColor(Colour colour)
{
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

void InsertFaceSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // IPAGothic first: its half-width digits are half an em wide, as the
        // Japanese gothic is, and the JAN digit groups are laid out for
        // that. IPAPGothic's digits are a quarter wider and overfill the
        // groups' boxes at the default height.
        const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                 QStringLiteral("Noto Sans CJK JP")};
        QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"), gothic);
        QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);
    });
}

// The text split into characters, a surrogate pair being one.
QStringList Characters(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                         && text.at(i + 1).isLowSurrogate()
                                     ? 2
                                     : 1;
        out.append(text.mid(i, length));
        i += length - 1;
    }
    return out;
}

// Ascender and descender of the font's horizontal header, in font units;
// false when the font has none.
bool TypographicMetrics(const QRawFont& raw, int& ascender, int& descender)
{
    const QByteArray hhea = raw.fontTable("hhea");
    if (hhea.size() < 8) {
        return false;
    }
    const auto at = [&](int offset) {
        return static_cast<std::int16_t>((static_cast<unsigned char>(hhea[offset]) << 8)
                                         | static_cast<unsigned char>(hhea[offset + 1]));
    };
    ascender = at(4);
    descender = at(6);
    return ascender > 0 && descender <= 0;
}

// Qt draws glyphs taller than this (in device pixels) as outlines rather
// than from its glyph cache.
constexpr double LargestCachedGlyph = 64;

// Qt's FreeType engines share one FreeType face per font file, and each
// glyph Qt rasterises for its glyph cache leaves its subpixel offset set on
// that face. Large text is drawn from outlines loaded from the same face,
// shifted by whatever offset was left there: its edges shade differently
// depending on which smaller text of the same font (or fallback font) was
// last rasterised, so the first drawing in a process differs from later
// ones. Rasterising one glyph of each face the text uses, through a new
// engine (so from no cache), loads it at offset zero and clears the offset.
void ClearGlyphOffsets(const QFont& font, const QString& text, QPaintDevice* device)
{
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        QRawFont fresh = run.rawFont();
        if (fresh.isValid() && !run.glyphIndexes().isEmpty()) {
            fresh.setPixelSize(4);  // a new engine, and a small glyph to rasterise
            fresh.alphaMapForGlyph(run.glyphIndexes().first(), QRawFont::PixelAntialiasing);
        }
    }
}

}  // namespace

void PrepareFontsForThreads()
{
    EnsureGuiApplication();
    // Digits, a letter, "あ" and "ｱ" in code page 932, in both charsets the
    // drawing asks for (the text and the comments).
    static constexpr std::string_view Sample = "0A\x82\xA0\xB1";
    ImageSurface surface(16, 16);
    for (const FontCharset charset : {FontCharset::Ansi, FontCharset::ShiftJis}) {
        const SavedFont saved = surface.SelectFont({BarcodeFontFace, 16, charset, 400});
        surface.MeasureText(Sample);
        surface.DrawTextAt(0, 0, Sample);
        surface.RestoreFont(saved);
    }
}

QPainterSurface::QPainterSurface(QPainter& painter) : painter_(painter)
{
    fonts_.push_back(Select({{}, DefaultFontHeight, FontCharset::Ansi, 400}));
}

QPainterSurface::SelectedFont QPainterSurface::Select(const FontRequest& request) const
{
    const QFont font = FontFor(request);
    const QFontMetrics metrics(font, painter_.device());
    SelectedFont selected{font, metrics.ascent(), metrics.descent(), request};

    const QRawFont raw = QRawFont::fromFont(font);
    int ascender = 0;
    int descender = 0;
    if (raw.isValid() && raw.unitsPerEm() > 0 && TypographicMetrics(raw, ascender, descender)) {
        const double scale = raw.pixelSize() / raw.unitsPerEm();
        selected.ascent = qRound(ascender * scale);
        selected.descent = qRound(-descender * scale);
    }
    return selected;
}

QFont QPainterSurface::FontFor(const FontRequest& request)
{
    InsertFaceSubstitutions();
    QFont font;
    if (!request.faceName.empty()) {
        font.setFamily(Cp932ToQString(request.faceName));
    }
    font.setPixelSize(request.height > 0 ? std::min(request.height, LargestFontHeight)
                                         : DefaultFontHeight);
    // 0 asks for the normal weight, as it does elsewhere.
    font.setWeight(
        static_cast<QFont::Weight>(request.weight > 0 ? std::min(request.weight, 1000) : 400));
    return font;
}

BackgroundMode QPainterSurface::SetBackgroundMode(BackgroundMode mode)
{
    return std::exchange(mode_, mode);
}

Colour QPainterSurface::SetBackgroundColour(Colour colour)
{
    return std::exchange(background_, colour);
}

SurfaceRect QPainterSurface::ClipBox() const
{
    const QPaintDevice* device = painter_.device();
    if (!painter_.isActive() || device == nullptr) {
        return {};
    }
    QRect area(0, 0, device->width(), device->height());
    if (painter_.hasClipping()) {
        area &= painter_.clipBoundingRect().toAlignedRect();
    }
    if (area.isEmpty()) {
        return {};
    }
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

void QPainterSurface::Fill(Wide left, Wide top, Wide right, Wide bottom, Colour colour)
{
    const SurfaceRect clip = ClipBox();
    left = std::max<Wide>(left, clip.left);
    top = std::max<Wide>(top, clip.top);
    right = std::min<Wide>(right, clip.right);
    bottom = std::min<Wide>(bottom, clip.bottom);
    if (left < right && top < bottom) {
        painter_.fillRect(QRect(static_cast<int>(left), static_cast<int>(top),
                                static_cast<int>(right - left), static_cast<int>(bottom - top)),
                          ToQColor(colour));
    }
}

void QPainterSurface::FillSolidRect(const SurfaceRect& rect, Colour colour)
{
    Fill(rect.left, rect.top, rect.right, rect.bottom, colour);
}

SavedPen QPainterSurface::SelectPen(Colour colour)
{
    pens_.push_back(colour);
    return {static_cast<int>(pens_.size()) - 1};
}

void QPainterSurface::RestorePen(SavedPen saved)
{
    if (saved.depth >= 1 && saved.depth <= static_cast<int>(pens_.size())) {
        pens_.resize(static_cast<std::size_t>(saved.depth));
    }
}

void QPainterSurface::DrawLine(int x0, int y0, int x1, int y1)
{
    // The end point is left out, in either direction.
    const auto span = [](Wide from, Wide to) {
        return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1};
    };
    if (y0 == y1) {
        const auto [first, end] = span(x0, x1);
        Fill(first, y0, end, Wide{y0} + 1, pens_.back());
    } else if (x0 == x1) {
        const auto [first, end] = span(y0, y1);
        Fill(x0, first, Wide{x0} + 1, end, pens_.back());
    } else if (painter_.isActive()) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(QPen(ToQColor(pens_.back()), 0));
        painter_.drawLine(x0, y0, x1, y1);
        painter_.restore();
    }
}

SavedFont QPainterSurface::SelectFont(const FontRequest& font)
{
    fonts_.push_back(Select(font));
    return {static_cast<int>(fonts_.size()) - 1};
}

void QPainterSurface::RestoreFont(SavedFont saved)
{
    if (saved.depth >= 1 && saved.depth <= static_cast<int>(fonts_.size())) {
        fonts_.resize(static_cast<std::size_t>(saved.depth));
    }
}

int QPainterSurface::SetTextAlign(int align)
{
    return std::exchange(align_, align);
}

Colour QPainterSurface::SetTextColour(Colour colour)
{
    return std::exchange(textColour_, colour);
}

TextExtent QPainterSurface::MeasureText(std::string_view text)
{
    const SelectedFont& selected = fonts_.back();
    const QFontMetrics metrics(selected.font, painter_.device());
    return {metrics.horizontalAdvance(Cp932ToQString(text)), selected.ascent + selected.descent,
            selected.ascent};
}

std::optional<InkSpan> QPainterSurface::MeasureInk(std::string_view text)
{
    const TextExtent extent = MeasureText(text);
    // Half a cell on every side holds whatever overhangs the cell.
    const int margin = std::max(extent.height / 2, 1);
    ImageSurface alone(extent.width + 2 * margin, extent.height + 2 * margin);
    const QImage& image = alone.Image();
    if (image.isNull()) {
        return std::nullopt;
    }
    alone.SelectFont(fonts_.back().request);
    alone.DrawTextAt(margin, margin, text);
    const auto inked = [](QRgb pixel) { return 255 - qBlue(pixel) >= HalfInked; };
    // Each row is read from either end only as far as the ink found so far.
    int left = image.width();
    int right = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < left; ++x) {
            if (inked(row[x])) {
                left = x;
                break;
            }
        }
        for (int x = image.width() - 1; x >= right; --x) {
            if (inked(row[x])) {
                right = x + 1;
                break;
            }
        }
    }
    if (left >= right) {
        return std::nullopt;
    }
    return InkSpan{left - margin, right - margin};
}

void QPainterSurface::DrawTextAt(int x, int y, std::string_view text)
{
    DrawGlyphs(x, y, Cp932ToQString(text), std::nullopt, nullptr);
}

void QPainterSurface::DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                                    std::string_view text, std::optional<int> advance)
{
    if ((options & TextBoxOpaque) != 0) {
        FillSolidRect(box, background_);
    }
    DrawGlyphs(x, y, Cp932ToQString(text), advance,
               (options & TextBoxClipped) != 0 ? &box : nullptr);
}

void QPainterSurface::DrawGlyphs(Wide x, Wide y, const QString& text, std::optional<int> advance,
                                 const SurfaceRect* clip)
{
    if (!painter_.isActive() || text.isEmpty()) {
        return;
    }
    const SelectedFont& selected = fonts_.back();
    const QFontMetrics metrics(selected.font, painter_.device());
    const QStringList characters = Characters(text);
    const Wide width = advance ? Wide{*advance} * characters.size()
                               : Wide{metrics.horizontalAdvance(text)};
    const Wide cell = Wide{selected.ascent} + selected.descent;
    const Wide left = align_ == AlignCentreTop ? x - width / 2 : x;

    // Text wholly off the surface is skipped, which also keeps far-away
    // coordinates out of Qt's integer arithmetic.
    SurfaceRect visible = ClipBox();
    if (clip != nullptr) {
        visible = {std::max(visible.left, clip->left), std::max(visible.top, clip->top),
                   std::min(visible.right, clip->right), std::min(visible.bottom, clip->bottom)};
    }
    const Wide margin = cell;  // room for overhanging glyphs
    if (visible.IsEmpty() || left - margin >= visible.right
        || left + std::max<Wide>(width, 0) + margin <= visible.left || y >= visible.bottom
        || y + cell <= visible.top) {
        return;
    }

    painter_.save();
    if (clip != nullptr) {
        painter_.setClipRect(QRect(visible.left, visible.top, visible.right - visible.left,
                                   visible.bottom - visible.top),
                             Qt::IntersectClip);
    }
    if (mode_ == BackgroundMode::Opaque) {
        Fill(left, y, left + width, y + cell, background_);
    }
    const double scale = std::sqrt(std::abs(painter_.combinedTransform().determinant()));
    if (selected.font.pixelSize() * scale > LargestCachedGlyph) {
        ClearGlyphOffsets(selected.font, text, painter_.device());
    }
    painter_.setFont(selected.font);
    painter_.setPen(ToQColor(textColour_));
    const Wide baseline = y + selected.ascent;
    if (advance) {
        Wide at = left;
        for (const QString& character : characters) {
            painter_.drawText(QPointF(static_cast<double>(at), static_cast<double>(baseline)),
                              character);
            at += *advance;
        }
    } else {
        painter_.drawText(QPointF(static_cast<double>(left), static_cast<double>(baseline)), text);
    }
    painter_.restore();
}

namespace detail {

ImageTarget::ImageTarget(int width, int height)
{
    const bool fits = width > 0 && height > 0 && width <= ImageSurface::MaxSide
                      && height <= ImageSurface::MaxSide
                      && Wide{width} * height <= ImageSurface::MaxPixels;
    if (fits) {
        image = QImage(width, height, QImage::Format_RGB32);
    }
    if (!image.isNull()) {
        image.fill(Qt::white);
        painter.begin(&image);
    }
}

}  // namespace detail

ImageSurface::ImageSurface(int width, int height)
    : detail::ImageTarget(width, height), QPainterSurface(painter)
{
}

RgbPicture ImageSurface::Picture() const
{
    return ToRgbPicture(image);
}

RgbPicture ToRgbPicture(const QImage& image)
{
    RgbPicture picture;
    if (image.isNull()) {
        return picture;
    }
    // No copy when the image is 32-bit already, as every canvas is.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    picture.width = rgb.width();
    picture.height = rgb.height();
    const auto width = static_cast<std::size_t>(picture.width);
    picture.pixels.reserve(width * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), row, row + width);
        ClearTopBytes(picture.pixels.data() + picture.pixels.size() - width, width);
    }
    return picture;
}

}  // namespace kestrel
