#include "app/ApplicationContext.h"
#include "app/FirstPaintProbe.h"
#include "app/MainFrame.h"
#include "app/WindowPlacement.h"
#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "process/HeapTuning.h"
#include "profile/SettingsProfile.h"
#include "render/BarCodeView.h"
#include "resources/Icons.h"
#include "text/Cp932.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

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
    // Arguments beyond Qt's own are accepted and ignored: a file name given
    // on the command line opens nothing and prints nothing.

    kestrel::SettingsProfile profile;
    kestrel::WorkingGaps gaps;
    const std::string programPath = kestrel::QStringToCp932Lossy(
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));

    int exitCode = 0;
    {
        // Declared in this order so that the frame (and its view) go before
        // the document, whose destructor stores the barcode settings. None of
        // this runs after a crash, so a crash stores nothing.
        kestrel::CBarCodeDoc doc(profile, gaps, programPath);
        kestrel::ApplicationContext context{profile, gaps, doc, programPath};
        kestrel::CMainFrame frame(context);
        if (kestrel::FirstPaintProbe::Requested()) {
            new kestrel::FirstPaintProbe(frame.View()->viewport(), sinceStart);
        }
        frame.ActivateFrame(kestrel::WindowPlacement::ShowNormal);
        exitCode = QApplication::exec();
    }
    return exitCode;
}
