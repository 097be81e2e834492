#include "options/OptionsSheetModel.h"

#include "document/WorkingGaps.h"
#include "options/OptionsTexts.h"
#include "profile/ProfileSchema.h"

#include <algorithm>

namespace kestrel {

namespace {

namespace t = texts::options;

using Kind = ControlKind;

constexpr IntegerField BearerWidthLimits{IntegerField::Kind::Signed, 1, 15};
constexpr IntegerField GapLimits{IntegerField::Kind::Signed, 1, 10};
constexpr IntegerField NoLimits{IntegerField::Kind::Signed, 0, 0};

constexpr int Index(OptionControl control)
{
    return static_cast<int>(control);
}
constexpr int Index(OptionsPage page)
{
    return static_cast<int>(page);
}

}  // namespace

constexpr std::array<OptionsPageInfo, OptionsPageCount> OptionsPages{{
    {OptionsPage::Jan, t::JanCaption},
    {OptionsPage::ItfStf, t::ItfStfCaption},
    {OptionsPage::Code39, t::Code39Caption},
    {OptionsPage::Code93, t::Code93Caption},
    {OptionsPage::Code128, t::Code128Caption},
    {OptionsPage::Code11, t::Code11Caption},
    {OptionsPage::Codabar, t::CodabarCaption},
    {OptionsPage::Itf, t::ItfCaption},
    {OptionsPage::Bitmap, t::BitmapCaption},
}};

constexpr std::array<OptionControlInfo, OptionControlCount> OptionControls{{
    {OptionControl::JanCodeOut,
     OptionsPage::Jan,
     Kind::CheckBox,
     t::SplitText,
     nullptr,
     {},
     NoLimits},
    {OptionControl::JanCaseWidth,
     OptionsPage::Jan,
     Kind::NumberBox,
     t::BearerWidth,
     nullptr,
     {},
     BearerWidthLimits},
    {OptionControl::Code39GapX,
     OptionsPage::Code39,
     Kind::NumberBox,
     t::Gap,
     t::GapUnit,
     {},
     GapLimits},
    {OptionControl::CodabarCheckDegit, OptionsPage::Codabar, Kind::List, t::CheckMethod, nullptr,
     t::CheckMethods, NoLimits},
    {OptionControl::CodabarStartChar, OptionsPage::Codabar, Kind::List, t::StartCode, nullptr,
     t::CodabarCharacters, NoLimits},
    {OptionControl::CodabarStopChar, OptionsPage::Codabar, Kind::List, t::StopCode, nullptr,
     t::CodabarCharacters, NoLimits},
    {OptionControl::CodabarGapX,
     OptionsPage::Codabar,
     Kind::NumberBox,
     t::Gap,
     t::GapUnit,
     {},
     GapLimits},
    {OptionControl::ItfCaseWidth,
     OptionsPage::Itf,
     Kind::NumberBox,
     t::BearerWidth,
     nullptr,
     {},
     BearerWidthLimits},
    {OptionControl::Bitmap, OptionsPage::Bitmap, Kind::RadioButtons, nullptr, nullptr,
     t::BitmapDepths, NoLimits},
}};

namespace {

// The tables are looked up by their enumerations' values.
consteval bool TablesFollowTheirEnumerations()
{
    for (int i = 0; i < OptionsPageCount; ++i) {
        if (Index(OptionsPages[i].page) != i) {
            return false;
        }
    }
    for (int i = 0; i < OptionControlCount; ++i) {
        if (Index(OptionControls[i].control) != i) {
            return false;
        }
        if (i > 0 && Index(OptionControls[i].page) < Index(OptionControls[i - 1].page)) {
            return false;  // a page's controls must sit together
        }
    }
    return true;
}

}  // namespace

const OptionsPageInfo& InfoOf(OptionsPage page)
{
    return OptionsPages[static_cast<std::size_t>(Index(page))];
}

const OptionControlInfo& InfoOf(OptionControl control)
{
    return OptionControls[static_cast<std::size_t>(Index(control))];
}

std::span<const OptionControlInfo> ControlsOf(OptionsPage page)
{
    // NOLINTBEGIN(readability-qualified-auto): an array's iterator, a pointer only in this library
    const auto first = std::find_if(OptionControls.begin(), OptionControls.end(),
                                    [page](const auto& info) { return info.page == page; });
    const auto last = std::find_if(first, OptionControls.end(),
                                   [page](const auto& info) { return info.page != page; });
    // NOLINTEND(readability-qualified-auto)
    return {first, last};
}

JanPageValues::JanPageValues(const Profile& profile)
    : codeOut(profile::Read(profile, profile::JanCodeOut)),
      caseWidth(profile::Read(profile, profile::JanCaseWidthForOptions))
{
}

CodabarPageValues::CodabarPageValues(const Profile& profile)
    : checkDegit(profile::Read(profile, profile::CodabarCheckDegit)),
      startChar(profile::Read(profile, profile::CodabarStartChar)),
      stopChar(profile::Read(profile, profile::CodabarStopChar))
{
}

ItfPageValues::ItfPageValues(const Profile& profile)
    : caseWidth(profile::Read(profile, profile::ItfCaseWidthForOptions))
{
}

OptionsSheetModel::OptionsSheetModel(const Profile& profile, const WorkingGaps& gaps)
    : jan_(profile), codabar_(profile), itf_(profile)
{
    static_assert(TablesFollowTheirEnumerations());
    codabar_.gapX = gaps.codabarGapX;
    code39_.gapX = gaps.code39GapX;
    bitmap_.depth = profile::Read(profile, profile::Bitmap);

    for (const OptionControlInfo& info : OptionControls) {
        const int value = Value(info.control);
        const auto at = static_cast<std::size_t>(Index(info.control));
        switch (info.kind) {
        case Kind::NumberBox: texts_[at] = std::to_string(value); break;
        case Kind::CheckBox: choices_[at] = value != 0 ? 1 : 0; break;
        case Kind::List:
        case Kind::RadioButtons:
            // A stored index the control does not have shows no choice.
            choices_[at] = value >= 0 && static_cast<std::size_t>(value) < info.items.size()
                               ? value
                               : NoChoice;
            break;
        }
    }
}

int& OptionsSheetModel::ValueOf(OptionControl control)
{
    switch (control) {
    case OptionControl::JanCodeOut: return jan_.codeOut;
    case OptionControl::JanCaseWidth: return jan_.caseWidth;
    case OptionControl::Code39GapX: return code39_.gapX;
    case OptionControl::CodabarCheckDegit: return codabar_.checkDegit;
    case OptionControl::CodabarStartChar: return codabar_.startChar;
    case OptionControl::CodabarStopChar: return codabar_.stopChar;
    case OptionControl::CodabarGapX: return codabar_.gapX;
    case OptionControl::ItfCaseWidth: return itf_.caseWidth;
    case OptionControl::Bitmap: break;
    }
    return bitmap_.depth;
}

int OptionsSheetModel::Value(OptionControl control) const
{
    return const_cast<OptionsSheetModel*>(this)->ValueOf(control);
}

const std::string& OptionsSheetModel::Text(OptionControl control) const
{
    return texts_[static_cast<std::size_t>(Index(control))];
}

int OptionsSheetModel::Choice(OptionControl control) const
{
    return choices_[static_cast<std::size_t>(Index(control))];
}

void OptionsSheetModel::SetText(OptionControl control, std::string text)
{
    texts_[static_cast<std::size_t>(Index(control))] = std::move(text);
}

void OptionsSheetModel::SetChoice(OptionControl control, int choice)
{
    choices_[static_cast<std::size_t>(Index(control))] = choice;
}

std::optional<ExchangeFailure> OptionsSheetModel::ReadShownPage()
{
    const std::span<const OptionControlInfo> controls = ControlsOf(current_);
    // Read every control first, so that a refused page changes no value.
    std::array<int, OptionControlCount> read{};
    for (const OptionControlInfo& info : controls) {
        const auto at = static_cast<std::size_t>(Index(info.control));
        switch (info.kind) {
        case Kind::NumberBox: {
            const FieldReading reading = ReadIntegerField(texts_[at], info.limits);
            if (!reading.Ok()) {
                return ExchangeFailure{info.control, FieldErrorMessage(reading.error, info.limits)};
            }
            read[at] = reading.value;
            break;
        }
        case Kind::CheckBox: read[at] = choices_[at] != 0 ? 1 : 0; break;
        case Kind::List:
        case Kind::RadioButtons:
            // With nothing chosen the value stays as it was, rather than
            // storing an index that no reader understands.
            read[at] = choices_[at] == NoChoice ? Value(info.control) : choices_[at];
            break;
        }
    }
    for (const OptionControlInfo& info : controls) {
        ValueOf(info.control) = read[static_cast<std::size_t>(Index(info.control))];
    }
    return std::nullopt;
}

std::optional<ExchangeFailure> OptionsSheetModel::SelectPage(OptionsPage page)
{
    if (page == current_) {
        return std::nullopt;
    }
    if (auto failure = ReadShownPage()) {
        return failure;
    }
    current_ = page;
    return std::nullopt;
}

void OptionsSheetModel::Store(Profile& profile, WorkingGaps& gaps) const
{
    profile::Write(profile, profile::CodabarStartChar, codabar_.startChar);
    profile::Write(profile, profile::CodabarStopChar, codabar_.stopChar);
    profile::Write(profile, profile::CodabarCheckDegit, codabar_.checkDegit);
    profile::Write(profile, profile::JanCodeOut, jan_.codeOut);
    profile::Write(profile, profile::JanCaseWidthForOptions, jan_.caseWidth);
    gaps.codabarGapX = codabar_.gapX;
    gaps.code39GapX = code39_.gapX;
    profile::Write(profile, profile::ItfCaseWidthForOptions, itf_.caseWidth);
    profile::Write(profile, profile::Bitmap, bitmap_.depth);
}

}  // namespace kestrel
