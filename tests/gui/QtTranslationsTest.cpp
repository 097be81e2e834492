#include "app/QtTranslations.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// Qt's standard dialogs built after the program's start-up step: their
// buttons read in Japanese, from Qt's own catalogue.
TEST(QtTranslations, StandardDialogsReadInJapanese)
{
    const auto translator = InstallQtTranslations();
    ASSERT_NE(translator, nullptr) << "qtbase_ja is not installed (qt6-translations-l10n)";
    QPrinter printer;
    const QPrintDialog print(&printer);
    const QMessageBox question(QMessageBox::Warning, "Kestrel", "",
                               QMessageBox::Yes | QMessageBox::No);
    struct Row {
        const QWidget* dialog;
        QStringList buttons;  // among its buttons
    };
    const Row rows[] = {
        {&print, {"印刷(&P)", "キャンセル"}},
        {&question, {"はい(&Y)", "いいえ(&N)"}},
    };
    for (const Row& row : rows) {
        QStringList texts;
        for (const QPushButton* button : row.dialog->findChildren<QPushButton*>()) {
            texts << button->text();
        }
        for (const QString& expected : row.buttons) {
            EXPECT_TRUE(texts.contains(expected)) << texts.join(" | ").toStdString();
        }
    }
}

}  // namespace
}  // namespace kestrel
