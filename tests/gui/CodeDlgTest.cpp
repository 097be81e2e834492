// "コード設定" on the offscreen platform: its texts, enabling, number boxes,
// the code box's byte limit, and the command around it.

#include "MainFrameTestSupport.h"

#include "document/CodeDlg.h"
#include "document/CodeInputCommand.h"
#include "symbology/Symbology.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

struct DialogWorld {
    test::FrameWorld world;
    CodeEntry entry;
    QStringList messages;
    std::unique_ptr<CCodeDlg> dialog;

    // A dialog over the document as it is now, shown and active.
    CCodeDlg& Open()
    {
        entry = CodeEntry();
        entry.FillFrom(world.doc);
        dialog = std::make_unique<CCodeDlg>(entry, world.profile, &world.frame);
        dialog->SetMessageSink([this](const QString& text) { messages << text; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    template <typename Widget>
    Widget* Find(const char* name) const
    {
        Widget* widget = dialog->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Code() const { return Find<QLineEdit>("code"); }
    UpDownEdit* Box(CodeNumber number) const { return dialog->NumberBox(number); }
};

QString Shown(QWidget* widget)
{
    if (const auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (const auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    if (const auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return {};
}

TEST(CodeDlg, EveryTextIsShownExactly)
{
    DialogWorld w;
    CCodeDlg& dialog = w.Open();
    EXPECT_EQ(dialog.windowTitle(), "コード設定");
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.parentWidget(), &w.world.frame);

    // Every label, group and button; the list is the dialog's whole set.
    QStringList shown;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (const QString text = Shown(widget); !text.isEmpty()) shown << text;
    }
    shown.sort();
    QStringList expected{"タイプ", "コード付加", "コード", "チェックデジット", "ON", "自動付加",
                         "サイズ", "高さ", "幅", "線幅比", "1:2", "2:5", "1:3", "マージン",
                         "左", "上", "細バー幅", "文字高", "ベアラバー", "OK", "ｷｬﾝｾﾙ", "ｵﾌﾟｼｮﾝ"};
    expected.sort();
    EXPECT_EQ(shown, expected);

    QStringList items;
    auto* type = w.Find<QComboBox>("type");
    for (int index = 0; index < type->count(); ++index) items << type->itemText(index);
    EXPECT_EQ(items, (QStringList{"JAN-13", "JAN-8", "ITF(ｲﾝﾀﾘｰﾌﾞﾄﾞ2of5)", "STF(ｽﾀﾝﾀﾞｰﾄﾞ2of5)",
                                  "Codabar (NW-7)", "Code 39", "Extended Code 39", "Code 93",
                                  "Extended Code 93", "Code 11 (Check one)",
                                  "Code 11 (Check two)", "Code 128 (Only Code B)"}));
}

TEST(CodeDlg, TheTypeDecidesWhatCanBeChangedAndOkStoresTheMarks)
{
    // The document comes with Codabar and auto add on; the selection decides.
    // Texts that the marks left on accept ("113": Code 11's two checks).
    const struct {
        int type;
        const char* text;
        bool checkEnabled;
        bool autoAddEnabled;
        bool ratioEnabled;
        bool bearerEnabled;
        int storedAutoAdd;
    } cases[] = {
        {Code93, "1234", false, true, false, false, 1},
        {Stf, "1236", true, false, true, false, 0},
        {Jan8, "1234567", true, true, false, true, 1},
        {Code11TwoChecks, "113", true, false, true, false, 0},
    };
    for (const auto& c : cases) {
        DialogWorld w;
        w.world.doc.CodeType = Codabar;
        w.world.doc.AutoAdd = 1;
        w.Open();
        w.Find<QComboBox>("type")->setCurrentIndex(c.type);
        EXPECT_EQ(w.Find<QCheckBox>("check")->isEnabled(), c.checkEnabled) << c.type;
        EXPECT_EQ(w.Find<QCheckBox>("autoAdd")->isEnabled(), c.autoAddEnabled) << c.type;
        EXPECT_EQ(w.Find<QCheckBox>("autoAdd")->isChecked(), c.storedAutoAdd == 1) << c.type;
        EXPECT_EQ(w.Find<QRadioButton>("ratio25")->isEnabled(), c.ratioEnabled) << c.type;
        EXPECT_EQ(w.Find<QCheckBox>("bearer")->isEnabled(), c.bearerEnabled) << c.type;
        w.Code()->setText(c.text);
        w.dialog->accept();
        EXPECT_EQ(w.dialog->result(), QDialog::Accepted) << c.type << " "
                                                          << w.messages.join(",").toStdString();
        EXPECT_EQ(w.entry.values.autoAdd, c.storedAutoAdd) << c.type;
    }
}

TEST(CodeDlg, TabFollowsTheOrderOfTheValues)
{
    DialogWorld w;
    w.world.doc.CodeType = Itf;  // every control enabled
    w.Open();
    w.Find<QComboBox>("type")->setFocus();
    QStringList visited;
    for (int step = 0; step < 16; ++step) {
        QWidget* focus = QApplication::focusWidget();
        // A number box's edit has no name of its own.
        visited << (focus->objectName().isEmpty() ? focus->parentWidget()->objectName()
                                                  : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // The ratio buttons are one stop, at the checked one.
    EXPECT_EQ(visited, (QStringList{"type", "showText", "code", "check", "height", "ratio12",
                                    "leftMargin", "narrowWidth", "topMargin", "width", "autoAdd",
                                    "textHeight", "bearer", "ok", "cancel", "options"}));
}

TEST(CodeDlg, TheTwoCheckBoxesFollowEachOther)
{
    DialogWorld w;
    w.world.doc.Check = 0;
    w.Open();
    auto* check = w.Find<QCheckBox>("check");
    auto* autoAdd = w.Find<QCheckBox>("autoAdd");
    QTest::mouseClick(autoAdd, Qt::LeftButton);
    EXPECT_TRUE(check->isChecked()) << "自動付加 sets ON";
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(autoAdd->isChecked()) << "clearing ON clears 自動付加";
}

TEST(CodeDlg, AWrongNumberKeepsTheDialogOpenWithTheBoxSelected)
{
    const struct {
        CodeNumber number;
        const char* typed;
        QString message;
    } cases[] = {
        {CodeNumber::Height, "1000", "5 から 999 までの整数を入力してください。"},
        {CodeNumber::Width, "-1", "正の整数を入力してください。"},
        {CodeNumber::Height, "abc", "整数を入力してください。"},
    };
    for (const auto& c : cases) {
        DialogWorld w;
        CCodeDlg& dialog = w.Open();
        w.Code()->setText("490123456789");
        UpDownEdit* box = w.Box(c.number);
        box->Edit()->setText(c.typed);
        QTest::mouseClick(w.Find<QPushButton>("ok"), Qt::LeftButton);
        EXPECT_EQ(w.messages, QStringList{c.message}) << c.typed;
        EXPECT_TRUE(dialog.isVisible()) << c.typed;
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == box || focus == box->Edit()) << c.typed;
        EXPECT_EQ(box->Edit()->selectedText(), c.typed);
    }
}

TEST(CodeDlg, AnAcceptanceFailureShowsItsMessageAndKeepsTheText)
{
    const struct {
        int type;
        const char* typed;
        QString message;  // empty: accepted
        QString boxAfter;
    } cases[] = {
        {Jan13, "4901234567895", "チェックデジットが不正です", "4901234567895"},
        {Itf, "12a", "入力は数字のみです", "012a"},  // ITF's 0 is shown even when refused
        {Itf, "123", "", "0123"},
        {Jan13, "", "", ""},  // nothing happens
    };
    for (const auto& c : cases) {
        DialogWorld w;
        w.world.doc.CodeType = c.type;
        w.world.doc.Check = c.type == Itf ? 0 : 1;
        CCodeDlg& dialog = w.Open();
        QTest::keyClicks(w.Code(), c.typed);
        QTest::keyClick(w.Code(), Qt::Key_Return);  // OK is the default button
        EXPECT_EQ(w.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(w.Code()->text(), c.boxAfter);
        EXPECT_EQ(dialog.isVisible(), !c.message.isEmpty() || *c.typed == '\0') << c.typed;
    }
}

TEST(CodeDlg, NumberBoxesStartFromTheValuesAndStepWithTheKeys)
{
    DialogWorld w;
    w.world.doc.Width = 70000;  // by hand in the profile: shown, refused at OK
    w.Open();
    UpDownEdit* width = w.Box(CodeNumber::Width);
    EXPECT_EQ(width->text(), "70000");
    EXPECT_EQ(width->Position(), 4464) << "the low 16 bits";
    UpDownEdit* height = w.Box(CodeNumber::Height);
    EXPECT_EQ(height->text(), "150");
    height->setFocus();
    QTest::keyClick(height, Qt::Key_Up);
    EXPECT_EQ(height->text(), "151");
    height->Edit()->setText("1000");
    QTest::keyClick(height, Qt::Key_Down);
    EXPECT_EQ(height->text(), "999");
    height->stepBy(1);
    EXPECT_EQ(height->text(), "999") << "kept within 5..999";
}

TEST(CodeDlg, TheCodeBoxTakesAtMost128BytesOfCodePage932)
{
    const struct {
        QString filled;
        QString typed;
        QString kept;
    } cases[] = {
        {QString(63, u'あ'), "ア", QString(63, u'あ') + "ア"},  // 126 + 2 bytes
        {QString(64, u'あ'), "A", QString(64, u'あ')},          // a 129th byte
        {QString(127, u'A'), "あ", QString(127, u'A')},         // half a character
        {QString(127, u'A'), "ｱ", QString(127, u'A') + "ｱ"},    // one byte each
        {"AB", "€", "AB"},                                    // no code in 932
    };
    for (const auto& c : cases) {
        DialogWorld w;
        w.Open();
        w.Code()->setText(c.filled);
        w.Code()->end(false);
        w.Code()->insert(c.typed);
        EXPECT_EQ(w.Code()->text(), c.kept) << c.typed.toStdString();
    }
}

TEST(CodeDlg, OkAppliesAndEncodesAndReopeningShowsTheTypedText)
{
    test::FrameWorld world;
    world.gaps.code39GapX = 1;
    const bool ok = RunCodeInput(world.context, &world.frame, [&](CCodeDlg& dialog) {
        dialog.findChild<QLineEdit*>("code")->setText("490123456789");
        dialog.findChild<QCheckBox*>("autoAdd")->click();
        dialog.findChild<QCheckBox*>("bearer")->setChecked(true);
        // The options sheet's gap waits for this OK.
        dialog.SetOptionsRunner([&] { world.gaps.code39GapX = 4; });
        dialog.findChild<QPushButton*>("options")->click();
        dialog.accept();
        return dialog.result();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(world.doc.CodeText, "4901234567894");
    EXPECT_EQ((std::vector<int>{world.doc.AutoAdd, world.doc.Check, world.doc.Case,
                                world.doc.Code39GapX}),
              (std::vector<int>{1, 1, 1, 4}));
    EXPECT_EQ(world.doc.ModuleSequence.count, 59);

    QString shown;
    const bool again = RunCodeInput(world.context, &world.frame, [&](CCodeDlg& dialog) {
        shown = dialog.findChild<QLineEdit*>("code")->text();
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(again);
    EXPECT_EQ(shown, "490123456789");
}

TEST(CodeDlg, CancelChangesNothing)
{
    test::FrameWorld world;
    world.doc.CodeText = "4901234567894";
    world.doc.Encode();
    const std::vector<int> before{world.doc.Height, world.doc.CodeType, world.doc.Code39GapX,
                                  world.doc.ModuleSequence.count};
    const bool ok = RunCodeInput(world.context, &world.frame, [&](CCodeDlg& dialog) {
        dialog.findChild<QLineEdit*>("code")->setText("12345670");
        dialog.findChild<QComboBox*>("type")->setCurrentIndex(Jan8);
        dialog.NumberBox(CodeNumber::Height)->Edit()->setText("40");
        dialog.SetOptionsRunner([&] { world.gaps.code39GapX = 4; });
        dialog.findChild<QPushButton*>("options")->click();
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(world.doc.CodeText, "4901234567894");
    EXPECT_EQ((std::vector<int>{world.doc.Height, world.doc.CodeType, world.doc.Code39GapX,
                                world.doc.ModuleSequence.count}),
              before);
}

}  // namespace
}  // namespace kestrel
