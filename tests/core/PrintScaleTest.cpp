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
        PrinterMetrics printer;  // dpi x, dpi y, printable width, height
        PictureMetrics picture;  // width, height, narrow
        int dotsX;
        int dotsY;
        bool fits;
    };
    const PrinterMetrics a4at600{600, 600, 4800, 6800};
    const PictureMetrics defaults{300, 150, 1};
    const Row rows[] = {
        {"one dot at 600 dpi", Mode::OneDotPerPixel, 330, a4at600, defaults, 1, 1, true},
        {"one dot, picture wider than the page",
         Mode::OneDotPerPixel,
         330,
         {300, 300, 200, 200},
         defaults,
         1,
         1,
         false},
        {"one dot, unequal axes",
         Mode::OneDotPerPixel,
         330,
         {600, 300, 4800, 3400},
         defaults,
         1,
         1,
         true},
        // 0.33 × 300 / 25.4 = 3.90; × 600 = 7.80; × 1200 = 15.59; × 203 = 2.64
        {"0.33 mm at 300 dpi",
         Mode::ModuleWidth,
         330,
         {300, 300, 2400, 3400},
         defaults,
         4,
         4,
         true},
        {"0.33 mm at 600 dpi", Mode::ModuleWidth, 330, a4at600, defaults, 8, 8, true},
        {"0.33 mm at 1200 dpi",
         Mode::ModuleWidth,
         330,
         {1200, 1200, 9600, 13600},
         defaults,
         16,
         16,
         true},
        {"0.33 mm at 203 dpi",
         Mode::ModuleWidth,
         330,
         {203, 203, 1600, 2300},
         defaults,
         3,
         3,
         true},
        {"0.33 mm, narrow 2 pixels", Mode::ModuleWidth, 330, a4at600, {300, 150, 2}, 4, 4, true},
        {"0.254 mm is 3 dots at 300 dpi exactly",
         Mode::ModuleWidth,
         254,
         {300, 300, 2400, 3400},
         defaults,
         3,
         3,
         true},
        // At 100 dpi a dot is 0.254 mm: 0.381 mm is 1.5 dots, 0.380 a hair less.
        {"an exact half goes up",
         Mode::ModuleWidth,
         381,
         {100, 100, 800, 1100},
         defaults,
         2,
         2,
         true},
        {"just under a half goes down",
         Mode::ModuleWidth,
         380,
         {100, 100, 800, 1100},
         defaults,
         1,
         1,
         true},
        {"less than half a dot is still one",
         Mode::ModuleWidth,
         100,
         {100, 100, 800, 1100},
         defaults,
         1,
         1,
         true},
        {"0.33 mm, 600 across and 300 down",
         Mode::ModuleWidth,
         330,
         {600, 300, 4800, 3400},
         defaults,
         8,
         4,
         true},
        {"3 across at half the dpi down rounds up",
         Mode::ModuleWidth,
         254,
         {300, 150, 2400, 1700},
         defaults,
         3,
         2,
         true},
        {"fit 2400 dots", Mode::FitPageWidth, 330, {300, 300, 2400, 3400}, defaults, 8, 8, true},
        {"fit 2399 dots", Mode::FitPageWidth, 330, {300, 300, 2399, 3400}, defaults, 7, 7, true},
        {"fit, 300 across and 600 down",
         Mode::FitPageWidth,
         330,
         {300, 600, 2400, 6800},
         defaults,
         8,
         16,
         true},
        {"fit, 3 across at half the dpi down",
         Mode::FitPageWidth,
         330,
         {600, 300, 999, 3400},
         defaults,
         3,
         2,
         true},
        {"fit, wider than the page prints as today",
         Mode::FitPageWidth,
         330,
         {300, 300, 299, 3400},
         defaults,
         1,
         1,
         false},
        {"fit, no picture width", Mode::FitPageWidth, 330, a4at600, {0, 150, 1}, 1, 1, true},
        {"fit is bounded",
         Mode::FitPageWidth,
         330,
         {600, 600, 2000000000, 100},
         {1, 1, 1},
         4096,
         4096,
         true},
        {"unknown resolution prints as today",
         Mode::FitPageWidth,
         330,
         {0, 600, 4800, 6800},
         defaults,
         1,
         1,
         true},
        {"module mode with a bad narrow width",
         Mode::ModuleWidth,
         330,
         a4at600,
         {300, 150, 0},
         8,
         8,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PrintScale scale = ComputePrintScale({row.mode, row.micrometres}, row.printer,
                                                   row.picture);
        EXPECT_EQ(scale.dotsX, row.dotsX);
        EXPECT_EQ(scale.dotsY, row.dotsY);
        EXPECT_EQ(scale.fitsWidth, row.fits);
    }
}

TEST(PrintScale, PrintedSizes)
{
    struct Row {
        const char* name;
        PrintChoice choice;
        PrinterMetrics printer;
        double widthMm;
        double heightMm;
        double moduleMm;
    };
    const Row rows[] = {
        // The design's own figure: 300 × 150 at 600 dpi is 0.5 × 0.25 inch.
        {"one dot at 600 dpi", {}, {600, 600, 4800, 6800}, 12.7, 6.35, 25.4 / 600},
        {"8 dots at 600 dpi",
         {Mode::ModuleWidth, 330},
         {600, 600, 4800, 6800},
         101.6,
         50.8,
         8 * 25.4 / 600},
        {"8 × 4 dots at 600 × 300 dpi",
         {Mode::ModuleWidth, 330},
         {600, 300, 4800, 3400},
         101.6,
         50.8,
         8 * 25.4 / 600},
        {"unknown resolution", {}, {0, 0, 4800, 6800}, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PrintScale scale = ComputePrintScale(row.choice, row.printer, {300, 150, 1});
        EXPECT_NEAR(scale.widthMm, row.widthMm, 1e-9);
        EXPECT_NEAR(scale.heightMm, row.heightMm, 1e-9);
        EXPECT_NEAR(scale.moduleMm, row.moduleMm, 1e-9);
    }
}

TEST(PrintSizeModel, WidthBoxLimitsAndEnabling)
{
    const PrinterMetrics printer{600, 600, 4800, 6800};
    PrintSizeModel model({Mode::ModuleWidth, 20}, printer, {300, 150, 1});
    EXPECT_EQ(model.Micrometres(), PrintSizeModel::MinMicrometres);  // a stored choice too
    model.SetMicrometres(123456);
    EXPECT_EQ(model.Micrometres(), PrintSizeModel::MaxMicrometres);
    model.SetMicrometres(254);
    EXPECT_EQ(model.Choice().moduleMicrometres, 254);

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
        const char* name;
        PrintChoice choice;
        PrinterMetrics printer;
        std::vector<std::string> shows;
        bool tooWide;
    };
    const Row rows[] = {
        {"one dot",
         {},
         {600, 600, 4800, 6800},
         {"12.7 × 6.", "0.042 mm", "1 × 1", "600 dpi"},
         false},
        {"0.33 mm",
         {Mode::ModuleWidth, 330},
         {600, 600, 2000, 6800},
         {"101.6 × 50.8 mm", "0.339 mm", "8 × 8", "600 dpi"},
         true},
        {"unequal axes",
         {Mode::ModuleWidth, 330},
         {600, 300, 4800, 3400},
         {"8 × 4", "600 × 300 dpi"},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
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
