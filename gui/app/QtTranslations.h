#pragma once

#include <QTranslator>

#include <memory>

namespace kestrel {

// The translators that put Qt's standard dialogs — print, printer set-up,
// file, colour chooser, message-box buttons — into Japanese.
struct QtTranslations {
    std::unique_ptr<QTranslator> qt;    // Qt's own catalogue, qtbase_ja
    std::unique_ptr<QTranslator> ours;  // what qtbase_ja lacks (QtJapaneseTexts)
};

// Installs Qt's own Japanese texts (qtbase_ja) and then ours, which are
// asked first, so that the standard dialogs read like the rest of the
// window, whatever the user's locale: every text of the program is
// Japanese. The file dialog's type names come from the system's MIME
// database in the default locale, which becomes Japanese too. Call once the
// application exists and before the first dialog is built. The translators
// go out of the application with the result; qt is none when Qt's
// translations are not installed, and the dialogs are then mostly English.
QtTranslations InstallQtTranslations();

}  // namespace kestrel
