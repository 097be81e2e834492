#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

WindowPlacement Placement(unsigned flags, unsigned show, int minX, int minY, int maxX, int maxY,
                          ScreenRect normal)
{
    WindowPlacement placement;
    placement.flags = flags;
    placement.showCommand = show;
    placement.minX = minX;
    placement.minY = minY;
    placement.maxX = maxX;
    placement.maxY = maxY;
    placement.normal = normal;
    return placement;
}

struct ParseCase {
    const char* name;
    std::string text;
    std::optional<WindowPlacement> expected;
};

TEST(WindowPlacementTest, ParsesAsTheStoredFormatIsScanned)
{
    const std::vector<ParseCase> cases{
        {"never stored", "", std::nullopt},
        {"restored window", "0,1,-1,-1,-1,-1,120,80,720,560",
         Placement(0, 1, -1, -1, -1, -1, {120, 80, 720, 560})},
        {"maximised", "2,3,-1,-1,-8,-8,10,20,610,420",
         Placement(2, 3, -1, -1, -8, -8, {10, 20, 610, 420})},
        {"left of the primary screen", "0,1,-32000,-32000,-1,-1,-1500,-30,-900,400",
         Placement(0, 1, -32000, -32000, -1, -1, {-1500, -30, -900, 400})},
        {"nine numbers", "0,1,-1,-1,-1,-1,10,20,610", std::nullopt},
        {"one number", "2", std::nullopt},
        {"tenth is not a number", "0,1,-1,-1,-1,-1,10,20,610,x", std::nullopt},
        {"stops at a space before a comma", "0 ,1,-1,-1,-1,-1,10,20,610,420", std::nullopt},
        {"semicolons", "0;1;-1;-1;-1;-1;10;20;610;420", std::nullopt},
        {"space before a number is skipped", " 0, 1, -1,-1,-1,-1,10,20,610, 420",
         Placement(0, 1, -1, -1, -1, -1, {10, 20, 610, 420})},
        {"after the tenth ignored", "0,1,-1,-1,-1,-1,10,20,610,420,77,junk",
         Placement(0, 1, -1, -1, -1, -1, {10, 20, 610, 420})},
        {"trailing text glued to the tenth", "0,1,-1,-1,-1,-1,10,20,610,420px",
         Placement(0, 1, -1, -1, -1, -1, {10, 20, 610, 420})},
        {"unsigned field given -1 wraps", "-1,1,0,0,0,0,0,0,100,100",
         Placement(4294967295U, 1, 0, 0, 0, 0, {0, 0, 100, 100})},
        {"plus sign", "+0,+1,0,0,0,0,+5,+6,+50,+60", Placement(0, 1, 0, 0, 0, 0, {5, 6, 50, 60})},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(WindowPlacement::Parse(c.text), c.expected) << c.name;
    }
}

TEST(WindowPlacementTest, FormatsTenNumbersThatParseBack)
{
    const WindowPlacement placement = Placement(2, 2, -1, -1, -4, -4, {-1500, -30, -900, 400});
    EXPECT_EQ(placement.Format(), "2,2,-1,-1,-4,-4,-1500,-30,-900,400");
    EXPECT_EQ(WindowPlacement::Parse(placement.Format()), placement);
}

struct CloseCase {
    const char* name;
    bool minimized;
    bool maximized;
    unsigned flags;
    unsigned showCommand;
};

TEST(WindowPlacementTest, RecordsTheStateAtClose)
{
    const ScreenRect normal{100, 50, 700, 500};
    const std::vector<CloseCase> cases{
        {"restored", false, false, 0, 1},
        {"maximised", false, true, 2, 3},
        {"minimised", true, false, 0, 2},
        {"minimised from maximised", true, true, 2, 2},
    };
    for (const CloseCase& c : cases) {
        const WindowPlacement placement = WindowPlacement::AtClose(c.minimized, c.maximized,
                                                                   normal);
        EXPECT_EQ(placement.flags, c.flags) << c.name;
        EXPECT_EQ(placement.showCommand, c.showCommand) << c.name;
        EXPECT_EQ(placement.normal, normal) << c.name;
    }
}

struct StartCase {
    const char* name;
    std::optional<WindowPlacement> stored;
    unsigned showCommand;
    std::optional<ScreenRect> normal;
    bool minimized;
    bool maximized;
};

TEST(WindowPlacementTest, PlansTheStartFromStoredAndGivenShowCommands)
{
    const std::vector<ScreenRect> screens{{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
    const ScreenRect onPrimary{100, 50, 700, 500};
    const ScreenRect onSecond{2000, 100, 2600, 550};
    const auto stored = [](unsigned flags, unsigned show, ScreenRect normal) {
        return std::optional(Placement(flags, show, -1, -1, -1, -1, normal));
    };
    const std::vector<StartCase> cases{
        {"nothing stored, normal", std::nullopt, 1, std::nullopt, false, false},
        {"nothing stored, started maximised", std::nullopt, 3, std::nullopt, false, true},
        {"stored restored", stored(0, 1, onPrimary), 1, onPrimary, false, false},
        {"stored maximised", stored(2, 3, onPrimary), 1, onPrimary, false, true},
        {"stored minimised", stored(0, 2, onPrimary), 1, onPrimary, true, false},
        {"stored minimised from maximised", stored(2, 2, onPrimary), 1, onPrimary, true, true},
        {"started minimised wins over maximised", stored(2, 3, onPrimary), 2, onPrimary, true,
         true},
        {"started maximised wins over restored", stored(0, 1, onPrimary), 3, onPrimary, false,
         true},
        {"stored hidden still shows", stored(0, 0, onPrimary), 1, onPrimary, false, false},
        {"on the second screen", stored(0, 1, onSecond), 1, onSecond, false, false},
        {"partly off the screen stays", stored(0, 1, {-300, -20, 100, 400}), 1,
         ScreenRect{-300, -20, 100, 400}, false, false},
        {"screen gone: moved onto the primary", stored(0, 1, {4000, 200, 4600, 650}), 1,
         ScreenRect{0, 0, 600, 450}, false, false},
        {"larger than the primary: cut to it", stored(0, 1, {-5000, 0, -1000, 3000}), 1,
         ScreenRect{0, 0, 1920, 1040}, false, false},
        {"empty rectangle: default geometry", stored(0, 1, {300, 300, 300, 500}), 1, std::nullopt,
         false, false},
        {"inverted rectangle: default geometry", stored(0, 1, {700, 500, 100, 50}), 1, std::nullopt,
         false, false},
        {"overflowing rectangle: default geometry", stored(0, 1, {-2147483647, 0, 2147483647, 100}),
         1, std::nullopt, false, false},
    };
    for (const StartCase& c : cases) {
        const StartPlacement plan = PlanStart(c.stored, c.showCommand, screens);
        EXPECT_EQ(plan.normal, c.normal) << c.name;
        EXPECT_EQ(plan.minimized, c.minimized) << c.name;
        EXPECT_EQ(plan.maximized, c.maximized) << c.name;
    }
}

}  // namespace
}  // namespace kestrel
