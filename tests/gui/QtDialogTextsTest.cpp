#include "app/QtTranslations.h"
#include "document/ColourDialog.h"
#include "document/SaveCommands.h"
#include "document/SaveTexts.h"
#include "render/BarCodeView.h"
#include "render/PrintSizeTab.h"

#include "ViewTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <vector>

namespace kestrel {
namespace {

// Words of three letters or more that are not English text: units and
// sizes as Qt writes them, names of file formats (the MIME database calls
// BMP "Windows BMP") and the standards paper names come from.
const QStringList NotEnglish = {"KiB", "MiB",     "GiB",  "TiB",  "dpi", "PDF", "PNG", "SVG",
                                "BMP", "Windows", "ANSI", "ARCH", "JIS", "PRC", "CUPS"};

struct ShownText {
    QString widget;
    QString text;
};

QString Describe(const QObject& widget)
{
    return QString::fromLatin1(widget.metaObject()->className()) + u'#' + widget.objectName();
}

void AddItems(const QAbstractItemView& view, std::vector<ShownText>& shown)
{
    const QAbstractItemModel* model = view.model();
    if (model == nullptr) {
        return;
    }
    if (const auto* header = qobject_cast<const QHeaderView*>(&view)) {
        for (int section = 0; section < header->count(); ++section) {
            shown.push_back(
                {Describe(view), model->headerData(section, header->orientation()).toString()});
        }
        return;
    }
    const QModelIndex root = view.rootIndex();
    for (int row = 0; row < model->rowCount(root); ++row) {
        for (int column = 0; column < model->columnCount(root); ++column) {
            shown.push_back({Describe(view), model->index(row, column, root).data().toString()});
        }
    }
}

// Every text a person sees in the dialog as it is now.
void AddVisibleTexts(QWidget& dialog, std::vector<ShownText>& shown)
{
    shown.push_back({Describe(dialog), dialog.windowTitle()});
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&dialog)) {
            continue;
        }
        shown.push_back({Describe(*widget), widget->toolTip()});
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            shown.push_back({Describe(*widget), label->text()});
        } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            shown.push_back({Describe(*widget), button->text()});
        } else if (const auto* group = qobject_cast<QGroupBox*>(widget)) {
            shown.push_back({Describe(*widget), group->title()});
        } else if (const auto* edit = qobject_cast<QLineEdit*>(widget)) {
            shown.push_back({Describe(*widget), edit->placeholderText()});
        } else if (const auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab) {
                shown.push_back({Describe(*widget), tabs->tabText(tab)});
            }
        } else if (const auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int item = 0; item < combo->count(); ++item) {
                shown.push_back({Describe(*widget), combo->itemText(item)});
            }
        } else if (const auto* view = qobject_cast<QAbstractItemView*>(widget)) {
            AddItems(*view, shown);
        }
    }
}

// The dialog's texts with each of its tabs in front in turn.
std::vector<ShownText> TextsOfEveryTab(QWidget& dialog)
{
    std::vector<ShownText> shown;
    AddVisibleTexts(dialog, shown);
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
        for (int tab = 0; tab < tabs->count() && tabs->isVisibleTo(&dialog); ++tab) {
            tabs->setCurrentIndex(tab);
            AddVisibleTexts(dialog, shown);
        }
    }
    return shown;
}

// The English words of a text: runs of three ASCII letters or more that are
// not a file name's, a file suffix ("*.bmp") or in NotEnglish. A date in
// the system's format (Qt's file model writes those) has none.
QStringList EnglishWords(QString text, const QStringList& fileWords)
{
    text.remove(u'&');
    if (QLocale::system().toDateTime(text, QLocale::ShortFormat).isValid()) {
        return {};
    }
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]+"));
    QStringList words;
    for (const QRegularExpressionMatch& match : letters.globalMatch(text)) {
        const QString word = match.captured();
        const bool suffix = match.capturedStart() > 0 && text.at(match.capturedStart() - 1) == u'.';
        if (word.size() >= 3 && !suffix && !NotEnglish.contains(word)
            && !fileWords.contains(word)) {
            words << word;
        }
    }
    return words;
}

QStringList Findings(const std::vector<ShownText>& shown, const QStringList& fileWords)
{
    QStringList findings;
    for (const ShownText& item : shown) {
        const QStringList words = EnglishWords(item.text, fileWords);
        if (!words.isEmpty()) {
            findings << item.widget + QStringLiteral(": \"") + item.text + QStringLiteral("\": ")
                            + words.join(u' ');
        }
    }
    findings.removeDuplicates();
    return findings;
}

// Runs open, which shows a modal dialog and waits for it to close; hands
// the dialog to inspect once it is up, then cancels it. Gives whether the
// dialog came up.
bool WithModal(const std::function<void()>& open, const std::function<void(QDialog&)>& inspect)
{
    QWidget* const before = QApplication::activeModalWidget();
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (seen || dialog == nullptr || dialog == before) {
            return;
        }
        seen = true;
        poll.stop();
        inspect(*dialog);
        dialog->reject();
    });
    poll.start();
    open();
    return seen;
}

// The print dialog's "オプション >>": the part with the page range and copies.
void ExpandOptions(QDialog& dialog)
{
    for (const QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::ResetRole) {
                button->click();
            }
        }
    }
}

class QtDialogTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        translators_ = InstallQtTranslations();
        ASSERT_NE(translators_.qt, nullptr) << "qtbase_ja is not installed (qt6-translations-l10n)";
        ASSERT_TRUE(folder_.isValid());
        // A folder as Save As shows it: a picture, a subfolder (type
        // "フォルダ") and the other types the dialog offers.
        for (const char* name : {"BarCode.bmp", "a.png", "a.svg", "a.pdf"}) {
            QFile file(folder_.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(13000, '\0'));
        }
        ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("保存先")));
        static const QRegularExpression letters(QStringLiteral("[A-Za-z]+"));
        for (const QString& path :
             {folder_.path() + QStringLiteral("/BarCode.bmp"), QDir::homePath()}) {
            for (const QRegularExpressionMatch& match : letters.globalMatch(path)) {
                fileWords_ << match.captured();
            }
        }
    }
    void TearDown() override { QLocale::setDefault(locale_); }

    const QLocale locale_;
    QtTranslations translators_;
    QTemporaryDir folder_;
    QStringList fileWords_;
    QPrinter printer_{QPrinter::HighResolution};  // as the view's printer
    testing::TestDocument document_;
    PrintSizeModel sizeModel_{{}, {600, 600, 4800, 6600}, {300, 150, 1}};
    // The print dialog's own tab, as the view adds it; the dialog deletes it.
    QWidget* SizeTab() { return new PrintSizeTab(sizeModel_, {}); }
};

// Print, print set-up (with their options shown), each one's printer
// properties, Save As, the colour chooser and the print preview: every
// visible text of every tab is Japanese, but for file names, sizes, units
// and format names.
TEST_F(QtDialogTexts, EveryStandardDialogReadsInJapanese)
{
    const auto print = [this] { CBarCodeView::RunPrintDialog(printer_, SizeTab(), nullptr); };
    const auto setUp = [this] { CBarCodeView::RunPrintSetupDialog(printer_, nullptr); };
    const auto saveAs = [this] {
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder_.path());  // where Save As opens
        SaveCommands::ChooseSaveAsName(nullptr);
        QDir::setCurrent(before);
    };
    const auto colour = [] { CColorDlg::PickColor(MakeColour(255, 0, 0), nullptr); };
    const auto preview = [this] {
        CBarCodeView::RunPrintPreview(printer_, document_.doc, document_.profile,
                                      sizeModel_.Choice(), nullptr);
    };
    const auto walk = [](QDialog& dialog) { return TextsOfEveryTab(dialog); };
    const auto withOptions = [](QDialog& dialog) {
        ExpandOptions(dialog);
        return TextsOfEveryTab(dialog);
    };
    const auto properties = [](QDialog& dialog) {
        std::vector<ShownText> shown;
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("properties"));
        EXPECT_NE(button, nullptr);
        if (button != nullptr) {
            EXPECT_TRUE(WithModal([button] { button->click(); },
                                  [&shown](QDialog& inner) { shown = TextsOfEveryTab(inner); }));
        }
        return shown;
    };
    const auto listedFiles = [](QDialog& dialog) {
        auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        EXPECT_TRUE(QTest::qWaitFor([view] {
            // The picture and the folder, under the first filter (BMP).
            return view != nullptr && view->model()->rowCount(view->rootIndex()) == 2;
        }));
        return TextsOfEveryTab(dialog);
    };
    using Walk = std::function<std::vector<ShownText>(QDialog&)>;
    const struct {
        const char* dialog;
        std::function<void()> open;
        Walk walk;
    } dialogs[] = {
        {"print", print, withOptions},
        {"print set-up", setUp, withOptions},
        {"printer properties (print)", print, properties},
        {"printer properties (print set-up)", setUp, properties},
        {"Save As", saveAs, listedFiles},
        {"colour", colour, walk},
        {"print preview", preview, walk},
    };
    // Without a CUPS printer the print dialog offers Print to File (PDF) alone.
    std::cout << "printers: " << QPrinterInfo::availablePrinterNames().join(u", ").toStdString()
              << " + PDF\n";
    for (const auto& row : dialogs) {
        std::vector<ShownText> shown;
        EXPECT_TRUE(WithModal(row.open, [&](QDialog& dialog) { shown = row.walk(dialog); }))
            << row.dialog << " did not come up";
        EXPECT_GT(shown.size(), 5U) << row.dialog;
        EXPECT_EQ(Findings(shown, fileWords_).join(u'\n').toStdString(), "") << row.dialog;
    }
}

// The walk finds what it is for: with Qt's catalogue alone, the print
// dialog's options still say "Pages" and "Double Sided Printing".
TEST_F(QtDialogTexts, QtsCatalogueAloneLeavesEnglish)
{
    translators_.ours.reset();
    std::vector<ShownText> shown;
    WithModal([this] { CBarCodeView::RunPrintDialog(printer_, SizeTab(), nullptr); },
              [&](QDialog& dialog) {
                  ExpandOptions(dialog);
                  shown = TextsOfEveryTab(dialog);
              });
    const QString findings = Findings(shown, fileWords_).join(u'\n');
    for (const char* word : {"\"Pages\"", "\"Double Sided Printing\""}) {
        EXPECT_TRUE(findings.contains(QString::fromLatin1(word))) << word << "\n"
                                                                  << findings.toStdString();
    }
}

// Save As's detail view shows the size, type and date of each file whole,
// inside the list, at the size the dialog first opens with.
TEST_F(QtDialogTexts, SaveAsColumnsAreWhole)
{
    QFileDialog dialog;
    SaveCommands::ConfigureSaveAsDialog(dialog);
    dialog.selectNameFilter(QString::fromUtf8(texts::AllFilesFilter));
    dialog.setDirectory(folder_.path());
    dialog.show();
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([view] { return view->model()->rowCount(view->rootIndex()) == 5; }));
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const QFontMetrics metrics(view->font());
    for (int row = 0; row < 5; ++row) {
        for (int column = 1; column <= 3; ++column) {
            const QModelIndex index = view->model()->index(row, column, view->rootIndex());
            const QString text = index.data().toString();
            const QRect cell = view->visualRect(index);
            EXPECT_GE(cell.width(), metrics.horizontalAdvance(text) + margins)
                << text.toStdString();
            EXPECT_LE(cell.right(), view->viewport()->width()) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace kestrel
