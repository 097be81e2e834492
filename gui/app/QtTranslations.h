#pragma once

#include <QTranslator>

#include <memory>

namespace kestrel {

// Installs Qt's own Japanese texts (qtbase_ja) for the standard dialogs —
// print, printer set-up, file, colour chooser, message-box buttons — so they
// read like the rest of the window, whatever the user's locale: every text
// of the program is Japanese. Call once the application exists and before
// the first dialog is built. Gives the installed translator, which goes out
// of the application with it; none when Qt's translations are not installed,
// and the dialogs then stay in English.
std::unique_ptr<QTranslator> InstallQtTranslations();

}  // namespace kestrel
