#include "document/CodeEntry.h"

#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "symbology/CodeValidator.h"
#include "symbology/SymbologyCatalogue.h"
#include "symbology/ValidationResult.h"

namespace kestrel {

namespace {

using Kind = IntegerField::Kind;

// Indexed by CodeNumber: height is read as a signed number, the others
// refuse a minus sign.
constexpr std::array<IntegerField, CodeNumberCount> NumberLimits{{
    {Kind::Signed, 5, 999},     // Height
    {Kind::Unsigned, 0, 100},   // LeftMargin
    {Kind::Unsigned, 1, 50},    // NarrowWidth
    {Kind::Unsigned, 0, 100},   // TopMargin
    {Kind::Unsigned, 5, 9999},  // Width
    {Kind::Unsigned, 10, 200},  // TextHeight
}};

constexpr std::array<CodeNumber, CodeNumberCount> AllNumbers{
    CodeNumber::Height,    CodeNumber::LeftMargin, CodeNumber::NarrowWidth,
    CodeNumber::TopMargin, CodeNumber::Width,      CodeNumber::TextHeight};

// A click reads the controls first; a number that cannot be read goes to
// the caller, if it asked, and the click still takes effect.
void ReadForClick(CodeEntry& entry, const CodeEntryControls& controls,
                  std::optional<FieldFailure>* failure)
{
    std::optional<FieldFailure> readFailure = entry.Read(controls);
    if (failure) {
        *failure = std::move(readFailure);
    }
}

}  // namespace

int& CodeEntryValues::Number(CodeNumber number)
{
    switch (number) {
    case CodeNumber::Height: return height;
    case CodeNumber::LeftMargin: return xmargin;
    case CodeNumber::NarrowWidth: return nwidth;
    case CodeNumber::TopMargin: return ymargin;
    case CodeNumber::Width: return width;
    case CodeNumber::TextHeight: break;
    }
    return codeHigh;
}

int CodeEntryValues::Number(CodeNumber number) const
{
    return const_cast<CodeEntryValues&>(*this).Number(number);
}

const IntegerField& CodeEntry::Limits(CodeNumber number)
{
    return NumberLimits[static_cast<std::size_t>(number)];
}

FieldReading CodeEntry::ReadNumber(CodeNumber number, std::string_view text)
{
    return ReadIntegerField(text, Limits(number));
}

std::string CodeEntry::NumberMessage(CodeNumber number, FieldError error)
{
    return FieldErrorMessage(error, Limits(number));
}

int CodeEntry::BearerKept(int wanted, int codeType, const CodeText& completedText)
{
    const SymbologyRow* row = FindSymbology(codeType);
    return row && row->bearer != BearerFrame::None && row->keepsBearer(completedText) ? wanted : 0;
}

void CodeEntry::FillFrom(const CBarCodeDoc& doc)
{
    values.codeText = TextShownForEditing(doc.CodeType, doc.AutoAdd, doc.CodeText);
    values.codeHigh = doc.CodeHigh;
    values.codeType = doc.CodeType;
    values.height = doc.Height;
    values.width = doc.Width;
    values.check = doc.Check;
    values.autoAdd = doc.AutoAdd;
    values.dispCode = doc.DispCode;
    values.aspect = doc.Aspect;
    values.nwidth = doc.NWidth;
    values.xmargin = doc.Xmargin;
    values.ymargin = doc.Ymargin;
    values.bearer = doc.Case;
}

CodeEntryControls CodeEntry::Controls() const
{
    CodeEntryControls controls;
    controls.codeType = values.codeType;
    controls.dispCode = values.dispCode;
    controls.codeText = values.codeText;
    controls.check = values.check;
    controls.aspect = values.aspect;
    controls.autoAdd = values.autoAdd;
    controls.bearer = values.bearer;
    for (const CodeNumber number : AllNumbers) {
        controls.Number(number) = std::to_string(values.Number(number));
    }
    return controls;
}

std::optional<FieldFailure> CodeEntry::Read(const CodeEntryControls& controls)
{
    // The exchange order of the dialog: a failing number stops the reading
    // there, and the values after it keep what they held.
    const auto number = [&](CodeNumber which) -> std::optional<FieldFailure> {
        const FieldReading reading = ReadNumber(which, controls.Number(which));
        if (!reading.Ok()) {
            return FieldFailure{which, NumberMessage(which, reading.error)};
        }
        values.Number(which) = reading.value;
        return std::nullopt;
    };
    values.codeType = controls.codeType;
    values.dispCode = controls.dispCode;
    values.codeText = controls.codeText;
    values.check = controls.check;
    if (auto failure = number(CodeNumber::Height)) return failure;
    values.aspect = controls.aspect;
    if (auto failure = number(CodeNumber::LeftMargin)) return failure;
    if (auto failure = number(CodeNumber::NarrowWidth)) return failure;
    if (auto failure = number(CodeNumber::TopMargin)) return failure;
    if (auto failure = number(CodeNumber::Width)) return failure;
    values.autoAdd = controls.autoAdd;
    if (auto failure = number(CodeNumber::TextHeight)) return failure;
    values.bearer = controls.bearer;
    return std::nullopt;
}

CodeEntryEnabling CodeEntry::SelectionChanged(int selectedType)
{
    CodeEntryEnabling state;
    if (values.autoAdd == 1) {
        values.check = 1;
    }
    state.checkMark = values.check;
    const SymbologyRow* row = FindSymbology(selectedType);
    if (!row) {
        // No symbology selected: "自動付加" stays off as the first step
        // leaves it.
        state.autoAddEnabled = false;
        return state;
    }
    const DialogEnabling& enabling = row->enabling;
    state.checkEnabled = enabling.checkEnabled;
    state.autoAddEnabled = enabling.autoAddEnabled;
    state.ratioEnabled = enabling.ratioEnabled;
    state.bearerEnabled = enabling.bearerEnabled;
    switch (enabling.autoAddMark) {
    case AutoAddMark::Off: state.autoAddMark = 0; break;
    case AutoAddMark::FollowsValue: state.autoAddMark = values.autoAdd; break;
    case AutoAddMark::On: state.autoAddMark = 1; break;
    }
    return state;
}

void CodeEntry::AutoAddSetsCheck()
{
    if (values.autoAdd == 1) {
        values.check = 1;
    }
}

void CodeEntry::CheckClearsAutoAdd()
{
    if (values.check == 0) {
        values.autoAdd = 0;
    }
}

int CodeEntry::AutoAddClicked(const CodeEntryControls& controls,
                              std::optional<FieldFailure>* failure)
{
    ReadForClick(*this, controls, failure);
    AutoAddSetsCheck();
    return values.check;
}

int CodeEntry::CheckClicked(const CodeEntryControls& controls, std::optional<FieldFailure>* failure)
{
    ReadForClick(*this, controls, failure);
    CheckClearsAutoAdd();
    return values.autoAdd;
}

CodeEntryOutcome CodeEntry::Ok(const CodeEntryControls& controls, const CodabarOptions& codabar)
{
    if (std::optional<FieldFailure> failure = Read(controls)) {
        CodeEntryOutcome outcome;
        outcome.kind = CodeEntryOutcome::Kind::FieldFailed;
        outcome.message = failure->message;
        outcome.failure = std::move(failure);
        return outcome;
    }
    return Accept(codabar);
}

CodeEntryOutcome CodeEntry::Accept(const CodabarOptions& codabar)
{
    CodeEntryOutcome outcome;
    if (values.codeText.empty()) {
        outcome.kind = CodeEntryOutcome::Kind::EmptyText;
        return outcome;
    }
    CodeValidator validator(values.codeText, values.check, values.autoAdd, values.codeType,
                            codabar);
    const Refusal refusal = validator.Accept();
    if (validator.LeadingZeroAdded()) {
        // The box shows the 0 whether or not the rest is accepted.
        values.codeText.insert(values.codeText.begin(), '0');
        outcome.refill = true;
    }
    if (refusal != Refusal::None) {
        outcome.kind = CodeEntryOutcome::Kind::Rejected;
        outcome.refusal = refusal;
        outcome.message = std::string(ValidationMessage(ValidationNumber(refusal)));
        if (outcome.message.empty()) {
            // No result code without a message is known; a refusal must
            // still never pass for an acceptance.
            outcome.message = std::string(ValidationMessage(BadCharacter));
        }
        return outcome;
    }
    values.codeText = validator.Text();
    return outcome;
}

EncodeResult CodeEntry::ApplyTo(CBarCodeDoc& doc, const WorkingGaps& gaps,
                                const CodabarOptions& codabar) const
{
    doc.CodeHigh = values.codeHigh;
    doc.CodeType = values.codeType;
    doc.CodeText = values.codeText;
    doc.Check = values.check;
    doc.Aspect = values.aspect;
    doc.Height = values.height;
    doc.Width = values.width;
    doc.Ymargin = values.ymargin;
    doc.AutoAdd = values.autoAdd;
    doc.DispCode = values.dispCode;
    doc.NWidth = values.nwidth;
    doc.Xmargin = values.xmargin;
    doc.Case = BearerKept(values.bearer, values.codeType, values.codeText);
    doc.CodabarGapX = gaps.codabarGapX;
    doc.Code39GapX = gaps.code39GapX;
    return doc.Encode(codabar);
}

}  // namespace kestrel
