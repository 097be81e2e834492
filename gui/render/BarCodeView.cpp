#include "render/BarCodeView.h"

#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "print/PrintSizeModel.h"
#include "render/DrawBarcode.h"
#include "render/OffsetSurface.h"
#include "render/PrintSizeTab.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"
#include "render/ViewTexts.h"
#include "resources/ProgramName.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <memory>

namespace kestrel {

namespace {

// A widget cannot be larger than this; a document can ask for more.
QSize ScrollSize(const CBarCodeDoc& doc)
{
    return {std::clamp(doc.Width, 0, QWIDGETSIZE_MAX), std::clamp(doc.Height, 0, QWIDGETSIZE_MAX)};
}

// The edge of the Width × Height area, so that the user sees how much of
// the window a saved or copied picture takes.
void DrawBoundary(QPainter& painter, QPoint origin, QSize size)
{
    QPen pen(QColor(255, 0, 0), 1, Qt::DashDotLine);
    pen.setCosmetic(true);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.translate(origin);
    const int w = size.width();
    const int h = size.height();
    const QPoint corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}};
    painter.drawPolyline(corners, 5);
    painter.restore();
}

// The printer's dots per inch and printable area as the page is painted:
// from the printable area's top-left, which is the painter's origin.
PrinterMetrics MetricsOf(QPrinter& printer)
{
    printer.setFullPage(false);
    return {printer.logicalDpiX(), printer.logicalDpiY(), printer.width(), printer.height()};
}

PictureMetrics PictureOf(const CBarCodeDoc& doc)
{
    return {doc.Width, doc.Height, doc.NWidth};
}

// Page 1 on the printer, or on the preview's stand-in for it; false when the
// printer would not start.
bool PaintPage(QPrinter& printer, const CBarCodeDoc& doc, const Profile& profile,
               const PrintChoice& choice)
{
    const PrintScale scale = CBarCodeView::ScaleOn(printer, doc, choice);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    CBarCodeView::DrawPage(painter, doc, profile, scale.dotsX, scale.dotsY);
    painter.end();
    return true;
}

// The preview's buttons that would print, or change the paper or its
// orientation, are hidden: those belong to the print dialog, which applies
// its own choices over them when it closes.
void HideActionsThatChangeThePrinter(QPrintPreviewDialog& dialog)
{
    const char* const changing[] = {"Print", "Page setup", "Portrait", "Landscape"};
    QStringList texts;
    for (const char* text : changing) {
        texts << QCoreApplication::translate("QPrintPreviewDialog", text);
    }
    for (QAction* action : dialog.findChildren<QAction*>()) {
        if (texts.contains(action->text())) {
            action->setVisible(false);
        }
    }
}

}  // namespace

CBarCodeView::CBarCodeView(CBarCodeDoc& doc, const Profile& profile, QWidget* parent)
    : QScrollArea(parent), doc_(doc), profile_(profile), picture_(new QWidget)
{
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_->resize(ScrollSize(doc_));
    setWidget(picture_);
    // setWidget makes the widget fill its background; the viewport paints
    // everything, so the widget must let it show through.
    picture_->setAutoFillBackground(false);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

CBarCodeView::~CBarCodeView() = default;

void CBarCodeView::OnUpdate()
{
    picture_->resize(ScrollSize(doc_));
    viewport()->update();
    emit Updated();
}

QSize CBarCodeView::sizeHint() const
{
    // The boundary is drawn on the row and column just past the picture.
    const int frame = 2 * frameWidth();
    return ScrollSize(doc_).grownBy(QMargins(0, 0, frame + 1, frame + 1));
}

void CBarCodeView::paintEvent(QPaintEvent* event)
{
    // Without data there is no picture and so no boundary either: the
    // window shows its own background.
    if (!doc_.HasCodeText()) {
        return;
    }
    QPainter painter(viewport());
    // DrawBarcode fills the surface's clip box with the background colour:
    // the area being repainted, in picture coordinates, inside the picture or
    // beyond it.
    painter.setClipRegion(event->region());
    const QPoint origin = picture_->pos();
    {
        QPainterSurface device(painter);
        OffsetSurface picture(device, origin.x(), origin.y());
        DrawBarcode(ReadDrawing(doc_, profile_), picture);
    }
    DrawBoundary(painter, origin, ScrollSize(doc_));
}

void CBarCodeView::DrawPage(QPainter& painter, const CBarCodeDoc& doc, const Profile& profile,
                            int dotsX, int dotsY)
{
    if (dotsX <= 1 && dotsY <= 1) {
        QPainterSurface surface(painter);
        DrawBarcode(ReadDrawing(doc, profile), surface);
        return;
    }
    painter.save();
    // The surface fills its clip box with the background: in picture pixels
    // that box reaches up to a pixel past the printable area's far edges,
    // and the clip keeps the fill to the area itself.
    const QPaintDevice* device = painter.device();
    painter.setClipRect(QRect(0, 0, device->width(), device->height()));
    // Whole dots per pixel: every bar edge lands on a dot, and text stays
    // text, drawn at the printer's resolution.
    painter.scale(std::max(dotsX, 1), std::max(dotsY, 1));
    {
        QPainterSurface surface(painter);
        DrawBarcode(ReadDrawing(doc, profile), surface);
    }
    painter.restore();
}

PrintScale CBarCodeView::ScaleOn(QPrinter& printer, const CBarCodeDoc& doc,
                                 const PrintChoice& choice)
{
    return ComputePrintScale(choice, MetricsOf(printer), PictureOf(doc));
}

CBarCodeView::PrintResult CBarCodeView::PrintPage(QPrinter& printer, const CBarCodeDoc& doc,
                                                  const Profile& profile, const PrintChoice& choice)
{
    if (!doc.HasCodeText()) {
        return PrintResult::NothingToPrint;
    }
    if (printer.printRange() == QPrinter::PageRange && !printer.pageRanges().isEmpty()
        && !printer.pageRanges().contains(1)) {
        return PrintResult::OutsidePages;
    }
    // The painter's origin is the printable area's top-left, and its device
    // is the printable area: the clip box the background fills.
    return PaintPage(printer, doc, profile, choice) ? PrintResult::Printed
                                                    : PrintResult::NotStarted;
}

QPrinter& CBarCodeView::Printer()
{
    if (!printer_) {
        // High resolution: the painter works in the printer's own dots. At
        // screen resolution Qt would scale every unit to several dots.
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

bool CBarCodeView::RunPrintDialog(QPrinter& printer, QWidget* sizeTab, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    if (sizeTab != nullptr) {
        dialog.setOptionTabs({sizeTab});
    }
    return dialog.exec() == QDialog::Accepted;
}

void CBarCodeView::RunPrintPreview(QPrinter& printer, const CBarCodeDoc& doc,
                                   const Profile& profile, const PrintChoice& choice,
                                   QWidget* parent)
{
    QPrintPreviewDialog dialog(&printer, parent);
    HideActionsThatChangeThePrinter(dialog);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&](QPrinter* page) { PaintPage(*page, doc, profile, choice); });
    dialog.exec();
}

bool CBarCodeView::RunPrintSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QString::fromUtf16(texts::PrintSetupTitle));
    // Pages are chosen when printing; set-up is about the printer and paper.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Its confirming button says "Print", which set-up does not do.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText(QString::fromUtf16(texts::PrintSetupOk));
        }
    }
    return dialog.exec() == QDialog::Accepted;
}

void CBarCodeView::OnFilePrint()
{
    if (!doc_.HasCodeText()) {
        return;
    }
    QPrinter& printer = Printer();
    PrintSizeModel size(printSize_, MetricsOf(printer), PictureOf(doc_));
    // The dialog takes the tab over and deletes it; one it never took goes here.
    QPointer<PrintSizeTab> tab = new PrintSizeTab(size, [this, &printer](const PrintChoice& choice,
                                                                         QWidget* parent) {
        RunPrintPreview(printer, doc_, profile_, choice, parent);
    });
    const bool confirmed = printDialog_(printer, tab, window());
    delete tab.data();
    if (!confirmed) {
        return;
    }
    printSize_ = size.Choice();
    if (PrintPage(printer, doc_, profile_, printSize_) == PrintResult::NotStarted) {
        Warn(QString::fromUtf8(texts::PrintNotStarted));
    }
}

void CBarCodeView::OnFilePrintSetup()
{
    setUpDialog_(Printer(), window());
}

bool CBarCodeView::PutImageOnClipboard(const QImage& picture)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setImageData(picture);  // what QClipboard::setImage does
    clipboard->setMimeData(data);
    // The clipboard hands back our own data only while we own it; when
    // another program kept it, it hands back that program's. (ownsClipboard
    // is no help: on X11 it reports the attempt, not its outcome.)
    return clipboard->mimeData() == data;
}

void CBarCodeView::OnEditCopy()
{
    if (!doc_.HasCodeText()) {
        return;
    }
    // Drawn as Save draws it, so the copied picture is the saved one.
    PictureCanvasFactory canvases;
    const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(ReadDrawing(doc_, profile_),
                                                                 canvases);
    const QImage picture = canvas ? ToQImage(canvas->Rows()) : QImage();
    if (picture.isNull()) {
        Warn(QString::fromUtf8(texts::BitmapNotCreated));
        return;
    }
    if (!clipboardRetry_.Run([&] { return clipboardWriter_(picture); })) {
        Warn(QString::fromUtf8(texts::ClipboardBusy));
    }
    OnUpdate();
}

void CBarCodeView::Warn(const QString& text)
{
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(this, QString::fromUtf16(texts::ProgramName), text);
}

}  // namespace kestrel
