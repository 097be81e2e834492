#include "MainFrameTestSupport.h"

#include "app/AboutDialog.h"
#include "render/BarCodeView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

using Command = CMainFrame::Command;

// A separator in the expected lists.
const QString separator;

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) {
        texts << (action->isSeparator() ? separator : action->text());
    }
    return texts;
}

QMenu* MenuTitled(CMainFrame& frame, const QString& title)
{
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

TEST(MainFrameTest, MenuBarHoldsTheFourMenusWithTheirItemsInOrder)
{
    test::FrameWorld world;
    struct MenuCase {
        QString title;
        QStringList items;
    };
    const std::vector<MenuCase> menus{
        {"ファイル(&F)",
         {"印刷(&P)...\tCTRL+P", "プリンタの設定(&U)", separator, "ファイルに保存(&S)...\tCTRL+S",
          "名前を付けて保存(&A)...", separator, "アプリケーションの終了(&X)"}},
        {"編集(&E)",
         {"コードの入力", "コメントの入力", separator, "色の設定", "オプション設定", separator,
          "コピー(&C)\tCtrl+C"}},
        {"表示(&V)", {"ツールバー(&T)", "ステータスバー(&S)"}},
        {"ﾍﾙﾌﾟ(&H)", {"目次(&C)", "バージョン情報 (&A)..."}},
    };
    QStringList titles;
    for (const QAction* action : world.frame.menuBar()->actions()) {
        titles << action->text();
    }
    ASSERT_EQ(titles, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    for (const MenuCase& menu : menus) {
        QMenu* found = MenuTitled(world.frame, menu.title);
        ASSERT_NE(found, nullptr) << menu.title.toStdString();
        EXPECT_EQ(Texts(found->actions()), menu.items) << menu.title.toStdString();
    }
}

TEST(MainFrameTest, AcceleratorsAreTheFourKeysAndMenusShowOnlyTheWrittenText)
{
    test::FrameWorld world;
    struct KeyCase {
        Command command;
        QKeySequence key;
        QString shownText;  // after the tab of the item text; empty for none
    };
    const std::vector<KeyCase> cases{
        {Command::Copy, QKeySequence(Qt::CTRL | Qt::Key_C), "Ctrl+C"},
        {Command::CodeInput, QKeySequence(Qt::Key_I), ""},
        {Command::Print, QKeySequence(Qt::CTRL | Qt::Key_P), "CTRL+P"},
        {Command::Save, QKeySequence(Qt::CTRL | Qt::Key_S), "CTRL+S"},
    };
    for (const KeyCase& c : cases) {
        const QShortcut* shortcut = world.frame.Accelerator(c.command);
        ASSERT_NE(shortcut, nullptr) << c.key.toString().toStdString();
        EXPECT_EQ(shortcut->key(), c.key);
        const QAction* action = world.frame.Action(c.command);
        const QString text = action->text();
        EXPECT_EQ(text.contains('\t') ? text.section('\t', 1) : QString(), c.shownText);
        // A shortcut on the action would make Qt add its own text to an item
        // without a tab ("I" beside the code input).
        EXPECT_TRUE(action->shortcut().isEmpty()) << text.toStdString();
    }
    EXPECT_EQ(world.frame.findChildren<QShortcut*>().size(), 4);
}

TEST(MainFrameTest, ToolBarHoldsItsButtonsInOrderWithTheTipsOfThePrompts)
{
    test::FrameWorld world;
    QToolBar* toolBar = world.frame.ToolBar();
    EXPECT_FALSE(toolBar->isMovable());
    EXPECT_FALSE(toolBar->isFloatable());
    QStringList tips;
    for (const QAction* action : toolBar->actions()) {
        tips << (action->isSeparator() ? separator : action->toolTip());
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
            EXPECT_FALSE(action->icon().pixmap(QSize(16, 16), 2.0).isNull());
        }
    }
    EXPECT_EQ(tips, (QStringList{"入力", "コメント入力", separator, "色設定", separator, "保存",
                                 "印刷", separator, "ﾊﾞｰｼﾞｮﾝ情報"}));
    const QList<QAction*> actions = toolBar->actions();
    ASSERT_EQ(actions.size(), 9);
    EXPECT_EQ(actions[0], world.frame.Action(Command::CodeInput));
    EXPECT_EQ(actions[5], world.frame.Action(Command::Copy));
    EXPECT_EQ(actions[6], world.frame.Action(Command::Print));
    EXPECT_EQ(actions[8], world.frame.Action(Command::About));
}

TEST(MainFrameTest, EveryPromptedCommandShowsTheFirstLineInTheStatusBar)
{
    test::FrameWorld world;
    struct TipCase {
        Command command;
        QString statusTip;
    };
    const std::vector<TipCase> cases{
        {Command::CodeInput, "コードの入力、設定をします"},
        {Command::Comment, "バーコードの上下にコメントを入力します"},
        {Command::Colours, "バーコードや文字の色の設定をします"},
        {Command::Options, "個々のバーコードの設定をします"},
        {Command::Save, "作業中のﾌｧｲﾙを保存"},
        {Command::SaveAs, "作業中のﾌｧｲﾙに名前をつけて保存"},
        {Command::PrintSetup, "ﾌﾟﾘﾝﾀ/印刷設定の変更"},
        {Command::Print, "作業中のﾌｧｲﾙを印刷"},
        {Command::Copy, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"},
        {Command::About, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"},
        {Command::Exit, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示"},
        {Command::ToolBar, "ﾂｰﾙﾊﾞｰの表示/非表示"},
        {Command::StatusBar, "ｽﾃｰﾀｽﾊﾞｰの表示/非表示"},
    };
    for (const TipCase& c : cases) {
        EXPECT_EQ(world.frame.Action(c.command)->statusTip(), c.statusTip);
    }

    // Hovering sends the tip to the window; moving off sends an empty one.
    QStatusTipEvent hover(cases.front().statusTip);
    QCoreApplication::sendEvent(&world.frame, &hover);
    EXPECT_EQ(world.frame.statusBar()->currentMessage(), cases.front().statusTip);
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(&world.frame, &leave);
    EXPECT_TRUE(world.frame.statusBar()->currentMessage().isEmpty());
}

TEST(MainFrameTest, StatusBarReadsReadyWithTheFourIndicatorsAtTheRight)
{
    test::FrameWorld world;
    const auto* ready = world.frame.statusBar()->findChild<QLabel*>("readyPane");
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(ready->text(), "ﾚﾃﾞｨ");
    QStringList indicators;
    for (const QLabel* label : world.frame.statusBar()->findChildren<QLabel*>("indicator")) {
        indicators << label->text();
    }
    EXPECT_EQ(indicators, (QStringList{"ｶﾅ", "CAP", "NUM", "SCRL"}));
}

TEST(MainFrameTest, OutputCommandsFollowTheCodeText)
{
    test::FrameWorld world;
    const std::vector<Command> output{Command::Save, Command::SaveAs, Command::Print,
                                      Command::Copy};
    const auto enabled = [&] {
        std::vector<bool> states;
        for (Command command : output) {
            states.push_back(world.frame.Action(command)->isEnabled());
        }
        return states;
    };
    EXPECT_EQ(enabled(), std::vector<bool>(4, false));

    world.doc.CodeText = "4901234567894";
    world.frame.View()->OnUpdate();
    EXPECT_EQ(enabled(), std::vector<bool>(4, true));

    // Changed without an update of the view: the menu still shows the truth.
    world.doc.CodeText.clear();
    emit MenuTitled(world.frame, "ファイル(&F)")->aboutToShow();
    EXPECT_EQ(enabled(), std::vector<bool>(4, false));

    // The rest never depend on it.
    for (Command command : {Command::PrintSetup, Command::Exit, Command::CodeInput,
                            Command::Comment, Command::Colours, Command::Options, Command::About}) {
        EXPECT_TRUE(world.frame.Action(command)->isEnabled());
    }
}

TEST(MainFrameTest, KeysOfDisabledCommandsDoNothing)
{
    test::FrameWorld world;
    world.frame.show();
    world.frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&world.frame));

    struct KeyCase {
        Command command;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expectedTriggers;
    };
    const std::vector<KeyCase> cases{
        {Command::Copy, Qt::Key_C, Qt::ControlModifier, 0},
        {Command::Print, Qt::Key_P, Qt::ControlModifier, 0},
        {Command::Save, Qt::Key_S, Qt::ControlModifier, 0},
        // Always enabled: shows the keys do reach the commands.
        {Command::CodeInput, Qt::Key_I, Qt::NoModifier, 1},
    };
    for (const KeyCase& c : cases) {
        QSignalSpy triggered(world.frame.Action(c.command), &QAction::triggered);
        // A command that opens a modal dialog is answered with Escape.
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        QTest::keyClick(world.frame.View(), c.key, c.modifiers);
        EXPECT_EQ(triggered.count(), c.expectedTriggers)
            << QKeySequence(c.key).toString().toStdString();
    }
}

TEST(MainFrameTest, ViewMenuShowsAndHidesToolBarAndStatusBar)
{
    test::FrameWorld world;
    world.frame.show();
    struct ToggleCase {
        Command command;
        QWidget* bar;
    };
    for (const ToggleCase& c : {ToggleCase{Command::ToolBar, world.frame.ToolBar()},
                                ToggleCase{Command::StatusBar, world.frame.statusBar()}}) {
        QAction* toggle = world.frame.Action(c.command);
        ASSERT_TRUE(toggle->isCheckable());
        EXPECT_TRUE(toggle->isChecked());
        EXPECT_TRUE(c.bar->isVisible());
        toggle->trigger();
        EXPECT_FALSE(toggle->isChecked());
        EXPECT_FALSE(c.bar->isVisible());
        toggle->trigger();
        EXPECT_TRUE(c.bar->isVisible());
    }
}

TEST(MainFrameTest, WindowIsTitledKestrelWithoutMaximiseButton)
{
    test::FrameWorld world;
    world.frame.show();
    EXPECT_EQ(world.frame.windowTitle(), "Kestrel");
    EXPECT_FALSE(world.frame.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(world.frame.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(world.frame.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    world.doc.CodeText = "12345";
    world.frame.View()->OnUpdate();
    EXPECT_EQ(world.frame.windowTitle(), "Kestrel");
}

// A right click on the bars opens no pop-up (the only entry Qt would offer
// is the toolbar's greyed, nameless toggle).
TEST(MainFrameTest, RightClickOnTheBarsOpensNoPopUp)
{
    test::FrameWorld world;
    world.frame.show();
    for (QWidget* bar : QWidgetList{world.frame.ToolBar(), world.frame.menuBar()}) {
        SCOPED_TRACE(bar->metaObject()->className());
        // Past the last button or menu: the bar itself.
        const QPoint where(bar->width() - 3, bar->height() / 2);
        QContextMenuEvent click(QContextMenuEvent::Mouse, where, bar->mapToGlobal(where));
        QApplication::sendEvent(bar, &click);
        QApplication::processEvents();
        QWidget* popUp = QApplication::activePopupWidget();
        EXPECT_EQ(popUp, nullptr);
        if (popUp) {
            popUp->close();
        }
    }
}

TEST(MainFrameTest, AboutBoxShowsProductVersionAndOk)
{
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "Kestrel について");
    const auto* icon = about.findChild<QLabel*>("aboutIcon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(about.findChild<QLabel*>("aboutProduct")->text(), "Kestrel for Win32");
    EXPECT_EQ(about.findChild<QLabel*>("aboutVersion")->text(), "Ver 2.13");
    const auto* buttons = about.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_EQ(buttons->buttons().size(), 1);
    EXPECT_EQ(buttons->buttons().front()->text(), "OK");
}

}  // namespace
}  // namespace kestrel
