#include "app/QtTranslations.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kestrel {
namespace {

QStringList ButtonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        texts << button->text();
    }
    return texts;
}

// Qt's standard dialogs that the program shows, built after the program's
// start-up step: their buttons read in Japanese, from Qt's own catalogue.
TEST(QtTranslations, StandardDialogsReadInJapanese)
{
    const std::unique_ptr<QTranslator> translator = InstallQtTranslations();
    ASSERT_NE(translator, nullptr) << "qtbase_ja is not installed (qt6-translations-l10n)";

    QPrinter printer;
    struct Row {
        const char* dialog;
        std::function<std::unique_ptr<QWidget>()> make;
        QStringList buttons;  // among its buttons
    };
    const Row rows[] = {
        {"Save As", [] {
             auto dialog = std::make_unique<QFileDialog>();
             dialog->setOption(QFileDialog::DontUseNativeDialog);
             dialog->setAcceptMode(QFileDialog::AcceptSave);
             return dialog;
         }, {"保存(&S)", "キャンセル"}},
         {"overwrite question", [] {
             return std::make_unique<QMessageBox>(QMessageBox::Warning, "Kestrel", "",
                                                  QMessageBox::Yes | QMessageBox::No);
         }, {"はい(&Y)", "いいえ(&N)"}},
        {"colour chooser", [] {
             return std::make_unique<QColorDialog>();
         }, {"キャンセル"}},
        {"print", [&printer] { return std::make_unique<QPrintDialog>(&printer); },
         {"印刷(&P)", "キャンセル"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        const std::unique_ptr<QWidget> dialog = row.make();
        const QStringList texts = ButtonTexts(*dialog);
        for (const QString& expected : row.buttons) {
            EXPECT_TRUE(texts.contains(expected)) << texts.join(" | ").toStdString();
        }
    }
}

}  // namespace
}  // namespace kestrel
