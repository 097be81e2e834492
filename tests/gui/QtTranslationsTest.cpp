#include "app/QtTranslations.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// Qt's standard dialogs built after the program's start-up step read in
// Japanese, from Qt's own catalogue: here the print dialog's buttons.
TEST(QtTranslations, StandardDialogsReadInJapanese)
{
    const QLocale locale;
    const auto translators = InstallQtTranslations();
    QLocale::setDefault(locale);
    ASSERT_NE(translators.qt, nullptr) << "qtbase_ja is not installed (qt6-translations-l10n)";
    QPrinter printer;
    const QPrintDialog print(&printer);
    QStringList texts;
    for (const QPushButton* button : print.findChildren<QPushButton*>()) {
        texts << button->text();
    }
    for (const char* expected : {"印刷(&P)", "キャンセル"}) {
        EXPECT_TRUE(texts.contains(expected)) << texts.join(" | ").toStdString();
    }
}

}  // namespace
}  // namespace kestrel
