#pragma once

#include "document/CodeEntry.h"
#include "widgets/UpDownEdit.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

class CodeTextValidator;
class Profile;

// "コード設定": binds its controls to a `CodeEntry`. The entry's values fill
// the controls when the dialog is made; OK reads them back, accepts the
// code text and closes only when everything was accepted, leaving the
// accepted values in the entry for the caller to apply.
//
// Object names, for tests and scripts: "type", "showText", "code", "check",
// "autoAdd", "height", "width", "ratio12", "ratio25", "ratio13",
// "leftMargin", "topMargin", "narrowWidth", "textHeight", "bearer", "ok",
// "cancel", "options".
class CCodeDlg : public QDialog {
    Q_OBJECT

public:
    // `profile` gives the Codabar options at every OK.
    CCodeDlg(CodeEntry& entry, const Profile& profile, QWidget* parent = nullptr);

    // Shows a message to the user (UTF-16 text); a message box by default.
    using MessageSink = std::function<void(const QString&)>;
    // The "ｵﾌﾟｼｮﾝ" button's work: runs the options sheet.
    using OptionsRunner = std::function<void()>;

    // Tests replace the message box; the caller gives the options sheet.
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    void SetOptionsRunner(OptionsRunner runner) { optionsRunner_ = std::move(runner); }

    UpDownEdit* NumberBox(CodeNumber number) const
    {
        return numberBoxes_[static_cast<std::size_t>(number)];
    }

public slots:
    void accept() override;

private slots:
    void OnSelchangeType(int index);
    void OnAutoAddClicked();
    void OnCheckClicked();
    void OnOptions();

private:
    // Makes the controls with their names and texts, then lays them out
    // and orders the tab chain.
    void BuildControls();
    void LayOutControls();
    QGridLayout* LayOutValueGroups();
    void OrderTabs();
    CodeEntryControls ReadControls() const;
    void FillControls();
    void ApplyEnabling(const CodeEntryEnabling& enabling);
    // Runs one of the entry's clicks on the controls as they are and puts
    // the mark it returns on `marked`.
    using Click = int (CodeEntry::*)(const CodeEntryControls&, std::optional<FieldFailure>*);
    void ApplyClick(Click click, QCheckBox* marked);
    void ShowFieldFailure(const FieldFailure& failure);
    void Show(const std::string& messageUtf8);

    CodeEntry& entry_;
    const Profile& profile_;
    MessageSink messageSink_;
    OptionsRunner optionsRunner_;

    QComboBox* type_ = nullptr;
    QCheckBox* showText_ = nullptr;
    QLineEdit* code_ = nullptr;
    CodeTextValidator* codeValidator_ = nullptr;  // owned by code_
    QCheckBox* check_ = nullptr;
    QCheckBox* autoAdd_ = nullptr;
    std::array<QRadioButton*, 3> ratio_{};
    QButtonGroup* ratioGroup_ = nullptr;
    QCheckBox* bearer_ = nullptr;
    std::array<UpDownEdit*, CodeNumberCount> numberBoxes_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* options_ = nullptr;
};

}  // namespace kestrel
