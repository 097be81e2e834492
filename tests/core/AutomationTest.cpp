// The five automation messages against the document, with a clipboard and
// outputs that can fail. Every case also checks that an opened clipboard
// was closed again and that the copy ran with it closed.

#include "AutomationFakes.h"

#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

using Rig = test::AutomationRig;

// A valid JAN-13 symbol: 3 guard, 24, 5 guard, 24, 3 guard elements.
constexpr const char* Jan13Text = "4901234567894";
constexpr int Jan13Elements = 59;

std::int32_t Words(int low, int high)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16)
                                     | (static_cast<std::uint32_t>(low) & 0xFFFFU));
}

// The fields the messages may write.
struct Fields {
    int CodeType, Check, DispCode, Aspect, AutoAdd, Case, Width, Height, Xmargin, Ymargin, NWidth,
        CodeHigh;
    char CodabarStart, CodabarStop;
    std::string CodeText;
    bool operator==(const Fields&) const = default;
};
Fields FieldsOf(const CBarCodeDoc& d)
{
    return {d.CodeType, d.Check,    d.DispCode,     d.Aspect,      d.AutoAdd,
            d.Case,     d.Width,    d.Height,       d.Xmargin,     d.Ymargin,
            d.NWidth,   d.CodeHigh, d.CodabarStart, d.CodabarStop, d.CodeText};
}

// Every message that writes fields, and numbers that are no message at all.
TEST(AutomationSetters, StoreAcceptedValuesAndRebuildAsEachSelectorSays)
{
    struct Row {
        std::uint32_t message, wParam;
        std::int32_t lParam;
        std::optional<std::int32_t> result;
        std::function<void(Fields&)> change;  // nullptr: nothing changes
        bool rebuilt;
        int codeType = Jan13;  // before the message
    };
    const auto text = [](const char* t) { return [t](Fields& f) { f.CodeText = t; }; };
    const std::vector<Row> rows = {
        {UM_SETTYPE, 11, 0, 0, [](Fields& f) { f.CodeType = 11; }, false},
        {UM_SETTYPE, 12, 0, -1, nullptr, false},
        {UM_SETTYPE, 0xFFFFFFFFU, 0, -1, nullptr, false},  // -1 read unsigned
        {UM_SETOPTION, 0, 7, 0, [](Fields& f) { f.Check = 7; }, false},
        {UM_SETOPTION, 1, 0, 0, [](Fields& f) { f.DispCode = 0; }, false},
        {UM_SETOPTION, 2, 1, 0, [](Fields& f) { f.Aspect = 2; }, false},
        {UM_SETOPTION, 2, 2, 0, [](Fields& f) { f.Aspect = 1; }, false},
        {UM_SETOPTION, 2, 3, 0, nullptr, false},
        {UM_SETOPTION, 3, 1, 0, [](Fields& f) { f.AutoAdd = 1; }, false},
        {UM_SETOPTION, 4, 1, 0, [](Fields& f) { f.Case = 1; }, false},
        {UM_SETOPTION, 5, 1, -1, nullptr, false},
        {UM_SETVALUE, 0, Words(400, 150), 0,
         [](Fields& f) {
             f.Width = 400;
             f.Height = 150;
         },
         true},
        {UM_SETVALUE, 0, Words(0x7FFF, 0x7FFF), 0,
         [](Fields& f) {
             f.Width = 32767;
             f.Height = 32767;
         },
         true},
        {UM_SETVALUE, 0, Words(400, 0x8000), 0, nullptr, true},  // high word negative
        {UM_SETVALUE, 0, Words(0, 150), 0, nullptr, true},
        {UM_SETVALUE, 1, 0, 0,
         [](Fields& f) {
             f.Xmargin = 0;
             f.Ymargin = 0;
         },
         true},
        {UM_SETVALUE, 1, Words(0xFFFF, 10), 0, nullptr, true},
        {UM_SETVALUE, 2, 3, 0, [](Fields& f) { f.NWidth = 3; }, true},
        {UM_SETVALUE, 2, 0, 0, nullptr, true},
        {UM_SETVALUE, 2, INT32_MIN, 0, nullptr, true},
        {UM_SETVALUE, 3, 0x00440042, 0,
         [](Fields& f) {
             f.CodabarStart = 'B';
             f.CodabarStop = 'D';
         },
         true},
        {UM_SETVALUE, 3, static_cast<std::int32_t>(0xFF64FF62U), 0,
         [](Fields& f) {
             f.CodabarStart = 'b';
             f.CodabarStop = 'd';
         },
         true},
        {UM_SETVALUE, 3, 0x00300042, 0,
         [](Fields& f) {
             f.CodabarStart = 'B';
             f.CodabarStop = 'A';
         },
         true},
        {UM_SETVALUE, 3, 0, 0, nullptr, true},
        {UM_SETVALUE, 4, 10, 0, [](Fields& f) { f.CodeHigh = 10; }, true},
        {UM_SETVALUE, 4, 200, 0, [](Fields& f) { f.CodeHigh = 200; }, true},
        {UM_SETVALUE, 4, 9, -1, nullptr, false},
        {UM_SETVALUE, 4, 201, -1, nullptr, false},
        {UM_SETVALUE, 5, 1, -1, nullptr, false},
        {UM_SETVALUE, 9, 1, -1, nullptr, false},
        {UM_SETVALUE, 11, 1, -1, nullptr, false},
        // The code number: the text is set, framed as the symbology wants
        // (Codabar with the document's start C and stop d), answered -1 and
        // not encoded.
        {UM_SETVALUE, 10, 123, -1, text("*123*"), false, Code39},
        {UM_SETVALUE, 10, 123, -1, text("C123d"), false, Codabar},
        {UM_SETVALUE, 10, -7, -1, text("-7"), false},
        {UM_SETVALUE, 10, INT32_MIN, -1, text("-2147483648"), false, Code128B},
        {0, 0, 0, std::nullopt, nullptr, false},
        {UM_CLIPTEXT - 1, 0, 0, std::nullopt, nullptr, false},
        {UM_OUTPUT + 1, 0, 0, std::nullopt, nullptr, false},
        {UM_SETTYPE + 0x10000, 0, 0, std::nullopt, nullptr, false},  // no truncation to 16 bits
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << row.message << " " << row.wParam << " " << row.lParam);
        Rig rig;
        rig.doc.CodeType = row.codeType;
        rig.doc.CodeText = Jan13Text;
        rig.doc.CodabarStart = 'C';
        rig.doc.CodabarStop = 'd';
        Fields expected = FieldsOf(rig.doc);
        if (row.change) {
            row.change(expected);
        }
        EXPECT_EQ(rig.automation.Dispatch(row.message, row.wParam, row.lParam), row.result);
        EXPECT_TRUE(FieldsOf(rig.doc) == expected);
        EXPECT_EQ(rig.doc.ModuleSequence.count, row.rebuilt ? Jan13Elements : 0);
        EXPECT_EQ(rig.clipboard.opens + rig.copies + rig.saves, 0);
    }
}

std::string ModuleTextOf(const std::string& codeText)
{
    Rig rig;
    rig.doc.CodeText = codeText;
    return rig.doc.ModuleText(ReadCodabarOptions(rig.profile));
}

TEST(AutomationClipText, ExchangesTextAndClosesTheClipboardOnEveryPath)
{
    const std::string jan13Module = ModuleTextOf(Jan13Text);
    ASSERT_EQ(std::count(jan13Module.begin(), jan13Module.end(), ',') + 1, Jan13Elements);
    constexpr std::int32_t ModuleLength = 1000;  // stands for the module text's length

    struct Row {
        const char* name;
        std::uint32_t wParam;
        std::optional<std::string> clipboardText;
        bool refuseOpen, refuseEmpty, refusePut;
        std::int32_t result;
        std::string codeText;  // afterwards
        std::optional<std::string> clipboardAfter;
        int copies;
    };
    const std::string old = "old text";
    const std::vector<Row> rows = {
        {"first line in, module text out", 0, std::string(Jan13Text) + "\r\nnext", false, false,
         false, ModuleLength, Jan13Text, jan13Module, 0},
        {"no text: current code text", 0, std::nullopt, false, false, false, ModuleLength,
         Jan13Text, jan13Module, 0},
        {"empty text: current code text", 0, std::string(), false, false, false, ModuleLength,
         Jan13Text, jan13Module, 0},
        {"refused data: previous sequence", 0, std::string("12345"), false, false, false,
         ModuleLength, "12345", jan13Module, 0},
        {"not opened", 0, old, true, false, false, -1, Jan13Text, old, 0},
        {"not emptied: loaded all the same", 0, old, false, true, false, -2, old, old, 0},
        {"text not taken", 0, std::string(Jan13Text), false, false, true, -2, Jan13Text,
         std::nullopt, 0},
        {"picture of the text", 1, std::string(Jan13Text) + "\nnext", false, false, false, 0,
         Jan13Text, std::string(Jan13Text) + "\nnext", 1},
        {"picture: not opened", 1, old, true, false, false, 0, Jan13Text, old, 0},
        {"picture: no text", 1, std::nullopt, false, false, false, 0, Jan13Text, std::nullopt, 0},
        {"picture: empty text", 1, std::string(), false, false, false, 0, Jan13Text, std::string(),
         0},
        {"picture: refused data", 1, std::string("12345"), false, false, false, 0, "12345",
         std::string("12345"), 0},
        {"other selector", 2, old, false, false, false, -1, Jan13Text, old, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.doc.CodeText = Jan13Text;
        rig.doc.Encode(ReadCodabarOptions(rig.profile));
        rig.doc.CodeText = Jan13Text;
        rig.clipboard.text = row.clipboardText;
        rig.clipboard.refuseOpen = row.refuseOpen;
        rig.clipboard.refuseEmpty = row.refuseEmpty;
        rig.clipboard.refusePut = row.refusePut;

        const std::int32_t result = rig.automation.OnClipText(row.wParam, 0);
        EXPECT_EQ(result,
                  row.result == ModuleLength ? static_cast<int>(jan13Module.size()) : row.result);
        EXPECT_EQ(rig.doc.CodeText, row.codeText);
        EXPECT_EQ(rig.clipboard.text, row.clipboardAfter);
        EXPECT_EQ(rig.copies, row.copies);
        // Read once: another program may deliver its text only once.
        EXPECT_LE(rig.clipboard.reads, 1);
    }
}

TEST(AutomationOutput, CopiesOnlyAnEncodedBarcodeAndSavesWithoutEncoding)
{
    struct Row {
        const char* name;
        std::uint32_t wParam;
        int codeType;
        const char* codeText;
        int autoAdd, saveResult;
        std::int32_t result;
        int copies, saves;
        const char* codeTextAfter;
        int elementsAfter;
    };
    constexpr int AnyCount = -1;  // whatever the encoder makes of the text
    const Row rows[] = {
        {"copy", 0, Jan13, Jan13Text, 0, 1, 0, 1, 0, Jan13Text, Jan13Elements},
        {"check digit completed anew first", 0, Jan13, "4901234567890", 1, 1, 0, 1, 0, Jan13Text,
         Jan13Elements},
        {"refused data", 0, Jan13, "12345", 0, 1, -1, 0, 0, "12345", 0},
        {"nothing to draw, JAN-13 refuses", 0, Jan13, "", 0, 1, -1, 0, 0, "", 0},
        // The view's copy draws nothing without a text; the answer is the encoding's.
        {"nothing to draw, Code 128 encodes", 0, Code128B, "", 0, 1, 0, 1, 0, "", AnyCount},
        {"saved", 1, Jan13, Jan13Text, 0, 1, 0, 0, 1, Jan13Text, 0},
        {"not saved", 1, Jan13, Jan13Text, 0, 0, -1, 0, 1, Jan13Text, 0},
        {"other selector", 2, Jan13, Jan13Text, 0, 1, -1, 0, 0, Jan13Text, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.doc.CodeType = row.codeType;
        rig.doc.CodeText = row.codeText;
        rig.doc.AutoAdd = row.autoAdd;
        rig.saveResult = row.saveResult;
        rig.clipboard.text = "untouched";
        EXPECT_EQ(rig.automation.OnOutput(row.wParam, 0), row.result);
        EXPECT_EQ(rig.copies, row.copies);
        EXPECT_EQ(rig.saves, row.saves);
        EXPECT_EQ(rig.doc.CodeText, row.codeTextAfter);
        if (row.elementsAfter != AnyCount) {
            EXPECT_EQ(rig.doc.ModuleSequence.count, row.elementsAfter);
        }
        EXPECT_EQ(rig.clipboard.text, "untouched");
    }
}

}  // namespace
}  // namespace kestrel
