// Comment lines and the human-readable text: which calls reach the surface,
// with what text, font, reference point and box. The fake's font is half
// the em height wide per byte, so widths here are worked out by hand.

#include "RenderTestSupport.h"

#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {
namespace {

using TextCall = FakeSurface::TextCall;

TEST(DrawBarcodeComments, LinesStackFromTheTop)
{
    struct Case {
        const char* name;
        const char* line1;
        const char* line2;
        int storedHigh1;  // -1: nothing stored
        std::vector<int> tops;
    };
    const Case cases[] = {
        {"both lines, default height", "first", "second", -1, {0, 100}},
        {"both lines, stored height", "first", "second", 40, {0, 40}},
        {"first line only", "first", "", 40, {0}},
        {"second line moves up when the first is empty", "", "second", 40, {0}},
        {"none", "", "", -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = Code39;
        d.doc.CodeText = "A";
        d.doc.DispCode = 0;
        d.profile.WriteProfileString("Comment", "String1", c.line1);
        d.profile.WriteProfileString("Comment", "String2", c.line2);
        d.profile.WriteProfileInt("Comment", "Color1", 0x112233);
        d.profile.WriteProfileInt("Comment", "Color2", 0x445566);
        d.profile.WriteProfileInt("Comment", "High2", 22);
        if (c.storedHigh1 != -1) {
            d.profile.WriteProfileInt("Comment", "High1", c.storedHigh1);
        }
        FakeSurface surface(100, 150);
        d.Draw(surface);

        const auto& texts = surface.Texts();
        ASSERT_EQ(c.tops.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const bool second = texts[i].text == "second";
            EXPECT_EQ(c.tops[i], texts[i].y);
            EXPECT_EQ(0, texts[i].x);
            EXPECT_FALSE(texts[i].inBox);
            EXPECT_EQ(AlignLeftTop, texts[i].align);
            EXPECT_EQ(second ? 0x445566U : 0x112233U, texts[i].colour);
            const int high1 = c.storedHigh1 == -1 ? 100 : c.storedHigh1;
            const FontRequest font{BarcodeFontFace, second ? 22 : high1, FontCharset::ShiftJis,
                                   400};
            EXPECT_EQ(font, texts[i].font);
        }
    }
}

TEST(DrawBarcodeText, OtherSymbologiesCentreUnderTheBars)
{
    struct Case {
        const char* name;
        int codeType;
        int frameCase;
        int codeOut;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"Code 39 as it is", Code39, 0, 1, "ABCDEFGHIJKLMN", "ABCDEFGHIJKLMN"},
        {"14 characters in a frame", Code39, 1, 1, "ABCDEFGHIJKLMN", "ABC  DEFGH  IJKLM  N"},
        {"16 characters in a frame", Itf, 1, 1, "1234567890123456", "12345  67890  12345  6"},
        {"6 characters in a frame", Codabar, 1, 1, "A1234B", "A1234  B"},
        {"13 characters in a frame stay whole", Code128B, 1, 1, "ABCDEFGHIJKLM", "ABCDEFGHIJKLM"},
        {"JAN-13 without CodeOut", Jan13, 0, 0, "4901234567894", "4901234567894"},
        {"JAN-8 without CodeOut", Jan8, 0, 0, "49012347", "49012347"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = c.codeType;
        d.doc.CodeText = c.text;
        d.doc.Case = c.frameCase;
        d.doc.CodeHigh = 14;
        d.SetElements({-1, 1, -1, 90, -1, 1, -1, 1});  // 97 pixels wide
        d.profile.WriteProfileInt("JAN", "CodeOut", c.codeOut);
        d.profile.WriteProfileInt("Code", "CodeColor", 0x0A0B0C);
        FakeSurface surface(200, 150);
        d.Draw(surface);

        ASSERT_EQ(1U, surface.Texts().size());
        const TextCall& call = surface.Texts()[0];
        EXPECT_EQ(c.shown, call.text);
        EXPECT_EQ(25 + 97 / 2, call.x);
        EXPECT_EQ(106, call.y);  // two pixels below the bars, which end at row 103
        EXPECT_FALSE(call.inBox);
        EXPECT_EQ(AlignCentreTop, call.align);
        EXPECT_EQ(0x0A0B0CU, call.colour);
        EXPECT_EQ((FontRequest{BarcodeFontFace, 14, FontCharset::Ansi, 400}), call.font);
    }
}

// Group edges of a JAN symbol one pixel per module with a 25-pixel margin:
// the left digits run from the end of the start guard (28) to one module
// into the centre guard (71); the right digits from the end of the centre
// guard (75) to the start of the end guard (117). A group stands 4 right of
// its box's centre unless that puts its last digit past the box. The fake
// font's digits ink their whole cell, half the height wide: neighbours may
// share one column (they touch), and a group whose digits would share more
// is drawn at the largest height at which they do not, on the baseline of
// the others (the fake font's ascent is its height).
TEST(DrawBarcodeText, Jan13PutsTheDigitsBetweenTheGuards)
{
    struct Group {
        int x;
        int advance;
        int height;
    };
    struct Case {
        const char* name;
        int codeHigh;
        Group left;
        Group right;
    };
    const Case cases[] = {
        // 18 pixels of digits in 43: (43 - 18) / 6 + 18 / 5 = 7; the right
        // group, (42 - 18) / 6 + 3 = 7, ends at 79 + 5 * 7 + 3 = 117.
        {"small digits are spread out", 6, {53, 7, 6}, {100, 7, 6}},
        // 30 pixels in 43 would be 8 apart, 45 with the last digit's own 5:
        // at 7 they take 40, moved left to end at 71 and 117.
        {"digits spread past their box are drawn closer", 10, {52, 7, 10}, {98, 7, 10}},
        // Six digits of 8 overfill 43: 43 - 8 leaves 7 for each of the other
        // five, so each digit shares a column with the next. In 42, 6 apart
        // they would share two: that group is drawn at 15, 7 apart.
        {"digits wider than the room are squeezed into it", 16, {49, 7, 16}, {96, 7, 15}},
        // Digits of 15 would be 5 apart; 17 (8 wide, 7 apart) and 15 are the
        // largest heights at which they touch at most.
        {"digits that would overlap are drawn smaller", 30, {49, 7, 17}, {96, 7, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeText = "4901234567894";
        d.doc.CodeHigh = c.codeHigh;
        ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
        FakeSurface surface(200, 150);
        d.Draw(surface);

        const int half = c.codeHigh / 2;
        const int y = 104 - half;
        const auto& texts = surface.Texts();
        ASSERT_EQ(3U, texts.size());

        EXPECT_EQ("4", texts[0].text);
        EXPECT_FALSE(texts[0].inBox);
        EXPECT_EQ(25 - half - 5, texts[0].x);
        EXPECT_EQ(y, texts[0].y);

        EXPECT_EQ("901234", texts[1].text);
        EXPECT_EQ((SurfaceRect{28, 104 - half, 71, 104 + half}), texts[1].box);
        EXPECT_EQ(c.left.x, texts[1].x);
        EXPECT_EQ(c.left.advance, texts[1].advance);
        EXPECT_EQ(c.left.height, texts[1].font.height);
        EXPECT_EQ(y + c.codeHigh - c.left.height, texts[1].y);

        EXPECT_EQ("567894", texts[2].text);
        EXPECT_EQ((SurfaceRect{75, 104 - half, 117, 104 + half}), texts[2].box);
        EXPECT_EQ(c.right.x, texts[2].x);
        EXPECT_EQ(c.right.advance, texts[2].advance);
        EXPECT_EQ(c.right.height, texts[2].font.height);
        EXPECT_EQ(y + c.codeHigh - c.right.height, texts[2].y);

        for (std::size_t i = 1; i < 3; ++i) {
            EXPECT_TRUE(texts[i].inBox);
            EXPECT_EQ(unsigned{TextBoxOpaque}, texts[i].options);
            EXPECT_EQ(AlignCentreTop, texts[i].align);
        }
        // The opaque boxes blank out the feet of the bars under the digits.
        EXPECT_EQ(Colour{0xFFFFFF}, surface.At(29, 100));
        EXPECT_EQ(Colour{0}, surface.At(25, 100));
    }
}

TEST(DrawBarcodeText, Jan8ClipsEachGroupToItsBox)
{
    struct Case {
        const char* name;
        int codeHigh;
        int advance;
        int shift;  // of the reference point from 4 right of the box's centre
    };
    const Case cases[] = {
        // 20 pixels in 29: (29 - 20) / 5 + 20 / 4 = 6; the last digit ends
        // at 46 - 12 + 3 * 6 + 5 = 57, the box's edge.
        {"narrow digits are spread out", 10, 6, 0},
        // Four digits of 8 pixels in 29: 29 - 8 leaves 7 for each of the
        // other three, and the group starts at the box's left.
        {"digits wider than the room are squeezed into it", 16, 7, -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = Jan8;
        d.doc.CodeText = "49012347";
        d.doc.CodeHigh = c.codeHigh;
        ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
        FakeSurface surface(200, 150);
        d.Draw(surface);

        const int half = c.codeHigh / 2;
        const auto& texts = surface.Texts();
        ASSERT_EQ(2U, texts.size());
        EXPECT_EQ("4901", texts[0].text);
        EXPECT_EQ((SurfaceRect{28, 104 - half, 57, 104 + half}), texts[0].box);
        EXPECT_EQ((28 + 57) / 2 + 4 + c.shift, texts[0].x);
        EXPECT_EQ("2347", texts[1].text);
        EXPECT_EQ((SurfaceRect{60, 104 - half, 89, 104 + half}), texts[1].box);
        EXPECT_EQ((60 + 89) / 2 + 4 + c.shift, texts[1].x);
        for (const TextCall& call : texts) {
            EXPECT_TRUE(call.inBox);
            EXPECT_EQ(104 - half, call.y);
            EXPECT_EQ(unsigned{TextBoxOpaque | TextBoxClipped}, call.options);
            EXPECT_EQ(c.advance, call.advance);
        }
    }
}

// The symbology can change without a new encoding, so text and sequence
// need not fit the JAN layout.
TEST(DrawBarcodeText, JanLayoutCopesWithShortTextAndSequence)
{
    struct Case {
        const char* name;
        int codeType;
        std::string text;
        std::vector<std::string> shown;
        int rightEnd;  // where edges beyond the sequence fall
    };
    const Case cases[] = {
        {"JAN-13, one digit", Jan13, "4", {"4", "", "4"}, 28},
        {"JAN-13, three digits", Jan13, "490", {"4", "90", "490"}, 28},
        {"JAN-8, two digits", Jan8, "49", {"49", "49"}, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = c.codeType;
        d.doc.CodeText = c.text;
        d.SetElements({-1, 1, -1});
        FakeSurface surface(200, 150);
        d.Draw(surface);

        const auto& texts = surface.Texts();
        ASSERT_EQ(c.shown.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(c.shown[i], texts[i].text);
            if (texts[i].inBox) {
                EXPECT_EQ(c.rightEnd, texts[i].box.left);
                EXPECT_EQ(c.rightEnd, texts[i].box.right);
            }
        }
    }
}

TEST(DrawBarcodeState, SurfaceStateComesBackExceptTextColour)
{
    for (const int codeType : {Jan13, Jan8, Itf, Code39}) {
        SCOPED_TRACE(codeType);
        Drawing d;
        d.doc.CodeType = codeType;
        d.doc.CodeText = codeType == Jan8 ? "49012347" : "4901234567894";
        d.doc.Case = 1;
        d.SetElements({-1, 1, -1, 1, -1});
        d.profile.WriteProfileString("Comment", "String1", "one");
        d.profile.WriteProfileString("Comment", "String2", "two");
        d.profile.WriteProfileInt("Code", "CodeColor", 0x00AA00);

        FakeSurface surface(200, 150);
        surface.SetBackgroundMode(BackgroundMode::Opaque);
        surface.SetBackgroundColour(0x123456);
        surface.SelectPen(0x654321);
        surface.SelectFont({"Caller", 9, FontCharset::Ansi, 700});
        const std::vector<Colour> pens = surface.Pens();
        const std::vector<FontRequest> fonts = surface.Fonts();

        d.Draw(surface);
        EXPECT_EQ(BackgroundMode::Opaque, surface.Mode());
        EXPECT_EQ(0x123456U, surface.Background());
        EXPECT_EQ(pens, surface.Pens());
        EXPECT_EQ(fonts, surface.Fonts());
        EXPECT_EQ(0, surface.BadRestores());
        EXPECT_EQ(0x00AA00U, surface.TextColour());
    }
}

}  // namespace
}  // namespace kestrel::test
