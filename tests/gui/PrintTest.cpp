#include "render/BarCodeView.h"

#include "ViewTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using testing::TestDocument;
using testing::ToRgb;
using Result = CBarCodeView::PrintResult;

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Page objects, not the page tree ("/Type /Pages").
qsizetype PageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    return QString::fromLatin1(pdf).count(page);
}

// The page's drawing commands: the first stream of the file, which Qt's PDF
// writer compresses with zlib.
QString FirstContentStream(const QByteArray& pdf)
{
    const qsizetype start = pdf.indexOf("stream\n");
    const qsizetype end = pdf.indexOf("endstream", start);
    if (start < 0 || end < 0) {
        return {};
    }
    // qUncompress wants the size first; it grows the buffer when that is short.
    QByteArray packed("\x00\x10\x00\x00", 4);
    packed += pdf.mid(start + 7, end - start - 7);
    return QString::fromLatin1(qUncompress(packed));
}

struct PdfPrinter {
    QTemporaryDir dir;
    QString fileName = dir.filePath("page.pdf");
    QPrinter printer{QPrinter::HighResolution};

    PdfPrinter()
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
    }
};

TEST(PrintPage, WritesOnePage)
{
    TestDocument document;
    PdfPrinter pdf;

    EXPECT_EQ(CBarCodeView::PrintPage(pdf.printer, document.doc, document.profile),
              Result::Printed);

    const QByteArray bytes = ReadAll(pdf.fileName);
    ASSERT_TRUE(bytes.startsWith("%PDF-")) << bytes.left(16).toStdString();
    EXPECT_EQ(PageCount(bytes), 1);
}

// One picture unit is one printer dot: the only transformation on the page
// is the writer's own from dots to points, and the background fills the
// printable area measured in dots.
TEST(PrintPage, OneUnitIsOnePrinterDot)
{
    for (const int resolution : {300, 600, 1200}) {
        SCOPED_TRACE(resolution);
        TestDocument document;
        document.SetBackground(MakeColour(255, 0, 255));
        PdfPrinter pdf;
        pdf.printer.setResolution(resolution);
        ASSERT_EQ(CBarCodeView::PrintPage(pdf.printer, document.doc, document.profile),
                  Result::Printed);

        const QString page = FirstContentStream(ReadAll(pdf.fileName));
        ASSERT_FALSE(page.isEmpty());
        static const QRegularExpression matrix(
            QStringLiteral("([0-9.]+) 0 0 -([0-9.]+) [0-9.]+ [0-9.]+ cm"));
        const QRegularExpressionMatch scale = matrix.match(page);
        ASSERT_TRUE(scale.hasMatch()) << page.left(200).toStdString();
        EXPECT_NEAR(scale.captured(1).toDouble(), 72.0 / resolution, 1e-6);
        EXPECT_EQ(page.count(QStringLiteral(" cm")), 1);  // no scaling of our own

        const QRect printable = pdf.printer.pageLayout().paintRectPixels(resolution);
        const QString fill = QStringLiteral("1 0 1 scn\n/GSa gs\n0 0 %1 %2 re\nf")
                                 .arg(printable.width())
                                 .arg(printable.height());
        EXPECT_TRUE(page.contains(fill)) << page.left(300).toStdString();
    }
}

// The view's own printer works in the printer's dots, not at screen resolution.
TEST(PrintPage, ViewPrinterIsAtPrinterResolution)
{
    TestDocument document;
    CBarCodeView view(document.doc, document.profile);
    EXPECT_GE(view.Printer().resolution(), 150);
}

// Page 1 is the only page: a range that leaves it out prints nothing, not
// even an empty job.
TEST(PrintPage, PrintsOnlyWhenPageOneIsChosen)
{
    struct Row {
        const char* name;
        QPrinter::PrintRange range;
        int from;
        int to;
        Result result;
    };
    const Row rows[] = {
        {"all pages", QPrinter::AllPages, 0, 0, Result::Printed},
        {"pages 1 to 3", QPrinter::PageRange, 1, 3, Result::Printed},
        {"page 1 alone", QPrinter::PageRange, 1, 1, Result::Printed},
        {"pages 2 to 5", QPrinter::PageRange, 2, 5, Result::OutsidePages},
        {"page 7", QPrinter::PageRange, 7, 7, Result::OutsidePages},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestDocument document;
        PdfPrinter pdf;
        pdf.printer.setPrintRange(row.range);
        if (row.range == QPrinter::PageRange) {
            pdf.printer.setFromTo(row.from, row.to);
        }
        EXPECT_EQ(CBarCodeView::PrintPage(pdf.printer, document.doc, document.profile), row.result);
        EXPECT_EQ(QFile::exists(pdf.fileName), row.result == Result::Printed);
    }
}

TEST(PrintPage, EmptyCodeTextPrintsNothing)
{
    TestDocument document("/usr/bin/kestrel", "");
    PdfPrinter pdf;
    EXPECT_EQ(CBarCodeView::PrintPage(pdf.printer, document.doc, document.profile),
              Result::NothingToPrint);
    EXPECT_FALSE(QFile::exists(pdf.fileName));
}

TEST(PrintPage, UnwritableOutputIsReportedNotPrinted)
{
    TestDocument document;
    PdfPrinter pdf;
    pdf.printer.setOutputFileName(pdf.dir.filePath("no/such/folder/page.pdf"));
    EXPECT_EQ(CBarCodeView::PrintPage(pdf.printer, document.doc, document.profile),
              Result::NotStarted);
}

// The page's drawing on a device larger than the picture, as a printable
// area is: the picture at the top-left, one unit one device pixel, the
// background over the whole device, no boundary.
TEST(PrintPage, DrawsThePictureUnscaledWithTheBackgroundEverywhere)
{
    TestDocument document;
    const Colour background = MakeColour(230, 255, 230);
    document.SetBackground(background);
    const QImage expected = document.Expected();

    QImage page(700, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        CBarCodeView::DrawPage(painter, document.doc, document.profile);
    }

    int mismatches = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb under = x < expected.width() && y < expected.height() ? expected.pixel(x, y)
                                                                             : ToRgb(background);
            mismatches += page.pixel(x, y) != under;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The page's size in whole points as the PDF states it: "/MediaBox [0 0 w h]".
std::string MediaBox(const QString& pdfFile)
{
    static const QRegularExpression box(
        QStringLiteral("/MediaBox \\[0 0 ([0-9]+)[.0-9]* ([0-9]+)"));
    const QRegularExpressionMatch match = box.match(QString::fromLatin1(ReadAll(pdfFile)));
    return match.hasMatch() ? (match.captured(1) + " x " + match.captured(2)).toStdString() : "";
}

// What the user chose in the printer set-up is what Print prints on: the
// printer (a PDF file here), the paper and the orientation. A printer that
// will not start shows the one message.
TEST(PrintSetup, PrintUsesThePrinterPaperAndOrientationChosen)
{
    struct Row {
        const char* output;   // inside the temporary folder
        const char* message;  // none: an A5 landscape page is printed
    };
    const Row rows[] = {
        {"page.pdf", nullptr},
        {"no/folder/page.pdf", "印刷ｼﾞｮﾌﾞを開始できませんでした。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        TestDocument document;
        CBarCodeView view(document.doc, document.profile);
        QTemporaryDir dir;
        const QString output = dir.filePath(row.output);
        QStringList messages;
        view.SetMessageSink([&](const QString& text) { messages << text; });
        int printDialogs = 0;
        view.SetPrinterDialogs([&](QPrinter&, QWidget*, QWidget*) { return ++printDialogs, true; },
                               [&](QPrinter& printer, QWidget*) {
                                   printer.setOutputFormat(QPrinter::PdfFormat);
                                   printer.setOutputFileName(output);
                                   printer.setPageSize(QPageSize(QPageSize::A5));
                                   printer.setPageOrientation(QPageLayout::Landscape);
                                   return true;
                               });
        view.OnFilePrintSetup();
        EXPECT_EQ(printDialogs, 0);  // set-up prints nothing
        EXPECT_FALSE(QFile::exists(output));
        view.OnFilePrint();
        EXPECT_EQ(printDialogs, 1);
        EXPECT_EQ(MediaBox(output), row.message ? "" : "595 x 420");
        EXPECT_EQ(messages,
                  row.message ? QStringList{QString::fromUtf8(row.message)} : QStringList{});
    }
}

// Qt's own dialog as the user meets it: the set-up is titled as its menu
// item, confirms with OK, and confirming it as it opens keeps the printer
// (a PDF file) and the paper and orientation already chosen.
TEST(PrintSetup, QtDialogKeepsWhatWasChosen)
{
    TestDocument document;
    CBarCodeView view(document.doc, document.profile);
    QTemporaryDir dir;
    QPrinter& printer = view.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Landscape);
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen << dialog->windowTitle()
             << dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
        dialog->accept();
    });
    view.OnFilePrintSetup();
    EXPECT_EQ(seen, (QStringList{"プリンタの設定", "OK"}));
    EXPECT_EQ(printer.outputFileName(), dir.filePath("page.pdf"));
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

}  // namespace
}  // namespace kestrel
