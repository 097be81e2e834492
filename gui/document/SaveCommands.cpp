#include "document/SaveCommands.h"

#include "document/BarCodeDoc.h"
#include "document/SaveTexts.h"
#include "document/StoredStyle.h"
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

void SaveCommands::ConfigureSaveAsDialog(QFileDialog& dialog)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QString::fromUtf8(texts::BitmapFilter), QString::fromUtf8(texts::AllFilesFilter)});
    dialog.setDefaultSuffix(QString::fromUtf8(texts::BitmapSuffix));
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
    PictureCanvasFactory canvases;
    if (SaveBitmap(ReadDrawing(doc_, profile_), profile::Read(profile_, profile::Bitmap), canvases,
                   fileName)
        != 1) {
        Warn(QString::fromUtf8(texts::SaveFailed) + QLatin1Char('\n') + shownName);
    }
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
