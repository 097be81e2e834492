#pragma once

#include "render/DrawingSurface.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

// A drawing surface that keeps a grid of pixels for fills and lines and a
// record of text output. Its font is simple enough to work out by hand:
// every byte is half the em height wide, and the cell is the em height tall.
class FakeSurface : public DrawingSurface {
public:
    // Never a colour the drawing can produce: the top byte is set.
    static constexpr Colour Blank = 0xFF000000U;
    static constexpr int DefaultFontHeight = 12;

    struct TextCall {
        bool inBox = false;
        int x = 0;
        int y = 0;
        std::string text;
        SurfaceRect box;
        unsigned options = 0;
        std::optional<int> advance;
        FontRequest font;
        Colour colour = 0;
        int align = 0;
    };

    FakeSurface(int width, int height) : FakeSurface(width, height, {0, 0, width, height}) {}
    FakeSurface(int width, int height, SurfaceRect clip)
        : width_(width), height_(height), clip_(clip),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Blank)
    {
    }

    Colour At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return Blank;
        }
        return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)
                       + static_cast<std::size_t>(x)];
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Every call the surface received, by name, in order.
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<TextCall>& Texts() const { return texts_; }

    BackgroundMode Mode() const { return mode_; }
    Colour Background() const { return background_; }
    Colour TextColour() const { return textColour_; }
    const std::vector<Colour>& Pens() const { return pens_; }
    const std::vector<FontRequest>& Fonts() const { return fonts_; }

    BackgroundMode SetBackgroundMode(BackgroundMode mode) override
    {
        calls_.push_back("SetBackgroundMode");
        return Exchange(mode_, mode);
    }
    Colour SetBackgroundColour(Colour colour) override
    {
        calls_.push_back("SetBackgroundColour");
        return Exchange(background_, colour);
    }
    SurfaceRect ClipBox() const override { return clip_; }
    void FillSolidRect(const SurfaceRect& rect, Colour colour) override
    {
        calls_.push_back("FillSolidRect");
        Paint(rect.left, rect.top, rect.right, rect.bottom, colour);
    }
    SavedPen SelectPen(Colour colour) override
    {
        calls_.push_back("SelectPen");
        pens_.push_back(colour);
        return {static_cast<int>(pens_.size()) - 1};
    }
    void RestorePen(SavedPen saved) override
    {
        calls_.push_back("RestorePen");
        if (saved.depth >= 1 && saved.depth <= static_cast<int>(pens_.size())) {
            pens_.resize(static_cast<std::size_t>(saved.depth));
        } else {
            badRestores_++;
        }
    }
    // Horizontal and vertical lines only; the drawing needs no other.
    void DrawLine(int x0, int y0, int x1, int y1) override
    {
        calls_.push_back("DrawLine");
        const auto span = [](std::int64_t from, std::int64_t to) {
            return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1};
        };
        if (y0 == y1) {
            const auto [first, end] = span(x0, x1);
            Paint(first, y0, end, std::int64_t{y0} + 1, pens_.back());
        } else if (x0 == x1) {
            const auto [first, end] = span(y0, y1);
            Paint(x0, first, std::int64_t{x0} + 1, end, pens_.back());
        }
    }
    SavedFont SelectFont(const FontRequest& font) override
    {
        calls_.push_back("SelectFont");
        fonts_.push_back(font);
        return {static_cast<int>(fonts_.size()) - 1};
    }
    void RestoreFont(SavedFont saved) override
    {
        calls_.push_back("RestoreFont");
        if (saved.depth >= 1 && saved.depth <= static_cast<int>(fonts_.size())) {
            fonts_.resize(static_cast<std::size_t>(saved.depth));
        } else {
            badRestores_++;
        }
    }
    int SetTextAlign(int align) override
    {
        calls_.push_back("SetTextAlign");
        return Exchange(align_, align);
    }
    Colour SetTextColour(Colour colour) override
    {
        calls_.push_back("SetTextColour");
        return Exchange(textColour_, colour);
    }
    TextExtent MeasureText(std::string_view text) override
    {
        calls_.push_back("MeasureText");
        const int em = EmHeight();
        return {static_cast<int>(text.size()) * (em / 2), em, em};
    }
    // Every byte inks its whole cell.
    std::optional<InkSpan> MeasureInk(std::string_view text) override
    {
        calls_.push_back("MeasureInk");
        if (text.empty()) {
            return std::nullopt;
        }
        return InkSpan{0, static_cast<int>(text.size()) * (EmHeight() / 2)};
    }
    void DrawTextAt(int x, int y, std::string_view text) override
    {
        calls_.push_back("DrawTextAt");
        texts_.push_back(Record(false, x, y, text, {}, 0, std::nullopt));
    }
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override
    {
        calls_.push_back("DrawTextInBox");
        if ((options & TextBoxOpaque) != 0) {
            Paint(box.left, box.top, box.right, box.bottom, background_);
        }
        texts_.push_back(Record(true, x, y, text, box, options, advance));
    }

    int BadRestores() const { return badRestores_; }

private:
    template <typename T>
    static T Exchange(T& slot, T value)
    {
        const T old = slot;
        slot = value;
        return old;
    }

    int EmHeight() const
    {
        const int height = fonts_.back().height;
        return height > 0 ? height : DefaultFontHeight;
    }

    TextCall Record(bool inBox, int x, int y, std::string_view text, SurfaceRect box,
                    unsigned options, std::optional<int> advance) const
    {
        return {inBox,         x,           y,     std::string(text), box, options, advance,
                fonts_.back(), textColour_, align_};
    }

    // Paints [left, right) x [top, bottom), cut to the clip box and the grid.
    void Paint(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               Colour colour)
    {
        left = std::max<std::int64_t>({left, clip_.left, 0});
        top = std::max<std::int64_t>({top, clip_.top, 0});
        right = std::min<std::int64_t>({right, clip_.right, width_});
        bottom = std::min<std::int64_t>({bottom, clip_.bottom, height_});
        for (std::int64_t y = top; y < bottom; ++y) {
            for (std::int64_t x = left; x < right; ++x) {
                pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
            }
        }
    }

    int width_;
    int height_;
    SurfaceRect clip_;
    std::vector<Colour> pixels_;
    std::vector<std::string> calls_;
    std::vector<TextCall> texts_;

    BackgroundMode mode_ = BackgroundMode::Transparent;
    Colour background_ = 0xFFFFFF;
    Colour textColour_ = 0;
    int align_ = AlignLeftTop;
    std::vector<Colour> pens_{0};
    std::vector<FontRequest> fonts_{FontRequest{"System", 16, FontCharset::Ansi, 700}};
    int badRestores_ = 0;
};

}  // namespace kestrel::test
