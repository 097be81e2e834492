#include "app/QtTranslations.h"

#include "app/QtJapaneseTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace kestrel {

QtTranslations InstallQtTranslations()
{
    QtTranslations installed;
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(qt.get())) {
        installed.qt = std::move(qt);
    }
    // Qt asks the translator installed last first: ours, then qtbase_ja.
    auto ours = std::make_unique<QtJapaneseTexts>();
    if (QCoreApplication::installTranslator(ours.get())) {
        installed.ours = std::move(ours);
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return installed;
}

}  // namespace kestrel
