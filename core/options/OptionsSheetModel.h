#pragma once

#include "document/FieldExchange.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace kestrel {

class Profile;
struct WorkingGaps;

// The tabs of "オプション設定", in their order; the first is shown first.
enum class OptionsPage { Jan, ItfStf, Code39, Code93, Code128, Code11, Codabar, Itf, Bitmap };
inline constexpr int OptionsPageCount = 9;

// Every control that holds a value, page by page, each page's in the order
// it reads them back (which is also the order the focus moves through them).
enum class OptionControl {
    JanCodeOut,
    JanCaseWidth,
    Code39GapX,
    CodabarCheckDegit,
    CodabarStartChar,
    CodabarStopChar,
    CodabarGapX,
    ItfCaseWidth,
    Bitmap,
};
inline constexpr int OptionControlCount = 9;

enum class ControlKind { CheckBox, NumberBox, List, RadioButtons };

struct OptionsPageInfo {
    OptionsPage page;
    const char* caption;
};

struct OptionControlInfo {
    OptionControl control;
    OptionsPage page;
    ControlKind kind;
    const char* label;                   // before the control; a check box's own text
    const char* unit;                    // after a number box, or nullptr
    std::span<const char* const> items;  // list items or radio buttons, by index
    IntegerField limits;                 // number boxes only
};

extern const std::array<OptionsPageInfo, OptionsPageCount> OptionsPages;
extern const std::array<OptionControlInfo, OptionControlCount> OptionControls;

const OptionsPageInfo& InfoOf(OptionsPage page);
const OptionControlInfo& InfoOf(OptionControl control);
// The value controls of one page, in order; empty for the pages with nothing to set.
std::span<const OptionControlInfo> ControlsOf(OptionsPage page);

// Each page reads its own keys with its own defaults when it is made.
struct JanPageValues {
    explicit JanPageValues(const Profile& profile);
    int codeOut;
    int caseWidth;
};

struct Code39PageValues {
    int gapX = 0;  // from the working gap, set by the sheet
};

struct CodabarPageValues {
    explicit CodabarPageValues(const Profile& profile);
    int checkDegit;
    int startChar;
    int stopChar;
    int gapX = 0;  // from the working gap, set by the sheet
};

struct ItfPageValues {
    explicit ItfPageValues(const Profile& profile);
    int caseWidth;
};

struct BitmapPageValues {
    int depth = -1;  // no button, until the sheet reads the stored depth
};

// Why a page cannot be left: the box the focus goes back to and the
// message for the user (UTF-8).
struct ExchangeFailure {
    OptionControl control;
    std::string message;
};

// The options sheet without its widgets: the values of the nine pages, what
// their controls hold, which page is shown, and what OK stores. The widgets
// copy their controls in before a page is left or OK is pressed.
class OptionsSheetModel {
public:
    static constexpr int NoChoice = -1;

    // Each page reads its keys, then the gaps come from the working copies
    // and the colour depth from the profile; the controls show these values.
    OptionsSheetModel(const Profile& profile, const WorkingGaps& gaps);

    const JanPageValues& Jan() const { return jan_; }
    const Code39PageValues& Code39() const { return code39_; }
    const CodabarPageValues& Codabar() const { return codabar_; }
    const ItfPageValues& Itf() const { return itf_; }
    const BitmapPageValues& Bitmap() const { return bitmap_; }
    int Value(OptionControl control) const;

    // A number box's text; the check state (0/1), selected item or checked
    // button (NoChoice when none) of the other controls.
    const std::string& Text(OptionControl control) const;
    int Choice(OptionControl control) const;
    void SetText(OptionControl control, std::string text);
    void SetChoice(OptionControl control, int choice);

    OptionsPage CurrentPage() const { return current_; }
    // Reads the shown page's controls back and, when they are good, shows
    // `page`; otherwise the shown page stays and the failure says why.
    std::optional<ExchangeFailure> SelectPage(OptionsPage page);
    // OK: reads the shown page back; pages never shown keep their values.
    std::optional<ExchangeFailure> ReadShownPage();

    // After OK: the Codabar, JAN, gap, ITF and colour-depth values, in this
    // order. The gaps go to the working copies, not to the profile.
    void Store(Profile& profile, WorkingGaps& gaps) const;

private:
    int& ValueOf(OptionControl control);

    JanPageValues jan_;
    Code39PageValues code39_;
    CodabarPageValues codabar_;
    ItfPageValues itf_;
    BitmapPageValues bitmap_;

    std::array<std::string, OptionControlCount> texts_;
    std::array<int, OptionControlCount> choices_{};
    OptionsPage current_ = OptionsPage::Jan;
};

}  // namespace kestrel
