// The comment and colour dialogs on the offscreen platform, and the two
// commands that run them against the profile.

#include "MainFrameTestSupport.h"

#include "document/ColorSettingCommand.h"
#include "document/ColourDialog.h"
#include "document/CommentDialog.h"
#include "document/CommentInputCommand.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kestrel {
namespace {

template <typename T = QWidget>
T* Child(QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

QString TextOf(QWidget& dialog, const char* name)
{
    QWidget* widget = Child(dialog, name);
    if (widget == nullptr) {
        return QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    return qobject_cast<QLineEdit*>(widget)->text();
}

// Runs `answer` on the next modal dialog once its event loop runs.
void AnswerNextModal(std::function<void(QWidget&)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(*modal);
        }
    });
    timer->start();
}

TEST(CommentColourDialogs, TextsTitlesAndDefaultButtons)
{
    CCommentDlg comment(CommentSettings{});
    CColorDlg colour(ColourSettings{});
    struct Case {
        QWidget* dialog;
        const char* name;  // nullptr: the title
        const char* text;
    };
    const std::vector<Case> cases{
        {&comment, nullptr, "コメント設定"},
        {&comment, "commentLine1Label", "1行目"},
        {&comment, "commentLine1HeightLabel", "高さ"},
        {&comment, "commentLine2Label", "2行目"},
        {&comment, "commentLine2HeightLabel", "高さ"},
        {&comment, "commentOk", "OK"},
        {&comment, "commentCancel", "ｷｬﾝｾﾙ"},
        {&colour, nullptr, "色の設定"},
        {&colour, "colourBar", "バーコード"},
        {&colour, "colourBackground", "背景"},
        {&colour, "colourCodeText", "コード文字色"},
        {&colour, "colourComment1", "コメント１"},
        {&colour, "colourComment2", "コメント２"},
        {&colour, "colourOk", "OK"},
        {&colour, "colourCancel", "ｷｬﾝｾﾙ"},
    };
    for (const Case& c : cases) {
        const QString shown = c.name ? TextOf(*c.dialog, c.name) : c.dialog->windowTitle();
        EXPECT_EQ(shown, QString::fromUtf8(c.text)) << (c.name ? c.name : "title");
    }
    EXPECT_TRUE(Child<QPushButton>(comment, "commentOk")->isDefault());
    EXPECT_TRUE(Child<QPushButton>(colour, "colourOk")->isDefault());
}

TEST(CommentColourDialogs, TabOrderFollowsTheBoxesAndButtons)
{
    CCommentDlg comment(CommentSettings{});
    CColorDlg colour(ColourSettings{});
    struct Case {
        QWidget* dialog;
        std::vector<const char*> order;
    };
    const std::vector<Case> cases{
        {&comment,
         {"commentLine1Text", "commentLine1Height", "commentLine2Text", "commentLine2Height",
          "commentOk", "commentCancel"}},
        {&colour,
         {"colourBar", "colourBackground", "colourCodeText", "colourComment1", "colourComment2",
          "colourOk", "colourCancel"}},
    };
    for (const Case& c : cases) {
        QWidget* widget = Child(*c.dialog, c.order.front());
        ASSERT_NE(widget, nullptr);
        for (const char* next : c.order) {
            EXPECT_EQ(widget->objectName(), QString::fromLatin1(next));
            widget = widget->nextInFocusChain();
            while (widget != c.dialog && !(widget->focusPolicy() & Qt::TabFocus)) {
                widget = widget->nextInFocusChain();
            }
        }
    }
}

// A shown comment dialog with recorded messages.
struct CommentFixture {
    explicit CommentFixture(const CommentSettings& initial = {}) : dialog(initial)
    {
        dialog.SetMessageSink([this](const QString& text) { messages.push_back(text); });
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }
    QLineEdit& Box(const char* name) { return *Child<QLineEdit>(dialog, name); }
    void PressOk() { QTest::mouseClick(Child<QPushButton>(dialog, "commentOk"), Qt::LeftButton); }

    CCommentDlg dialog;
    std::vector<QString> messages;
};

TEST(CommentDialog, AFailedFieldKeepsTheDialogOpenWithItsMessageAndFocus)
{
    struct Case {
        const char* box;
        QString typed;
        QString message;
        QString selected;
    };
    // The heights' messages are those of every number box, with its limits.
    const QString range = QString::fromStdString(
        FieldErrorMessage(FieldError::OutOfRange, CommentHeightField));
    const QString notInteger = QString::fromStdString(
        FieldErrorMessage(FieldError::NotAnInteger, CommentHeightField));
    const QString notStorable = "コメントには使えない文字が含まれています。";
    const std::vector<Case> cases{
        {"commentLine1Height", "5", range, "5"},
        {"commentLine2Height", "101", range, "101"},
        {"commentLine1Height", "abc", notInteger, "abc"},
        {"commentLine2Height", "", notInteger, ""},
        {"commentLine2Text",
         QString::fromUtf8("A\xF0\x9F\x98\x80"
                           "B"),
         notStorable, QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"commentLine1Text", QString::fromUtf8("\xC3\xA9t\xC3\xA9"), notStorable,
         QString::fromUtf8("\xC3\xA9")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        CommentFixture fixture;
        fixture.Box(c.box).setText(c.typed);
        fixture.PressOk();
        EXPECT_EQ(fixture.messages, std::vector<QString>{c.message});
        EXPECT_TRUE(fixture.dialog.isVisible());
        EXPECT_EQ(fixture.dialog.result(), QDialog::Rejected);
        EXPECT_EQ(fixture.dialog.focusWidget(), &fixture.Box(c.box));
        EXPECT_EQ(fixture.Box(c.box).selectedText(), c.selected);
    }
}

TEST(CommentDialog, OkTakesTheBoxesInCodePage932)
{
    // A stored line whose bytes have no exact Unicode form (a lead byte cut
    // off) comes back as it was while the user leaves it alone; so does the
    // height left alone.
    CommentFixture fixture(CommentSettings{"abc\x82", "x", 30, 99});
    fixture.Box("commentLine2Text").setText(QString::fromUtf8("テスト"));
    fixture.Box("commentLine1Height").setText(" 12 ");
    fixture.PressOk();
    EXPECT_TRUE(fixture.messages.empty());
    EXPECT_EQ(fixture.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fixture.dialog.Settings().line1Text, "abc\x82");
    EXPECT_EQ(fixture.dialog.Settings().line2Text, "\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(fixture.dialog.Settings().line1Height, 12);
    EXPECT_EQ(fixture.dialog.Settings().line2Height, 99);
}

TEST(CommentDialog, EnterConfirmsAndEscapeCancels)
{
    struct Case {
        Qt::Key key;
        int result;
    };
    for (const Case& c :
         {Case{Qt::Key_Return, QDialog::Accepted}, Case{Qt::Key_Escape, QDialog::Rejected}}) {
        CommentFixture fixture;
        QTest::keyClick(&fixture.Box("commentLine1Text"), c.key);
        EXPECT_FALSE(fixture.dialog.isVisible());
        EXPECT_EQ(fixture.dialog.result(), c.result);
    }
}

// Each colour button opens the chooser on its own colour; the background
// becomes green.
void PickEveryColour(QWidget& dialog)
{
    std::vector<Colour> opened;
    dynamic_cast<CColorDlg&>(dialog).SetColourChooser([&](Colour current, QWidget*) {
        opened.push_back(current);
        return current == 0xFFFFFF ? MakeColour(0, 128, 0) : current;
    });
    for (const char* name :
         {"colourBar", "colourBackground", "colourCodeText", "colourComment1", "colourComment2"}) {
        QTest::mouseClick(Child<QPushButton>(dialog, name), Qt::LeftButton);
    }
    EXPECT_EQ(opened, (std::vector<Colour>{0, 0xFFFFFF, 0, 0, 0}));
}

// The commands, run from a frame as the Edit menu runs them: OK writes every
// setting of the dialog (in the order the settings' own tests give), Cancel
// nothing.
TEST(CommentColourCommands, OkWritesTheDialogsSettingsCancelNothing)
{
    const struct {
        const char* name;
        bool (*run)(ApplicationContext&, QWidget*);
        void (*edit)(QWidget&);
        const char* button;
        bool ok;
        std::size_t writes;
        const char* section;
        const char* key;
        int value;  // written on OK
        bool encodes;
    } cases[] = {
        {"comment OK", RunCommentInput, nullptr, "commentOk", true, 4, "Comment", "High1", 30,
         true},
        {"comment Cancel", RunCommentInput, nullptr, "commentCancel", false, 0, "Comment", "High1",
         -1, true},
        {"colour OK", RunColorSetting, PickEveryColour, "colourOk", true, 5, "Code", "BackColor",
         0x008000, false},
        {"colour Cancel", RunColorSetting, PickEveryColour, "colourCancel", false, 0, "Code",
         "BackColor", -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FrameWorld world;
        world.doc.CodeText = "4901234567894";  // typed, not encoded yet
        const std::size_t before = world.profile.WriteLog().size();
        QWidget* parent = nullptr;
        AnswerNextModal([&](QWidget& dialog) {
            parent = dialog.parentWidget();
            if (c.edit) {
                c.edit(dialog);
            }
            QTest::mouseClick(Child<QPushButton>(dialog, c.button), Qt::LeftButton);
        });
        EXPECT_EQ(c.run(world.context, &world.frame), c.ok);
        EXPECT_EQ(parent, &world.frame);
        EXPECT_EQ(world.profile.WriteLog().size() - before, c.writes);
        EXPECT_EQ(world.profile.GetProfileInt(c.section, c.key, -1), c.value);
        if (c.encodes) {
            EXPECT_EQ(world.doc.ModuleSequence.count > 0, c.ok) << "encoded after OK";
        }
    }
}

// Qt's own chooser: opened on the given colour, its choice only on OK.
TEST(ColourDialog, PickColorReturnsTheChoiceOnlyOnOk)
{
    struct Case {
        Colour current;
        bool ok;
        Colour expected;
    };
    const std::vector<Case> cases{
        {MakeColour(10, 20, 30), true, 0x0000FF},  // red lands in the low byte
        {MakeColour(10, 20, 30), false, MakeColour(10, 20, 30)},
    };
    for (const Case& c : cases) {
        QColor openedOn;
        AnswerNextModal([&](QWidget& modal) {
            auto& chooser = dynamic_cast<QColorDialog&>(modal);
            openedOn = chooser.currentColor();
            chooser.setCurrentColor(Qt::red);
            c.ok ? chooser.accept() : chooser.reject();
        });
        EXPECT_EQ(CColorDlg::PickColor(c.current, nullptr), c.expected);
        EXPECT_EQ(openedOn, QColor(10, 20, 30));
    }
}

}  // namespace
}  // namespace kestrel
