// FreeType's answer for the barcode font must be Qt's, pixel for pixel:
// the raster surface takes either, and Qt draws the window's view.

#include "fonts/FreeTypeText.h"
#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>

namespace kestrel {
namespace {

bool operator==(const TextCoverage& a, const TextCoverage& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height
           && a.alpha == b.alpha;
}

TEST(FreeTypeText, GivesQtsCoverageAndWidthWhereItAnswers)
{
    const auto freeType = FreeTypeText::Open();
    ASSERT_TRUE(freeType) << "IPAGothic must be installed (fonts-ipafont-gothic)";
    // Digits of every kind of JAN group, letters with descenders, the
    // separators of Code 11 and Code 39, half-width katakana ("ｶﾅ ﾐﾎﾝ").
    const std::string texts[] = {"0",           "4",
                                 "7",           "9",
                                 "W",           "g",
                                 "-",           " ",
                                 "$/+%",        "4901234567894",
                                 "Kestrel 128", "\xB6\xC5 \xD0\xCE\xDD"};
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    QPainterSurface qt(painter);
    int answered = 0;
    int asked = 0;
    for (int height = 0; height <= 66; ++height) {
        for (const FontCharset charset : {FontCharset::Ansi, FontCharset::ShiftJis}) {
            const FontRequest font{BarcodeFontFace, height, charset, 400};
            const SavedFont saved = qt.SelectFont(font);
            for (const std::string& text : texts) {
                ++asked;
                if (const auto extent = freeType->Measure(font, text)) {
                    const TextExtent measured = qt.MeasureText(text);
                    EXPECT_EQ(extent->width, measured.width) << text << " at " << height;
                    EXPECT_EQ(extent->height, measured.height) << text << " at " << height;
                }
                // Glyphs at a fraction of a pixel have a width but no coverage.
                const auto coverage = freeType->Coverage(font, text);
                if (!coverage) {
                    continue;
                }
                ++answered;
                const auto expected = QtTextCoverage(font, text);
                ASSERT_TRUE(expected) << text << " at " << height;
                EXPECT_TRUE(*coverage == *expected) << text << " at " << height;
            }
            qt.RestoreFont(saved);
        }
    }
    // Taller text, other faces and weights are Qt's alone; most of the rest
    // is FreeType's.
    EXPECT_GT(answered, asked / 2);
    for (const FontRequest& font : {FontRequest{BarcodeFontFace, 65, FontCharset::Ansi, 400},
                                    FontRequest{BarcodeFontFace, 16, FontCharset::Ansi, 700},
                                    FontRequest{"Arial", 16, FontCharset::Ansi, 400}}) {
        EXPECT_FALSE(freeType->Coverage(font, "4")) << font.faceName << font.height << font.weight;
    }
    EXPECT_FALSE(freeType->Coverage({BarcodeFontFace, 16, FontCharset::ShiftJis, 400},
                                    "\x83\x8D"));  // a double-byte character
}

}  // namespace
}  // namespace kestrel
