#pragma once

#include "options/OptionsSheetModel.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;
class QTabWidget;

namespace kestrel {

class UpDownEdit;

// One tab of the options sheet: its controls, laid out from the model's
// table, filled from the model and copied back into it.
class COptionsPropertyPage : public QWidget {
    Q_OBJECT

public:
    OptionsPage Page() const { return page_; }

    // Shows what the model's controls hold.
    void Fill(const OptionsSheetModel& model);
    // Hands what the user left in the controls to the model.
    void Collect(OptionsSheetModel& model) const;
    // The widget of one of this page's controls (the button group's first
    // button for the colour depth); nullptr when not on this page.
    QWidget* Control(OptionControl control) const;

protected:
    COptionsPropertyPage(OptionsPage page, const char* objectName, QWidget* parent);

private:
    struct Bound {
        const OptionControlInfo* info = nullptr;
        QCheckBox* check = nullptr;
        UpDownEdit* number = nullptr;
        QComboBox* list = nullptr;
        QButtonGroup* buttons = nullptr;
    };

    // Builds one option's controls into the grid from `row` on, advancing
    // `row` and adding them to the tab chain in the order built.
    Bound AddControl(const OptionControlInfo& info, QGridLayout& grid, int& row,
                     std::vector<QWidget*>& focusOrder);

    OptionsPage page_;
    std::map<OptionControl, Bound> bound_;
};

class CJanPropertyPage : public COptionsPropertyPage {
public:
    explicit CJanPropertyPage(QWidget* parent = nullptr);
};
class CItfStfPropertyPage : public COptionsPropertyPage {
public:
    explicit CItfStfPropertyPage(QWidget* parent = nullptr);
};
class CCode39PropertyPage : public COptionsPropertyPage {
public:
    explicit CCode39PropertyPage(QWidget* parent = nullptr);
};
class CCode93PropertyPage : public COptionsPropertyPage {
public:
    explicit CCode93PropertyPage(QWidget* parent = nullptr);
};
class CCode128PropertyPage : public COptionsPropertyPage {
public:
    explicit CCode128PropertyPage(QWidget* parent = nullptr);
};
class CCode11PropertyPage : public COptionsPropertyPage {
public:
    explicit CCode11PropertyPage(QWidget* parent = nullptr);
};
class CCodabarPropertyPage : public COptionsPropertyPage {
public:
    explicit CCodabarPropertyPage(QWidget* parent = nullptr);
};
class CITFPropertyPage : public COptionsPropertyPage {
public:
    explicit CITFPropertyPage(QWidget* parent = nullptr);
};
class CComPropertyPage : public COptionsPropertyPage {
public:
    explicit CComPropertyPage(QWidget* parent = nullptr);
};

// "オプション設定": the nine pages as tabs, OK and Cancel. A page with a bad
// number cannot be left, nor the sheet confirmed, until it is corrected; the
// caller stores the model's values when the sheet ends with OK.
class COpionPropertySheet : public QDialog {
    Q_OBJECT

public:
    explicit COpionPropertySheet(OptionsSheetModel& model, QWidget* parent = nullptr);

    // Shows a warning to the user; tests replace the message box.
    using MessageSink = std::function<void(const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    QTabWidget* Tabs() const { return tabs_; }
    COptionsPropertyPage* Page(OptionsPage page) const;
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void accept() override;

private:
    void OnCurrentChanged(int index);
    void Refuse(const ExchangeFailure& failure);
    void Warn(const QString& text);

    OptionsSheetModel& model_;
    QTabWidget* tabs_;
    QPushButton* ok_;
    QPushButton* cancel_;
    MessageSink messageSink_;
};

}  // namespace kestrel
