// Printing at a chosen size: the page drawn at whole dots per pixel, printed
// through a PDF printer, rasterised by pdftoppm, measured, and read back by
// zbar and ZXing; the print dialog's tab and its preview.

#include "render/BarCodeView.h"
#include "render/PrintSizeTab.h"

#include "ViewTestSupport.h"
#include "print/PrintTexts.h"
#include "profile/ProfileSchema.h"

#include <QApplication>
#include <QDialogButtonBox>
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

// A page of 312 × 198 points with margins of 12: every edge a whole number
// of dots at 300, 600 and 1200 dpi, and a printable width of 4 inches.
void SetSmallPage(QPrinter& printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(312, 198), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Point));
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

// Along the row that crosses the most bars: the narrowest run of dark or
// light dots between the first and last bar, whether every run is a whole
// number of such runs, and how many dots are neither background nor bar.
struct BarRow {
    int y = -1;
    int module = 0;
    bool wholeModules = true;
    int greys = 0;
};

BarRow MeasureBars(const QImage& image)
{
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    int bestY = -1;
    int bestEdges = 0;
    for (int y = 0; y < image.height(); ++y) {
        int edges = 0;
        for (int x = 1; x < image.width(); ++x) {
            edges += dark(x, y) != dark(x - 1, y);
        }
        if (edges > bestEdges) {
            bestEdges = edges;
            bestY = y;
        }
    }
    BarRow bars;
    bars.y = bestY;
    if (bestY < 0) {
        return bars;
    }
    std::vector<int> runs;
    int first = 0;
    while (first < image.width() && !dark(first, bestY)) {
        ++first;
    }
    int last = image.width() - 1;
    while (last > first && !dark(last, bestY)) {
        --last;
    }
    for (int x = first; x <= last; ++x) {
        const int gray = qGray(image.pixel(x, bestY));
        bars.greys += gray != 0 && gray != 255;
        if (x == first || dark(x, bestY) != dark(x - 1, bestY)) {
            runs.push_back(0);
        }
        ++runs.back();
    }
    bars.module = *std::min_element(runs.begin(), runs.end());
    for (const int run : runs) {
        bars.wholeModules = bars.wholeModules && run % bars.module == 0;
    }
    return bars;
}

// The default barcode and a JAN-13 of narrow width 2, printed one dot per
// pixel, at a module of 0.33 mm and fitted to a 4-inch printable width, at
// 300, 600 and 1200 dpi. The expected module widths in dots are worked out
// by hand: 0.33 mm is 3.90, 7.80 and 15.59 dots; 4 inches are 1200, 2400 and
// 4800 dots, so 4, 8 and 16 times 300 pixels, and 3, 6 and 12 times 400.
TEST(PrintSize, PrintedModulesMeasureAsChosenAndRead)
{
    if (!HaveProgram("pdftoppm") || !HaveProgram("zbarimg") || !HaveProgram("ZXingReader")) {
        GTEST_SKIP() << "pdftoppm, zbarimg or ZXingReader missing (scripts/setup.sh installs them)";
    }
    struct Barcode {
        const char* text;
        int narrow;
        int width;
        int height;
    };
    const Barcode defaults{"4901234567894", 1, 300, 150};
    const Barcode wide{"4512345678906", 2, 400, 200};
    struct Row {
        const Barcode& barcode;
        int dpi;
        PrintChoice choice;
        int moduleDots;
    };
    const PrintChoice oneDot{};
    const PrintChoice millimetres{Mode::ModuleWidth, 330};
    const PrintChoice fit{Mode::FitPageWidth, 330};
    const Row rows[] = {
        {defaults, 300, oneDot, 1},
        {defaults, 600, oneDot, 1},
        {defaults, 1200, oneDot, 1},
        {defaults, 300, millimetres, 4},
        {defaults, 600, millimetres, 8},
        {defaults, 1200, millimetres, 16},
        {defaults, 300, fit, 4},
        {defaults, 600, fit, 8},
        {defaults, 1200, fit, 16},
        {wide, 300, oneDot, 2},
        {wide, 600, oneDot, 2},
        {wide, 1200, oneDot, 2},
        {wide, 300, millimetres, 4},
        {wide, 600, millimetres, 8},
        {wide, 1200, millimetres, 16},
        {wide, 300, fit, 6},
        {wide, 600, fit, 12},
        {wide, 1200, fit, 24},
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        const std::string name = std::string(row.barcode.text) + " at " + std::to_string(row.dpi)
                                 + " dpi, mode "
                                 + std::to_string(static_cast<int>(row.choice.mode));
        SCOPED_TRACE(name);
        TestDocument document("/usr/bin/kestrel", row.barcode.text);
        document.doc.NWidth = row.barcode.narrow;
        document.doc.Width = row.barcode.width;
        document.doc.Height = row.barcode.height;
        document.doc.Encode(CodabarOptions{});

        const QString pdf = dir.filePath("page.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(row.dpi);
        SetSmallPage(printer);
        ASSERT_EQ(CBarCodeView::PrintPage(printer, document.doc, document.profile, row.choice),
                  CBarCodeView::PrintResult::Printed);

        const QString base = dir.filePath("page");
        RunTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(row.dpi), QStringLiteral("-singlefile"),
                 QStringLiteral("-png"), pdf, base});
        const QString png = base + QStringLiteral(".png");
        const QImage image(png);
        ASSERT_FALSE(image.isNull());
        // One pixel per dot: the page is as wide as the PDF's page in points.
        EXPECT_EQ(image.width(),
                  qRound(printer.pageLayout().fullRectPoints().width() / 72.0 * row.dpi));

        const BarRow bars = MeasureBars(image);
        EXPECT_EQ(bars.module, row.moduleDots);
        EXPECT_TRUE(bars.wholeModules);
        EXPECT_EQ(bars.greys, 0);  // every edge on a dot

        EXPECT_EQ(RunTool(QStringLiteral("zbarimg"),
                          {QStringLiteral("--raw"), QStringLiteral("-q"), png}),
                  QString::fromLatin1(row.barcode.text));
        // ZXing reads a band of the page across the bars: Debian's ZXingReader
        // 1.4 aborts on an assertion when it finds a large EAN-13 on many
        // lines of one picture.
        const QString band = dir.filePath(QStringLiteral("band.png"));
        ASSERT_TRUE(image.copy(0, std::max(0, bars.y - 100), image.width(), 200).save(band));
        const QString zxing = RunTool(QStringLiteral("ZXingReader"), {QStringLiteral("-1"), band});
        EXPECT_TRUE(
            zxing.endsWith(QLatin1Char('"') + QLatin1String(row.barcode.text) + QLatin1Char('"')))
            << zxing.toStdString();
    }
}

// A background colour covers the printable area at any scale, and nothing
// beyond it: the margins of the rasterised page stay white, even where the
// last whole picture pixel would reach past the area's edge.
TEST(PrintSize, ScaledBackgroundCoversThePrintableAreaOnly)
{
    if (!HaveProgram("pdftoppm")) {
        GTEST_SKIP() << "pdftoppm missing (scripts/setup.sh installs it)";
    }
    const int dpi = 300;
    for (const PrintChoice& choice :
         {PrintChoice{}, PrintChoice{Mode::ModuleWidth, 330}, PrintChoice{Mode::FitPageWidth, 0}}) {
        SCOPED_TRACE(static_cast<int>(choice.mode));
        TestDocument document;
        document.SetBackground(MakeColour(255, 0, 255));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("page.pdf"));
        printer.setResolution(dpi);
        SetSmallPage(printer);
        ASSERT_EQ(CBarCodeView::PrintPage(printer, document.doc, document.profile, choice),
                  CBarCodeView::PrintResult::Printed);
        RunTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-singlefile"),
                 QStringLiteral("-png"), dir.filePath("page.pdf"), dir.filePath("page")});
        const QImage image(dir.filePath("page.png"));
        ASSERT_FALSE(image.isNull());

        QRect magenta;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == qRgb(255, 0, 255)) {
                    magenta |= QRect(x, y, 1, 1);
                }
            }
        }
        // Poppler takes in the row and column a clip's far edge touches; an
        // unclipped fill would reach 3 rows further (182 pixels × 4 dots
        // for 725 printable rows).
        const QRect printable = printer.pageLayout().paintRectPixels(dpi);
        EXPECT_EQ(magenta.topLeft(), printable.topLeft());
        EXPECT_GE(magenta.right(), printable.right());
        EXPECT_GE(magenta.bottom(), printable.bottom());
        EXPECT_LE(magenta.right(), printable.right() + 1);
        EXPECT_LE(magenta.bottom(), printable.bottom() + 1);
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
// run and is what prints, and a cancelled dialog changes nothing.
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
