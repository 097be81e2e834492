#pragma once

#include <QTranslator>

namespace kestrel {

// Japanese for the texts of Qt's standard dialogs that Qt's own catalogue
// (qtbase_ja) leaves in English or half English: the print dialog's page
// range and two-sided printing, the printer properties' "Advanced" tab,
// the file dialog's folder type, some paper names, the colour chooser's
// code box. Installed after qtbase_ja, so it is asked first and its texts
// win; every other text falls through to Qt's catalogue.
class QtJapaneseTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override;
};

}  // namespace kestrel
