#pragma once

#include "clipboard/ClipboardRetry.h"
#include "print/PrintScale.h"

#include <QScrollArea>

#include <functional>
#include <memory>

class QImage;
class QPainter;
class QPrinter;
class QString;

namespace kestrel {

class CBarCodeDoc;
class Profile;

// The one view of the document: the picture at the top-left of a scroll
// area of Width × Height, drawn by DrawBarcode, with a red dash-dot boundary
// on screen. Also prints it and copies it to the clipboard.
class CBarCodeView : public QScrollArea {
    Q_OBJECT

public:
    CBarCodeView(CBarCodeDoc& doc, const Profile& profile, QWidget* parent = nullptr);
    ~CBarCodeView() override;

    // After every change of the document: scroll size, then a repaint.
    void OnUpdate();

    // Room for the whole picture and its boundary without scrolling.
    QSize sizeHint() const override;

    // What came of printing one page.
    enum class PrintResult {
        Printed,
        NothingToPrint,  // no code text
        OutsidePages,    // the chosen pages leave out page 1, the only one
        NotStarted,      // the printer would not start the job
    };
    // Prints page 1 on a printer already set up (by the print dialog or a
    // test): each picture pixel a whole number of printer dots as `choice`
    // makes it (one by default), from the top-left of the printable area,
    // which the background colour covers. No boundary.
    static PrintResult PrintPage(QPrinter& printer, const CBarCodeDoc& doc, const Profile& profile,
                                 const PrintChoice& choice = {});
    // The page's drawing on a painter that is already active and
    // untransformed, `dotsX` × `dotsY` device pixels to a picture pixel.
    static void DrawPage(QPainter& painter, const CBarCodeDoc& doc, const Profile& profile,
                         int dotsX = 1, int dotsY = 1);
    // The scale `choice` gives the document on the printer as it is set up.
    static PrintScale ScaleOn(QPrinter& printer, const CBarCodeDoc& doc, const PrintChoice& choice);

    // Puts a picture on the clipboard; true when the clipboard took it, false
    // while another program holds it.
    using ClipboardWriter = std::function<bool(const QImage&)>;
    static bool PutImageOnClipboard(const QImage& picture);
    // Shows a warning to the user.
    using MessageSink = std::function<void(const QString&)>;
    // Runs a modal dialog over the printer and applies what the user chose
    // to it; true when the user confirmed.
    using PrinterDialog = std::function<bool(QPrinter&, QWidget* parent)>;
    // The same for Print, which adds a tab of its own (taken over by the
    // dialog, which deletes it).
    using PrintDialog = std::function<bool(QPrinter&, QWidget* sizeTab, QWidget* parent)>;
    // Print's dialog: printer, pages, copies and the print size, then print.
    static bool RunPrintDialog(QPrinter& printer, QWidget* sizeTab, QWidget* parent);
    // The page as `choice` prints it on the printer, in Qt's preview. It only
    // shows: printing and the paper are the print dialog's.
    static void RunPrintPreview(QPrinter& printer, const CBarCodeDoc& doc, const Profile& profile,
                                const PrintChoice& choice, QWidget* parent);
    // The printer set-up: the same dialog titled "プリンタの設定" with an OK
    // button, for the printer and (under its properties) paper and
    // orientation; it prints nothing.
    static bool RunPrintSetupDialog(QPrinter& printer, QWidget* parent);

    // Tests replace what reaches outside the window.
    void SetClipboardWriter(ClipboardWriter writer) { clipboardWriter_ = std::move(writer); }
    void SetClipboardRetry(ClipboardRetry retry) { clipboardRetry_ = retry; }
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    void SetPrinterDialogs(PrintDialog print, PrinterDialog setUp)
    {
        printDialog_ = std::move(print);
        setUpDialog_ = std::move(setUp);
    }

    // The printer Print sets up and prints on; its settings, and what the
    // printer set-up chose, last between prints. Made on first use, at the
    // printer's own resolution.
    QPrinter& Printer();
    // The print size last confirmed in the print dialog; it lasts for the
    // run, as the printer does.
    const PrintChoice& PrintSize() const { return printSize_; }

public slots:
    void OnEditCopy();
    void OnFilePrint();
    void OnFilePrintSetup();

signals:
    // Emitted by OnUpdate: what the commands may do has changed.
    void Updated();

protected:
    // Paints the viewport: the whole visible area, picture or not.
    void paintEvent(QPaintEvent* event) override;

private:
    void Warn(const QString& text);

    CBarCodeDoc& doc_;
    const Profile& profile_;
    QWidget* picture_;  // only gives the scroll area its size; paints nothing
    ClipboardWriter clipboardWriter_ = &CBarCodeView::PutImageOnClipboard;
    ClipboardRetry clipboardRetry_;
    MessageSink messageSink_;
    PrintDialog printDialog_ = &CBarCodeView::RunPrintDialog;
    PrinterDialog setUpDialog_ = &CBarCodeView::RunPrintSetupDialog;
    std::unique_ptr<QPrinter> printer_;
    PrintChoice printSize_;
};

}  // namespace kestrel
