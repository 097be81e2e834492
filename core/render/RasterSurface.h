#pragma once

#include "picture/PixelTally.h"
#include "picture/RgbPicture.h"
#include "render/DrawingSurface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrel {

// How much of the text colour each pixel of some text takes: `alpha` holds
// width × height coverages (0 none, 255 all), row by row, whose top left
// lies `left`, `top` pixels from the point the text is drawn at (the left
// of its cell, top aligned).
struct TextCoverage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
};

// The coverage cut to the box of the pixels it inks; empty when it inks
// none.
TextCoverage TrimToInk(const TextCoverage& all);

// Coverage from which a pixel counts as inked (InkSpan).
constexpr std::uint8_t HalfInked = 128;

// The columns of the coverage that ink at least half of a pixel, counted
// from the point the text is drawn at; none when no pixel is so inked.
std::optional<InkSpan> HalfInkedColumns(const TextCoverage& coverage);

// Whether every byte of the text is a character of its own in code page
// 932 that is drawn as one glyph: ASCII and half-width katakana.
bool SingleByteCharacters(std::string_view text);

// A painter for what a raster surface does not draw itself (sloped lines,
// and text it has no coverage for), working on the surface's own pixels:
// `pixels` are `width` × `height` 32-bit pixels 0x..RRGGBB, the top row
// first, without gaps.
class RasterFallback {
public:
    virtual ~RasterFallback() = default;
    // A surface over the pixels in the state a fresh surface starts in; the
    // one handed out before is gone.
    virtual DrawingSurface& Begin() = 0;
    // The coverage of the text drawn in the font, blended pixel by pixel
    // into what is under it as the fallback's own drawing would blend it;
    // none where the fallback does not draw it so. Valid until the next call.
    virtual const TextCoverage* Coverage(const FontRequest&, std::string_view) { return nullptr; }
    // The text's extent as the fallback's surface would measure it, where it
    // is known without that surface; none otherwise.
    virtual std::optional<TextExtent> Measure(const FontRequest&, std::string_view)
    {
        return std::nullopt;
    }
};

class RasterFallbackFactory {
public:
    virtual ~RasterFallbackFactory() = default;
    virtual std::unique_ptr<RasterFallback> Create(std::uint32_t* pixels, int width,
                                                   int height) = 0;
};

// Barcode drawing straight into a picture's rows. Rectangles are row fills:
// the rows a fill covers that were equal before it are filled once and the
// others copied from that one. The surface keeps, as it draws, which colours
// its pixels have and how many of each, and which rows are equal to which.
//
// Text and sloped lines go to the fallback painter, when there is one, on
// the same pixels; the rows they may touch are compared before and after to
// keep the colour counts. Without a fallback they draw nothing and text
// measures 0 × 0.
class RasterSurface : public DrawingSurface {
public:
    // Larger pictures are refused, as an off-screen picture is.
    static constexpr int MaxSide = 32767;
    static constexpr std::int64_t MaxPixels = std::int64_t{1} << 27;

    // A white picture; empty (ignoring drawing) when the size is refused.
    RasterSurface(int width, int height, RasterFallbackFactory* fallback = nullptr);
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;
    ~RasterSurface() override;

    // White again, in the state of a new surface, keeping its memory and its
    // fallback painter: a batch draws thousands of pictures of one size.
    void Restart();

    bool IsValid() const { return width_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixels, 0x00RRGGBB; valid until the surface draws again or goes.
    PixelRows Rows();
    RgbPicture Picture();
    // Every colour the pixels have, with its number of pixels, by colour.
    std::vector<PixelCount> Colours() const { return tally_.Counts(); }
    // Equal numbers for two rows mean equal pixels (unequal numbers may
    // still hold equal pixels).
    const std::vector<std::uint32_t>& RowNumbers() const { return rowIds_; }

    BackgroundMode SetBackgroundMode(BackgroundMode mode) override;
    Colour SetBackgroundColour(Colour colour) override;
    SurfaceRect ClipBox() const override;
    void FillSolidRect(const SurfaceRect& rect, Colour colour) override;
    SavedPen SelectPen(Colour colour) override;
    void RestorePen(SavedPen saved) override;
    void DrawLine(int x0, int y0, int x1, int y1) override;
    SavedFont SelectFont(const FontRequest& font) override;
    void RestoreFont(SavedFont saved) override;
    int SetTextAlign(int align) override;
    Colour SetTextColour(Colour colour) override;
    TextExtent MeasureText(std::string_view text) override;
    // From the fallback's coverage, where it gives one.
    std::optional<InkSpan> MeasureInk(std::string_view text) override;
    void DrawTextAt(int x, int y, std::string_view text) override;
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override;

private:
    // Gives the rows [top, bottom) their pixels, to be read or drawn on:
    // white where no drawing has reached yet (a new picture is white without
    // a pass over its pixels), a copy where a row stood for the row above.
    // The row below the range stands for none of them afterwards.
    void Materialise(std::int64_t top, std::int64_t bottom);
    // Writes the pixels of row y where it stood for the row above.
    void Own(std::int64_t y);
    void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              std::uint32_t rgb);
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    // The fallback's surface, begun on first use; none without a fallback.
    DrawingSurface* Fallback();
    // Runs `draw` on the fallback, then brings the colour counts and row
    // numbers up to date with what it changed in [left, right) × [top, bottom),
    // outside which it must draw nothing.
    template <class Draw>
    void ThroughFallback(std::int64_t left, std::int64_t top, std::int64_t right,
                         std::int64_t bottom, Draw&& draw);
    // Where text at (x, y) in the current font and alignment may draw.
    SurfaceRect TextArea(int x, int y, std::string_view text, std::optional<int> advance);
    // Draws the text from the fallback's coverage: the whole text at once,
    // or with `advance` one character at a time. False (nothing drawn)
    // where there is no coverage for it.
    // With TextBoxOpaque in `options`, `box` is filled first.
    bool DrawCovered(int x, int y, const SurfaceRect* clip, std::string_view text,
                     std::optional<int> advance, unsigned options, const SurfaceRect& box);
    void Blend(const TextCoverage& coverage, std::int64_t x, std::int64_t y,
               const SurfaceRect& clip);
    // Blends the whole coverage, its top left at (left, top), from the
    // glyph blended once over the colour under its ink, as text mostly falls
    // on one background. False (nothing drawn) for a coverage whose alpha
    // is not its width × height.
    bool BlendOverOneColour(const TextCoverage& coverage, std::int64_t left, std::int64_t top,
                            std::uint32_t colour);

    // A coverage blended in a colour over a background, kept across
    // pictures: a batch draws the same few glyphs thousands of times.
    struct BlendedGlyph {
        TextCoverage coverage;
        std::uint32_t colour;
        std::uint32_t background;
        std::vector<std::uint32_t> pixels;    // the coverage's width × height
        std::vector<std::uint8_t> inkedRows;  // nonzero: the row has ink
        std::uint64_t inkedPixels;            // the pixels under ink
        std::vector<PixelCount> colours;      // and their colours blended
    };
    static constexpr std::size_t MaxBlendedGlyphs = 256;
    const BlendedGlyph& BlendedOver(const TextCoverage& coverage, std::uint32_t colour,
                                    std::uint32_t background);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    // Row number 0: white, its pixels not yet written.
    std::vector<std::uint32_t> rowIds_;
    // Nonzero: the row's pixels are not written, it is equal to the row
    // above (of the same number); a fill over rows of one kind writes one.
    std::vector<std::uint8_t> sameAsAbove_;
    std::uint32_t nextId_ = 1;
    PixelTally tally_;
    std::vector<Colour> pens_{0};
    // The fonts selected on the fallback, as it keeps them.
    std::vector<FontRequest> fonts_;

    std::unique_ptr<RasterFallback> fallback_;
    DrawingSurface* fallbackSurface_ = nullptr;
    // Set on the fallback when it begins: what was set before it was needed.
    BackgroundMode mode_ = BackgroundMode::Transparent;
    Colour background_ = 0xFFFFFF;
    Colour textColour_ = 0;
    int align_ = AlignLeftTop;

    // Scratch space kept between fills and fallback drawings.
    struct RowGroup {
        std::uint32_t oldId;
        std::uint32_t newId;
        int representative;
        std::uint64_t rows;
        std::size_t firstRemoved;
        std::size_t removedCount;
    };
    std::vector<RowGroup> groups_;
    std::vector<PixelCount> removed_;
    std::vector<std::uint32_t> before_;
    std::vector<BlendedGlyph> glyphs_;
    std::vector<std::uint32_t> otherColours_;
};

}  // namespace kestrel
