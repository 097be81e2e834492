#include "document/CodeDlg.h"

#include "document/CodeDlgTexts.h"
#include "document/CodeTextFit.h"
#include "resources/ProgramName.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"
#include "text/Cp932.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace kestrel {

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A label that moves the focus to its box.
QLabel* BuddyLabel(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* shown = new QLabel(Text(text), parent);
    shown->setBuddy(buddy);
    return shown;
}

}  // namespace

// The code box takes what code page 932 can hold, up to the byte limit: a
// double-byte character counts two, and a character code page 932 has no
// code for is refused. An edit past the limit (a paste, mostly) keeps as
// much of what it inserted as fits, as a box with a length limit does.
class CodeTextValidator : public QValidator {
public:
    using QValidator::QValidator;

    // Shows `text` as it is, as the dialog fills the box: only edits are
    // cut to fit.
    void SetText(QLineEdit& box, const QString& text)
    {
        settingText_ = true;
        box.setText(text);
        settingText_ = false;
    }

    State validate(QString& input, int& pos) const override
    {
        std::string bytes;
        if (!QStringToCp932(input, bytes)) {
            return Invalid;
        }
        if (settingText_) {
            accepted_ = input;
            return CodeEntry::CodeTextFits(bytes) ? Acceptable : Invalid;
        }
        if (!CodeEntry::CodeTextFits(bytes)) {
            const std::optional<FittedText> fitted = FitInsertion(accepted_, input, pos,
                                                                  CodeEntry::MaxCodeTextBytes);
            if (!fitted) {
                return Invalid;
            }
            input = fitted->text;
            pos = fitted->cursor;
        }
        accepted_ = input;
        return Acceptable;
    }

private:
    // The text the box holds: every change passes through here.
    mutable QString accepted_;
    bool settingText_ = false;
};

CCodeDlg::CCodeDlg(CodeEntry& entry, const Profile& profile, QWidget* parent)
    : QDialog(parent), entry_(entry), profile_(profile)
{
    setWindowTitle(Text(texts::CodeDlgTitle));
    setModal(true);
    BuildControls();

    FillControls();
    ApplyEnabling(entry_.SelectionChanged(type_->currentIndex()));
    for (std::size_t index = 0; index < CodeNumberCount; ++index) {
        numberBoxes_[index]->StartFrom(entry_.values.Number(static_cast<CodeNumber>(index)));
    }

    connect(type_, &QComboBox::currentIndexChanged, this, &CCodeDlg::OnSelchangeType);
    connect(autoAdd_, &QCheckBox::clicked, this, &CCodeDlg::OnAutoAddClicked);
    connect(check_, &QCheckBox::clicked, this, &CCodeDlg::OnCheckClicked);
    connect(ok_, &QPushButton::clicked, this, &CCodeDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CCodeDlg::reject);
    connect(options_, &QPushButton::clicked, this, &CCodeDlg::OnOptions);
}

void CCodeDlg::BuildControls()
{
    const auto numberBox = [&](CodeNumber number, const char* name) {
        auto* box = new UpDownEdit(CodeEntry::Limits(number), this);
        box->setObjectName(name);
        numberBoxes_[static_cast<std::size_t>(number)] = box;
        return box;
    };
    const auto checkBox = [&](const char* text, const char* name) {
        auto* box = new QCheckBox(Text(text), this);
        box->setObjectName(name);
        return box;
    };
    const auto button = [&](const char* text, const char* name) {
        auto* pushButton = new QPushButton(Text(text), this);
        pushButton->setObjectName(name);
        return pushButton;
    };

    type_ = new QComboBox(this);
    type_->setObjectName("type");
    for (const std::string_view name : SymbologyNames) {
        type_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    showText_ = checkBox(texts::CodeDlgShowText, "showText");
    code_ = new QLineEdit(this);
    code_->setObjectName("code");
    codeValidator_ = new CodeTextValidator(code_);
    code_->setValidator(codeValidator_);
    check_ = checkBox(texts::CodeDlgCheck, "check");
    autoAdd_ = checkBox(texts::CodeDlgAutoAdd, "autoAdd");
    numberBox(CodeNumber::Height, "height");
    numberBox(CodeNumber::Width, "width");
    ratioGroup_ = new QButtonGroup(this);
    const std::array<std::pair<const char*, const char*>, 3> ratios{
        {{texts::CodeDlgRatio12, "ratio12"},
         {texts::CodeDlgRatio25, "ratio25"},
         {texts::CodeDlgRatio13, "ratio13"}}};
    for (std::size_t index = 0; index < ratios.size(); ++index) {
        ratio_[index] = new QRadioButton(Text(ratios[index].first), this);
        ratio_[index]->setObjectName(ratios[index].second);
        ratioGroup_->addButton(ratio_[index], static_cast<int>(index));
    }
    numberBox(CodeNumber::LeftMargin, "leftMargin");
    numberBox(CodeNumber::TopMargin, "topMargin");
    numberBox(CodeNumber::NarrowWidth, "narrowWidth");
    numberBox(CodeNumber::TextHeight, "textHeight");
    bearer_ = checkBox(texts::CodeDlgBearer, "bearer");
    ok_ = button(texts::CodeDlgOk, "ok");
    cancel_ = button(texts::CodeDlgCancel, "cancel");
    options_ = button(texts::CodeDlgOptions, "options");
    ok_->setDefault(true);

    LayOutControls();
    OrderTabs();
}

void CCodeDlg::LayOutControls()
{
    auto* data = new QGridLayout;
    data->addWidget(BuddyLabel(texts::CodeDlgType, type_, this), 0, 0);
    data->addWidget(type_, 0, 1);
    data->addWidget(showText_, 0, 2);
    data->addWidget(BuddyLabel(texts::CodeDlgCode, code_, this), 1, 0);
    data->addWidget(code_, 1, 1, 1, 2);
    data->setColumnStretch(1, 1);

    QGridLayout* groups = LayOutValueGroups();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(options_);
    buttons->addStretch();

    auto* controls = new QVBoxLayout;
    controls->addLayout(data);
    controls->addLayout(groups);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(controls, 1);
    whole->addLayout(buttons);
}

QGridLayout* CCodeDlg::LayOutValueGroups()
{
    // Rows of a label beside the number box it names, from the top.
    const auto labelledBoxes = [&](QGridLayout* grid,
                                   std::initializer_list<std::pair<const char*, CodeNumber>> rows) {
        int row = 0;
        for (const auto& [text, number] : rows) {
            grid->addWidget(BuddyLabel(text, NumberBox(number), this), row, 0);
            grid->addWidget(NumberBox(number), row, 1);
            ++row;
        }
    };

    auto* checkGroup = new QGroupBox(Text(texts::CodeDlgCheckGroup), this);
    auto* checkLayout = new QHBoxLayout(checkGroup);
    checkLayout->addWidget(check_);
    checkLayout->addWidget(autoAdd_);

    auto* sizeGroup = new QGroupBox(Text(texts::CodeDlgSizeGroup), this);
    labelledBoxes(new QGridLayout(sizeGroup), {{texts::CodeDlgHeight, CodeNumber::Height},
                                               {texts::CodeDlgWidth, CodeNumber::Width}});

    auto* ratioGroupBox = new QGroupBox(Text(texts::CodeDlgRatioGroup), this);
    auto* ratioLayout = new QVBoxLayout(ratioGroupBox);
    for (QRadioButton* radio : ratio_) {
        ratioLayout->addWidget(radio);
    }

    auto* marginGroup = new QGroupBox(Text(texts::CodeDlgMarginGroup), this);
    labelledBoxes(new QGridLayout(marginGroup), {{texts::CodeDlgLeft, CodeNumber::LeftMargin},
                                                 {texts::CodeDlgTop, CodeNumber::TopMargin}});

    auto* others = new QGridLayout;
    labelledBoxes(others, {{texts::CodeDlgNarrow, CodeNumber::NarrowWidth},
                           {texts::CodeDlgTextHeight, CodeNumber::TextHeight}});
    others->addWidget(bearer_, 2, 0, 1, 2);
    others->setRowStretch(3, 1);

    auto* groups = new QGridLayout;
    groups->addWidget(checkGroup, 0, 0);
    groups->addWidget(sizeGroup, 1, 0);
    groups->addWidget(ratioGroupBox, 0, 1, 2, 1);
    groups->addWidget(marginGroup, 0, 2, 2, 1);
    groups->addLayout(others, 0, 3, 2, 1);
    return groups;
}

// Tab goes through the values in the order they are exchanged, then the
// buttons.
void CCodeDlg::OrderTabs()
{
    QWidget* const order[] = {type_,
                              showText_,
                              code_,
                              check_,
                              NumberBox(CodeNumber::Height),
                              ratio_[0],
                              ratio_[1],
                              ratio_[2],
                              NumberBox(CodeNumber::LeftMargin),
                              NumberBox(CodeNumber::NarrowWidth),
                              NumberBox(CodeNumber::TopMargin),
                              NumberBox(CodeNumber::Width),
                              autoAdd_,
                              NumberBox(CodeNumber::TextHeight),
                              bearer_,
                              ok_,
                              cancel_,
                              options_};
    for (std::size_t index = 1; index < std::size(order); ++index) {
        setTabOrder(order[index - 1], order[index]);
    }
}

CodeEntryControls CCodeDlg::ReadControls() const
{
    CodeEntryControls controls;
    controls.codeType = type_->currentIndex();
    controls.dispCode = showText_->isChecked() ? 1 : 0;
    // The text as filled keeps its own bytes, even those no Unicode
    // character stands for; typed text is code page 932 by the box's rule.
    const QString shown = code_->text();
    if (shown == Cp932ToQString(entry_.values.codeText)) {
        controls.codeText = entry_.values.codeText;
    } else {
        controls.codeText = QStringToCp932Lossy(shown);
    }
    controls.check = check_->isChecked() ? 1 : 0;
    controls.aspect = std::max(ratioGroup_->checkedId(), 0);
    controls.autoAdd = autoAdd_->isChecked() ? 1 : 0;
    controls.bearer = bearer_->isChecked() ? 1 : 0;
    for (std::size_t index = 0; index < CodeNumberCount; ++index) {
        controls.numbers[index] = numberBoxes_[index]->Text().toStdString();
    }
    return controls;
}

void CCodeDlg::FillControls()
{
    const CodeEntryControls controls = entry_.Controls();
    {
        const QSignalBlocker blocker(type_);
        type_->setCurrentIndex(IsSymbology(controls.codeType) ? controls.codeType : -1);
    }
    showText_->setChecked(controls.dispCode != 0);
    codeValidator_->SetText(*code_, Cp932ToQString(controls.codeText));
    check_->setChecked(controls.check != 0);
    autoAdd_->setChecked(controls.autoAdd != 0);
    bearer_->setChecked(controls.bearer != 0);
    if (controls.aspect >= 0 && controls.aspect < static_cast<int>(ratio_.size())) {
        ratio_[static_cast<std::size_t>(controls.aspect)]->setChecked(true);
    } else {
        // No button stands for a ratio outside 0..2: none is checked, and OK
        // reads the first.
        ratioGroup_->setExclusive(false);
        for (QRadioButton* radio : ratio_) {
            radio->setChecked(false);
        }
        ratioGroup_->setExclusive(true);
    }
    for (std::size_t index = 0; index < CodeNumberCount; ++index) {
        numberBoxes_[index]->SetText(QString::fromStdString(controls.numbers[index]));
    }
}

void CCodeDlg::ApplyEnabling(const CodeEntryEnabling& enabling)
{
    check_->setEnabled(enabling.checkEnabled);
    check_->setChecked(enabling.checkMark != 0);
    autoAdd_->setEnabled(enabling.autoAddEnabled);
    autoAdd_->setChecked(enabling.autoAddMark != 0);
    for (QRadioButton* radio : ratio_) {
        radio->setEnabled(enabling.ratioEnabled);
    }
    bearer_->setEnabled(enabling.bearerEnabled);
}

void CCodeDlg::OnSelchangeType(int index)
{
    ApplyEnabling(entry_.SelectionChanged(index));
}

void CCodeDlg::OnAutoAddClicked()
{
    ApplyClick(&CodeEntry::AutoAddClicked, check_);
}

void CCodeDlg::OnCheckClicked()
{
    ApplyClick(&CodeEntry::CheckClicked, autoAdd_);
}

void CCodeDlg::ApplyClick(Click click, QCheckBox* marked)
{
    std::optional<FieldFailure> failure;
    const int mark = (entry_.*click)(ReadControls(), &failure);
    if (failure) {
        ShowFieldFailure(*failure);
    }
    marked->setChecked(mark != 0);
}

void CCodeDlg::OnOptions()
{
    if (optionsRunner_) {
        optionsRunner_();
    }
}

void CCodeDlg::accept()
{
    const CodeEntryOutcome outcome = entry_.Ok(ReadControls(), ReadCodabarOptions(profile_));
    if (outcome.refill) {
        FillControls();
    }
    switch (outcome.kind) {
    case CodeEntryOutcome::Kind::FieldFailed: ShowFieldFailure(*outcome.failure); return;
    case CodeEntryOutcome::Kind::EmptyText: return;
    case CodeEntryOutcome::Kind::Rejected: Show(outcome.message); return;
    case CodeEntryOutcome::Kind::Accepted: break;
    }
    QDialog::accept();
}

void CCodeDlg::ShowFieldFailure(const FieldFailure& failure)
{
    Show(failure.message);
    UpDownEdit* box = NumberBox(failure.number);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void CCodeDlg::Show(const std::string& messageUtf8)
{
    const QString text = QString::fromStdString(messageUtf8);
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(this, QString::fromUtf16(texts::ProgramName), text, QMessageBox::Ok);
}

}  // namespace kestrel
