#pragma once

#include "clipboard/ClipboardRetry.h"

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
    // test): one picture unit is one printer dot, from the top-left of the
    // printable area, which the background colour covers. No boundary.
    static PrintResult PrintPage(QPrinter& printer, const CBarCodeDoc& doc,
                                 const Profile& profile);
    // The page's drawing on a painter that is already active and untransformed.
    static void DrawPage(QPainter& painter, const CBarCodeDoc& doc, const Profile& profile);

    // Puts a picture on the clipboard; true when the clipboard took it, false
    // while another program holds it.
    using ClipboardWriter = std::function<bool(const QImage&)>;
    static bool PutImageOnClipboard(const QImage& picture);
    // Shows a warning to the user.
    using MessageSink = std::function<void(const QString&)>;

    // Tests replace what reaches outside the window.
    void SetClipboardWriter(ClipboardWriter writer) { clipboardWriter_ = std::move(writer); }
    void SetClipboardRetry(ClipboardRetry retry) { clipboardRetry_ = retry; }
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    // The printer Print sets up and prints on; its settings last between
    // prints. Made on first use, at the printer's own resolution.
    QPrinter& Printer();

public slots:
    void OnEditCopy();
    void OnFilePrint();

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
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace kestrel
