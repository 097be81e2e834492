#include "render/BarCodeView.h"

#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "render/DrawBarcode.h"
#include "render/OffsetSurface.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"
#include "render/ViewTexts.h"
#include "resources/ProgramName.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
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

void CBarCodeView::DrawPage(QPainter& painter, const CBarCodeDoc& doc, const Profile& profile)
{
    QPainterSurface surface(painter);
    DrawBarcode(ReadDrawing(doc, profile), surface);
}

CBarCodeView::PrintResult CBarCodeView::PrintPage(QPrinter& printer, const CBarCodeDoc& doc,
                                                  const Profile& profile)
{
    if (!doc.HasCodeText()) {
        return PrintResult::NothingToPrint;
    }
    if (printer.printRange() == QPrinter::PageRange && !printer.pageRanges().isEmpty()
        && !printer.pageRanges().contains(1)) {
        return PrintResult::OutsidePages;
    }
    // The painter's origin is then the printable area's top-left, and its
    // device is the printable area: the clip box the background fills.
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintResult::NotStarted;
    }
    DrawPage(painter, doc, profile);
    painter.end();
    return PrintResult::Printed;
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

bool CBarCodeView::RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
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
    if (!printDialog_(Printer(), window())) {
        return;
    }
    if (PrintPage(Printer(), doc_, profile_) == PrintResult::NotStarted) {
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
