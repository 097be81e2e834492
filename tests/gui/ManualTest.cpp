// The manual names the program's menus, items and dialogs: each name it
// uses must be the program's own, so the manual cannot drift from it.

#include "MainFrameTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

QString Manual()
{
    QFile file(QStringLiteral(KESTREL_MANUAL));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << KESTREL_MANUAL;
    return QString::fromUtf8(file.readAll());
}

// A menu's or item's name as the manual writes it: without its accelerator,
// its "..." and its shortcut.
QString Plain(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QRegularExpression(QStringLiteral(R"(\s*\(&.\))")));
    text.remove(QStringLiteral("..."));
    return text.trimmed();
}

QAction* FindItem(CMainFrame& frame, const QString& menu, const QString& item)
{
    for (QAction* top : frame.menuBar()->actions()) {
        if (top->menu() == nullptr || Plain(top->text()) != menu) {
            continue;
        }
        for (QAction* action : top->menu()->actions()) {
            if (Plain(action->text()) == item) {
                return action;
            }
        }
    }
    return nullptr;
}

struct MenuItem {
    QString menu;
    QString item;
    QString dialog;  // the title the manual gives what it opens, if any
};

// The menu table's rows (a menu cell spans its items' rows; "A / B" names
// two items) and every "[menu]-[item]" in the text, with the dialog title
// the manual puts after it ("[編集]-[色の設定] の「色の設定」").
std::vector<MenuItem> NamedItems(const QString& manual)
{
    std::vector<MenuItem> items;
    const qsizetype tableStart = manual.indexOf(QStringLiteral("<th>メニュー</th>"));
    const QString table = manual.mid(
        tableStart, manual.indexOf(QStringLiteral("</table>"), tableStart) - tableStart);
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"));
    static const QRegularExpression opens(QStringLiteral("「([^」]+)」を開きます"));
    QString menu;
    for (auto rows = row.globalMatch(table); rows.hasNext();) {
        const QString cells = rows.next().captured(1);
        QStringList values;
        for (auto found = cell.globalMatch(cells); found.hasNext();) {
            values << found.next().captured(1);
        }
        if (values.size() == 4) {
            menu = values.takeFirst();
        }
        if (values.size() != 3) {
            continue;
        }
        const QString dialog = opens.match(values[2]).captured(1);
        for (const QString& item : values[0].split(QStringLiteral(" / "))) {
            items.push_back({menu, item.trimmed(), dialog});
        }
    }
    static const QRegularExpression path(
        QStringLiteral(R"(\[([^\]]+)\]-\[([^\]]+)\](?: ?の「([^」]+)」)?)"));
    for (auto found = path.globalMatch(manual); found.hasNext();) {
        const QRegularExpressionMatch match = found.next();
        items.push_back({match.captured(1), match.captured(2), match.captured(3)});
    }
    return items;
}

TEST(Manual, EveryMenuItemAndDialogItNamesIsTheProgramsOwn)
{
    test::FrameWorld w;
    w.doc.CodeText = "4901234567894";  // every item enabled
    w.frame.UpdateCommandState();
    const std::vector<MenuItem> items = NamedItems(Manual());
    ASSERT_GE(items.size(), 14u);
    int dialogs = 0;
    for (const MenuItem& named : items) {
        SCOPED_TRACE((named.menu + " - " + named.item).toStdString());
        QAction* action = FindItem(w.frame, named.menu, named.item);
        ASSERT_NE(action, nullptr) << "no such menu item";
        if (named.dialog.isEmpty()) {
            continue;
        }
        ++dialogs;
        QString title = QStringLiteral("(no dialog)");
        QTimer::singleShot(0, [&title] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                title = modal->windowTitle();
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                }
            }
        });
        action->trigger();
        EXPECT_EQ(title.toStdString(), named.dialog.toStdString());
    }
    EXPECT_GE(dialogs, 3);
}

}  // namespace
}  // namespace kestrel
