// FreeType's answer for the barcode font must be Qt's, pixel for pixel:
// the raster surface takes either, and Qt draws the window's view.

#include "fonts/FreeTypeText.h"
#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The font file is kept in the user's cache folder so that a run need not
// ask fontconfig; whatever that cache holds, the face opens and the cache
// ends up naming a font with its current size and time.
TEST(FreeTypeText, FontFileCacheIsUsedOnlyWhileItHolds)
{
    QTemporaryDir dir;
    const std::string cacheHome = dir.path().toStdString();
    const std::string cache = cacheHome + "/kestrel/barcode-font";
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string savedValue = saved != nullptr ? saved : "";
    setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
    const std::string notAFont = cacheHome + "/not-a-font.ttf";
    std::ofstream(notAFont) << "plain text";
    struct stat status {};
    stat(notAFont.c_str(), &status);
    const std::string notAFontStamp = std::to_string(status.st_size) + ' '
                                      + std::to_string(status.st_mtim.tv_sec) + '.'
                                      + std::to_string(status.st_mtim.tv_nsec);
    const struct {
        const char* what;
        std::string content;  // empty: no cache file
    } cases[] = {
        {"no cache", ""},
        {"a stamp that no longer holds", "/usr/share/fonts/x.ttf\n1 2.3\n"},
        {"a file that is not a font", notAFont + '\n' + notAFontStamp + '\n'},
        {"half a file", "/usr"},
    };
    for (const auto& [what, content] : cases) {
        std::filesystem::remove(cache);
        if (!content.empty()) {
            std::filesystem::create_directories(cacheHome + "/kestrel");
            std::ofstream(cache) << content;
        }
        EXPECT_TRUE(FreeTypeText::Open()) << what;
        std::ifstream written(cache);
        std::string file;
        std::getline(written, file);
        EXPECT_NE(file, notAFont) << what;
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << what << ": " << file;
        // The next run opens the font from the cache alone.
        EXPECT_TRUE(FreeTypeText::Open()) << what;
    }
    if (saved != nullptr) {
        setenv("XDG_CACHE_HOME", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

}  // namespace
}  // namespace kestrel
