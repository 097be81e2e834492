// "オプション設定" offscreen: its texts (compared here and nowhere else),
// that the controls show and hand back what the model holds, the up-down
// boxes, a refused page, OK and Cancel through RunOptionsSheet and the Edit
// menu command. The model's own rules are tested without widgets.

#include "app/ApplicationContext.h"
#include "document/BarCodeDoc.h"
#include "document/OptionsCommand.h"
#include "document/WorkingGaps.h"
#include "options/OptionsPropertySheet.h"
#include "options/RunOptionsSheet.h"
#include "profile/MemoryProfile.h"
#include "symbology/Symbology.h"
#include "widgets/UpDownEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

using C = OptionControl;
using P = OptionsPage;

// Every text a page shows, in the order of its controls: labels, button
// texts and, for a list, its items joined by "|".
QStringList TextsOf(const QWidget* page)
{
    QStringList texts;
    for (const QWidget* widget : page->findChildren<QWidget*>()) {
        if (widget->parentWidget() != page) {
            continue;  // the inner parts of a list or a number box
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
            QStringList items;
            for (int i = 0; i < list->count(); ++i) {
                items << list->itemText(i);
            }
            texts << items.join(u'|');
        }
    }
    return texts;
}

template <typename Widget = QWidget>
Widget* Find(const QWidget& sheet, const QString& name)
{
    auto* widget = sheet.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

// The profile key each control edits names it; the colour-depth buttons add
// their index.
QString NameOf(C control)
{
    static const char* const names[] = {"JanCodeOut",        "JanCaseWidth",     "Code39GapX",
                                        "CodabarCheckDegit", "CodabarStartChar", "CodabarStopChar",
                                        "CodabarGapX",       "ItfCaseWidth",     "Bitmap"};
    return QString::fromLatin1(names[static_cast<int>(control)]);
}

void Fill(MemoryProfile& profile,
          const std::vector<std::tuple<const char*, const char*, int>>& keys)
{
    for (const auto& [section, key, value] : keys) {
        profile.WriteProfileInt(section, key, value);
    }
}

TEST(OptionsSheetWidgetTest, TitleTabsButtonsAndEveryText)
{
    MemoryProfile profile;
    WorkingGaps gaps{1, 1};
    OptionsSheetModel model(profile, gaps);
    COpionPropertySheet sheet(model);

    const QString codabarCharacters = QStringLiteral("A|B|C|D|a|b|c|d");
    const QString noOptions = QStringLiteral("現在設定オプションはありません");
    struct PageTexts {
        const char* objectName;
        QString caption;
        QStringList texts;
    };
    const std::vector<PageTexts> pages{
        {"CJanPropertyPage", "JAN8 JAN13", {"文字コードを区切る", "ベアラバー幅"}},
        {"CItfStfPropertyPage", "ITF STF", {noOptions}},
        {"CCode39PropertyPage", "Code39  ExtCode39", {"ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ", "x細バー幅"}},
        {"CCode93PropertyPage", "Code93 ExtCode93", {noOptions}},
        {"CCode128PropertyPage", "Code128", {noOptions}},
        {"CCode11PropertyPage", "Code11", {noOptions}},
        {"CCodabarPropertyPage",
         "Codabar(NW7)",
         {"チェックデジット", "モジュラス１０|モジュラス１１（加重）|モジュラス１６|モジュラス７",
          "スタートコード", codabarCharacters, "ストップコード", codabarCharacters, "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ",
          "x細バー幅"}},
        {"CITFPropertyPage", "標準物流14,16", {"ベアラバー幅"}},
        {"CComPropertyPage",
         "ビットマップ保存",
         {"ディスプレイの色数のまま保存", "色数が16ビット、３２ビットは24ビットで保存",
          "２５６色で保存"}},
    };
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("オプション設定"));
    ASSERT_EQ(sheet.Tabs()->count(), static_cast<int>(pages.size()));
    for (int i = 0; i < sheet.Tabs()->count(); ++i) {
        SCOPED_TRACE(pages[i].objectName);
        EXPECT_EQ(sheet.Tabs()->widget(i)->objectName(), pages[i].objectName);
        EXPECT_EQ(sheet.Tabs()->tabText(i), pages[i].caption);
        EXPECT_EQ(TextsOf(sheet.Tabs()->widget(i)), pages[i].texts);
    }
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);

    // Only OK and Cancel: no Apply, no Help.
    QStringList buttons;
    for (const QPushButton* button : sheet.findChildren<QPushButton*>()) {
        buttons << button->text();
    }
    EXPECT_EQ(buttons, (QStringList{"OK", "ｷｬﾝｾﾙ"}));
    EXPECT_TRUE(sheet.OkButton()->isDefault());
    EXPECT_FALSE(sheet.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

// Each control shows its value as the model holds it, whatever it is: an
// empty profile and one whose values differ from every control's default.
TEST(OptionsSheetWidgetTest, ControlsShowWhatTheModelHolds)
{
    MemoryProfile empty;
    MemoryProfile filled;
    Fill(filled, {{"JAN", "CodeOut", 0},
                  {"JAN", "CaseWidth", 12},
                  {"Codabar", "CheckDegit", 3},
                  {"Codabar", "StartChar", 5},
                  {"Codabar", "StopChar", 8},  // no such item
                  {"ITF", "CaseWidth", 9},
                  {"Settings", "Bitmap", 2}});
    for (const auto& [profile, gaps] :
         {std::pair{&empty, WorkingGaps{1, 1}}, std::pair{&filled, WorkingGaps{3, 4}}}) {
        OptionsSheetModel model(*profile, gaps);
        COpionPropertySheet sheet(model);
        for (const OptionControlInfo& info : OptionControls) {
            const QString name = NameOf(info.control);
            SCOPED_TRACE(name.toStdString() + (profile == &empty ? " (empty)" : " (filled)"));
            const int choice = model.Choice(info.control);
            switch (info.kind) {
            case ControlKind::NumberBox: {
                auto* box = Find<UpDownEdit>(sheet, name);
                EXPECT_EQ(box->Text().toStdString(), model.Text(info.control));
                EXPECT_EQ(box->Position(), UpDownStartPosition(model.Value(info.control)));
                break;
            }
            case ControlKind::CheckBox:
                EXPECT_EQ(Find<QCheckBox>(sheet, name)->isChecked(), choice != 0);
                break;
            case ControlKind::List:
                EXPECT_EQ(Find<QComboBox>(sheet, name)->currentIndex(), choice);
                break;
            case ControlKind::RadioButtons:
                for (int i = 0; i < static_cast<int>(info.items.size()); ++i) {
                    EXPECT_EQ(Find<QRadioButton>(sheet, name + QString::number(i))->isChecked(),
                              i == choice);
                }
                break;
            }
        }
    }
}

// The stepping itself is the up-down rule's; here each box has its own
// limits and starts from its stored value.
TEST(OptionsSheetWidgetTest, ArrowKeysStepWithinTheBoxsLimitsAndTypedTextStays)
{
    const struct {
        C box;
        const char* section;  // a CaseWidth stored by hand, or nullptr
        int stored;
        QString typed;
        Qt::Key key;
        QString expected;
    } cases[] = {
        {C::JanCaseWidth, nullptr, 0, "5", Qt::Key_Up, "6"},
        {C::JanCaseWidth, nullptr, 0, "15", Qt::Key_Up, "15"},
        {C::JanCaseWidth, nullptr, 0, "20", Qt::Key_Down, "15"},
        {C::Code39GapX, nullptr, 0, "1", Qt::Key_Down, "1"},
        {C::CodabarGapX, nullptr, 0, "10", Qt::Key_Up, "10"},
        {C::CodabarGapX, nullptr, 0, "10", Qt::Key_Down, "9"},
        {C::ItfCaseWidth, nullptr, 0, "x", Qt::Key_Up, "6"},    // no number: from 5
        {C::ItfCaseWidth, nullptr, 0, "x", Qt::Key_A, "xa"},    // anything typed is kept
        {C::JanCaseWidth, "JAN", 65538, "x", Qt::Key_Up, "3"},  // from the low 16 bits, 2
        {C::ItfCaseWidth, "ITF", 65535, "x", Qt::Key_Up, "1"},  // -1: below, the lowest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NameOf(c.box).toStdString() + " " + c.typed.toStdString());
        MemoryProfile profile;
        if (c.section != nullptr) {
            profile.WriteProfileInt(c.section, "CaseWidth", c.stored);
        }
        WorkingGaps gaps{1, 1};
        OptionsSheetModel model(profile, gaps);
        COpionPropertySheet sheet(model);
        auto* box = Find<UpDownEdit>(sheet, NameOf(c.box));
        ASSERT_NE(box, nullptr);
        box->SetText(c.typed);
        QTest::keyClick(box, c.key);
        EXPECT_EQ(box->Text(), c.expected);
    }
}

TEST(OptionsSheetWidgetTest, BadNumberKeepsTheUserOnThePageWithTheMessage)
{
    const struct {
        P page;
        C box;
        QString typed;
        bool byOk;  // OK pressed; otherwise another tab chosen
        FieldError error;
    } cases[] = {
        {P::Jan, C::JanCaseWidth, "16", false, FieldError::OutOfRange},
        {P::Code39, C::Code39GapX, "0", true, FieldError::OutOfRange},
        {P::Codabar, C::CodabarGapX, "11", false, FieldError::OutOfRange},
        {P::Itf, C::ItfCaseWidth, "abc", true, FieldError::NotAnInteger},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NameOf(c.box).toStdString());
        MemoryProfile profile;
        WorkingGaps gaps{1, 1};
        OptionsSheetModel model(profile, gaps);
        COpionPropertySheet sheet(model);
        QStringList messages;
        sheet.SetMessageSink([&](const QString& text) { messages << text; });
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        sheet.Tabs()->setCurrentIndex(static_cast<int>(c.page));
        auto* box = Find<UpDownEdit>(sheet, NameOf(c.box));
        ASSERT_NE(box, nullptr);
        box->SetText(c.typed);
        if (c.byOk) {
            QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
        } else {
            sheet.Tabs()->setCurrentIndex(static_cast<int>(P::Bitmap));
        }
        const std::string message = FieldErrorMessage(c.error, InfoOf(c.box).limits);
        EXPECT_EQ(messages, QStringList{QString::fromStdString(message)});
        EXPECT_EQ(sheet.Tabs()->currentIndex(), static_cast<int>(c.page));
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->Text(), c.typed);

        // Corrected, Enter confirms through the default button.
        box->SetText(QStringLiteral("7"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
        EXPECT_EQ(model.Value(c.box), 7);
        EXPECT_EQ(messages.size(), 1);
    }
}

// Runs `act` on the sheet once it has been opened.
void WhenTheSheetOpens(const std::function<void(COpionPropertySheet&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* sheet = qobject_cast<COpionPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        act(*sheet);
    });
}

void EditEveryPage(COpionPropertySheet& sheet)
{
    Find<QCheckBox>(sheet, "JanCodeOut")->setChecked(false);
    Find<UpDownEdit>(sheet, "JanCaseWidth")->SetText("8");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(P::Code39));
    Find<UpDownEdit>(sheet, "Code39GapX")->SetText("4");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(P::Codabar));
    Find<QComboBox>(sheet, "CodabarCheckDegit")->setCurrentIndex(0);
    Find<QComboBox>(sheet, "CodabarStartChar")->setCurrentIndex(3);
    Find<QComboBox>(sheet, "CodabarStopChar")->setCurrentIndex(6);
    Find<UpDownEdit>(sheet, "CodabarGapX")->SetText("2");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(P::Itf));
    Find<UpDownEdit>(sheet, "ItfCaseWidth")->SetText("3");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(P::Bitmap));
    Find<QRadioButton>(sheet, "Bitmap1")->setChecked(true);
}

// The sheet alone (as the code dialog runs it) leaves its gaps in the working
// copies; the Edit menu command starts from the document's gaps and gives the
// document the new ones, re-encoding its text.
TEST(OptionsSheetWidgetTest, OkStoresEveryPageCancelNothingAndTheCommandSetsTheDocumentsGaps)
{
    const struct {
        const char* name;
        bool command;  // RunOptionsCommand, else RunOptionsSheet
        bool ok;
        bool returned;
        QString shownGap;         // Code39GapX as the sheet opens
        std::vector<int> stored;  // StartChar, StopChar, CheckDegit, CodeOut, JAN, ITF, Bitmap
        WorkingGaps gaps;         // working copies after, {5, 5} before
        WorkingGaps docGaps;      // the document's, {1, 1} before
    } cases[] = {
        {"sheet OK", false, true, true, "5", {3, 6, 0, 0, 8, 3, 1}, {2, 4}, {1, 1}},
        {"sheet Cancel", false, false, false, "5", {-9, -9, -9, -9, -9, -9, -9}, {5, 5}, {1, 1}},
        {"command OK", true, true, true, "1", {3, 6, 0, 0, 8, 3, 1}, {2, 4}, {2, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        WorkingGaps gaps{1, 1};
        CBarCodeDoc doc;
        doc.Load(profile, gaps);
        ApplicationContext context{profile, gaps, doc, "/opt/kestrel/bin/kestrel"};
        doc.CodeType = Code39;
        doc.Check = 0;
        doc.CodeText = "*A*";
        gaps = {5, 5};  // left by the code dialog's own run of the sheet
        const std::size_t before = profile.WriteLog().size();
        QString shownGap;
        WhenTheSheetOpens([&](COpionPropertySheet& sheet) {
            shownGap = Find<UpDownEdit>(sheet, "Code39GapX")->Text();
            EditEveryPage(sheet);
            QTest::mouseClick(c.ok ? sheet.OkButton() : sheet.CancelButton(), Qt::LeftButton);
        });
        EXPECT_EQ(c.command ? RunOptionsCommand(context, nullptr)
                            : RunOptionsSheet(context, nullptr),
                  c.returned);
        EXPECT_EQ(shownGap, c.shownGap);
        const std::vector<std::string> writes(
            profile.WriteLog().begin() + static_cast<long>(before), profile.WriteLog().end());
        EXPECT_EQ(writes.size(), c.ok ? 7u : 0u) << "the gaps wait for the document";
        const std::vector<int> stored{profile.GetProfileInt("Codabar", "StartChar", -9),
                                      profile.GetProfileInt("Codabar", "StopChar", -9),
                                      profile.GetProfileInt("Codabar", "CheckDegit", -9),
                                      profile.GetProfileInt("JAN", "CodeOut", -9),
                                      profile.GetProfileInt("JAN", "CaseWidth", -9),
                                      profile.GetProfileInt("ITF", "CaseWidth", -9),
                                      profile.GetProfileInt("Settings", "Bitmap", -9)};
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(
            (std::vector<int>{gaps.codabarGapX, gaps.code39GapX, doc.CodabarGapX, doc.Code39GapX}),
            (std::vector<int>{c.gaps.codabarGapX, c.gaps.code39GapX, c.docGaps.codabarGapX,
                              c.docGaps.code39GapX}));
        if (c.command) {
            // "*", gap, "A": the space after the first character is the gap.
            ASSERT_GT(doc.ModuleSequence.count, 9);
            EXPECT_EQ(doc.ModuleSequence.elements[9], 4);
        } else {
            EXPECT_EQ(doc.ModuleSequence.count, 0);
        }
    }
}

}  // namespace
}  // namespace kestrel
