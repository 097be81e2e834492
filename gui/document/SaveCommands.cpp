#include "document/SaveCommands.h"

#include "document/BarCodeDoc.h"
#include "document/SaveTexts.h"
#include "document/StoredStyle.h"
#include "export/PictureExport.h"
#include "export/QtPictureExports.h"
#include "export/SaveBitmap.h"
#include "profile/ProfileSchema.h"
#include "render/QtRasterFallback.h"
#include "resources/ProgramName.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace kestrel {

SaveCommands::SaveCommands(CBarCodeDoc& doc, const Profile& profile, QWidget* dialogParent,
                           std::string programPath, QObject* parent)
    : QObject(parent), doc_(doc), profile_(profile), dialogParent_(dialogParent),
      programPath_(std::move(programPath))
{
}

namespace {

// The file types Save As offers, in order, with the suffix each gives a
// name typed without one.
struct FileType {
    const char* filter;
    const char* suffix;
};
constexpr FileType FileTypes[] = {
    {texts::BitmapFilter, texts::BitmapSuffix},
    {texts::PngFilter, "png"},
    {texts::SvgFilter, "svg"},
    {texts::PdfFilter, "pdf"},
    {texts::AllFilesFilter, texts::BitmapSuffix},
};

// The longest texts the file dialog's size, type and date columns show for
// the file types above: Qt sizes those columns from English samples
// ("mp3Folder", "10/29/81 02:02PM"), narrower than the Japanese type names,
// so they came out cut ("Win…age", "2026/1…").
QStringList LongestColumnTexts()
{
    QString widestType = QCoreApplication::translate("QAbstractFileIconProvider", "Folder",
                                                     "All other platforms");
    const QMimeDatabase types;
    for (const FileType& type : FileTypes) {
        const QString name = types
                                 .mimeTypeForFile(QStringLiteral("a.")
                                                      + QString::fromUtf8(type.suffix),
                                                  QMimeDatabase::MatchExtension)
                                 .comment();
        if (name.size() > widestType.size()) {
            widestType = name;
        }
    }
    // Qt's file model writes sizes and times in the system's locale.
    const QLocale system = QLocale::system();
    return {system.formattedDataSize(Q_INT64_C(1048575) * 1024 * 1024), widestType,
            system.toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)),
                            QLocale::ShortFormat)};
}

// Widens the detail view's size, type and date columns to their longest
// texts, and the dialog, when it first shows, by what its file list then
// lacks to hold the columns whole (within the screen). Works on the view
// Qt names "treeView"; a dialog without one is left as Qt made it.
class WholeColumnsOnShow : public QObject {
public:
    WholeColumnsOnShow(QFileDialog& dialog, QTreeView& view)
        : QObject(&dialog), dialog_(dialog), view_(view)
    {
        const QFontMetrics metrics(view.font());
        // The item delegate's margin on each side of a text.
        const int margins = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        QHeaderView* header = view.header();
        const QStringList texts = LongestColumnTexts();
        for (int column = 1; column <= texts.size(); ++column) {
            const int width = metrics.horizontalAdvance(texts.at(column - 1)) + margins;
            header->resizeSection(column, std::max({header->sectionSizeHint(column), width,
                                                    header->sectionSize(column)}));
        }
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            dialog_.removeEventFilter(this);
            const int needed = view_.header()->length()
                               + view_.verticalScrollBar()->sizeHint().width();
            const int lacking = needed - view_.viewport()->width();
            if (lacking > 0) {
                const QScreen* screen = dialog_.screen();
                const int widest = screen != nullptr ? screen->availableGeometry().width()
                                                     : dialog_.width() + lacking;
                const int width = std::min(dialog_.width() + lacking, widest);
                // Placed before it shows (over its parent): keep it centred there.
                dialog_.move(dialog_.x() - (width - dialog_.width()) / 2, dialog_.y());
                dialog_.resize(width, dialog_.height());
            }
        }
        return false;
    }

private:
    QFileDialog& dialog_;
    QTreeView& view_;
};

}  // namespace

void SaveCommands::ConfigureSaveAsDialog(QFileDialog& dialog)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileType& type : FileTypes) {
        filters << QString::fromUtf8(type.filter);
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromUtf8(texts::BitmapSuffix));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         for (const FileType& type : FileTypes) {
                             if (filter == QString::fromUtf8(type.filter)) {
                                 dialog.setDefaultSuffix(QString::fromUtf8(type.suffix));
                             }
                         }
                     });
    dialog.selectFile(QString::fromUtf8(texts::SaveAsInitialName));
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        new WholeColumnsOnShow(dialog, *view);
    }
}

QString SaveCommands::ChooseSaveAsName(QWidget* parent)
{
    QFileDialog dialog(parent);
    ConfigureSaveAsDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void SaveCommands::OnSaveBitmap()
{
    if (!doc_.HasCodeText()) {
        return;
    }
    const std::string fileName = SaveFileNameBesideProgram(programPath_);
    if (fileName.empty()) {
        Warn(QString::fromUtf8(texts::SaveNameTooLong));
        return;
    }
    SaveTo(fileName, QFile::decodeName(QByteArray::fromStdString(fileName)));
}

void SaveCommands::OnSaveBitmapAs()
{
    if (!doc_.HasCodeText()) {
        return;
    }
    const QString chosen = chooser_(dialogParent_);
    if (chosen.isEmpty()) {
        return;
    }
    SaveTo(QFile::encodeName(chosen).toStdString(), chosen);
}

void SaveCommands::SaveTo(const std::string& fileName, const QString& shownName)
{
    static const ExportRegistry exports = StandardExports();
    const PictureFormat format = FormatFromFileName(fileName).value_or(PictureFormat::Bmp);
    PictureCanvasFactory canvases;
    const Drawing drawing = ReadDrawing(doc_, profile_);
    if (exports.Save({drawing, profile::Read(profile_, profile::Bitmap)}, canvases, fileName,
                     format)
        != 1) {
        Warn(QString::fromUtf8(format == PictureFormat::Bmp ? texts::SaveFailed
                                                            : texts::FileSaveFailed)
             + QLatin1Char('\n') + shownName);
        return;
    }
    emit Saved(shownName);
}

void SaveCommands::Warn(const QString& text)
{
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::warning(dialogParent_, QString::fromUtf16(texts::ProgramName), text);
}

}  // namespace kestrel
