#include "MainFrameTestSupport.h"

#include "app/WindowPlacement.h"
#include "profile/ProfileSchema.h"
#include "render/BarCodeView.h"
#include "symbology/CodeValidator.h"

#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kestrel {
namespace {

std::string StoredPosition(const Profile& profile)
{
    return profile::Read(profile, profile::WindowPos);
}

QRect ToQRect(const ScreenRect& rect)
{
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

TEST(MainFramePlacementTest, ClosingStoresTheStateAndTheRestoredFrame)
{
    struct CloseCase {
        const char* name;
        Qt::WindowStates state;
        unsigned flags;
        unsigned showCommand;
    };
    const std::vector<CloseCase> cases{
        {"restored", Qt::WindowNoState, 0, 1},
        {"maximised", Qt::WindowMaximized, 2, 3},
        {"minimised", Qt::WindowMinimized, 0, 2},
    };
    for (const CloseCase& c : cases) {
        test::FrameWorld world;
        world.frame.ActivateFrame();
        world.frame.move(40, 30);
        world.frame.resize(420, 310);
        QTest::qWait(0);
        const QRect restored = world.frame.frameGeometry();
        world.frame.setWindowState(c.state);
        QTest::qWait(0);

        ASSERT_FALSE(world.profile.Contains("Settings", "WindowPos")) << c.name;
        ASSERT_TRUE(world.frame.close());
        const auto stored = WindowPlacement::Parse(StoredPosition(world.profile));
        ASSERT_TRUE(stored.has_value()) << c.name << ": " << StoredPosition(world.profile);
        EXPECT_EQ(stored->flags, c.flags) << c.name;
        EXPECT_EQ(stored->showCommand, c.showCommand) << c.name;
        EXPECT_EQ(ToQRect(stored->normal), restored) << c.name;
    }
}

TEST(MainFramePlacementTest, ClosingAnUntouchedWindowStillStoresItsPlace)
{
    test::FrameWorld world;
    world.frame.ActivateFrame();
    QTest::qWait(0);
    const QRect shown = world.frame.frameGeometry();
    world.frame.close();
    const auto stored = WindowPlacement::Parse(StoredPosition(world.profile));
    ASSERT_TRUE(stored.has_value()) << StoredPosition(world.profile);
    EXPECT_EQ(ToQRect(stored->normal), shown);
    EXPECT_EQ(stored->showCommand, 1U);
}

TEST(MainFramePlacementTest, ActivateFrameAppliesTheStoredPlacement)
{
    struct StartCase {
        const char* name;
        std::string stored;
        unsigned showCommand;
        Qt::WindowStates state;
        QRect restored;  // empty: Qt's default place
    };
    const std::vector<StartCase> cases{
        {"restored", "0,1,-1,-1,-1,-1,100,80,740,560", 1, Qt::WindowNoState,
         QRect(100, 80, 640, 480)},
        {"maximised", "2,3,-1,-1,-1,-1,100,80,740,560", 1, Qt::WindowMaximized,
         QRect(100, 80, 640, 480)},
        {"started minimised", "0,1,-1,-1,-1,-1,100,80,740,560", 2, Qt::WindowMinimized,
         QRect(100, 80, 640, 480)},
        {"started maximised", "0,1,-1,-1,-1,-1,100,80,740,560", 3, Qt::WindowMaximized,
         QRect(100, 80, 640, 480)},
        {"nine numbers: ignored", "0,3,-1,-1,-1,-1,100,80,740", 1, Qt::WindowNoState, QRect()},
    };
    for (const StartCase& c : cases) {
        test::FrameWorld world;
        world.profile.WriteProfileString("Settings", "WindowPos", c.stored);
        world.frame.ActivateFrame(c.showCommand);
        QTest::qWait(0);
        EXPECT_EQ(world.frame.windowState(), c.state) << c.name;
        EXPECT_TRUE(world.frame.isVisible()) << c.name;
        if (!c.restored.isEmpty()) {
            world.frame.setWindowState(Qt::WindowNoState);
            QTest::qWait(0);
            EXPECT_EQ(world.frame.frameGeometry(), c.restored) << c.name;
        }
    }
}

TEST(MainFramePlacementTest, APlaceSurvivesRunsUnchanged)
{
    // The window's frame must not creep from one run to the next.
    for (const std::string first :
         {"0,1,-1,-1,-1,-1,60,50,560,450", "2,3,-1,-1,-1,-1,60,50,560,450",
          "0,2,-1,-1,-1,-1,60,50,560,450"}) {
        std::string stored = first;
        for (int run = 0; run < 3; ++run) {
            test::FrameWorld world;
            world.profile.WriteProfileString("Settings", "WindowPos", stored);
            world.frame.ActivateFrame();
            QTest::qWait(0);
            world.frame.close();
            stored = StoredPosition(world.profile);
        }
        EXPECT_EQ(stored, first);
    }
}

TEST(MainFramePlacementTest, ClosingDoesNotWriteTheDocumentSettings)
{
    // Those belong to the document's end, after the frame has gone.
    test::FrameWorld world;
    world.frame.ActivateFrame();
    world.frame.close();
    for (const std::string& write : world.profile.WriteLog()) {
        EXPECT_NE(write.rfind("Code/", 0), 0U) << write;
    }
}

TEST(MainFramePlacementTest, AFirstStartShowsTheBarsAndTheWholePicture)
{
    // Picture sizes from the default to one wider than every bar.
    for (const QSize picture : {QSize(300, 150), QSize(120, 40), QSize(700, 300)}) {
        test::FrameWorld world;
        world.doc.Width = picture.width();
        world.doc.Height = picture.height();
        world.doc.CodeText = "4901234567894";
        world.doc.Encode(CodabarOptions{});
        world.frame.View()->OnUpdate();
        world.frame.ActivateFrame();
        QTest::qWait(0);

        const QSize shown = world.frame.View()->viewport()->size();
        EXPECT_GE(shown.width(), picture.width() + 1) << picture.width();
        EXPECT_GE(shown.height(), picture.height() + 1) << picture.width();
        for (const QWidget* bar : {static_cast<QWidget*>(world.frame.menuBar()),
                                   static_cast<QWidget*>(world.frame.ToolBar()),
                                   static_cast<QWidget*>(world.frame.statusBar())}) {
            EXPECT_GE(bar->width(), bar->sizeHint().width()) << picture.width();
            EXPECT_GE(bar->height(), bar->sizeHint().height()) << picture.width();
        }
    }
}

}  // namespace
}  // namespace kestrel
