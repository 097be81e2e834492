#pragma once

#include "document/FieldExchange.h"
#include "symbology/CodabarCheck.h"
#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/Refusal.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

class CBarCodeDoc;
struct WorkingGaps;

// The six numbers of "コード設定", in the order the dialog reads them back
// (the order in which their messages can appear).
enum class CodeNumber { Height, LeftMargin, NarrowWidth, TopMargin, Width, TextHeight };
inline constexpr std::size_t CodeNumberCount = 6;

// The values of the code dialog, in the order they are exchanged with its
// controls. Each is the document field named beside it.
struct CodeEntryValues {
    int codeType = 0;   // CodeType
    int dispCode = 1;   // DispCode ("コード付加")
    CodeText codeText;  // CodeText, code page 932
    int check = 1;      // Check ("ON")
    int height = 150;   // Height
    int aspect = 0;     // Aspect (0 "1:2", 1 "2:5", 2 "1:3")
    int xmargin = 25;   // Xmargin
    int nwidth = 1;     // NWidth
    int ymargin = 25;   // Ymargin
    int width = 300;    // Width
    int autoAdd = 0;    // AutoAdd ("自動付加")
    int codeHigh = 16;  // CodeHigh
    int bearer = 0;     // Case ("ベアラバー")

    int& Number(CodeNumber number);
    int Number(CodeNumber number) const;
};

// What the dialog's controls hold when they are read back: the check marks
// and selections as numbers, the numeric edit boxes as typed (UTF-8).
struct CodeEntryControls {
    int codeType = 0;
    int dispCode = 0;
    CodeText codeText;
    int check = 0;
    int aspect = 0;
    int autoAdd = 0;
    int bearer = 0;
    std::array<std::string, CodeNumberCount> numbers;

    std::string& Number(CodeNumber number) { return numbers[static_cast<std::size_t>(number)]; }
    const std::string& Number(CodeNumber number) const
    {
        return numbers[static_cast<std::size_t>(number)];
    }
};

// Which controls a symbology lets the user change, and the check marks the
// selection puts on "ON" and "自動付加".
struct CodeEntryEnabling {
    bool checkEnabled = true;
    bool autoAddEnabled = true;
    bool ratioEnabled = true;
    bool bearerEnabled = true;
    int checkMark = 0;
    int autoAddMark = 0;

    bool operator==(const CodeEntryEnabling&) const = default;
};

// A number that could not be read: which box, and the message for it.
struct FieldFailure {
    CodeNumber number;
    std::string message;  // UTF-8
};

// The outcome of reading the controls and accepting the code text on OK.
struct CodeEntryOutcome {
    enum class Kind {
        Accepted,     // the dialog closes with OK
        FieldFailed,  // a number was refused: show `message`, focus `failure`
        EmptyText,    // nothing happens, the dialog stays open
        Rejected,     // the acceptance rules refused: show `message`
    };
    Kind kind = Kind::Accepted;
    std::optional<FieldFailure> failure;
    std::string message;              // UTF-8, for FieldFailed and Rejected
    Refusal refusal = Refusal::None;  // why the rules refused, for Rejected
    // The values changed the text (ITF's leading 0): the controls are filled
    // from the values again, so the code box shows it.
    bool refill = false;
};

// The model of "コード設定": the values, the rules that enable controls,
// read them back and accept the code text, and what OK hands the document.
// Front ends (the dialog, the command line) drive it; it shows nothing.
class CodeEntry {
public:
    // The code box takes no more than this many bytes of code page 932.
    static constexpr std::size_t MaxCodeTextBytes = 128;

    static bool CodeTextFits(const CodeText& text) { return text.size() <= MaxCodeTextBytes; }

    // The kind and limits of one number's box.
    static const IntegerField& Limits(CodeNumber number);
    // Reads one number's box; the message of a failure names its limits.
    static FieldReading ReadNumber(CodeNumber number, std::string_view text);
    static std::string NumberMessage(CodeNumber number, FieldError error);

    // The document's bearer bars frame only JAN-13, JAN-8 and ITF texts of
    // 6, 14 or 16 characters (check digit included); elsewhere they go.
    static int BearerKept(int wanted, int codeType, const CodeText& completedText);

    // Takes the document's values, the code text as the dialog shows it
    // (with an added check character taken off).
    void FillFrom(const CBarCodeDoc& doc);

    // The controls as the values fill them.
    CodeEntryControls Controls() const;

    // Reads the controls into the values in exchange order; at the first
    // number that cannot be read, stops there (the values read before it
    // are kept) and returns it.
    std::optional<FieldFailure> Read(const CodeEntryControls& controls);

    // The selection of `selectedType` in the type list: which controls are
    // enabled and which check marks they get. Works on the values as last
    // read (auto add on also turns the check value on); the marks reach
    // the values at the next reading.
    CodeEntryEnabling SelectionChanged(int selectedType);

    // "自動付加" was clicked with the controls as they are now: auto add on
    // turns the check on. Returns the mark "ON" gets; `failure` is a number
    // that could not be read (shown, and the click still takes effect).
    int AutoAddClicked(const CodeEntryControls& controls,
                       std::optional<FieldFailure>* failure = nullptr);
    // "ON" was clicked: the check off turns auto add off. Returns the mark
    // "自動付加" gets.
    int CheckClicked(const CodeEntryControls& controls,
                     std::optional<FieldFailure>* failure = nullptr);
    // The rules of the two clicks on the values alone.
    void AutoAddSetsCheck();
    void CheckClearsAutoAdd();

    // OK: reads the controls, then accepts the code text.
    CodeEntryOutcome Ok(const CodeEntryControls& controls, const CodabarOptions& codabar);
    // OK's acceptance on the values as they are: completes the code text in
    // place (the user's text, with ITF's leading 0, when refused).
    CodeEntryOutcome Accept(const CodabarOptions& codabar);

    // What OK hands the document, in the dialog's order, then the working
    // gaps, then encoding. Returns the result of `Encode`.
    EncodeResult ApplyTo(CBarCodeDoc& doc, const WorkingGaps& gaps,
                         const CodabarOptions& codabar) const;

    CodeEntryValues values;
};

}  // namespace kestrel
