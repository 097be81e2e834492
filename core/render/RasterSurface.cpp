#include "render/RasterSurface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kestrel {

namespace {

using Wide = std::int64_t;

constexpr std::uint32_t White = 0x00FFFFFFU;
constexpr std::uint32_t NotWritten = 0;  // the row number of untouched white rows
// The font a surface starts with: the fallback's default size.
const FontRequest DefaultFont{{}, 0, FontCharset::Ansi, 400};

// x × a / 255 for each channel, rounded as the fallback rounds it.
std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xFF00FFU) * a;
    t = ((t + ((t >> 8) & 0xFF00FFU) + 0x800080U) >> 8) & 0xFF00FFU;
    std::uint32_t u = ((x >> 8) & 0xFF00FFU) * a;
    u = (u + ((u >> 8) & 0xFF00FFU) + 0x800080U) & 0xFF00FF00U;
    return u | t;
}

// An opaque colour over a pixel at coverage a (0 < a < 255), as the
// fallback blends glyph coverage: the colour's share and the pixel's each
// rounded on its own.
std::uint32_t BlendCoverage(std::uint32_t colour, std::uint32_t a, std::uint32_t pixel)
{
    return (ByteMul(colour, a) + ByteMul(pixel, 255 - a)) & White;
}


}  // namespace

bool SingleByteCharacters(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF);
    });
}

TextCoverage TrimToInk(const TextCoverage& all)
{
    int left = all.width;
    int right = 0;
    int top = all.height;
    int bottom = 0;
    for (int y = 0; y < all.height; ++y) {
        for (int x = 0; x < all.width; ++x) {
            if (all.alpha[static_cast<std::size_t>(y) * all.width + x] != 0) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    TextCoverage ink;
    if (left >= right) {
        return ink;
    }
    ink = {all.left + left, all.top + top, right - left, bottom - top, {}};
    for (int y = top; y < bottom; ++y) {
        const auto* row = all.alpha.data() + static_cast<std::size_t>(y) * all.width;
        ink.alpha.insert(ink.alpha.end(), row + left, row + right);
    }
    return ink;
}

RasterSurface::RasterSurface(int width, int height, RasterFallbackFactory* fallback)
{
    const bool fits = width > 0 && height > 0 && width <= MaxSide && height <= MaxSide
                      && Wide{width} * height <= MaxPixels;
    if (!fits) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    rowIds_.assign(static_cast<std::size_t>(height), NotWritten);
    sameAsAbove_.assign(static_cast<std::size_t>(height), 0);
    tally_.Add(White, static_cast<std::uint64_t>(pixels_.size()));
    if (fallback != nullptr) {
        fallback_ = fallback->Create(pixels_.data(), width, height);
    }
    fonts_.assign(1, DefaultFont);
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::Restart()
{
    if (!IsValid()) {
        return;
    }
    std::fill(rowIds_.begin(), rowIds_.end(), NotWritten);
    std::fill(sameAsAbove_.begin(), sameAsAbove_.end(), 0);
    nextId_ = 1;
    tally_.Clear();
    tally_.Add(White, static_cast<std::uint64_t>(pixels_.size()));
    pens_.assign(1, 0);
    fonts_.assign(1, DefaultFont);
    fallbackSurface_ = nullptr;
    mode_ = BackgroundMode::Transparent;
    background_ = 0xFFFFFF;
    textColour_ = 0;
    align_ = AlignLeftTop;
}

void RasterSurface::Own(Wide y)
{
    auto at = static_cast<std::size_t>(y);
    if (sameAsAbove_[at] == 0) {
        return;
    }
    std::size_t source = at - 1;
    while (sameAsAbove_[source] != 0) {
        --source;  // the top row always holds its pixels
    }
    std::memcpy(Row(static_cast<int>(y)), Row(static_cast<int>(source)),
                static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
    sameAsAbove_[at] = 0;
}

void RasterSurface::Materialise(Wide top, Wide bottom)
{
    top = std::max<Wide>(top, 0);
    bottom = std::min<Wide>(bottom, height_);
    if (top >= bottom) {
        return;
    }
    if (bottom < height_) {
        Own(bottom);  // the rows below lean on these no more
    }
    Own(top);
    // All white alike: one number for every row written here.
    const std::uint32_t white = nextId_;
    const auto rowBytes = static_cast<std::size_t>(width_) * sizeof(std::uint32_t);
    for (Wide y = top; y < bottom; ++y) {
        const auto at = static_cast<std::size_t>(y);
        if (rowIds_[at] == NotWritten) {
            std::uint32_t* row = Row(static_cast<int>(y));
            std::fill(row, row + width_, White);
            rowIds_[at] = white;
            nextId_ = white + 1;
        } else if (sameAsAbove_[at] != 0) {
            std::memcpy(Row(static_cast<int>(y)), Row(static_cast<int>(y) - 1), rowBytes);
            sameAsAbove_[at] = 0;
        }
    }
}

PixelRows RasterSurface::Rows()
{
    if (!IsValid()) {
        return {};
    }
    Materialise(0, height_);
    return {width_, height_, reinterpret_cast<const std::uint8_t*>(pixels_.data()),
            static_cast<std::size_t>(width_) * sizeof(std::uint32_t)};
}

RgbPicture RasterSurface::Picture()
{
    if (!IsValid()) {
        return {};
    }
    Materialise(0, height_);
    return {width_, height_, pixels_};
}

BackgroundMode RasterSurface::SetBackgroundMode(BackgroundMode mode)
{
    if (fallbackSurface_ != nullptr) {
        fallbackSurface_->SetBackgroundMode(mode);
    }
    return std::exchange(mode_, mode);
}

Colour RasterSurface::SetBackgroundColour(Colour colour)
{
    if (fallbackSurface_ != nullptr) {
        fallbackSurface_->SetBackgroundColour(colour);
    }
    return std::exchange(background_, colour);
}

SurfaceRect RasterSurface::ClipBox() const
{
    return {0, 0, width_, height_};
}

void RasterSurface::FillSolidRect(const SurfaceRect& rect, Colour colour)
{
    Fill(rect.left, rect.top, rect.right, rect.bottom, PixelOf(colour));
}

void RasterSurface::Fill(Wide left, Wide top, Wide right, Wide bottom, std::uint32_t rgb)
{
    left = std::max<Wide>(left, 0);
    top = std::max<Wide>(top, 0);
    right = std::min<Wide>(right, width_);
    bottom = std::min<Wide>(bottom, height_);
    if (left >= right || top >= bottom) {
        return;
    }
    const auto from = static_cast<std::size_t>(left);
    const auto span = static_cast<std::size_t>(right - left);
    const auto width = static_cast<std::size_t>(width_);

    // Rows equal before the fill are equal after it: the first of each kind
    // is filled and counted, the others copied from it, or, below a row of
    // their kind, left to stand for copies of the row above until read.
    if (bottom < height_) {
        Own(bottom);  // the rows below lean on these no more
    }
    groups_.clear();
    removed_.clear();
    std::uint32_t* const ids = rowIds_.data();
    std::uint8_t* const copies = sameAsAbove_.data();
    for (Wide y = top; y < bottom;) {
        const auto at = static_cast<std::size_t>(y);
        const std::uint32_t id = ids[at];
        std::uint32_t* row = Row(static_cast<int>(y));
        auto group = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const RowGroup& g) { return g.oldId == id; });
        if (group != groups_.end()) {
            if (id == NotWritten) {
                std::memcpy(row, Row(group->representative), width * sizeof *row);
            } else {
                std::fill_n(row + from, span, rgb);  // bars are a few pixels wide
            }
        } else {
            Own(y);  // only the top row of the fill may stand for the row above
            const std::size_t firstRemoved = removed_.size();
            if (id == NotWritten) {
                std::fill(row, row + width, White);
                removed_.push_back({White, span});
            } else {
                for (std::size_t x = from; x < from + span;) {
                    const std::uint32_t old = row[x];
                    std::size_t end = x + 1;
                    while (end < from + span && row[end] == old) {
                        ++end;
                    }
                    removed_.push_back({old, end - x});
                    x = end;
                }
            }
            std::fill(row + from, row + from + span, rgb);
            group = groups_.insert(groups_.end(), {id, nextId_++, static_cast<int>(y), 0,
                                                   firstRemoved, removed_.size() - firstRemoved});
        }
        ids[at] = group->newId;
        // The rows below it of its kind, as they mostly are, stand for
        // copies of it: nothing of them is written until they are read.
        std::size_t next = at + 1;
        while (next < static_cast<std::size_t>(bottom) && ids[next] == id) {
            ids[next] = group->newId;
            copies[next] = 1;
            ++next;
        }
        group->rows += next - at;
        y = static_cast<Wide>(next);
    }
    for (const RowGroup& group : groups_) {
        for (std::size_t i = 0; i < group.removedCount; ++i) {
            const PixelCount& old = removed_[group.firstRemoved + i];
            tally_.Remove(old.rgb, old.count * group.rows);
        }
        tally_.Add(rgb, span * group.rows);
    }
}

SavedPen RasterSurface::SelectPen(Colour colour)
{
    pens_.push_back(colour);
    return {static_cast<int>(pens_.size()) - 1};
}

void RasterSurface::RestorePen(SavedPen saved)
{
    if (saved.depth >= 1 && saved.depth <= static_cast<int>(pens_.size())) {
        pens_.resize(static_cast<std::size_t>(saved.depth));
    }
}

void RasterSurface::DrawLine(int x0, int y0, int x1, int y1)
{
    // The end point is left out, in either direction.
    const auto span = [](Wide from, Wide to) {
        return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1};
    };
    if (y0 == y1) {
        const auto [first, end] = span(x0, x1);
        Fill(first, y0, end, Wide{y0} + 1, PixelOf(pens_.back()));
    } else if (x0 == x1) {
        const auto [first, end] = span(y0, y1);
        Fill(x0, first, Wide{x0} + 1, end, PixelOf(pens_.back()));
    } else if (Fallback() != nullptr) {
        const SavedPen pen = fallbackSurface_->SelectPen(pens_.back());
        ThroughFallback(std::min(x0, x1), std::min(y0, y1), Wide{std::max(x0, x1)} + 1,
                        Wide{std::max(y0, y1)} + 1,
                        [&](DrawingSurface& surface) { surface.DrawLine(x0, y0, x1, y1); });
        fallbackSurface_->RestorePen(pen);
    }
}

DrawingSurface* RasterSurface::Fallback()
{
    if (fallbackSurface_ == nullptr && fallback_) {
        // Begun only when needed, in the state the drawing has set so far.
        fallbackSurface_ = &fallback_->Begin();
        fallbackSurface_->SetBackgroundMode(mode_);
        fallbackSurface_->SetBackgroundColour(background_);
        fallbackSurface_->SetTextColour(textColour_);
        fallbackSurface_->SetTextAlign(align_);
        for (std::size_t i = 1; i < fonts_.size(); ++i) {
            fallbackSurface_->SelectFont(fonts_[i]);
        }
    }
    return fallbackSurface_;
}

template <class Draw>
void RasterSurface::ThroughFallback(Wide left, Wide top, Wide right, Wide bottom, Draw&& draw)
{
    left = std::max<Wide>(left, 0);
    top = std::max<Wide>(top, 0);
    right = std::min<Wide>(right, width_);
    bottom = std::min<Wide>(bottom, height_);
    if (left >= right || top >= bottom) {
        return;
    }
    Materialise(top, bottom);
    const auto from = static_cast<std::size_t>(left);
    const auto span = static_cast<std::size_t>(right - left);
    const auto rows = static_cast<std::size_t>(bottom - top);
    before_.resize(rows * span);
    for (std::size_t i = 0; i < rows; ++i) {
        const std::uint32_t* row = Row(static_cast<int>(top) + static_cast<int>(i)) + from;
        std::copy(row, row + span, before_.begin() + static_cast<std::ptrdiff_t>(i * span));
    }
    draw(*fallbackSurface_);
    for (std::size_t i = 0; i < rows; ++i) {
        std::uint32_t* row = Row(static_cast<int>(top) + static_cast<int>(i)) + from;
        const std::uint32_t* old = before_.data() + i * span;
        ClearTopBytes(row, span);
        // Only the pixels from the first to the last that changed are
        // counted again.
        std::size_t first = 0;
        while (first < span && row[first] == old[first]) {
            ++first;
        }
        if (first == span) {
            continue;
        }
        std::size_t end = span;
        while (row[end - 1] == old[end - 1]) {
            --end;
        }
        tally_.AddRow(old + first, end - first, -1);
        tally_.AddRow(row + first, end - first, 1);
        rowIds_[static_cast<std::size_t>(top) + i] = nextId_++;
    }
}

SavedFont RasterSurface::SelectFont(const FontRequest& font)
{
    if (!fallback_) {
        return {};
    }
    fonts_.push_back(font);
    if (fallbackSurface_ != nullptr) {
        fallbackSurface_->SelectFont(font);
    }
    return {static_cast<int>(fonts_.size()) - 1};
}

void RasterSurface::RestoreFont(SavedFont saved)
{
    if (saved.depth >= 1 && saved.depth <= static_cast<int>(fonts_.size())) {
        fonts_.resize(static_cast<std::size_t>(saved.depth));
        if (fallbackSurface_ != nullptr) {
            fallbackSurface_->RestoreFont(saved);
        }
    }
}

int RasterSurface::SetTextAlign(int align)
{
    if (fallbackSurface_ != nullptr) {
        fallbackSurface_->SetTextAlign(align);
    }
    return std::exchange(align_, align);
}

Colour RasterSurface::SetTextColour(Colour colour)
{
    if (fallbackSurface_ != nullptr) {
        fallbackSurface_->SetTextColour(colour);
    }
    return std::exchange(textColour_, colour);
}

TextExtent RasterSurface::MeasureText(std::string_view text)
{
    if (!fallback_) {
        return {};
    }
    if (const std::optional<TextExtent> extent = fallback_->Measure(fonts_.back(), text)) {
        return *extent;
    }
    return Fallback()->MeasureText(text);
}

std::optional<InkSpan> RasterSurface::MeasureInk(std::string_view text)
{
    if (!fallback_ || text.empty()) {
        return std::nullopt;
    }
    if (const TextCoverage* coverage = fallback_->Coverage(fonts_.back(), text)) {
        return HalfInkedColumns(*coverage);
    }
    return Fallback()->MeasureInk(text);
}

std::optional<InkSpan> HalfInkedColumns(const TextCoverage& coverage)
{
    std::optional<InkSpan> ink;
    const auto width = static_cast<std::size_t>(std::max(coverage.width, 0));
    for (std::size_t i = 0; i < coverage.alpha.size() && width > 0; ++i) {
        if (coverage.alpha[i] >= HalfInked) {
            const int column = coverage.left + static_cast<int>(i % width);
            ink = ink ? InkSpan{std::min(ink->left, column), std::max(ink->right, column + 1)}
                      : InkSpan{column, column + 1};
        }
    }
    return ink;
}

SurfaceRect RasterSurface::TextArea(int x, int y, std::string_view text, std::optional<int> advance)
{
    // The text's cell and a cell's height more on every side, for glyphs
    // that overhang it.
    const TextExtent extent = MeasureText(text);
    const Wide cell = std::max(extent.height, 1);
    const Wide width = advance ? Wide{*advance} * static_cast<Wide>(text.size()) : extent.width;
    const Wide left = align_ == AlignCentreTop ? x - width / 2 : x;
    const auto clamp = [](Wide value) {
        return static_cast<int>(std::clamp<Wide>(value, -MaxSide - 1, 2 * Wide{MaxSide} + 1));
    };
    return {clamp(left - cell), clamp(y - cell), clamp(left + std::abs(width) + cell),
            clamp(Wide{y} + 2 * cell)};
}

void RasterSurface::DrawTextAt(int x, int y, std::string_view text)
{
    if (!fallback_ || text.empty() || DrawCovered(x, y, nullptr, text, std::nullopt, 0, {})
        || Fallback() == nullptr) {
        return;
    }
    const SurfaceRect area = TextArea(x, y, text, std::nullopt);
    ThroughFallback(area.left, area.top, area.right, area.bottom,
                    [&](DrawingSurface& fallback) { fallback.DrawTextAt(x, y, text); });
}

void RasterSurface::DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                                  std::string_view text, std::optional<int> advance)
{
    if (!fallback_) {
        return;
    }
    const bool clipped = (options & TextBoxClipped) != 0;
    if (DrawCovered(x, y, clipped ? &box : nullptr, text, advance, options, box)
        || Fallback() == nullptr) {
        return;
    }
    SurfaceRect area = TextArea(x, y, text, advance);
    if ((options & TextBoxOpaque) != 0 && !box.IsEmpty()) {
        area = {std::min(area.left, box.left), std::min(area.top, box.top),
                std::max(area.right, box.right), std::max(area.bottom, box.bottom)};
    }
    ThroughFallback(area.left, area.top, area.right, area.bottom, [&](DrawingSurface& fallback) {
        fallback.DrawTextInBox(x, y, box, options, text, advance);
    });
}

bool RasterSurface::DrawCovered(int x, int y, const SurfaceRect* clip, std::string_view text,
                                std::optional<int> advance, unsigned options,
                                const SurfaceRect& box)
{
    if (mode_ != BackgroundMode::Transparent || text.empty()) {
        return false;
    }
    const FontRequest& font = fonts_.back();
    if (advance) {
        // One character at a time: each must have its coverage.
        if (!SingleByteCharacters(text)) {
            return false;
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (fallback_->Coverage(font, text.substr(i, 1)) == nullptr) {
                return false;
            }
        }
    } else if (fallback_->Coverage(font, text) == nullptr) {
        return false;
    }
    if ((options & TextBoxOpaque) != 0) {
        FillSolidRect(box, background_);
    }
    const auto count = static_cast<Wide>(text.size());
    const Wide width = advance ? Wide{*advance} * count : MeasureText(text).width;
    const Wide left = align_ == AlignCentreTop ? x - width / 2 : x;
    SurfaceRect visible = ClipBox();
    if (clip != nullptr) {
        visible = {std::max(visible.left, clip->left), std::max(visible.top, clip->top),
                   std::min(visible.right, clip->right), std::min(visible.bottom, clip->bottom)};
    }
    if (visible.IsEmpty()) {
        return true;
    }
    if (advance) {
        for (Wide i = 0; i < count; ++i) {
            const TextCoverage* coverage = fallback_->Coverage(
                font, text.substr(static_cast<std::size_t>(i), 1));
            Blend(*coverage, left + i * *advance, y, visible);
        }
    } else {
        Blend(*fallback_->Coverage(font, text), left, y, visible);
    }
    return true;
}

void RasterSurface::Blend(const TextCoverage& coverage, Wide x, Wide y, const SurfaceRect& clip)
{
    const std::uint32_t colour = 0xFF000000U | PixelOf(textColour_);
    const Wide left = std::max<Wide>(x + coverage.left, clip.left);
    const Wide right = std::min<Wide>(x + coverage.left + coverage.width, clip.right);
    const Wide top = std::max<Wide>(y + coverage.top, clip.top);
    const Wide bottom = std::min<Wide>(y + coverage.top + coverage.height, clip.bottom);
    if (left >= right || top >= bottom) {
        return;
    }
    Materialise(top, bottom);
    const bool whole = left == x + coverage.left && right == x + coverage.left + coverage.width
                       && top == y + coverage.top && bottom == y + coverage.top + coverage.height;
    if (whole && BlendOverOneColour(coverage, left, top, colour)) {
        return;
    }
    const auto span = static_cast<std::size_t>(right - left);
    for (Wide py = top; py < bottom; ++py) {
        const std::uint8_t* alpha = coverage.alpha.data()
                                    + static_cast<std::size_t>(py - y - coverage.top)
                                          * static_cast<std::size_t>(coverage.width)
                                    + static_cast<std::size_t>(left - x - coverage.left);
        if (std::all_of(alpha, alpha + span, [](std::uint8_t a) { return a == 0; })) {
            continue;
        }
        std::uint32_t* row = Row(static_cast<int>(py)) + left;
        tally_.AddRow(row, span, -1);
        for (std::size_t i = 0; i < span; ++i) {
            const std::uint32_t a = alpha[i];
            if (a == 255) {
                row[i] = colour & White;
            } else if (a != 0) {
                row[i] = BlendCoverage(colour, a, row[i]);
            }
        }
        tally_.AddRow(row, span, 1);
        rowIds_[static_cast<std::size_t>(py)] = nextId_++;
    }
}

bool RasterSurface::BlendOverOneColour(const TextCoverage& coverage, Wide left, Wide top,
                                       std::uint32_t colour)
{
    const auto width = static_cast<std::size_t>(coverage.width);
    const auto height = static_cast<std::size_t>(coverage.height);
    const std::vector<std::uint8_t>& alpha = coverage.alpha;
    if (alpha.size() != width * height) {
        return false;
    }
    const auto firstInk = static_cast<std::size_t>(
        std::find_if(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a != 0; })
        - alpha.begin());
    if (firstInk == alpha.size()) {
        return true;  // nothing to draw
    }
    // The glyph blended over the colour under its first inked pixel; where
    // another colour lies under ink (a neighbouring glyph's edge), that
    // pixel is blended and counted on its own.
    const std::uint32_t background = Row(static_cast<int>(
        top + static_cast<Wide>(firstInk / width)))[left + static_cast<Wide>(firstInk % width)];
    const BlendedGlyph& glyph = BlendedOver(coverage, colour, background);
    otherColours_.clear();
    for (std::size_t r = 0; r < height; ++r) {
        if (glyph.inkedRows[r] == 0) {
            continue;
        }
        const auto y = static_cast<std::size_t>(top) + r;
        std::uint32_t* row = Row(static_cast<int>(y)) + left;
        const std::uint8_t* ink = alpha.data() + r * width;
        const std::uint32_t* blended = glyph.pixels.data() + r * width;
        for (std::size_t i = 0; i < width; ++i) {
            if (ink[i] == 0) {
                continue;
            }
            if (row[i] != background) {
                const std::uint32_t mixed = ink[i] == 255 ? colour & White
                                                          : BlendCoverage(colour, ink[i], row[i]);
                tally_.Remove(row[i], 1);
                tally_.Add(mixed, 1);
                otherColours_.push_back(blended[i]);
                row[i] = mixed;
            } else {
                row[i] = blended[i];
            }
        }
        rowIds_[y] = nextId_++;
    }
    tally_.Remove(background, glyph.inkedPixels - otherColours_.size());
    for (const PixelCount& count : glyph.colours) {
        tally_.Add(count.rgb, count.count);
    }
    for (const std::uint32_t blended : otherColours_) {
        tally_.Remove(blended, 1);  // counted with the glyph, not drawn
    }
    return true;
}

const RasterSurface::BlendedGlyph& RasterSurface::BlendedOver(const TextCoverage& coverage,
                                                              std::uint32_t colour,
                                                              std::uint32_t background)
{
    for (const BlendedGlyph& glyph : glyphs_) {
        const TextCoverage& known = glyph.coverage;
        if (glyph.colour == colour && glyph.background == background
            && known.width == coverage.width && known.height == coverage.height
            && known.left == coverage.left && known.top == coverage.top
            && known.alpha == coverage.alpha) {
            return glyph;
        }
    }
    if (glyphs_.size() >= MaxBlendedGlyphs) {
        glyphs_.clear();
    }
    // Blended as the pixels would be one by one; only the pixels under ink
    // change colour, and only they are counted.
    BlendedGlyph glyph{coverage, colour, background, {}, {}, 0, {}};
    const auto width = static_cast<std::size_t>(coverage.width);
    glyph.pixels.assign(coverage.alpha.size(), background);
    glyph.inkedRows.assign(static_cast<std::size_t>(coverage.height), 0);
    PixelTally counts;
    for (std::size_t r = 0; r < glyph.inkedRows.size(); ++r) {
        const std::uint8_t* alpha = coverage.alpha.data() + r * width;
        std::uint32_t* row = glyph.pixels.data() + r * width;
        if (std::all_of(alpha, alpha + width, [](std::uint8_t a) { return a == 0; })) {
            continue;
        }
        for (std::size_t i = 0; i < width; ++i) {
            const std::uint32_t a = alpha[i];
            if (a == 0) {
                continue;
            }
            row[i] = a == 255 ? colour & White : BlendCoverage(colour, a, row[i]);
            counts.Add(row[i], 1);
            ++glyph.inkedPixels;
        }
        glyph.inkedRows[r] = 1;
    }
    glyph.colours = counts.Counts();
    glyphs_.push_back(std::move(glyph));
    return glyphs_.back();
}

}  // namespace kestrel
