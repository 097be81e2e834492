// "オプション設定" offscreen: its texts, what the controls show first, the
// up-down boxes, a bad number keeping the user on its page, OK and Cancel.

#include "app/ApplicationContext.h"
#include "document/BarCodeDoc.h"
#include "document/OptionsCommand.h"
#include "document/WorkingGaps.h"
#include "options/OptionsPropertySheet.h"
#include "options/RunOptionsSheet.h"
#include "document/UpDownEdit.h"
#include "profile/MemoryProfile.h"
#include "symbology/Symbology.h"

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
#include <vector>

namespace kestrel {
namespace {

// What a control shows, as one text: a box's number, a list's item, a
// check mark as "[x]" or "[ ]".
QString Shown(const QWidget* widget)
{
    if (const auto* number = qobject_cast<const UpDownEdit*>(widget)) {
        return number->Text();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
        return list->currentIndex() < 0 ? QStringLiteral("(none)") : list->currentText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->isChecked() ? QStringLiteral("[x]") : QStringLiteral("[ ]");
    }
    return QStringLiteral("?");
}

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
Widget* Find(const QWidget& sheet, const char* name)
{
    auto* widget = sheet.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

struct SheetWorld {
    explicit SheetWorld(const std::function<void(MemoryProfile&)>& fill = {})
    {
        if (fill) {
            fill(profile);
        }
    }
    MemoryProfile profile;
    WorkingGaps gaps{1, 1};
};

TEST(OptionsSheetWidgetTest, TitleTabsButtonsAndEveryText)
{
    SheetWorld world;
    OptionsSheetModel model(world.profile, world.gaps);
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
          "スタートコード", codabarCharacters, "ストップコード", codabarCharacters,
          "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ", "x細バー幅"}},
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

TEST(OptionsSheetWidgetTest, ControlsShowTheProfileAndTheWorkingGaps)
{
    struct Row {
        const char* control;
        QString emptyProfile;
        QString filledProfile;
    };
    const std::vector<Row> rows{
        {"JanCodeOut", "[x]", "[ ]"},       {"JanCaseWidth", "5", "12"},
        {"Code39GapX", "1", "4"},           {"CodabarCheckDegit", "モジュラス１６", "モジュラス７"},
        {"CodabarStartChar", "A", "b"},     {"CodabarStopChar", "A", "(none)"},
        {"CodabarGapX", "1", "3"},          {"ItfCaseWidth", "5", "9"},
        {"Bitmap0", "[x]", "[ ]"},          {"Bitmap1", "[ ]", "[ ]"},
        {"Bitmap2", "[ ]", "[x]"},
    };
    SheetWorld empty;
    SheetWorld filled([](MemoryProfile& p) {
        p.WriteProfileInt("JAN", "CodeOut", 0);
        p.WriteProfileInt("JAN", "CaseWidth", 12);
        p.WriteProfileInt("Codabar", "CheckDegit", 3);
        p.WriteProfileInt("Codabar", "StartChar", 5);
        p.WriteProfileInt("Codabar", "StopChar", 8);  // stored by hand: no such item
        p.WriteProfileInt("ITF", "CaseWidth", 9);
        p.WriteProfileInt("Settings", "Bitmap", 2);
    });
    filled.gaps = {3, 4};
    OptionsSheetModel emptyModel(empty.profile, empty.gaps);
    OptionsSheetModel filledModel(filled.profile, filled.gaps);
    COpionPropertySheet emptySheet(emptyModel);
    COpionPropertySheet filledSheet(filledModel);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        EXPECT_EQ(Shown(Find(emptySheet, row.control)), row.emptyProfile);
        EXPECT_EQ(Shown(Find(filledSheet, row.control)), row.filledProfile);
    }
}

TEST(OptionsSheetWidgetTest, ArrowKeysStepWithinTheRangeAndTypedTextStays)
{
    struct Case {
        const char* box;
        QString typed;
        Qt::Key key;
        QString expected;
    };
    const std::vector<Case> cases{
        {"JanCaseWidth", "5", Qt::Key_Up, "6"},
        {"JanCaseWidth", "15", Qt::Key_Up, "15"},
        {"JanCaseWidth", "20", Qt::Key_Down, "15"},
        {"Code39GapX", "1", Qt::Key_Down, "1"},
        {"CodabarGapX", "10", Qt::Key_Down, "9"},
        {"ItfCaseWidth", "x", Qt::Key_Up, "6"},  // no number: steps from the position, 5
        {"ItfCaseWidth", "x", Qt::Key_A, "xa"},  // anything typed is kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.typed.toStdString());
        SheetWorld world;
        OptionsSheetModel model(world.profile, world.gaps);
        COpionPropertySheet sheet(model);
        auto* box = Find<UpDownEdit>(sheet, c.box);
        ASSERT_NE(box, nullptr);
        box->SetText(c.typed);
        QTest::keyClick(box, c.key);
        EXPECT_EQ(box->Text(), c.expected);
    }
}

TEST(OptionsSheetWidgetTest, UpDownStartsFromTheLow16BitsOfAHandEditedValue)
{
    struct Case {
        const char* box;
        const char* section;
        int stored;
        int position;
        QString afterUp;  // with the box's text replaced by one holding no number
    };
    const std::vector<Case> cases{
        {"JanCaseWidth", "JAN", 65538, 2, "3"},
        {"ItfCaseWidth", "ITF", 65535, -1, "1"},  // below the limits: the lowest
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        SheetWorld world(
            [&](MemoryProfile& p) { p.WriteProfileInt(c.section, "CaseWidth", c.stored); });
        OptionsSheetModel model(world.profile, world.gaps);
        COpionPropertySheet sheet(model);
        auto* box = Find<UpDownEdit>(sheet, c.box);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->Text(), QString::number(c.stored)) << "shown as stored, for OK to refuse";
        EXPECT_EQ(box->Position(), c.position);
        box->SetText("x");
        QTest::keyClick(box, Qt::Key_Up);
        EXPECT_EQ(box->Text(), c.afterUp);
    }
}

struct Refusal {
    OptionsPage page;
    const char* box;
    QString typed;
    bool byOk;  // OK pressed; otherwise another tab chosen
    QString message;
};

TEST(OptionsSheetWidgetTest, BadNumberKeepsTheUserOnThePageWithTheMessage)
{
    const std::vector<Refusal> cases{
        {OptionsPage::Jan, "JanCaseWidth", "16", false, "1 から 15 までの整数を入力してください。"},
        {OptionsPage::Code39, "Code39GapX", "0", true, "1 から 10 までの整数を入力してください。"},
        {OptionsPage::Codabar, "CodabarGapX", "11", false,
         "1 から 10 までの整数を入力してください。"},
        {OptionsPage::Itf, "ItfCaseWidth", "abc", true, "整数を入力してください。"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.box);
        SheetWorld world;
        OptionsSheetModel model(world.profile, world.gaps);
        COpionPropertySheet sheet(model);
        QStringList messages;
        sheet.SetMessageSink([&](const QString& text) { messages << text; });
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        sheet.Tabs()->setCurrentIndex(static_cast<int>(c.page));
        auto* box = Find<UpDownEdit>(sheet, c.box);
        ASSERT_NE(box, nullptr);
        box->SetText(c.typed);
        if (c.byOk) {
            QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
        } else {
            sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Bitmap));
        }
        EXPECT_EQ(messages, QStringList{c.message});
        EXPECT_EQ(sheet.Tabs()->currentIndex(), static_cast<int>(c.page));
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->Text(), c.typed);

        // Corrected, Enter confirms through the default button.
        box->SetText(QStringLiteral("7"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
        EXPECT_EQ(model.Value(ControlsOf(c.page).back().control), 7);
        EXPECT_EQ(messages.size(), 1);
    }
}

// Runs `act` on the sheet once RunOptionsSheet has opened it.
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
    sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Code39));
    Find<UpDownEdit>(sheet, "Code39GapX")->SetText("4");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Codabar));
    Find<QComboBox>(sheet, "CodabarCheckDegit")->setCurrentIndex(0);
    Find<QComboBox>(sheet, "CodabarStartChar")->setCurrentIndex(3);
    Find<QComboBox>(sheet, "CodabarStopChar")->setCurrentIndex(6);
    Find<UpDownEdit>(sheet, "CodabarGapX")->SetText("2");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Itf));
    Find<UpDownEdit>(sheet, "ItfCaseWidth")->SetText("3");
    sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Bitmap));
    Find<QRadioButton>(sheet, "Bitmap1")->setChecked(true);
}

TEST(OptionsSheetWidgetTest, OkStoresEveryPageAndCancelNothing)
{
    struct Case {
        bool ok;
        std::vector<std::string> writes;
        std::vector<int> stored;  // StartChar, StopChar, CheckDegit, CodeOut, JAN, ITF, Bitmap
        WorkingGaps gaps;
    };
    const std::vector<Case> cases{
        {true,
         {"Codabar/StartChar", "Codabar/StopChar", "Codabar/CheckDegit", "JAN/CodeOut",
          "JAN/CaseWidth", "ITF/CaseWidth", "Settings/Bitmap"},
         {3, 6, 0, 0, 8, 3, 1},
         {2, 4}},
        {false, {}, {-9, -9, -9, -9, -9, -9, -9}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ok ? "OK" : "Cancel");
        MemoryProfile profile;
        WorkingGaps gaps{1, 1};
        CBarCodeDoc doc(profile, gaps, "/opt/kestrel/bin/kestrel");
        ApplicationContext context{profile, gaps, doc, "/opt/kestrel/bin/kestrel"};
        const std::size_t before = profile.WriteLog().size();
        WhenTheSheetOpens([&](COpionPropertySheet& sheet) {
            EditEveryPage(sheet);
            QTest::mouseClick(c.ok ? sheet.OkButton() : sheet.CancelButton(), Qt::LeftButton);
        });
        EXPECT_EQ(RunOptionsSheet(context, nullptr), c.ok);
        const std::vector<std::string> writes(profile.WriteLog().begin() + static_cast<long>(before),
                                              profile.WriteLog().end());
        EXPECT_EQ(writes, c.writes);
        const std::vector<int> stored{profile.GetProfileInt("Codabar", "StartChar", -9),
                                      profile.GetProfileInt("Codabar", "StopChar", -9),
                                      profile.GetProfileInt("Codabar", "CheckDegit", -9),
                                      profile.GetProfileInt("JAN", "CodeOut", -9),
                                      profile.GetProfileInt("JAN", "CaseWidth", -9),
                                      profile.GetProfileInt("ITF", "CaseWidth", -9),
                                      profile.GetProfileInt("Settings", "Bitmap", -9)};
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(gaps.codabarGapX, c.gaps.codabarGapX);
        EXPECT_EQ(gaps.code39GapX, c.gaps.code39GapX);
        EXPECT_EQ(doc.Code39GapX, 1) << "the sheet alone leaves the document alone";
    }
}

TEST(OptionsSheetWidgetTest, EditMenuCommandGivesTheDocumentTheNewGapAndAsksForARedraw)
{
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc(profile, gaps, "/opt/kestrel/bin/kestrel");
    ApplicationContext context{profile, gaps, doc, "/opt/kestrel/bin/kestrel"};
    doc.CodeType = Code39;
    doc.Check = 0;
    doc.CodeText = "*A*";
    gaps = {5, 5};  // left by the code dialog's own run of the sheet
    int shownGap = 0;
    WhenTheSheetOpens([&](COpionPropertySheet& sheet) {
        auto* box = Find<UpDownEdit>(sheet, "Code39GapX");
        shownGap = box->Text().toInt();
        sheet.Tabs()->setCurrentIndex(static_cast<int>(OptionsPage::Code39));
        box->SetText("4");
        QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunOptionsCommand(context, nullptr));
    EXPECT_EQ(shownGap, 1) << "the command starts from the document's gap";
    EXPECT_EQ(doc.Code39GapX, 4);
    EXPECT_EQ(doc.CodabarGapX, 1);
    ASSERT_GT(doc.ModuleSequence.count, 9);
    EXPECT_EQ(doc.ModuleSequence.elements[9], 4);
    EXPECT_EQ(profile.GetProfileInt("Code39", "GapX", -1), -1);
}

}  // namespace
}  // namespace kestrel
