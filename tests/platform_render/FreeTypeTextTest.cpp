// FreeType's answer for the barcode font must be Qt's, pixel for pixel:
// the raster surface takes either, and Qt draws the window's view.

#include "fonts/FreeTypeText.h"
#include "fonts/GlyphTable.h"
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
#include <iterator>
#include <optional>
#include <string>

namespace kestrel {
namespace {

bool operator==(const TextCoverage& a, const TextCoverage& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height
           && a.alpha == b.alpha;
}

// The user's cache folder in a folder of the test's own, for as long as
// it lives.
class ScopedCacheHome {
public:
    ScopedCacheHome()
    {
        const char* saved = std::getenv("XDG_CACHE_HOME");
        saved_ = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
        setenv("XDG_CACHE_HOME", Path().c_str(), 1);
    }
    ~ScopedCacheHome()
    {
        if (saved_) {
            setenv("XDG_CACHE_HOME", saved_->c_str(), 1);
        } else {
            unsetenv("XDG_CACHE_HOME");
        }
    }
    ScopedCacheHome(const ScopedCacheHome&) = delete;
    ScopedCacheHome& operator=(const ScopedCacheHome&) = delete;
    std::string Path() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
    std::optional<std::string> saved_;
};

// Rendered by FreeType the first time, read from the glyph cache files the
// second: Qt's answer both times.
TEST(FreeTypeText, GivesQtsCoverageAndWidthWhereItAnswers)
{
    const ScopedCacheHome cacheHome;
    for (const char* pass : {"rendered", "from the cache files"}) {
        SCOPED_TRACE(pass);
        auto freeType = FreeTypeText::Open();
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
            EXPECT_FALSE(freeType->Coverage(font, "4"))
                << font.faceName << font.height << font.weight;
        }
        EXPECT_FALSE(freeType->Coverage({BarcodeFontFace, 16, FontCharset::ShiftJis, 400},
                                        "\x83\x8D"));  // a double-byte character
        // Every height FreeType answered at has its file for the next pass,
        // written when the text object goes.
        freeType.reset();
        EXPECT_TRUE(std::filesystem::is_regular_file(cacheHome.Path() + "/kestrel/glyphs/16"));
    }
}

// The font file is kept in the user's cache folder so that a run need not
// ask fontconfig; whatever that cache holds, the face opens and the cache
// ends up naming a font with its current size and time.
TEST(FreeTypeText, FontFileCacheIsUsedOnlyWhileItHolds)
{
    const ScopedCacheHome cacheHome;
    const std::string cache = cacheHome.Path() + "/kestrel/barcode-font";
    const std::string notAFont = cacheHome.Path() + "/not-a-font.ttf";
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
    const FontRequest font{BarcodeFontFace, 16, FontCharset::Ansi, 400};
    for (const auto& [what, content] : cases) {
        std::filesystem::remove(cache);
        if (!content.empty()) {
            std::filesystem::create_directories(cacheHome.Path() + "/kestrel");
            std::ofstream(cache) << content;
        }
        const auto freeType = FreeTypeText::Open();
        ASSERT_TRUE(freeType) << what;
        EXPECT_TRUE(freeType->Coverage(font, "4")) << what;
        std::ifstream written(cache);
        std::string file;
        std::getline(written, file);
        EXPECT_NE(file, notAFont) << what;
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << what << ": " << file;
    }
}

// A glyph file is used while the FreeType library that rendered it is the
// same file as then; otherwise its glyphs are rendered again.
TEST(FreeTypeText, GlyphFileIsUsedOnlyWithTheLibraryThatMadeIt)
{
    const ScopedCacheHome cacheHome;
    const FontRequest font{BarcodeFontFace, 16, FontCharset::Ansi, 400};
    const auto rendered = FreeTypeText::Open()->Coverage(font, "4");
    ASSERT_TRUE(rendered && !rendered->alpha.empty());
    const std::string glyphs = cacheHome.Path() + "/kestrel/glyphs/16";
    std::string original;
    {
        std::ifstream in(glyphs, std::ios::binary);
        original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Magic and key, library file, library stamp, each ended by a NUL.
    const std::size_t stampStart = original.find('\0', original.find('\0') + 1) + 1;
    const std::size_t stampEnd = original.find('\0', stampStart);
    ASSERT_NE(stampEnd, std::string::npos);
    const struct {
        const char* what;
        bool sameLibrary;
    } cases[] = {{"the same library", true}, {"another library", false}};
    for (const auto& [what, sameLibrary] : cases) {
        std::string changed = original;
        // The last bytes are the glyph's bitmap: ink where there was none.
        for (std::size_t k = changed.size() - 4; k < changed.size(); ++k) {
            changed[k] = '\x7F';
        }
        if (!sameLibrary) {
            changed.replace(stampStart, stampEnd - stampStart, "1 2.3");
        }
        std::ofstream(glyphs, std::ios::binary | std::ios::trunc) << changed;
        const auto again = FreeTypeText::Open()->Coverage(font, "4");
        ASSERT_TRUE(again) << what;
        EXPECT_EQ(again->alpha == rendered->alpha, !sameLibrary) << what;
    }
}

// A glyph cache file is taken only whole and only when made from the same
// font by the same FreeType: anything else reads as no file.
TEST(GlyphTable, ReadsBackOnlyWhatWasWrittenUnderItsKey)
{
    GlyphTable table;
    table.libraryFile = "/lib/libfreetype.so.6";
    table.libraryStamp = "821160 1.0";
    table.ascent = 14;
    table.descent = 2;
    table.glyphs['4'] = Glyph{524288, true, 1, 12, 2, 3, {0, 255, 9, 10, 11, 12}};
    table.glyphs[' '] = Glyph{524288, false, 0, 0, 0, 0, {}};
    const std::string bytes = SerialiseGlyphTable(table, "ipag.ttf\n6235344 1.0\nFreeType 2.12.1");
    const auto back = ParseGlyphTable(bytes, "ipag.ttf\n6235344 1.0\nFreeType 2.12.1");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->libraryFile, "/lib/libfreetype.so.6");
    EXPECT_EQ(back->libraryStamp, "821160 1.0");
    EXPECT_EQ(back->ascent, 14);
    EXPECT_EQ(back->descent, 2);
    ASSERT_TRUE(back->glyphs['4'] && back->glyphs[' ']);
    EXPECT_EQ(back->glyphs['4']->alpha, table.glyphs['4']->alpha);
    EXPECT_EQ(back->glyphs['4']->top, 12);
    EXPECT_FALSE(back->glyphs[' ']->drawn);
    EXPECT_FALSE(back->glyphs['5']);

    const struct {
        const char* what;
        std::string bytes;
        const char* key;
    } refused[] = {
        {"another font file", bytes, "ipagp.ttf\n6235344 1.0\nFreeType 2.12.1"},
        {"another FreeType", bytes, "ipag.ttf\n6235344 1.0\nFreeType 2.13.0"},
        {"a key that is a prefix", bytes, "ipag.ttf\n6235344 1.0\nFreeType 2.12"},
        {"cut inside a bitmap", bytes.substr(0, bytes.size() - 3),
         "ipag.ttf\n6235344 1.0\nFreeType 2.12.1"},
        {"one byte more", bytes + 'x', "ipag.ttf\n6235344 1.0\nFreeType 2.12.1"},
        {"not a glyph file", "[Settings]\nCode=1\n", ""},
    };
    for (const auto& [what, text, key] : refused) {
        EXPECT_FALSE(ParseGlyphTable(text, key)) << what;
    }
}

}  // namespace
}  // namespace kestrel
