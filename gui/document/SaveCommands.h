#pragma once

#include <QObject>

#include <functional>
#include <string>

class QFileDialog;
class QString;
class QWidget;

namespace kestrel {

class CBarCodeDoc;
class Profile;

// Save writes "BarCode.bmp" beside the program; Save As asks for a name
// and writes any format of the export registry, as kestrel-cli does. A save
// that fails tells the user; one that succeeds says where the file went.
class SaveCommands : public QObject {
    Q_OBJECT

public:
    SaveCommands(CBarCodeDoc& doc, const Profile& profile, QWidget* dialogParent,
                 std::string programPath, QObject* parent = nullptr);

    // Asks for the name to save as; an empty name when the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent)>;
    // Shows a warning to the user.
    using MessageSink = std::function<void(const QString&)>;

    // Save As's dialog: the initial name, the file types (BMP first, then
    // PNG, SVG, PDF and all files), the suffix the chosen type adds to a
    // name typed without one (BMP's for all files), and the question before
    // replacing a file.
    static void ConfigureSaveAsDialog(QFileDialog& dialog);
    // The standard file dialog, configured as above.
    static QString ChooseSaveAsName(QWidget* parent);

    // Tests replace the dialog and the message box.
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

signals:
    // A file was written; `shownName` is its path as the user reads it.
    void Saved(const QString& shownName);

public slots:
    void OnSaveBitmap();
    // The format is the one the name's suffix names (.bmp, .png, .svg or
    // .pdf, in any case), else BMP.
    void OnSaveBitmapAs();

private:
    void SaveTo(const std::string& fileName, const QString& shownName);
    void Warn(const QString& text);

    CBarCodeDoc& doc_;
    const Profile& profile_;
    QWidget* dialogParent_;
    std::string programPath_;
    FileChooser chooser_ = &SaveCommands::ChooseSaveAsName;
    MessageSink messageSink_;
};

}  // namespace kestrel
