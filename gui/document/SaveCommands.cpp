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

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

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
