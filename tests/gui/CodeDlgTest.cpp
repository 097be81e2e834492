// "コード設定" on the offscreen platform: its texts (compared here only), that
// it shows and reads back what its model says, the code box's byte limit, and
// the command around it. The model's rules are tested without widgets.

#include "MainFrameTestSupport.h"

#include "document/CodeDlg.h"
#include "document/CodeInputCommand.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

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

#include <optional>
#include <string>
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
    QStringList expected{"タイプ",   "コード付加", "コード",     "チェックデジット",
                         "ON",       "自動付加",   "サイズ",     "高さ",
                         "幅",       "線幅比",     "1:2",        "2:5",
                         "1:3",      "マージン",   "左",         "上",
                         "細バー幅", "文字高",     "ベアラバー", "OK",
                         "ｷｬﾝｾﾙ",    "ｵﾌﾟｼｮﾝ"};
    expected.sort();
    EXPECT_EQ(shown, expected);

    QStringList items;
    auto* type = w.Find<QComboBox>("type");
    for (int index = 0; index < type->count(); ++index) items << type->itemText(index);
    EXPECT_EQ(items, (QStringList{"JAN-13", "JAN-8", "ITF(ｲﾝﾀﾘｰﾌﾞﾄﾞ2of5)", "STF(ｽﾀﾝﾀﾞｰﾄﾞ2of5)",
                                  "Codabar (NW-7)", "Code 39", "Extended Code 39", "Code 93",
                                  "Extended Code 93", "Code 11 (Check one)", "Code 11 (Check two)",
                                  "Code 128 (Only Code B)"}));
}

// The enabling rules are the model's; the dialog shows what it says for the
// selected type and OK stores the marks it put on. The document comes with
// Codabar and auto add on; the texts are ones the marks accept ("113": Code
// 11's two checks).
TEST(CodeDlg, TheTypeShowsTheModelsEnablingAndOkStoresTheMarks)
{
    const struct {
        int type;
        const char* text;
    } cases[] = {{Code93, "1234"}, {Stf, "1236"}, {Jan8, "1234567"}, {Code11TwoChecks, "113"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(SymbologyNames[c.type]);
        DialogWorld w;
        w.world.doc.CodeType = Codabar;
        w.world.doc.AutoAdd = 1;
        w.Open();
        CodeEntry model;
        model.FillFrom(w.world.doc);
        const CodeEntryEnabling expected = model.SelectionChanged(c.type);
        w.Find<QComboBox>("type")->setCurrentIndex(c.type);
        auto* check = w.Find<QCheckBox>("check");
        auto* autoAdd = w.Find<QCheckBox>("autoAdd");
        EXPECT_EQ(check->isEnabled(), expected.checkEnabled);
        EXPECT_EQ(autoAdd->isEnabled(), expected.autoAddEnabled);
        EXPECT_EQ(check->isChecked(), expected.checkMark != 0);
        EXPECT_EQ(autoAdd->isChecked(), expected.autoAddMark != 0);
        for (const char* ratio : {"ratio12", "ratio25", "ratio13"}) {
            EXPECT_EQ(w.Find<QRadioButton>(ratio)->isEnabled(), expected.ratioEnabled) << ratio;
        }
        EXPECT_EQ(w.Find<QCheckBox>("bearer")->isEnabled(), expected.bearerEnabled);
        w.Code()->setText(c.text);
        w.dialog->accept();
        EXPECT_EQ(w.dialog->result(), QDialog::Accepted) << w.messages.join(",").toStdString();
        EXPECT_EQ(w.entry.values.autoAdd, expected.autoAddMark);
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

std::string NumberMessage(CodeNumber number, const char* typed)
{
    return CodeEntry::NumberMessage(number, CodeEntry::ReadNumber(number, typed).error);
}

// OK (Enter, the default button) with a refused number or text shows the
// model's message and keeps the dialog open, the wrong box ready to be
// corrected; ITF's added 0 is shown even when the rest is refused.
TEST(CodeDlg, ARefusalShowsTheModelsMessageAndKeepsTheDialogOpen)
{
    const struct {
        int type;
        const char* code;
        std::optional<CodeNumber> number;  // the box typed into, or the code box
        const char* typed;
        std::string message;  // empty: accepted
        QString codeAfter;
    } cases[] = {
        {Jan13, "490123456789", CodeNumber::Height, "1000",
         NumberMessage(CodeNumber::Height, "1000"), "490123456789"},
        {Jan13, "490123456789", CodeNumber::Width, "-1", NumberMessage(CodeNumber::Width, "-1"),
         "490123456789"},
        {Jan13, "490123456789", CodeNumber::Height, "abc", NumberMessage(CodeNumber::Height, "abc"),
         "490123456789"},
        {Jan13, "", std::nullopt, "4901234567895",
         std::string(ValidationMessage(WrongCheckCharacter)), "4901234567895"},
        {Itf, "", std::nullopt, "12a", std::string(ValidationMessage(NotADigit)), "012a"},
        {Itf, "", std::nullopt, "123", "", "0123"},
        {Jan13, "", std::nullopt, "", "", ""},  // nothing happens
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        DialogWorld w;
        w.world.doc.CodeType = c.type;
        w.world.doc.Check = c.type == Itf ? 0 : 1;
        CCodeDlg& dialog = w.Open();
        w.Code()->setText(c.code);
        QLineEdit* box = c.number ? w.Box(*c.number)->Edit() : w.Code();
        box->setText(c.typed);
        QTest::keyClick(w.Code(), Qt::Key_Return);
        EXPECT_EQ(w.messages, c.message.empty() ? QStringList()
                                                : QStringList{QString::fromStdString(c.message)});
        EXPECT_EQ(w.Code()->text(), c.codeAfter);
        EXPECT_EQ(dialog.isVisible(), !c.message.empty() || *c.typed == '\0');
        if (c.number) {
            QWidget* focus = QApplication::focusWidget();
            EXPECT_TRUE(focus == box || focus == w.Box(*c.number));
            EXPECT_EQ(w.Box(*c.number)->Edit()->selectedText(), c.typed);
        }
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
    EXPECT_EQ(height->text(), "999") << "kept within the height's limits";
}

// Typing and pasting alike: past 128 bytes the box keeps as much of what
// was inserted as fits, never half of a double-byte character.
TEST(CodeDlg, TheCodeBoxTakesAtMost128BytesOfCodePage932)
{
    const QString a63 = QString(63, u'あ');
    const QString a64 = QString(64, u'あ');
    const struct {
        QString filled;
        QString typed;
        int cursor;      // where it goes in; -1 at the end
        bool replacing;  // over the whole text, selected
        QString kept;
    } cases[] = {
        {a63, "ア", -1, false, a63 + "ア"},                              // 126 + 2 bytes
        {a64, "A", -1, false, a64},                                      // a 129th byte
        {QString(127, u'A'), "あ", -1, false, QString(127, u'A')},       // half a character
        {QString(127, u'A'), "ｱ", -1, false, QString(127, u'A') + "ｱ"},  // one byte each
        {"AB", "€", -1, false, "AB"},                                    // no code in 932
        {"", QString(70, u'あ'), -1, false, a64},                        // a paste: what fits
        {"A", a64, -1, false, "A" + a63},                                // 1 + 126, not 128
        {QString(120, u'1'), "ｱｲｳｴｵｶｷｸｹｺ", -1, false, QString(120, u'1') + "ｱｲｳｴｵｶｷｸ"},
        {"XY", QString(70, u'あ'), 1, false, "X" + QString(63, u'あ') + "Y"},  // mid-text
        {"old", QString(70, u'い'), -1, true, QString(64, u'い')},             // over a selection
        {"AB", "C€" + QString(70, u'あ'), -1, false, "AB"},                    // refused whole
    };
    for (const auto& c : cases) {
        DialogWorld w;
        w.Open();
        w.Code()->setText(c.filled);
        if (c.replacing) {
            w.Code()->selectAll();
        } else {
            w.Code()->setCursorPosition(c.cursor < 0 ? static_cast<int>(c.filled.size())
                                                     : c.cursor);
        }
        w.Code()->insert(c.typed);
        EXPECT_EQ(w.Code()->text(), c.kept)
            << c.filled.toStdString() << " + " << c.typed.toStdString();
    }
}

// The same edits, ended with OK or Escape; the options sheet's gap waits in
// the working copies for this dialog's OK.
TEST(CodeDlg, OkAppliesAndEncodesCancelChangesNothing)
{
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        test::FrameWorld world;
        world.gaps.code39GapX = 1;
        const auto fields = [&] {
            const CBarCodeDoc& doc = world.doc;
            return std::vector<int>{doc.AutoAdd, doc.Check,      doc.Case,
                                    doc.Height,  doc.Code39GapX, doc.ModuleSequence.count};
        };
        const std::vector<int> before = fields();
        const bool accepted = RunCodeInput(world.context, &world.frame, [&](CCodeDlg& dialog) {
            dialog.findChild<QLineEdit*>("code")->setText("490123456789");
            dialog.findChild<QCheckBox*>("autoAdd")->click();
            dialog.findChild<QCheckBox*>("bearer")->setChecked(true);
            dialog.NumberBox(CodeNumber::Height)->Edit()->setText("40");
            dialog.SetOptionsRunner([&] { world.gaps.code39GapX = 4; });
            dialog.findChild<QPushButton*>("options")->click();
            dialog.show();
            QTest::keyClick(ok ? static_cast<QWidget*>(dialog.findChild<QLineEdit*>("code"))
                               : &dialog,
                            ok ? Qt::Key_Return : Qt::Key_Escape);
            return dialog.result();
        });
        EXPECT_EQ(accepted, ok);
        EXPECT_EQ(world.doc.CodeText, ok ? "4901234567894" : "");
        EXPECT_EQ(fields(), (ok ? std::vector<int>{1, 1, 1, 40, 4, 59} : before));

        // Reopened, the box shows the text as typed, without the added digit.
        QString shown;
        EXPECT_FALSE(RunCodeInput(world.context, &world.frame, [&](CCodeDlg& dialog) {
            shown = dialog.findChild<QLineEdit*>("code")->text();
            return static_cast<int>(QDialog::Rejected);
        }));
        EXPECT_EQ(shown, ok ? "490123456789" : "");
    }
}

}  // namespace
}  // namespace kestrel
