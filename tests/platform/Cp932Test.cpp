#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

#include <string>
#include <string_view>

namespace kestrel {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsValidUtf8(std::string_view text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(QByteArrayView(text.data(), text.size()));
    return !decoder.hasError();
}

// The characters expected come from Python's cp932 codec, not from this
// code; the U+FFFD rows are this program's rule for bytes that are not text.
struct DecodeCase {
    const char* name;
    std::string_view cp932;
    std::string_view utf8;
};

const DecodeCase kDecodeCases[] = {
    {"ascii", "CODE-39 $/+%", "CODE-39 $/+%"},
    {"full-width font name", "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E",
     "ＭＳ Ｐゴシック"},
    {"half-width katakana", "\xB2\xDD\xC0\xD8\xB0\xCC\xDE\xC4\xDE", "ｲﾝﾀﾘｰﾌﾞﾄﾞ"},
    {"kana with ideographic space",
     "\x83\x6F\x81\x5B\x83\x52\x81\x5B\x83\x68\x81\x40\x83\x65\x83\x58\x83\x67",
     "バーコード　テスト"},
    {"wave dash", "\x81\x60", "～"},
    {"control bytes map to themselves", "\x01\x09\x0A\x0D\x1B\x1F\x7F",
     "\x01\x09\x0A\x0D\x1B\x1F\x7F"},
    {"embedded NUL", "A\0B"sv, "A\0B"sv},
    {"NEC-selected IBM duplicate", "\xED\x40", "纊"},
    {"IBM extension", "\xFA\x5C", "纊"},
    {"user-defined area", "\xF0\x40", "\xEE\x80\x80"},
    {"unassigned single bytes, one U+FFFD each", "\x80\xA0\xFD\xFE\xFF",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"lone lead byte at the end", "AB\x82", "AB\xEF\xBF\xBD"},
    {"lead byte before a space keeps the space", "\x81 x", "\xEF\xBF\xBD x"},
    {"lead byte before DEL keeps DEL", "\x82\x7F", "\xEF\xBF\xBD\x7F"},
    {"lead byte before NUL keeps NUL", "\x82\0x"sv, "\xEF\xBF\xBD\0x"sv},
    {"unassigned double-byte code", "\x85\x40", "\xEF\xBF\xBD@"},
    {"empty", "", ""},
};

TEST(Cp932ToUtf8, ConvertsTable)
{
    for (const DecodeCase& row : kDecodeCases) {
        EXPECT_EQ(Cp932ToUtf8(row.cp932), row.utf8) << row.name;
        EXPECT_EQ(Cp932ToQString(row.cp932), QString::fromUtf8(row.utf8.data(), row.utf8.size()))
            << row.name;
    }
}

// Every byte pair: the result is always valid UTF-8, and every pair that
// holds one valid character converts back to the same character. Python's
// cp932 codec counts 9604 such pairs; the five single bytes it maps to
// private-use characters (0x80, 0xA0, 0xFD-0xFF) are not code page 932 here.
TEST(Cp932ToUtf8, EveryBytePairIsSafeAndValidPairsAreLossless)
{
    int validPairs = 0;
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Cp932ToUtf8(std::string_view(pair, 2));
            ASSERT_TRUE(IsValidUtf8(utf8)) << lead << " " << trail;
            const QString text = QString::fromUtf8(utf8.data(), utf8.size());
            if (text.size() != 1 || utf8.find(kReplacement) != std::string::npos) {
                continue;
            }
            ++validPairs;
            std::string back;
            ASSERT_TRUE(Utf8ToCp932(utf8, back)) << lead << " " << trail;
            EXPECT_EQ(Cp932ToUtf8(back), utf8) << lead << " " << trail;
        }
    }
    EXPECT_EQ(validPairs, 9604);
}

struct EncodeCase {
    const char* name;
    std::string_view utf8;
    bool converts;
    std::string_view cp932;
};

const EncodeCase kEncodeCases[] = {
    {"ascii", "Kestrel 2.13", true, "Kestrel 2.13"},
    {"full-width font name", "ＭＳ Ｐゴシック", true,
     "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"},
    {"half-width katakana", "ｲﾝﾀﾘｰﾌﾞﾄﾞ", true, "\xB2\xDD\xC0\xD8\xB0\xCC\xDE\xC4\xDE"},
    {"embedded NUL", "A\0B"sv, true, "A\0B"sv},
    {"wave dash from an input method", "〜", true, "\x81\x60"},
    {"yen sign folds to 0x5C", "¥100", true,
     "\x5C"
     "100"},
    {"user-defined area", "\xEE\x80\x80", true, "\xF0\x40"},
    {"accented latin", "café", false, ""},
    {"emoji", "\xF0\x9F\x98\x80", false, ""},
    {"replacement character", "\xEF\xBF\xBD", false, ""},
    {"byte order mark",
     "\xEF\xBB\xBF"
     "A",
     false, ""},
    {"overlong slash", "\xC0\xAF", false, ""},
    {"encoded surrogate", "\xED\xA0\x80", false, ""},
    {"cut-off sequence", "A\xE3\x81", false, ""},
    {"stray continuation byte", "A\x80", false, ""},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, ""},
};

TEST(Utf8ToCp932, ConvertsOrRefusesTable)
{
    for (const EncodeCase& row : kEncodeCases) {
        std::string out;
        ASSERT_EQ(Utf8ToCp932(row.utf8, out), row.converts) << row.name;
        if (row.converts) {
            EXPECT_EQ(out, row.cp932) << row.name;
        }
        if (row.converts) {
            const QString text = QString::fromUtf8(row.utf8.data(), row.utf8.size());
            std::string fromQString;
            EXPECT_TRUE(QStringToCp932(text, fromQString)) << row.name;
            EXPECT_EQ(fromQString, row.cp932) << row.name;
        }
    }
}

TEST(QStringToCp932, RefusesLoneSurrogates)
{
    std::string out;
    EXPECT_FALSE(QStringToCp932(QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("b"), out));
    EXPECT_FALSE(QStringToCp932(QStringLiteral("a") + QChar(0xD800), out));
}

TEST(QStringToCp932Lossy, ReplacesEachUnrepresentableCharacterWithQuestionMark)
{
    const struct {
        QString text;
        std::string_view cp932;
    } rows[] = {
        {QStringLiteral("café €5"), "caf? ?5"},
        {QString::fromUtf8("a\xF0\x9F\x98\x80"
                           "b"),
         "a?b"},  // one character, not one per byte
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"), "a?b"},
        {QStringLiteral("ＭＳ é"), "\x82\x6C\x82\x72 ?"},
        {QStringLiteral("ｲﾝ"), "\xB2\xDD"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(QStringToCp932Lossy(row.text), row.cp932) << row.text.toStdString();
    }
}

}  // namespace
}  // namespace kestrel
