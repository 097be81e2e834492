#include "options/OptionsPropertySheet.h"

#include "options/OptionsTexts.h"
#include "resources/ProgramName.h"
#include "widgets/UpDownEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace kestrel {

namespace {

namespace t = texts::options;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

int Index(OptionsPage page)
{
    return static_cast<int>(page);
}

// The names tests and scripts find the controls by: the profile key each
// control edits. The colour-depth buttons add their index.
const char* ObjectNameOf(OptionControl control)
{
    switch (control) {
    case OptionControl::JanCodeOut: return "JanCodeOut";
    case OptionControl::JanCaseWidth: return "JanCaseWidth";
    case OptionControl::Code39GapX: return "Code39GapX";
    case OptionControl::CodabarCheckDegit: return "CodabarCheckDegit";
    case OptionControl::CodabarStartChar: return "CodabarStartChar";
    case OptionControl::CodabarStopChar: return "CodabarStopChar";
    case OptionControl::CodabarGapX: return "CodabarGapX";
    case OptionControl::ItfCaseWidth: return "ItfCaseWidth";
    case OptionControl::Bitmap: break;
    }
    return "Bitmap";
}

}  // namespace

COptionsPropertyPage::COptionsPropertyPage(OptionsPage page, const char* objectName,
                                           QWidget* parent)
    : QWidget(parent), page_(page)
{
    setObjectName(QString::fromLatin1(objectName));
    auto* outer = new QVBoxLayout(this);
    const std::span<const OptionControlInfo> controls = ControlsOf(page);
    if (controls.empty()) {
        auto* label = new QLabel(Text(t::NoOptions), this);
        label->setObjectName(QStringLiteral("NoOptions"));
        outer->addWidget(label);
        outer->addStretch(1);
        return;
    }

    auto* grid = new QGridLayout;
    std::vector<QWidget*> focusOrder;
    int row = 0;
    for (const OptionControlInfo& info : controls) {
        bound_.emplace(info.control, AddControl(info, *grid, row, focusOrder));
    }
    // The controls keep their natural width; the space left goes to the right.
    grid->setColumnStretch(3, 1);
    outer->addLayout(grid);
    outer->addStretch(1);
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }
}

COptionsPropertyPage::Bound COptionsPropertyPage::AddControl(const OptionControlInfo& info,
                                                             QGridLayout& grid, int& row,
                                                             std::vector<QWidget*>& focusOrder)
{
    Bound bound;
    bound.info = &info;
    const QString name = QString::fromLatin1(ObjectNameOf(info.control));
    switch (info.kind) {
    case ControlKind::CheckBox:
        bound.check = new QCheckBox(Text(info.label), this);
        bound.check->setObjectName(name);
        grid.addWidget(bound.check, row++, 0, 1, 3);
        focusOrder.push_back(bound.check);
        break;
    case ControlKind::NumberBox: {
        auto* label = new QLabel(Text(info.label), this);
        bound.number = new UpDownEdit(info.limits, this);
        bound.number->setObjectName(name);
        label->setBuddy(bound.number);
        grid.addWidget(label, row, 0);
        // As narrow as its numbers, even beside a wider list, with its
        // unit right after it.
        auto* numberWithUnit = new QHBoxLayout;
        numberWithUnit->addWidget(bound.number);
        if (info.unit != nullptr) {
            numberWithUnit->addWidget(new QLabel(Text(info.unit), this));
        }
        numberWithUnit->addStretch(1);
        grid.addLayout(numberWithUnit, row, 1, 1, 2);
        ++row;
        focusOrder.push_back(bound.number);
        break;
    }
    case ControlKind::List: {
        auto* label = new QLabel(Text(info.label), this);
        bound.list = new QComboBox(this);
        bound.list->setObjectName(name);
        for (const char* item : info.items) {
            bound.list->addItem(Text(item));
        }
        label->setBuddy(bound.list);
        grid.addWidget(label, row, 0);
        grid.addWidget(bound.list, row, 1);
        ++row;
        focusOrder.push_back(bound.list);
        break;
    }
    case ControlKind::RadioButtons:
        bound.buttons = new QButtonGroup(this);
        for (std::size_t i = 0; i < info.items.size(); ++i) {
            auto* button = new QRadioButton(Text(info.items[i]), this);
            button->setObjectName(name + QString::number(i));
            bound.buttons->addButton(button, static_cast<int>(i));
            grid.addWidget(button, row++, 0, 1, 3);
            focusOrder.push_back(button);
        }
        break;
    }
    return bound;
}

void COptionsPropertyPage::Fill(const OptionsSheetModel& model)
{
    for (const auto& [control, bound] : bound_) {
        if (bound.check != nullptr) {
            bound.check->setChecked(model.Choice(control) != 0);
        } else if (bound.number != nullptr) {
            bound.number->SetText(QString::fromStdString(model.Text(control)));
            bound.number->StartFrom(model.Value(control));
        } else if (bound.list != nullptr) {
            bound.list->setCurrentIndex(model.Choice(control));
        } else if (bound.buttons != nullptr) {
            // An exclusive group cannot be emptied by unchecking its button.
            bound.buttons->setExclusive(false);
            for (QAbstractButton* button : bound.buttons->buttons()) {
                button->setChecked(bound.buttons->id(button) == model.Choice(control));
            }
            bound.buttons->setExclusive(true);
        }
    }
}

void COptionsPropertyPage::Collect(OptionsSheetModel& model) const
{
    for (const auto& [control, bound] : bound_) {
        if (bound.check != nullptr) {
            model.SetChoice(control, bound.check->isChecked() ? 1 : 0);
        } else if (bound.number != nullptr) {
            model.SetText(control, bound.number->Text().toStdString());
        } else if (bound.list != nullptr) {
            model.SetChoice(control, bound.list->currentIndex());
        } else if (bound.buttons != nullptr) {
            model.SetChoice(control, bound.buttons->checkedId());
        }
    }
}

QWidget* COptionsPropertyPage::Control(OptionControl control) const
{
    const auto found = bound_.find(control);
    if (found == bound_.end()) {
        return nullptr;
    }
    const Bound& bound = found->second;
    if (bound.check != nullptr) {
        return bound.check;
    }
    if (bound.number != nullptr) {
        return bound.number;
    }
    if (bound.list != nullptr) {
        return bound.list;
    }
    return bound.buttons->button(0);
}

CJanPropertyPage::CJanPropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Jan, "CJanPropertyPage", parent)
{
}
CItfStfPropertyPage::CItfStfPropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::ItfStf, "CItfStfPropertyPage", parent)
{
}
CCode39PropertyPage::CCode39PropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Code39, "CCode39PropertyPage", parent)
{
}
CCode93PropertyPage::CCode93PropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Code93, "CCode93PropertyPage", parent)
{
}
CCode128PropertyPage::CCode128PropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Code128, "CCode128PropertyPage", parent)
{
}
CCode11PropertyPage::CCode11PropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Code11, "CCode11PropertyPage", parent)
{
}
CCodabarPropertyPage::CCodabarPropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Codabar, "CCodabarPropertyPage", parent)
{
}
CITFPropertyPage::CITFPropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Itf, "CITFPropertyPage", parent)
{
}
CComPropertyPage::CComPropertyPage(QWidget* parent)
    : COptionsPropertyPage(OptionsPage::Bitmap, "CComPropertyPage", parent)
{
}

COpionPropertySheet::COpionPropertySheet(OptionsSheetModel& model, QWidget* parent)
    : QDialog(parent), model_(model), tabs_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("COpionPropertySheet"));
    setWindowTitle(Text(t::SheetTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    tabs_->setObjectName(QStringLiteral("pages"));
    // Every caption stays in sight: the sheet is as wide as its nine tabs.
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideNone);
    const std::array<COptionsPropertyPage*, OptionsPageCount> pages{
        new CJanPropertyPage,     new CItfStfPropertyPage,  new CCode39PropertyPage,
        new CCode93PropertyPage,  new CCode128PropertyPage, new CCode11PropertyPage,
        new CCodabarPropertyPage, new CITFPropertyPage,     new CComPropertyPage,
    };
    for (COptionsPropertyPage* page : pages) {
        page->Fill(model_);
        tabs_->addTab(page, Text(InfoOf(page->Page()).caption));
    }
    tabs_->setCurrentIndex(Index(model_.CurrentPage()));
    connect(tabs_, &QTabWidget::currentChanged, this, &COpionPropertySheet::OnCurrentChanged);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(Text(t::Ok), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(Text(t::Cancel), QDialogButtonBox::RejectRole);
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &COpionPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COpionPropertySheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

COptionsPropertyPage* COpionPropertySheet::Page(OptionsPage page) const
{
    return qobject_cast<COptionsPropertyPage*>(tabs_->widget(Index(page)));
}

// The tab has already changed when this runs: a page that cannot be read
// back is shown again.
void COpionPropertySheet::OnCurrentChanged(int index)
{
    const OptionsPage leaving = model_.CurrentPage();
    Page(leaving)->Collect(model_);
    if (const auto failure = model_.SelectPage(static_cast<OptionsPage>(index))) {
        {
            const QSignalBlocker blocker(tabs_);
            tabs_->setCurrentIndex(Index(leaving));
        }
        Refuse(*failure);
    }
}

void COpionPropertySheet::accept()
{
    Page(model_.CurrentPage())->Collect(model_);
    if (const auto failure = model_.ReadShownPage()) {
        Refuse(*failure);
        return;
    }
    QDialog::accept();
}

// The message first, then the focus on the box with its text selected, so
// that typing replaces the bad value.
void COpionPropertySheet::Refuse(const ExchangeFailure& failure)
{
    Warn(QString::fromStdString(failure.message));
    QWidget* control = Page(model_.CurrentPage())->Control(failure.control);
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* number = qobject_cast<UpDownEdit*>(control)) {
        number->selectAll();
    }
}

void COpionPropertySheet::Warn(const QString& text)
{
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(this, QString::fromUtf16(texts::ProgramName), text);
}

}  // namespace kestrel
