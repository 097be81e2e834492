#include "app/ApplicationContext.h"
#include "app/AutomationService.h"
#include "app/FirstPaintProbe.h"
#include "app/MainFrame.h"
#include "app/QtTranslations.h"
#include "app/WindowPlacement.h"
#include "bitmap/BmpFile.h"
#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "process/HeapTuning.h"
#include "process/ProgramFolder.h"
#include "profile/SettingsProfile.h"
#include "render/BarCodeView.h"
#include "resources/Icons.h"
#include "text/Cp932.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    kestrel::KeepPictureBuffersInHeap();

    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Plover"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrel"));
    QGuiApplication::setWindowIcon(kestrel::icons::Program());
    // Before any dialog exists: Qt's dialogs take their texts when built.
    const auto qtTexts = kestrel::InstallQtTranslations();
    // Arguments beyond Qt's own are accepted and ignored: a file name given
    // on the command line opens nothing and prints nothing.

    kestrel::SettingsProfile profile;
    kestrel::WorkingGaps gaps;
    // Save, UM_OUTPUT 1 and the profile's Main/Path all mean one program
    // path. An installed program's folder cannot be written, so there the
    // path is a link to it in the per-user data folder.
    const std::string programPath = kestrel::WritableProgramPath(
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString());
    // The file system spells the path in its own encoding, which Save needs;
    // the profile's Main/Path holds it as text, in code page 932.
    const QString programFile = QDir::toNativeSeparators(
        QFile::decodeName(QByteArray::fromStdString(programPath)));
    const std::string programPathText = kestrel::QStringToCp932Lossy(programFile);
    // A program killed while it replaced BarCode.bmp may have left the
    // replacement's temporary name behind.
    kestrel::RemoveStaleTemporaries(std::filesystem::path(programPath).parent_path());

    kestrel::CBarCodeDoc doc;
    doc.Load(profile, gaps);
    int exitCode = 0;
    {
        kestrel::ApplicationContext context{profile, gaps, doc, programPath};
        kestrel::CMainFrame frame(context);
        if (kestrel::FirstPaintProbe::Requested()) {
            new kestrel::FirstPaintProbe(frame.View()->viewport(), sinceStart);
        }
        frame.ActivateFrame(kestrel::WindowPlacement::ShowNormal);
        // Other programs' messages, once the window they act on is shown;
        // the service goes before the frame and the document.
        kestrel::AutomationService automation(context, frame);
        // Main/Path names the instance that clients reach: the one that
        // owns the bus name, when it gets it; without a bus, this one.
        automation.SetNameAcquiredHandler(
            [&profile, &programPathText] { kestrel::RecordProgram(profile, programPathText); });
        if (!automation.Publish()) {
            kestrel::RecordProgram(profile, programPathText);
        }
        exitCode = QApplication::exec();
    }
    // Only a normal end stores the barcode settings: a crash stores nothing.
    doc.Store(profile);
    return exitCode;
}
