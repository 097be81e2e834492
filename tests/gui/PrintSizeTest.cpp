// Printing at a chosen size: the page drawn at whole dots per pixel, printed
// through a PDF printer, rasterised by pdftoppm, measured, and read back by
// zbar and ZXing; the print dialog's tab and its preview.

#include "render/BarCodeView.h"
#include "render/PrintSizeTab.h"

#include "ViewTestSupport.h"
#include "print/PrintTexts.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>

namespace kestrel {
namespace {

using testing::TestDocument;
using testing::ToRgb;
using Mode = PrintScaleMode;

// Scaled by whole numbers, the page is the picture with each pixel a block
// of dots, and the background reaches the device's last row and column
// however they fall. No text, so that every pixel has one right answer.
TEST(PrintSize, ScaledPageIsThePictureInWholeBlocks)
{
    struct Row {
        int dotsX;
        int dotsY;
    };
    for (const Row row : {Row{2, 2}, Row{3, 3}, Row{2, 3}}) {
        SCOPED_TRACE(std::to_string(row.dotsX) + " x " + std::to_string(row.dotsY));
        TestDocument document;
        document.doc.DispCode = 0;
        const Colour background = MakeColour(230, 255, 230);
        document.SetBackground(background);
        const QImage expected = document.Expected();

        QImage page(3 * 300 + 2, 3 * 150 + 1, QImage::Format_RGB32);  // not whole pixels
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            CBarCodeView::DrawPage(painter, document.doc, document.profile, row.dotsX, row.dotsY);
        }
        int mismatches = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const int px = x / row.dotsX;
                const int py = y / row.dotsY;
                const QRgb under = px < expected.width() && py < expected.height()
                                       ? expected.pixel(px, py)
                                       : ToRgb(background);
                mismatches += page.pixel(x, y) != under;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

constexpr QRgb Background = 0xFFE6FFE6;

// Where the page has the background colour (a 1200-dpi page is read as
// rows, not pixel by pixel).
QRect BackgroundArea(const QImage& page)
{
    const QImage image = page.convertToFormat(QImage::Format_RGB32);
    int left = image.width();
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto* end = row + image.width();
        const auto* first = std::find(row, end, Background);
        if (first == end) {
            continue;
        }
        const auto last = std::find(std::make_reverse_iterator(end),
                                    std::make_reverse_iterator(first), Background);
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last.base() - row) - 1);
        top = top < 0 ? y : top;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool HaveProgram(const char* name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The page printed to PDF at `dpi` and rasterised by pdftoppm at the same
// dots, as `folder`/page.ppm (uncompressed: a 1200-dpi page is 17
// million pixels). The paper is 312 × 198 points with margins of
// 12: every edge on a whole dot at 300, 600 and 1200 dpi, and a printable
// width of 4 inches. Gives the printable area in dots.
QRect PrintAndRasterise(const TestDocument& document, const PrintChoice& choice, int dpi,
                        const QTemporaryDir& folder)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("page.pdf"));
    printer.setResolution(dpi);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(312, 198), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Point));
    EXPECT_EQ(CBarCodeView::PrintPage(printer, document.doc, document.profile, choice),
              CBarCodeView::PrintResult::Printed);
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-singlefile"),
             folder.filePath("page.pdf"), folder.filePath("page")});
    return printer.pageLayout().paintRectPixels(dpi);
}

// Along the row that crosses the most bars: the narrowest run of dark or
// light dots between the first and last bar, whether every run is a whole
// number of such runs, and how many dots are none of background, bar or the
// margin's white. The background is light, the bars black.
struct BarRow {
    int y = -1;
    int module = 0;
    bool wholeModules = true;
    int greys = 0;
};

BarRow MeasureBars(const QImage& page)
{
    const QImage image = page.convertToFormat(QImage::Format_RGB32);
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    BarRow bars;
    int mostEdges = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int edges = 0;
        for (int x = 1; x < image.width(); ++x) {
            edges += (qGray(row[x]) < 128) != (qGray(row[x - 1]) < 128);
        }
        if (edges > mostEdges) {
            mostEdges = edges;
            bars.y = y;
        }
    }
    std::vector<int> runs;
    for (int x = 0; bars.y >= 0 && x < image.width(); ++x) {
        if (runs.empty() && !dark(x, bars.y)) {
            continue;  // before the first bar
        }
        const QRgb dot = image.pixel(x, bars.y) | 0xFF000000;
        bars.greys += dot != Background && dot != 0xFF000000 && dot != 0xFFFFFFFF;  // margin white
        if (runs.empty() || dark(x, bars.y) != dark(x - 1, bars.y)) {
            runs.push_back(0);
        }
        ++runs.back();
    }
    if (!runs.empty()) {
        runs.pop_back();  // the space after the last bar, up to the page's edge
        bars.module = *std::min_element(runs.begin(), runs.end());
    }
    for (const int run : runs) {
        bars.wholeModules = bars.wholeModules && run % bars.module == 0;
    }
    return bars;
}

// The default barcode and a JAN-13 of narrow width 2, printed one dot per
// pixel, at a module of 0.33 mm and fitted to the 4-inch printable width, at
// 300, 600 and 1200 dpi. The expected module widths in dots are worked out
// by hand: 0.33 mm is 3.90, 7.80 and 15.59 dots; 4 inches are 1200, 2400 and
// 4800 dots, so 4, 8 and 16 times 300 pixels, and 3, 6 and 12 times 400.
// The background covers the printable area and nothing beyond, even where
// the last whole picture pixel would reach past its edge (at 300 dpi and 4
// dots per pixel, 182 pixels for 725 rows).
TEST(PrintSize, PrintedModulesMeasureAsChosenAndRead)
{
    if (!HaveProgram("pdftoppm") || !HaveProgram("zbarimg") || !HaveProgram("ZXingReader")) {
        GTEST_SKIP() << "pdftoppm, zbarimg or ZXingReader missing (scripts/setup.sh installs them)";
    }
    struct Row {
        const char* text;
        int narrow;
        int width;
        PrintChoice choice;
        std::array<int, 3> moduleDots;  // at 300, 600 and 1200 dpi
    };
    // clang-format off
    const Row rows[] = {
        {"4901234567894", 1, 300, {}, {1, 1, 1}},
        {"4901234567894", 1, 300, {Mode::ModuleWidth, 330}, {4, 8, 16}},
        {"4901234567894", 1, 300, {Mode::FitPageWidth, 330}, {4, 8, 16}},
        {"4512345678906", 2, 400, {}, {2, 2, 2}},
        {"4512345678906", 2, 400, {Mode::ModuleWidth, 330}, {4, 8, 16}},
        {"4512345678906", 2, 400, {Mode::FitPageWidth, 330}, {6, 12, 24}},
    };
    // clang-format on
    QTemporaryDir dir;
    const QString page = dir.filePath("page.ppm");
    const QString band = dir.filePath("band.png");
    for (const Row& row : rows) {
        TestDocument document("/usr/bin/kestrel", row.text);
        document.doc.NWidth = row.narrow;
        document.doc.Width = row.width;
        document.doc.Height = row.width / 2;
        document.doc.Encode(CodabarOptions{});
        document.SetBackground(MakeColour(230, 255, 230));
        for (std::size_t i = 0; i < row.moduleDots.size(); ++i) {
            const int dpi = 300 << i;
            SCOPED_TRACE(std::string(row.text) + " at " + std::to_string(dpi) + " dpi, mode "
                         + std::to_string(static_cast<int>(row.choice.mode)));
            const QRect printable = PrintAndRasterise(document, row.choice, dpi, dir);
            const QImage image(page);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.width(), 312 * dpi / 72);  // one pixel per dot
            // Poppler also colours the row and column a clip's far edge touches.
            const QRect area = BackgroundArea(image);
            EXPECT_EQ(area.topLeft(), printable.topLeft());
            EXPECT_TRUE(area.right() - printable.right() == 0
                        || area.right() - printable.right() == 1);
            EXPECT_TRUE(area.bottom() - printable.bottom() == 0
                        || area.bottom() - printable.bottom() == 1);

            const BarRow bars = MeasureBars(image);
            EXPECT_EQ(bars.module, row.moduleDots[i]);
            EXPECT_TRUE(bars.wholeModules);
            EXPECT_EQ(bars.greys, 0);  // every edge on a dot

            const QString zbar = RunTool(QStringLiteral("zbarimg"),
                                         {QStringLiteral("--raw"), QStringLiteral("-q"), page});
            EXPECT_EQ(zbar, QLatin1String(row.text));
            // ZXing reads a band of the page across the bars: Debian's
            // ZXingReader 1.4 aborts on an assertion when it finds a large
            // EAN-13 on many lines of one picture.
            ASSERT_TRUE(image.copy(0, std::max(0, bars.y - 100), image.width(), 200).save(band));
            const QString zxing = RunTool(QStringLiteral("ZXingReader"),
                                          {QStringLiteral("-1"), band});
            EXPECT_TRUE(zxing.endsWith(QStringLiteral("\"%1\"").arg(QLatin1String(row.text))))
                << zxing.toStdString();
        }
    }
}

// What the tab shows and hands on, driven through its widgets.
TEST(PrintSizeTab, ControlsFollowTheChoice)
{
    PrintSizeModel model({Mode::OneDotPerPixel, 330}, {600, 600, 4800, 6800}, {300, 150, 1});
    std::vector<PrintChoice> previews;
    PrintSizeTab tab(model,
                     [&](const PrintChoice& choice, QWidget*) { previews.push_back(choice); });
    auto* box = tab.findChild<QDoubleSpinBox*>(QStringLiteral("millimetres"));
    auto* size = tab.findChild<QLabel*>(QStringLiteral("printedSize"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(tab.windowTitle(), QString::fromUtf8(texts::print::TabTitle));
    EXPECT_TRUE(tab.findChild<QRadioButton*>(QStringLiteral("oneDotPerPixel"))->isChecked());
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(size->text().contains(QStringLiteral("1 × 1")));

    tab.findChild<QRadioButton*>(QStringLiteral("moduleWidth"))->click();
    EXPECT_TRUE(box->isEnabled());
    box->setValue(0.5);  // 0.5 mm at 600 dpi: 11.8 dots
    EXPECT_EQ(model.Choice().mode, Mode::ModuleWidth);
    EXPECT_EQ(model.Micrometres(), 500);
    EXPECT_TRUE(size->text().contains(QStringLiteral("12 × 12")));

    tab.findChild<QRadioButton*>(QStringLiteral("fitPageWidth"))->click();
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(size->text().contains(QStringLiteral("16 × 16")));  // 4800 / 300
    tab.findChild<QPushButton*>(QStringLiteral("preview"))->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].mode, Mode::FitPageWidth);
    EXPECT_EQ(previews[0].moduleMicrometres, 500);
}

// Qt's print dialog carries the tab; what was confirmed there lasts for the
// run, and a cancelled dialog changes nothing.
TEST(PrintSizeTab, ChoiceFromQtsDialogLastsForTheRun)
{
    TestDocument document;
    CBarCodeView view(document.doc, document.profile);
    QTemporaryDir dir;
    QPrinter& printer = view.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    struct Step {
        const char* button;  // in the tab
        bool confirm;
        Mode kept;
    };
    const Step steps[] = {
        {"fitPageWidth", true, Mode::FitPageWidth},
        {"moduleWidth", false, Mode::FitPageWidth},
        {"oneDotPerPixel", true, Mode::OneDotPerPixel},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        Mode shown = Mode::ModuleWidth;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* tab = dialog->findChild<PrintSizeTab*>();
            ASSERT_NE(tab, nullptr);
            const auto checked = [&](const char* name) {
                return tab->findChild<QRadioButton*>(QLatin1String(name))->isChecked();
            };
            shown = checked("fitPageWidth")  ? Mode::FitPageWidth
                    : checked("moduleWidth") ? Mode::ModuleWidth
                                             : Mode::OneDotPerPixel;
            tab->findChild<QRadioButton*>(QLatin1String(step.button))->click();
            step.confirm ? dialog->accept() : dialog->reject();
        });
        const Mode before = view.PrintSize().mode;
        view.OnFilePrint();
        EXPECT_EQ(shown, before);  // the dialog opens on the last choice
        EXPECT_EQ(view.PrintSize().mode, step.kept);
    }
}

// The preview shows the page on the view's printer and offers nothing that
// would print or change the paper behind the print dialog's back.
TEST(PrintSizeTab, PreviewOnlyShows)
{
    TestDocument document;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QStringList hidden;
    int visible = 0;
    QPrinter* previewed = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        previewed = dialog->printer();
        for (QAction* action : dialog->findChild<QToolBar*>()->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            action->isVisible() ? void(++visible) : void(hidden << action->text());
        }
        dialog->reject();
    });
    CBarCodeView::RunPrintPreview(printer, document.doc, document.profile, {Mode::ModuleWidth, 330},
                                  nullptr);
    EXPECT_EQ(previewed, &printer);
    EXPECT_EQ(hidden.size(), 4) << hidden.join(QLatin1Char(',')).toStdString();
    EXPECT_GE(visible, 6);  // page turning, zoom and the page views stay
}

}  // namespace
}  // namespace kestrel
