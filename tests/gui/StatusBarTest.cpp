#include "MainFrameTestSupport.h"

#include "keyboard/LockKeyIndicators.h"
#include "render/BarCodeView.h"
#include "widgets/LockKeyPanes.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kestrel {
namespace {

using Command = CMainFrame::Command;

QMenu* MenuTitled(CMainFrame& frame, const QString& title)
{
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

TEST(StatusBarTest, MenuItemsPromptUnderThePointerGreyedOrNot)
{
    test::FrameWorld world;  // no code text: Save, Save As, Print and Copy are greyed
    world.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.frame));

    struct HoverCase {
        const char* menu;
        int item;  // position in the menu, separators counted
        QString message;
    };
    // In the order a pointer travels, so that each step leaves the previous
    // item: greyed after enabled, enabled after greyed, onto a separator.
    const std::vector<HoverCase> cases{
        {"ファイル(&F)", 0, "作業中のﾌｧｲﾙを印刷"},
        {"ファイル(&F)", 1, "ﾌﾟﾘﾝﾀ/印刷設定の変更"},
        {"ファイル(&F)", 3, "作業中のﾌｧｲﾙを保存"},
        {"ファイル(&F)", 4, "作業中のﾌｧｲﾙに名前をつけて保存"},
        {"ファイル(&F)", 5, ""},
        {"ファイル(&F)", 6, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示"},
        {"ファイル(&F)", 4, "作業中のﾌｧｲﾙに名前をつけて保存"},
        {"編集(&E)", 6, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"},
        {"編集(&E)", 3, "バーコードや文字の色の設定をします"},
    };
    for (const HoverCase& c : cases) {
        QMenu* menu = MenuTitled(world.frame, c.menu);
        ASSERT_NE(menu, nullptr);
        if (!menu->isVisible()) {
            world.frame.menuBar()->setActiveAction(menu->menuAction());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        }
        QAction* item = menu->actions().at(c.item);
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        EXPECT_EQ(world.frame.statusBar()->currentMessage().toStdString(), c.message.toStdString())
            << c.menu << " item " << c.item;
    }

    // Closing the menu brings the idle text back.
    world.frame.menuBar()->setActiveAction(nullptr);
    for (QMenu* menu : world.frame.findChildren<QMenu*>()) {
        menu->hide();
    }
    EXPECT_EQ(world.frame.statusBar()->currentMessage(), "");
}

TEST(StatusBarTest, ToolBarButtonsPromptGreyedOrNotAndKeepTheirTips)
{
    test::FrameWorld world;
    world.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.frame));
    struct ButtonCase {
        Command command;
        bool enabled;
        QString message;
        QString tip;
    };
    const std::vector<ButtonCase> cases{
        {Command::CodeInput, true, "コードの入力、設定をします", "入力"},
        {Command::Copy, false, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "保存"},
    };
    for (const ButtonCase& c : cases) {
        QWidget* button = world.frame.ToolBar()->widgetForAction(world.frame.Action(c.command));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isEnabled(), c.enabled);
        QTest::mouseMove(button);
        EXPECT_EQ(world.frame.statusBar()->currentMessage().toStdString(), c.message.toStdString());
        EXPECT_EQ(button->toolTip(), c.tip);
        QTest::mouseMove(world.frame.View());
        EXPECT_EQ(world.frame.statusBar()->currentMessage(), "");
    }
}

class FakeLights : public LockKeyIndicators {
public:
    std::map<LockKey, std::optional<bool>> states;

    std::optional<bool> State(LockKey key) const override
    {
        const auto found = states.find(key);
        return found == states.end() ? std::nullopt : found->second;
    }

    void Set(std::map<LockKey, std::optional<bool>> now)
    {
        states = std::move(now);
        emit Changed();
    }
};

TEST(StatusBarTest, LockKeyPanesFollowTheLightsAndGreyWhatIsUnknown)
{
    QStatusBar bar;
    auto owned = std::make_unique<FakeLights>();
    FakeLights* lights = owned.get();
    LockKeyPanes panes(&bar, std::move(owned));

    struct Pane {
        bool enabled;
        QString text;
    };
    struct LightsCase {
        const char* name;
        std::map<LockKey, std::optional<bool>> lights;
        std::vector<Pane> expected;  // ｶﾅ, CAP, NUM, SCRL
    };
    const std::vector<LightsCase> cases{
        {"nothing known",
         {},
         {{false, "ｶﾅ"}, {false, "CAP"}, {false, "NUM"}, {false, "SCRL"}}},
        {"X11 without a kana light, all off",
         {{LockKey::Caps, false}, {LockKey::Num, false}, {LockKey::Scroll, false}},
         {{false, "ｶﾅ"}, {true, ""}, {true, ""}, {true, ""}}},
        {"caps lock pressed",
         {{LockKey::Caps, true}, {LockKey::Num, false}, {LockKey::Scroll, false}},
         {{false, "ｶﾅ"}, {true, "CAP"}, {true, ""}, {true, ""}}},
        {"all on",
         {{LockKey::Kana, true}, {LockKey::Caps, true}, {LockKey::Num, true}, {LockKey::Scroll, true}},
         {{true, "ｶﾅ"}, {true, "CAP"}, {true, "NUM"}, {true, "SCRL"}}},
        {"kana off, the rest unknown again",
         {{LockKey::Kana, false}},
         {{true, ""}, {false, "CAP"}, {false, "NUM"}, {false, "SCRL"}}},
    };
    const std::vector<LockKey> order{LockKey::Kana, LockKey::Caps, LockKey::Num, LockKey::Scroll};
    std::vector<int> widths;
    for (LockKey key : order) {
        widths.push_back(panes.Pane(key)->width());
    }
    for (const LightsCase& c : cases) {
        lights->Set(c.lights);
        for (std::size_t i = 0; i < order.size(); ++i) {
            const QLabel* pane = panes.Pane(order[i]);
            EXPECT_EQ(pane->isEnabled(), c.expected[i].enabled) << c.name << " pane " << i;
            EXPECT_EQ(pane->text(), c.expected[i].text) << c.name << " pane " << i;
            // An empty pane keeps its place: the panes never shift.
            EXPECT_EQ(pane->width(), widths[i]) << c.name << " pane " << i;
        }
    }
}

// The status bar's message area as drawn, from its left edge to the right
// end of the longest text it may hold.
QImage MessageStrip(CMainFrame& frame, const QString& message, int stripWidth)
{
    frame.statusBar()->showMessage(message);
    const QImage bar = frame.statusBar()->grab().toImage();
    frame.statusBar()->clearMessage();
    return bar.copy(0, 0, stripWidth, bar.height());
}

TEST(StatusBarTest, EveryPromptIsWholeAtTheFirstStartSize)
{
    test::FrameWorld world;
    world.frame.ActivateFrame();  // nothing stored: the first-start size
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.frame));
    const QSize firstStart = world.frame.size();

    std::vector<QString> prompts;
    for (int c = static_cast<int>(Command::Print); c <= static_cast<int>(Command::About); ++c) {
        if (const QString tip = world.frame.Action(static_cast<Command>(c))->statusTip();
            !tip.isEmpty()) {
            prompts.push_back(tip);
        }
    }
    ASSERT_EQ(prompts.size(), 13u);

    // What a whole prompt looks like: drawn in a window far wider than any.
    const int wide = 1600;
    world.frame.resize(wide, firstStart.height());
    QTest::qWait(0);
    ASSERT_EQ(world.frame.statusBar()->width(), wide);
    const QFontMetrics metrics = world.frame.statusBar()->fontMetrics();
    std::vector<QImage> whole;
    std::vector<int> stripWidths;
    for (const QString& prompt : prompts) {
        // Qt starts messages a few pixels in; the strip reaches past the end.
        stripWidths.push_back(metrics.horizontalAdvance(prompt) + 12);
        whole.push_back(MessageStrip(world.frame, prompt, stripWidths.back()));
    }

    struct WidthCase {
        int width;
        bool allWhole;
    };
    // A narrow window shows the comparison can tell a cut prompt.
    for (const WidthCase& c : {WidthCase{firstStart.width(), true}, WidthCase{320, false}}) {
        world.frame.resize(c.width, firstStart.height());
        QTest::qWait(0);
        bool allWhole = true;
        for (std::size_t i = 0; i < prompts.size(); ++i) {
            const bool same = MessageStrip(world.frame, prompts[i], stripWidths[i]) == whole[i];
            if (c.allWhole) {
                EXPECT_TRUE(same) << prompts[i].toStdString() << " at width " << c.width;
            }
            allWhole = allWhole && same;
        }
        EXPECT_EQ(allWhole, c.allWhole) << "width " << c.width;
    }
}

}  // namespace
}  // namespace kestrel
