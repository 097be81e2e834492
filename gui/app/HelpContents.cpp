#include "app/HelpContents.h"

#include "app/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace kestrel {

namespace {

constexpr const char* ManualPage = "manual/index.html";
constexpr const char* InstalledManualPage = "kestrel/manual/index.html";

}  // namespace

ManualLocator::ManualLocator(QString programFolder, QStringList dataFolders)
    : programFolder_(std::move(programFolder)), dataFolders_(std::move(dataFolders))
{
}

ManualLocator ManualLocator::ForThisProgram()
{
    // The program's real folder: an installed program also runs through a
    // link in the per-user folder, and the manual lies beside the real one.
    return ManualLocator(QCoreApplication::applicationDirPath(),
                         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

QStringList ManualLocator::Candidates() const
{
    QStringList candidates;
    const auto add = [&candidates](const QString& path) {
        const QString clean = QDir::cleanPath(path);
        if (!candidates.contains(clean)) {
            candidates << clean;
        }
    };
    if (!programFolder_.isEmpty()) {
        const QDir program(programFolder_);
        add(program.filePath(QString::fromLatin1(ManualPage)));
        // bin/kestrel → share/kestrel/manual, under whatever prefix.
        add(program.filePath(QStringLiteral("../share/")
                             + QString::fromLatin1(InstalledManualPage)));
    }
    for (const QString& folder : dataFolders_) {
        if (!folder.isEmpty()) {
            add(QDir(folder).filePath(QString::fromLatin1(InstalledManualPage)));
        }
    }
    return candidates;
}

QString ManualLocator::Find() const
{
    for (const QString& candidate : Candidates()) {
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

QString OpenManual(const QString& manualFile, const QStringList& searched, const UrlOpener& openUrl)
{
    const QString help = QString::fromUtf16(texts::HelpText) + QStringLiteral("\n\n");
    if (manualFile.isEmpty()) {
        return help
               + QString::fromUtf16(texts::HelpManualMissing)
                     .arg(QDir::toNativeSeparators(searched.join(QLatin1Char('\n'))));
    }
    if (openUrl(QUrl::fromLocalFile(QFileInfo(manualFile).absoluteFilePath()))) {
        return {};
    }
    return help + QString::fromUtf16(texts::HelpManualAt).arg(QDir::toNativeSeparators(manualFile));
}

}  // namespace kestrel
