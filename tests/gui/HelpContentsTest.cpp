#include "app/HelpContents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// The manual is found beside the program in a build tree, under the
// program's own prefix once installed, then in the data folders; a folder
// of that name, or a manual elsewhere, is not it.
TEST(ManualLocator, FindsTheFirstManualThatExists)
{
    struct Row {
        QStringList present;  // files made, relative to the root; the program is in usr/bin
        const char* found;    // empty for none
    };
    const Row rows[] = {
        {{"usr/share/kestrel/manual/index.html", "usr/bin/manual/index.html"},
         "usr/bin/manual/index.html"},
        {{"data/kestrel/manual/index.html", "usr/share/kestrel/manual/index.html"},
         "usr/share/kestrel/manual/index.html"},
        {{"data/kestrel/manual/index.html"}, "data/kestrel/manual/index.html"},
        {{"usr/bin/manual/index.html/x", "usr/share/doc/kestrel/index.html"}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.present.join(", ").toStdString());
        QTemporaryDir root;
        for (const QString& file : row.present) {
            QDir().mkpath(QFileInfo(root.filePath(file)).path());
            QFile(root.filePath(file)).open(QIODevice::WriteOnly);
        }
        const ManualLocator locator(root.filePath("usr/bin"), {root.filePath("data"), QString()});
        EXPECT_EQ(locator.Find(), *row.found ? root.filePath(row.found) : QString());
    }
}

// The browser gets the manual's file as a URL; when there is no manual or
// no browser takes it, the help says where the manual is or was sought.
TEST(OpenManual, TellsWhereTheManualIsWhenNoBrowserShowsIt)
{
    struct Row {
        const char* manual;
        bool browserOpens;
        const char* told;  // the message's end; null when nothing is shown
    };
    const QStringList searched{"/opt/k/manual/index.html", "/usr/share/kestrel/manual/index.html"};
    const Row rows[] = {
        {"/opt/k/manual/index.html", true, nullptr},
        {"/opt/k/manual/index.html", false,
         "説明書をブラウザで開けませんでした。説明書は次のファイルです。\n/opt/k/manual/"
         "index.html"},
        {"", true,
         "説明書が見つかりませんでした。次の場所を探しました。\n/opt/k/manual/index.html\n"
         "/usr/share/kestrel/manual/index.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.told ? row.told : "shown");
        QList<QUrl> asked;
        const QString message = OpenManual(row.manual, searched, [&](const QUrl& url) {
            asked << url;
            return row.browserOpens;
        });
        EXPECT_EQ(asked, *row.manual ? QList<QUrl>{QUrl("file:///opt/k/manual/index.html")}
                                     : QList<QUrl>{});
        if (row.told) {
            EXPECT_TRUE(message.endsWith(QString::fromUtf8(row.told))) << message.toStdString();
            EXPECT_TRUE(message.startsWith("[編集]-[コードの入力]")) << message.toStdString();
        } else {
            EXPECT_TRUE(message.isEmpty()) << message.toStdString();
        }
    }
}

}  // namespace
}  // namespace kestrel
