#include "symbology/SymbologyCatalogue.h"

#include "symbology/Codabar.h"
#include "symbology/Code11.h"
#include "symbology/Code128.h"
#include "symbology/Code39.h"
#include "symbology/Code93.h"
#include "symbology/Jan.h"
#include "symbology/TwoOfFive.h"

namespace kestrel {

namespace {

// The check character acceptance appended is the last character.
CodeText DropLast(const CodeText& completed)
{
    return completed.empty() ? completed : completed.substr(0, completed.size() - 1);
}

// *data check*: the stars and the check character in front of the final
// star go; a text without the final star keeps its end.
CodeText DropCode39Check(const CodeText& completed)
{
    CodeText copy = completed;
    if (copy.empty()) {
        return copy;
    }
    const bool endedWithStar = copy.back() == '*';
    if (copy.front() == '*') {
        copy.erase(copy.begin());
    }
    if (endedWithStar) {
        copy.resize(copy.size() >= 2 ? copy.size() - 2 : 0);
    }
    return copy;
}

// start data check stop: the character in front of the stop goes.
CodeText DropCodabarCheck(const CodeText& completed)
{
    CodeText copy = completed;
    if (copy.size() >= 2 && IsCodabarStartStop(copy.back())) {
        copy.erase(copy.end() - 2);
    }
    return copy;
}

CodeText NothingAdded(const CodeText& completed)
{
    return completed;
}

bool AlwaysKeepsBearer(const CodeText&)
{
    return true;
}
bool NeverKeepsBearer(const CodeText&)
{
    return false;
}

// ITF keeps its bearer at the lengths of the shipping labels that carry one
// (check digit included).
bool ItfKeepsBearer(const CodeText& completed)
{
    const std::size_t length = completed.size();
    return length == 6 || length == 14 || length == 16;
}

// The dialog's rows: JAN draws at a fixed ratio; the symbologies that always
// draw their check characters tick "自動付加" and offer no "ON".
constexpr DialogEnabling JanDialog{true, true, false, true, AutoAddMark::FollowsValue};
constexpr DialogEnabling ItfDialog{true, true, true, true, AutoAddMark::FollowsValue};
constexpr DialogEnabling TypedCheckDialog{true, false, true, false, AutoAddMark::Off};
constexpr DialogEnabling AddedCheckDialog{true, true, true, false, AutoAddMark::FollowsValue};
constexpr DialogEnabling DrawnCheckDialog{false, true, false, false, AutoAddMark::On};

constexpr ZxingReading NoReader{"", ReadEnds::Kept, false, 0};

// Laid out by hand, one symbology in four lines of like fields.
// clang-format off
constexpr std::array<SymbologyRow, SymbologyCount> Rows{{
    {Jan13, "jan13", "JAN-13",
     AcceptJan13, true, DropLast, EncodeJan13, false,
     TextLayout::Jan13, BearerFrame::WholeHeight, AlwaysKeepsBearer,
     JanDialog, NumberFraming::Plain, {"EAN13", ReadEnds::Kept, false, 0}},
    {Jan8, "jan8", "JAN-8",
     AcceptJan8, true, DropLast, EncodeJan8, false,
     TextLayout::Jan8, BearerFrame::WholeHeight, AlwaysKeepsBearer,
     JanDialog, NumberFraming::Plain, {"EAN8", ReadEnds::Kept, false, 0}},
    // ZXing reads no ITF shorter than 6 digits.
    {Itf, "itf", "ITF(ｲﾝﾀﾘｰﾌﾞﾄﾞ2of5)",
     AcceptItf, true, DropLast, EncodeItf, false,
     TextLayout::Plain, BearerFrame::AroundBars, ItfKeepsBearer,
     ItfDialog, NumberFraming::Plain, {"ITF", ReadEnds::Kept, false, 6}},
    {Stf, "stf", "STF(ｽﾀﾝﾀﾞｰﾄﾞ2of5)",
     AcceptStf, true, DropLast, EncodeStf, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     TypedCheckDialog, NumberFraming::Plain, NoReader},
    {Codabar, "codabar", "Codabar (NW-7)",
     AcceptCodabar, true, DropCodabarCheck, EncodeCodabar, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     AddedCheckDialog, NumberFraming::CodabarStartStop,
     {"Codabar", ReadEnds::StartStop, false, 0}},
    {Code39, "code39", "Code 39",
     AcceptCode39, true, DropCode39Check, EncodeCode39, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     AddedCheckDialog, NumberFraming::Stars, {"Code39", ReadEnds::Stars, false, 0}},
    {Code39Extended, "code39ext", "Extended Code 39",
     AcceptCode39Extended, false, DropLast, EncodeCode39Extended, true,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     DrawnCheckDialog, NumberFraming::Plain, {"Code39", ReadEnds::Stars, true, 0}},
    {Code93, "code93", "Code 93",
     AcceptCode93, false, NothingAdded, EncodeCode93, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     DrawnCheckDialog, NumberFraming::Plain, {"Code93", ReadEnds::Kept, false, 0}},
    {Code93Extended, "code93ext", "Extended Code 93",
     AcceptCode93Extended, false, NothingAdded, EncodeCode93Extended, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     DrawnCheckDialog, NumberFraming::Plain, {"Code93", ReadEnds::Kept, false, 0}},
    {Code11OneCheck, "code11", "Code 11 (Check one)",
     AcceptCode11OneCheck, false, NothingAdded, EncodeCode11, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     TypedCheckDialog, NumberFraming::Plain, NoReader},
    {Code11TwoChecks, "code11-2", "Code 11 (Check two)",
     AcceptCode11TwoChecks, false, NothingAdded, EncodeCode11, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     TypedCheckDialog, NumberFraming::Plain, NoReader},
    {Code128B, "code128", "Code 128 (Only Code B)",
     AcceptCode128B, false, NothingAdded, EncodeCode128, false,
     TextLayout::Plain, BearerFrame::None, NeverKeepsBearer,
     DrawnCheckDialog, NumberFraming::Plain, {"Code128", ReadEnds::Kept, false, 0}},
}};
// clang-format on

consteval bool RowsInIndexOrder()
{
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (static_cast<std::size_t>(Rows[i].index) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInIndexOrder());

}  // namespace

const std::array<SymbologyRow, SymbologyCount> SymbologyCatalogue = Rows;

const SymbologyRow* FindSymbology(int codeType)
{
    return IsSymbology(codeType) ? &SymbologyCatalogue[static_cast<std::size_t>(codeType)]
                                 : nullptr;
}

std::string_view SymbologyTexts::operator[](std::size_t index) const
{
    if (index >= SymbologyCatalogue.size()) {
        return {};
    }
    const SymbologyRow& row = SymbologyCatalogue[index];
    return column_ == Column::Key ? row.key : row.name;
}

}  // namespace kestrel
