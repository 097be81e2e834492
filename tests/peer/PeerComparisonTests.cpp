// Our symbols against zint's, bar for bar.
//
// Each row is a text as the user types it, completed the way the code
// dialog's OK completes it (CodeValidator) and encoded the way the document
// encodes it, next to the data zint gets for the same symbol. zint draws
// its symbols in modules; ours are drawn here at "1:2" with a narrow width of
// one pixel, so the module symbologies (JAN, Code 93, Code 128) compare run
// for run and the narrow/wide ones compare the narrow/wide pattern, since
// zint's wide elements are 3 modules in ITF and 2 in Code 39, Codabar and
// Code 11 (read off its dumps).

#include "ZintRun.h"

#include "symbology/CodabarCheck.h"
#include "symbology/CodeValidator.h"
#include "symbology/EncodeSettings.h"
#include "symbology/Encoder.h"
#include "symbology/ModuleSequence.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace kestrel {
namespace {

using peer::RunZint;
using peer::ZintSymbol;

// zint's symbology ids.
constexpr int ZintCode11 = 1;
constexpr int ZintItf = 3;
constexpr int ZintCode39 = 8;
constexpr int ZintCode39Extended = 9;
constexpr int ZintEan = 13;
constexpr int ZintCodabar = 18;
constexpr int ZintCode93 = 25;
constexpr int ZintCode128B = 60;

enum class Measure { Modules, NarrowWide };

struct Peer {
    int zintId;
    Measure measure;
    int zintWideModules;  // NarrowWide only: how wide zint draws a wide element
    bool trailingGap;     // ours ends with an inter-character space, zint's does not
};

constexpr Peer JanPeer{ZintEan, Measure::Modules, 0, false};
constexpr Peer ItfPeer{ZintItf, Measure::NarrowWide, 3, false};
constexpr Peer CodabarPeer{ZintCodabar, Measure::NarrowWide, 2, true};
constexpr Peer Code39Peer{ZintCode39, Measure::NarrowWide, 2, true};
constexpr Peer Code39ExtendedPeer{ZintCode39Extended, Measure::NarrowWide, 2, true};
constexpr Peer Code93Peer{ZintCode93, Measure::Modules, 0, false};
constexpr Peer Code11Peer{ZintCode11, Measure::NarrowWide, 2, false};
constexpr Peer Code128Peer{ZintCode128B, Measure::Modules, 0, false};

struct PeerCase {
    const char* what;
    CodeText typed;
    int check;
    int autoAdd;
    std::string zintData;
    std::vector<std::string> zintOptions{};
    // Set while a known fault of ours keeps the row from agreeing: the row
    // still runs and reports, and tells when it agrees again.
    const char* knownFault = nullptr;
};

std::string Printable(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

// One character per element: the module count for module symbologies,
// n or w for narrow/wide ones; anything else shows as "(count)" so that a
// wrong width cannot pass for a right one.
std::string Pattern(const std::vector<int>& runs, Measure measure, int wideModules)
{
    std::string pattern;
    for (const int run : runs) {
        if (measure == Measure::Modules && run >= 1 && run <= 9) {
            pattern += static_cast<char>('0' + run);
        } else if (measure == Measure::NarrowWide && run == 1) {
            pattern += 'n';
        } else if (measure == Measure::NarrowWide && run == wideModules) {
            pattern += 'w';
        } else {
            pattern += "(" + std::to_string(run) + ")";
        }
    }
    return pattern;
}

// Our elements as run lengths; a sequence that does not start with a bar
// and alternate is malformed, and yields a marker no zint row can match.
std::vector<int> RunsOf(const ModuleSequence& sequence)
{
    std::vector<int> runs;
    for (int i = 0; i < sequence.count; ++i) {
        const int element = sequence.elements[static_cast<std::size_t>(i)];
        const bool shouldBeBar = i % 2 == 0;
        if (element == 0 || (element < 0) != shouldBeBar) {
            runs.push_back(-1000);
        }
        runs.push_back(std::abs(element));
    }
    return runs;
}

struct OurSymbol {
    bool built = false;
    std::string failure;
    CodeText text;
    std::vector<int> runs;
};

OurSymbol EncodeOurs(int codeType, const PeerCase& row, const CodabarOptions& codabar = {})
{
    OurSymbol ours;
    CodeValidator validator(row.typed, row.check, row.autoAdd, codeType, codabar);
    if (const int accepted = ValidationNumber(validator.Accept()); accepted != Accepted) {
        ours.failure = "CodeValidator refused with " + std::to_string(accepted);
        return ours;
    }
    ours.text = validator.Text();
    EncodeSettings settings;
    settings.check = row.check;
    settings.autoAdd = row.autoAdd;
    settings.aspect = 0;
    settings.narrowWidth = 1;
    settings.codabarCheckMethod = codabar.checkMethod;
    ModuleSequence sequence;
    if (EncodeNumber(EncodeSymbology(codeType, ours.text, settings, sequence)) != 1
        || sequence.count == 0) {
        ours.failure = "EncodeSymbology refused \"" + Printable(ours.text) + "\"";
        return ours;
    }
    ours.built = true;
    ours.runs = RunsOf(sequence);
    return ours;
}

void ExpectAgreement(int codeType, const Peer& peer, const PeerCase& row,
                     const CodabarOptions& codabar = {})
{
    SCOPED_TRACE(std::string(row.what) + ": typed \"" + Printable(row.typed) + "\", zint data \""
                 + Printable(row.zintData) + "\"");
    const ZintSymbol theirs = RunZint(peer.zintId, row.zintData, row.zintOptions);
    ASSERT_EQ(theirs.exitStatus, 0) << theirs.messages;
    ASSERT_FALSE(theirs.runs.empty()) << theirs.messages;

    OurSymbol ours = EncodeOurs(codeType, row, codabar);
    if (ours.built && peer.trailingGap) {
        // Every character, the last included, is followed by its gap.
        ASSERT_EQ(ours.runs.size() % 2, 0u) << "no trailing inter-character space";
        ours.runs.pop_back();
    }
    const std::string expected = Pattern(theirs.runs, peer.measure, peer.zintWideModules);
    const std::string got = ours.built ? Pattern(ours.runs, peer.measure, 2) : ours.failure;

    if (row.knownFault != nullptr) {
        if (got == expected) {
            ADD_FAILURE() << "agrees with zint now; take off the known-fault mark ("
                          << row.knownFault << ")";
        } else {
            std::cout << "[ KNOWN FAULT ] " << row.what << ": " << row.knownFault << "\n"
                      << "                zint: " << expected << "\n"
                      << "                ours: " << got << std::endl;
        }
        return;
    }
    EXPECT_EQ(got, expected) << "completed text \"" << Printable(ours.text) << "\"";
}

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

std::string Digits(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += static_cast<char>('0' + (i * 7 + 3) % 10);
    }
    return text;
}

class PeerTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(KESTREL_ZINT_EXECUTABLE).empty()) {
            GTEST_SKIP() << "zint was not found when the build was configured";
        }
    }
};

// zint takes the 12 data digits and adds the check digit itself, so rows
// with AutoAdd compare our check digit too. The leading digits 0 to 9 walk
// every parity pattern of the left half.
TEST_F(PeerTest, Jan13MatchesZintEan13)
{
    const std::vector<PeerCase> rows{
        {"typed with its check digit", "4901234567894", 1, 0, "490123456789"},
        {"all zeros", "000000000000", 1, 1, "000000000000"},
        {"all nines", "999999999999", 1, 1, "999999999999"},
        {"leading 1", "123456789012", 1, 1, "123456789012"},
        {"leading 2", "234567890123", 1, 1, "234567890123"},
        {"leading 3", "345678901234", 1, 1, "345678901234"},
        {"leading 4 (Japan)", "490123456789", 1, 1, "490123456789"},
        {"leading 5", "567890123456", 1, 1, "567890123456"},
        {"leading 6", "678901234567", 1, 1, "678901234567"},
        {"leading 7", "789012345678", 1, 1, "789012345678"},
        {"leading 8", "890123456789", 1, 1, "890123456789"},
        {"leading 9", "901234567890", 1, 1, "901234567890"},
        {"no verification", "4512345678906", 0, 0, "451234567890"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Jan13, JanPeer, row);
    }
}

// zint draws EAN-8 for 7 data digits (8 digits it reads as a short EAN-13).
TEST_F(PeerTest, Jan8MatchesZintEan8)
{
    const std::vector<PeerCase> rows{
        {"typed with its check digit", "96385074", 1, 0, "9638507"},
        {"Japanese flag", "4901234", 1, 1, "4901234"},
        {"all zeros", "0000000", 1, 1, "0000000"},
        {"all nines", "9999999", 1, 1, "9999999"},
        {"ascending", "1234567", 1, 1, "1234567"},
        {"descending", "7654321", 1, 1, "7654321"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Jan8, JanPeer, row);
    }
}

TEST_F(PeerTest, ItfMatchesZintInterleaved2of5)
{
    const std::vector<PeerCase> rows{
        {"four digits", "1234", 0, 0, "1234"},
        {"every digit in bars and spaces", "0123456789", 0, 0, "0123456789"},
        {"every digit, pairs swapped", "1032547698", 0, 0, "1032547698"},
        {"all zeros", "00000000", 0, 0, "00000000"},
        {"odd length gets a leading 0 on both sides", "123", 0, 0, "123"},
        // zint takes at most 90 digits; ours up to 100 (507 elements).
        {"90 digits, zint's longest", Digits(90), 0, 0, Digits(90)},
        // zint's --vers=1 adds the modulo 10 check digit (weights 3 and 1).
        {"check digit added", "1234567", 1, 1, "1234567", {"--vers=1"}},
        {"check digit on zeros", "0000000", 1, 1, "0000000", {"--vers=1"}},
        {"check digit on a long text", Digits(89), 1, 1, Digits(89), {"--vers=1"}},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Itf, ItfPeer, row);
    }
}

// zint needs the start and stop characters in its data; ours come from the
// profile's choice (A and A by default) when the user typed none.
TEST_F(PeerTest, CodabarMatchesZint)
{
    const std::vector<PeerCase> rows{
        {"typed with start and stop", "A40156B", 0, 0, "A40156B"},
        {"framed from the profile", "31117013206375", 0, 0, "A31117013206375A"},
        {"every digit", "C0123456789D", 0, 0, "C0123456789D"},
        {"every special character", "D-$:/.+A", 0, 0, "D-$:/.+A"},
        {"lower-case start and stop", "b123c", 0, 0, "b123c"},
        // zint takes at most 60 characters; ours up to 64 (512 elements).
        {"60 characters, zint's longest", "A" + Digits(58) + "B", 0, 0, "A" + Digits(58) + "B"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Codabar, CodabarPeer, row);
    }
}

// zint's only Codabar check is modulus 16 over every character, start and
// stop included, placed before the stop: our method 2. The weighted methods
// have no counterpart there.
TEST_F(PeerTest, CodabarModulus16CheckMatchesZint)
{
    const CodabarOptions modulus16{2, 0, 1};
    const std::vector<PeerCase> rows{
        {"digits", "A37859B", 1, 1, "A37859B", {"--vers=1"}},
        {"framed from the profile", "123456", 1, 1, "A123456B", {"--vers=1"}},
        {"specials", "C-$:/.+D", 1, 1, "C-$:/.+D", {"--vers=1"}},
        {"sum a multiple of 16", "A0000A", 1, 1, "A0000A", {"--vers=1"}},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Codabar, CodabarPeer, row, modulus16);
    }
}

TEST_F(PeerTest, Code39MatchesZint)
{
    const std::vector<PeerCase> rows{
        {"word and digits", "CODE39", 0, 0, "CODE39"},
        {"typed with its stars", "*ABC123*", 0, 0, "ABC123"},
        {"every digit", "0123456789", 0, 0, "0123456789"},
        {"every letter", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"every special character", "- .$/+%", 0, 0, "- .$/+%"},
        {"lower case folds on both sides", "code39", 0, 0, "code39"},
        {"49 characters, 510 elements", Repeat("K39-", 12) + "X", 0, 0, Repeat("K39-", 12) + "X"},
        // zint's --vers=1 puts the modulo 43 check before the stop, as we do.
        {"check added", "CODE39", 1, 1, "CODE39", {"--vers=1"}},
        {"check of specials", "%+/$ .-", 1, 1, "%+/$ .-", {"--vers=1"}},
        {"check is a space", "SPACE", 1, 1, "SPACE", {"--vers=1"}},
        {"check of one digit", "0", 1, 1, "0", {"--vers=1"}},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Code39, Code39Peer, row);
    }
}

TEST_F(PeerTest, Code39ExtendedMatchesZint)
{
    // Most characters expand to two, and 49 Code 39 characters fill the
    // sequence, so the alphabet and the punctuation come in halves.
    const std::string punctuation1 = "!\"#$%&'()*+,-./:";
    const std::string punctuation2 = ";<=>?@[\\]^_`{|}~";
    const std::vector<PeerCase> rows{
        {"mixed case and punctuation", "Code 39!", 0, 0, "Code 39!"},
        {"lower case a to m", "abcdefghijklm", 0, 0, "abcdefghijklm"},
        {"lower case n to z", "nopqrstuvwxyz", 0, 0, "nopqrstuvwxyz"},
        {"punctuation ! to :", punctuation1, 0, 0, punctuation1},
        {"punctuation ; to ~", punctuation2, 0, 0, punctuation2},
        {"control characters and DEL", "\x01\t\r\n\x1b\x1f\x7f", 0, 0, "\x01\t\r\n\x1b\x1f\x7f"},
        {"NUL inside", std::string("A\0B", 3), 0, 0, std::string("A\0B", 3)},
        {"49 Code 39 characters after expansion", Repeat("a", 24) + "A", 0, 0,
         Repeat("a", 24) + "A"},
        // Both compute the check over the expanded characters.
        {"check added", "Code 39!", 1, 1, "Code 39!", {"--vers=1"}},
        {"check of lower case", "abc", 1, 1, "abc", {"--vers=1"}},
        {"check of DEL @ `", "\x7f@`", 1, 1, "\x7f@`", {"--vers=1"}},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Code39Extended, Code39ExtendedPeer, row);
    }
}

// zint always draws C and K; ours does so with AutoAdd on.
TEST_F(PeerTest, Code93MatchesZint)
{
    const std::vector<PeerCase> rows{
        {"word and digits", "CODE93", 0, 1, "CODE93"},
        {"every digit", "0123456789", 0, 1, "0123456789"},
        {"every letter", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"every special character", "- .$/+%", 0, 1, "- .$/+%"},
        {"one character", "Z", 0, 1, "Z"},
        {"C weights wrap after 20, K after 15", Repeat("TEST93-", 4), 0, 1, Repeat("TEST93-", 4)},
        {"81 characters, 511 elements", Repeat("ZYX-987 ", 10) + "W", 0, 1,
         Repeat("ZYX-987 ", 10) + "W"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Code93, Code93Peer, row);
    }
}

// The full-ASCII prefixes go in as Code 93's own shift characters. zint
// draws $ % + / as the plain Code 93 characters, which read the same as our
// (/)D (/)E (/)K (/)O, so those four stay out of the rows.
TEST_F(PeerTest, Code93ExtendedMatchesZint)
{
    const std::string punctuation = "!\"#&'()*,-.:;<=>?@[\\]^_`{|}~";
    const std::vector<PeerCase> rows{
        {"mixed case and punctuation", "Code 93!", 0, 1, "Code 93!"},
        {"lower-case alphabet", "abcdefghijklmnopqrstuvwxyz", 0, 1, "abcdefghijklmnopqrstuvwxyz"},
        {"punctuation", punctuation, 0, 1, punctuation},
        {"control characters and DEL", "\x01\t\r\n\x1b\x1f\x7f", 0, 1, "\x01\t\r\n\x1b\x1f\x7f"},
        {"NUL inside", std::string("A\0B", 3), 0, 1, std::string("A\0B", 3)},
        {"plain upper case", "KESTREL 2", 0, 1, "KESTREL 2"},
        {"81 symbol characters", Repeat("a", 40) + "A", 0, 1, Repeat("a", 40) + "A"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Code93Extended, Code93Peer, row);
    }
}

// zint computes Code 11 check digits; ours has the user type them. The
// digits our validator accepts must be the ones zint draws.
CodeText WithCheckDigitsOurValidatorAccepts(const CodeText& data, int codeType)
{
    const std::string alphabet = "0123456789-";
    std::vector<CodeText> accepted;
    for (const char c : alphabet) {
        if (codeType == Code11OneCheck) {
            CodeText candidate = data + c;
            if (CodeValidator(candidate, 1, 0, codeType).Accept() == Refusal::None) {
                accepted.push_back(candidate);
            }
            continue;
        }
        for (const char k : alphabet) {
            CodeText candidate = data + c + k;
            if (CodeValidator(candidate, 1, 0, codeType).Accept() == Refusal::None) {
                accepted.push_back(candidate);
            }
        }
    }
    return accepted.size() == 1 ? accepted.front() : CodeText{};
}

TEST_F(PeerTest, Code11MatchesZint)
{
    struct Code11Row {
        const char* what;
        CodeText data;
        int codeType;
        std::vector<std::string> zintOptions;
    };
    // zint: --vers=1 one check digit, default two (for up to 10 data
    // characters), --vers=2 none.
    const std::vector<Code11Row> rows{
        {"one check: digits and hyphen", "123-45", Code11OneCheck, {"--vers=1"}},
        {"one check: every digit", "0123456789", Code11OneCheck, {"--vers=1"}},
        {"one check: check is a hyphen", "2", Code11OneCheck, {"--vers=1"}},
        {"one check: weights wrap after 10", "99999999999", Code11OneCheck, {"--vers=1"}},
        {"one check: 82 data characters, 509 elements",
         Digits(41) + Repeat("-", 1) + Digits(40),
         Code11OneCheck,
         {"--vers=1"}},
        {"two checks: digits and hyphen", "123-45", Code11TwoChecks, {}},
        {"two checks: every digit", "0123456789", Code11TwoChecks, {}},
        {"two checks: hyphens", "--", Code11TwoChecks, {}},
        {"two checks: one digit", "7", Code11TwoChecks, {}},
    };
    for (const Code11Row& row : rows) {
        SCOPED_TRACE(row.what);
        const CodeText typed = WithCheckDigitsOurValidatorAccepts(row.data, row.codeType);
        ASSERT_FALSE(typed.empty()) << "no single check completion of \"" << row.data << "\"";
        ExpectAgreement(row.codeType, Code11Peer,
                        {row.what, typed, 1, 0, row.data, row.zintOptions});
    }

    // Without verification ours draws the text as typed; zint's --vers=2
    // draws no check digits.
    const std::vector<PeerCase> unchecked{
        {"no checks: digits", "0123456789", 0, 0, "0123456789", {"--vers=2"}},
        {"no checks: hyphens", "-1-", 0, 0, "-1-", {"--vers=2"}},
    };
    for (const PeerCase& row : unchecked) {
        ExpectAgreement(Code11OneCheck, Code11Peer, row);
    }
}

// zint always draws the check character; ours with AutoAdd on. zint takes
// at most 60 characters in this symbology.
TEST_F(PeerTest, Code128MatchesZintSetB)
{
    const std::vector<PeerCase> rows{
        {"mixed case", "Code 128", 0, 1, "Code 128"},
        {"space to slash", " !\"#$%&'()*+,-./", 0, 1, " !\"#$%&'()*+,-./"},
        {"digits stay in set B", "0123456789", 0, 1, "0123456789"},
        {"colon to tilde punctuation", ":;<=>?@[\\]^_`{|}~", 0, 1, ":;<=>?@[\\]^_`{|}~"},
        {"lower-case alphabet", "abcdefghijklmnopqrstuvwxyz", 0, 1, "abcdefghijklmnopqrstuvwxyz"},
        {"DEL is a set B character", "A\x7f", 0, 1, "A\x7f"},
        {"one character", "~", 0, 1, "~"},
        {"60 characters", Repeat("Kestrel-", 7) + "Kest", 0, 1, Repeat("Kestrel-", 7) + "Kest"},
    };
    for (const PeerCase& row : rows) {
        ExpectAgreement(Code128B, Code128Peer, row);
    }
}

// Texts zint cannot draw in the symbology: ours must refuse them too
// (validation or encoding), not draw something else.
TEST_F(PeerTest, TextsZintRefusesAreRefused)
{
    struct RefusedRow {
        const char* what;
        int codeType;
        int zintId;
        CodeText typed;
        int check;
        int autoAdd;
        std::string zintData;  // UTF-8, as zint reads it
        const char* knownFault = nullptr;
    };
    const std::vector<RefusedRow> rows{
        {"JAN-13 with a wrong check digit", Jan13, ZintEan, "4901234567890", 1, 0, "4901234567890"},
        {"JAN-13 with a letter", Jan13, ZintEan, "49012345678A", 1, 1, "49012345678A"},
        {"Code 39 with #", Code39, ZintCode39, "AB#", 0, 0, "AB#"},
        {"Codabar with a letter inside", Codabar, ZintCodabar, "A12X3B", 0, 0, "A12X3B"},
        {"ITF with a letter", Itf, ZintItf, "12A4", 0, 0, "12A4"},
        {"Code 11 with a letter", Code11OneCheck, ZintCode11, "12A4", 0, 0, "12A4"},
        {"Extended Code 39, half-width katakana", Code39Extended, ZintCode39Extended, "AB\xB1", 0,
         0, "AB\xEF\xBD\xB1"},
        {"Extended Code 93, half-width katakana", Code93Extended, ZintCode93, "AB\xB1", 0, 1,
         "AB\xEF\xBD\xB1"},
        {"Code 128 set B, half-width katakana", Code128B, ZintCode128B, "AB\xB1", 0, 1,
         "AB\xEF\xBD\xB1"},
    };
    for (const RefusedRow& row : rows) {
        SCOPED_TRACE(row.what);
        const ZintSymbol theirs = RunZint(row.zintId, row.zintData);
        ASSERT_NE(theirs.exitStatus, 0) << "zint drew it";
        const OurSymbol ours = EncodeOurs(row.codeType, {row.what, row.typed, row.check,
                                                         row.autoAdd, row.zintData});
        if (row.knownFault != nullptr) {
            if (!ours.built) {
                ADD_FAILURE() << "refused now; take off the known-fault mark";
            } else {
                std::cout << "[ KNOWN FAULT ] " << row.what << ": " << row.knownFault
                          << "; encoding reports success" << std::endl;
            }
            continue;
        }
        EXPECT_FALSE(ours.built) << "we drew \"" << Printable(ours.text) << "\"";
    }
}

// zint draws a tab by switching to set A, which our set-B-only symbology
// has not; what ours cannot draw it must refuse rather than leave out
// (a dropped character also shifts the check character's weights).
TEST_F(PeerTest, Code128ControlCharacterIsRefused)
{
    const PeerCase tab{"tab between letters", "AB\tCD", 0, 1, "AB\tCD"};
    const OurSymbol ours = EncodeOurs(Code128B, tab);
    EXPECT_FALSE(ours.built) << "we drew \"" << Printable(ours.text) << "\"";
}

}  // namespace
}  // namespace kestrel
