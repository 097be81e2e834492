#include "MainFrameTestSupport.h"

#include "keyboard/LockKeyIndicators.h"
#include "widgets/LockKeyPanes.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace kestrel {
namespace {

using Command = CMainFrame::Command;

TEST(StatusBarTest, MenuItemsPromptUnderThePointerGreyedOrNot)
{
    test::FrameWorld world;  // no code text: Print, Save, Save As and Copy are greyed
    world.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.frame));
    struct Hover {
        int menu;  // File, Edit
        int item;  // separators counted
    };
    // In the order a pointer travels: greyed after enabled, greyed after
    // greyed, a separator, enabled after greyed, another menu's greyed item.
    const Hover path[] = {{0, 1}, {0, 3}, {0, 4}, {0, 5}, {0, 0}, {0, 1}, {1, 6}};
    for (const Hover& h : path) {
        QMenu* menu = world.frame.menuBar()->actions().at(h.menu)->menu();
        if (!menu->isVisible()) {
            world.frame.menuBar()->setActiveAction(menu->menuAction());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        }
        QAction* item = menu->actions().at(h.item);
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        EXPECT_EQ(world.frame.statusBar()->currentMessage().toStdString(),
                  item->statusTip().toStdString())
            << "menu " << h.menu << " item " << h.item;
    }
    // Closing the menu brings the idle text back.
    world.frame.menuBar()->setActiveAction(nullptr);
    EXPECT_EQ(world.frame.statusBar()->currentMessage(), "");
}

class FakeLights : public LockKeyIndicators {
public:
    std::array<std::optional<bool>, 4> lights;  // by LockKey
    std::optional<bool> State(LockKey key) const override { return lights[int(key)]; }
};

// A pane shows its name while its light is on, nothing while it is off,
// its name greyed while the state is unknown; its width never changes.
TEST(StatusBarTest, LockKeyPanesFollowTheLights)
{
    QStatusBar bar;
    auto owned = std::make_unique<FakeLights>();
    FakeLights* fake = owned.get();
    LockKeyPanes panes(&bar, std::move(owned));
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    std::array<QString, 4> names;  // as shown while nothing is known
    std::array<int, 4> widths{};
    for (int i = 0; i < 4; ++i) {
        names[i] = panes.Pane(LockKey(i))->text();
        widths[i] = panes.Pane(LockKey(i))->width();
    }
    constexpr std::optional<bool> unknown;
    // The first row is the state before any change is reported; every pane
    // then passes through all three states.
    const std::array<std::optional<bool>, 4> rows[] = {
        {unknown, unknown, unknown, unknown},
        {unknown, true, false, false},
        {true, false, unknown, true},
        {false, unknown, true, unknown},
    };
    for (const auto& row : rows) {
        if (&row != &rows[0]) {
            fake->lights = row;
            emit fake->Changed();
            QTest::qWait(0);  // the bar lays out again
        }
        for (int i = 0; i < 4; ++i) {
            const QLabel* pane = panes.Pane(LockKey(i));
            SCOPED_TRACE(names[i].toStdString());
            EXPECT_EQ(pane->isEnabled(), row[i].has_value());
            EXPECT_EQ(pane->text(), row[i] == false ? QString() : names[i]);
            EXPECT_EQ(pane->width(), widths[i]);
        }
    }
}

// How many prompts the status bar cuts at the window's present width,
// compared with how each is drawn in a window far wider than any.
int CutPrompts(CMainFrame& frame, int width)
{
    QStatusBar* bar = frame.statusBar();
    const auto strip = [bar](const QString& prompt) {
        bar->showMessage(prompt);
        // Qt starts messages a few pixels in; the strip reaches past the end.
        const QImage picture = bar->grab().toImage();
        bar->clearMessage();
        const int end = bar->fontMetrics().horizontalAdvance(prompt) + 12;
        return picture.copy(0, 0, end, picture.height());
    };
    const int height = frame.height();
    int cut = 0;
    for (int c = static_cast<int>(Command::Print); c <= static_cast<int>(Command::About); ++c) {
        const QString prompt = frame.Action(static_cast<Command>(c))->statusTip();
        frame.resize(1600, height);
        QTest::qWait(0);
        const QImage whole = strip(prompt);
        frame.resize(width, height);
        QTest::qWait(0);
        cut += strip(prompt) != whole;
    }
    return cut;
}

TEST(StatusBarTest, EveryPromptIsWholeAtTheFirstStartSize)
{
    test::FrameWorld world;
    world.frame.ActivateFrame();  // nothing stored: the first-start size
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.frame));
    const int firstStart = world.frame.width();
    EXPECT_EQ(CutPrompts(world.frame, firstStart), 0);
    // A narrow window shows the comparison can tell a cut prompt.
    EXPECT_GT(CutPrompts(world.frame, 320), 0);
}

// After a save the status bar says where the file went, in place of the
// idle text for a few seconds.
TEST(StatusBarTest, ASaveShowsWhereTheFileWent)
{
    test::FrameWorld world;
    QDir().mkpath(QString::fromStdString(world.programPath).section(QLatin1Char('/'), 0, -2));
    world.doc.CodeText = "4901234567894";
    world.frame.UpdateCommandState();
    world.frame.Action(CMainFrame::Command::Save)->trigger();
    const QString expected =
        QStringLiteral("保存しました: ")
        + QString::fromStdString(world.programPath).section(QLatin1Char('/'), 0, -2)
        + QStringLiteral("/BarCode.bmp");
    EXPECT_EQ(world.frame.statusBar()->currentMessage().toStdString(), expected.toStdString());
}

}  // namespace
}  // namespace kestrel
