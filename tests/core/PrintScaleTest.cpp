#include "print/PrintScale.h"
#include "print/PrintSizeModel.h"
#include "print/PrintTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel {
namespace {

using Mode = PrintScaleMode;

// Expected dots per pixel worked out by hand: a module of m mm on a printer
// of d dpi is m × d / 25.4 dots, shared among the narrow width's pixels.
TEST(PrintScale, DotsPerPixel)
{
    struct Row {
        const char* name;
        Mode mode;
        int micrometres;
        PrinterMetrics printer;  // dpi across and down, printable width and height
        int width;               // of a picture 150 pixels high
        int narrow;
        int dotsX;
        int dotsY;
        bool fits;
    };
    // clang-format off
    const Row rows[] = {
        {"one dot", Mode::OneDotPerPixel, 330, {600, 300, 4800, 3400}, 300, 1, 1, 1, true},
        {"one dot, wider than the page", Mode::OneDotPerPixel, 330, {300, 300, 200, 200}, 300, 1, 1, 1, false},
        // 0.33 mm is 3.90 dots at 300 dpi, 7.80 at 600, 15.59 at 1200, 2.64 at 203.
        {"0.33 mm at 300 dpi", Mode::ModuleWidth, 330, {300, 300, 2400, 3400}, 300, 1, 4, 4, true},
        {"0.33 mm at 1200 dpi", Mode::ModuleWidth, 330, {1200, 1200, 4000, 13600}, 300, 1, 16, 16, false},
        {"0.33 mm at 203 dpi", Mode::ModuleWidth, 330, {203, 203, 1600, 2300}, 300, 1, 3, 3, true},
        {"0.33 mm, narrow 2 pixels", Mode::ModuleWidth, 330, {600, 600, 4800, 6800}, 300, 2, 4, 4, true},
        {"0.33 mm, bad narrow width taken as 1", Mode::ModuleWidth, 330, {600, 600, 4800, 6800}, 300, 0, 8, 8, true},
        // At 100 dpi a dot is 0.254 mm: 0.381 mm is 1.5 dots, 0.380 a hair less.
        {"an exact half goes up", Mode::ModuleWidth, 381, {100, 100, 800, 1100}, 300, 1, 2, 2, true},
        {"just under a half goes down", Mode::ModuleWidth, 380, {100, 100, 800, 1100}, 300, 1, 1, 1, true},
        {"under half a dot is still one", Mode::ModuleWidth, 100, {100, 100, 800, 1100}, 300, 1, 1, 1, true},
        {"600 across, 300 down", Mode::ModuleWidth, 330, {600, 300, 4800, 3400}, 300, 1, 8, 4, true},
        {"3 across at half the dpi down: up", Mode::ModuleWidth, 254, {300, 150, 2400, 1700}, 300, 1, 3, 2, true},
        {"fit 2400 dots", Mode::FitPageWidth, 330, {300, 300, 2400, 3400}, 300, 1, 8, 8, true},
        {"fit 2399 dots", Mode::FitPageWidth, 330, {300, 300, 2399, 3400}, 300, 1, 7, 7, true},
        {"fit, 300 across, 600 down", Mode::FitPageWidth, 330, {300, 600, 2400, 6800}, 300, 1, 8, 16, true},
        {"fit, no picture width", Mode::FitPageWidth, 330, {600, 600, 4800, 6800}, 0, 1, 1, 1, true},
        {"fit, wider than the page: as today", Mode::FitPageWidth, 330, {300, 300, 299, 3400}, 300, 1, 1, 1, false},
        {"fit is bounded", Mode::FitPageWidth, 330, {600, 600, 2000000000, 100}, 1, 1, 4096, 4096, true},
        {"unknown resolution: as today", Mode::FitPageWidth, 330, {0, 600, 4800, 6800}, 300, 1, 1, 1, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PrintScale scale = ComputePrintScale({row.mode, row.micrometres}, row.printer,
                                                   {row.width, 150, row.narrow});
        EXPECT_EQ(scale.dotsX, row.dotsX);
        EXPECT_EQ(scale.dotsY, row.dotsY);
        EXPECT_EQ(scale.fitsWidth, row.fits);
    }
}

// The design's own figure: 300 × 150 pixels at 600 dpi is 0.5 × 0.25 inch.
TEST(PrintScale, PrintedSizes)
{
    const PrintScale oneDot = ComputePrintScale({}, {600, 600, 4800, 6800}, {300, 150, 1});
    EXPECT_NEAR(oneDot.widthMm, 12.7, 1e-9);
    EXPECT_NEAR(oneDot.heightMm, 6.35, 1e-9);
    const PrintScale eight = ComputePrintScale({Mode::ModuleWidth, 330}, {600, 300, 4800, 3400},
                                               {300, 150, 1});
    EXPECT_NEAR(eight.widthMm, 101.6, 1e-9);
    EXPECT_NEAR(eight.heightMm, 50.8, 1e-9);
    EXPECT_NEAR(eight.moduleMm, 8 * 25.4 / 600, 1e-9);
}

TEST(PrintSizeModel, WidthBoxLimitsAndEnabling)
{
    PrintSizeModel model({Mode::ModuleWidth, 20}, {600, 600, 4800, 6800}, {300, 150, 1});
    EXPECT_EQ(model.Micrometres(), PrintSizeModel::MinMicrometres);  // a stored choice too
    model.SetMicrometres(123456);
    EXPECT_EQ(model.Micrometres(), PrintSizeModel::MaxMicrometres);
    model.SetMicrometres(254);
    for (const Mode mode : {Mode::OneDotPerPixel, Mode::ModuleWidth, Mode::FitPageWidth}) {
        model.SetMode(mode);
        EXPECT_EQ(model.MillimetresEnabled(), mode == Mode::ModuleWidth);
        EXPECT_EQ(model.Choice().mode, mode);
        EXPECT_EQ(model.Choice().moduleMicrometres, 254);  // kept through mode changes
    }
}

TEST(PrintSizeModel, SizeTextFollowsTheChoice)
{
    struct Row {
        PrintChoice choice;
        PrinterMetrics printer;
        std::vector<std::string> shows;
        bool tooWide;
    };
    // clang-format off
    const Row rows[] = {
        {{}, {600, 600, 4800, 6800}, {"12.7 × 6.", "0.042 mm", "1 × 1", "600 dpi"}, false},
        {{Mode::ModuleWidth, 330}, {600, 600, 2000, 6800}, {"101.6 × 50.8 mm", "0.339 mm", "8 × 8"}, true},
        {{Mode::ModuleWidth, 330}, {600, 300, 4800, 3400}, {"8 × 4", "600 × 300 dpi"}, false},
    };
    // clang-format on
    for (const Row& row : rows) {
        const std::string text = PrintSizeModel(row.choice, row.printer, {300, 150, 1}).SizeText();
        for (const std::string& part : row.shows) {
            EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
        }
        EXPECT_EQ(text.find(texts::print::WiderThanPage) != std::string::npos, row.tooWide);
    }
    EXPECT_EQ(PrintSizeModel({}, {0, 0, 100, 100}, {300, 150, 1}).SizeText(),
              texts::print::ResolutionUnknown);
}

}  // namespace
}  // namespace kestrel
