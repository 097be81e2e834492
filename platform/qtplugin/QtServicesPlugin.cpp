#include "app/GuiApplication.h"
#include "export/QtPictureExports.h"
#include "profile/SettingsProfile.h"
#include "qtplugin/QtServices.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"

#include <QSettings>
#include <QString>

#include <iostream>

namespace kestrel {

namespace {

// Qt complains when no runtime folder is set, which is normal for a
// headless tool; everything else it says still reaches standard error.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QStringLiteral("QStandardPaths:"))) {
        return;
    }
    std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
}

class QtServicesImpl : public QtServices {
public:
    std::unique_ptr<Profile> ReadProfile(const std::string& iniPath) override
    {
        return std::make_unique<SettingsProfile>(QString::fromStdString(iniPath),
                                                 SettingsProfile::Access::ReadOnly);
    }

    std::string DefaultProfilePath() override
    {
        return SettingsProfile(SettingsProfile::Access::ReadOnly).Location().toStdString();
    }

    std::unique_ptr<RasterFallback> PainterOver(std::uint32_t* pixels, int width,
                                                int height) override
    {
        return QtPainterOver(pixels, width, height);
    }

    std::optional<TextCoverage> TextCoverageOf(const FontRequest& font,
                                               std::string_view text) override
    {
        return QtTextCoverage(font, text);
    }

    std::optional<std::vector<std::uint8_t>> TrueColourPng(const PixelRows& rows) override
    {
        return EncodeTrueColourPng(rows);
    }

    int SaveVector(PictureFormat format, const PictureRequest& request,
                   OffscreenCanvasFactory& canvases, const std::string& fileName,
                   SaveProblem& problem) override
    {
        if (format != PictureFormat::Svg && format != PictureFormat::Pdf) {
            problem = SaveProblem::NotWritten;
            return 0;
        }
        return exports_.Save(request, canvases, fileName, format, &problem);
    }

    RgbPicture ReadPictureFile(const std::string& fileName) override
    {
        return kestrel::ReadPictureFile(fileName);
    }

    ScanResult Scan(const RgbPicture& picture, int codeType,
                    const std::string& codeTextUtf8) override
    {
        return VerifyScan(picture, codeType, codeTextUtf8);
    }

private:
    const ExportRegistry exports_ = StandardExports();
};

}  // namespace

}  // namespace kestrel

// Qt's GUI starts here, on the offscreen platform unless QT_QPA_PLATFORM
// names another, with its fonts found and loaded before threads draw.
extern "C" __attribute__((visibility("default"))) kestrel::QtServices* KestrelQtServices()
{
    static kestrel::QtServices* services = [] {
        qInstallMessageHandler(kestrel::QuietMessageHandler);
        kestrel::EnsureGuiApplication();
        kestrel::PrepareFontsForThreads();
        return new kestrel::QtServicesImpl;
    }();
    return services;
}
