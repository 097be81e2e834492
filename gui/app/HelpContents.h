#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QUrl;

namespace kestrel {

// Where the program's manual (one HTML page with its pictures) lies: in a
// build tree in "manual" beside the program, once installed in
// share/kestrel/manual under the installation's prefix or a data folder.
class ManualLocator {
public:
    // `programFolder`: the running program's folder; `dataFolders`: the
    // system's data folders (XDG_DATA_HOME, then XDG_DATA_DIRS).
    ManualLocator(QString programFolder, QStringList dataFolders);
    // The running program's.
    static ManualLocator ForThisProgram();

    // Every place looked at, in order, without repeats.
    QStringList Candidates() const;
    // The first of them that is a file; empty when none is.
    QString Find() const;

private:
    QString programFolder_;
    QStringList dataFolders_;
};

// Opens the manual in the user's browser through `openUrl`. Gives what the
// user is to be told instead: empty when the browser took it, otherwise the
// help text with where the manual is, or where it was looked for when it
// is missing (`searched`).
using UrlOpener = std::function<bool(const QUrl&)>;
QString OpenManual(const QString& manualFile, const QStringList& searched,
                   const UrlOpener& openUrl);

}  // namespace kestrel
