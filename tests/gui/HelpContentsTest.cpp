#include "app/HelpContents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// The manual is found beside the program in a build tree, under the
// program's own prefix once installed, then in the data folders; a folder
// of that name, or a manual elsewhere, is not it.
TEST(ManualLocator, FindsTheFirstManualThatExists)
{
    struct Row {
        const char* name;
        const char* program;  // the program's folder; all paths relative to the root
        QStringList present;  // files made
        const char* found;    // empty for none
    };
    const Row rows[] = {
        {"build tree", "build/gui", {"build/gui/manual/index.html"}, "build/gui/manual/index.html"},
        {"installed under the prefix", "usr/bin", {"usr/share/kestrel/manual/index.html"},
         "usr/share/kestrel/manual/index.html"},
        {"beside the program wins", "usr/bin", {"usr/share/kestrel/manual/index.html", "usr/bin/manual/index.html"},
         "usr/bin/manual/index.html"},
        {"in a data folder", "usr/bin", {"data/kestrel/manual/index.html"}, "data/kestrel/manual/index.html"},
        {"the prefix before the data folders", "usr/bin",
         {"data/kestrel/manual/index.html", "usr/share/kestrel/manual/index.html"},
         "usr/share/kestrel/manual/index.html"},
        {"a folder named like it", "usr/bin", {"usr/bin/manual/index.html/x"}, ""},
        {"nowhere", "usr/bin", {"usr/share/doc/kestrel/index.html"}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir root;
        for (const QString& file : row.present) {
            Touch(root.filePath(file));
        }
        const ManualLocator locator(root.filePath(row.program),
                                    {root.filePath("data"), QString()});
        const QString expected = *row.found ? root.filePath(row.found) : QString();
        EXPECT_EQ(locator.Find(), expected);
    }
}

// The browser gets the manual's file as a URL; when there is no manual or
// no browser takes it, the message says where the manual is or was sought.
TEST(OpenManual, TellsWhereTheManualIsWhenNoBrowserShowsIt)
{
    struct Row {
        const char* name;
        const char* manual;
        bool browserOpens;
        bool opened;       // the browser was asked
        const char* told;  // within the message; null when nothing is shown
    };
    const QStringList searched{"/opt/k/manual/index.html", "/usr/share/kestrel/manual/index.html"};
    const Row rows[] = {
        {"browser shows it", "/opt/k/manual/index.html", true, true, nullptr},
        {"no browser", "/opt/k/manual/index.html", false, true,
         "説明書をブラウザで開けませんでした。説明書は次のファイルです。\n/opt/k/manual/index.html"},
        {"no manual", "", true, false,
         "説明書が見つかりませんでした。次の場所を探しました。\n/opt/k/manual/index.html\n"
         "/usr/share/kestrel/manual/index.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QList<QUrl> asked;
        const QString message = OpenManual(row.manual, searched, [&](const QUrl& url) {
            asked << url;
            return row.browserOpens;
        });
        EXPECT_EQ(asked, row.opened ? QList<QUrl>{QUrl("file:///opt/k/manual/index.html")}
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
