#pragma once

#include "export/PictureExport.h"
#include "symbology/CodeText.h"

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class QDBusConnection;

namespace kestrel {

class AutomationService;

// The typed automation interface, org.plover.Kestrel1 at
// /org/plover/Kestrel: the document's settings by name, with typed
// arguments, and pictures as bytes instead of through the clipboard. Every
// method runs in turn with the numeric messages, on the same document; a
// wrong value is answered with a named error and changes nothing.
//
// SetText holds the text until Accept(), the code dialog's OK, validates,
// completes and encodes it into the document; a refused text leaves the
// document as it was. The other setters store their values at once.
// ModuleText, Render and Save encode the document as it stands, as the copy
// command does, so they refuse what the encoder refuses, and refuse while a
// text waits for Accept. doc/automation.md is the reference for clients.
class TypedAutomation : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.plover.Kestrel1")

public:
    explicit TypedAutomation(AutomationService& service);

    // What one method answers: a value (invalid for methods that answer
    // nothing), or an error's short name (Refused, InvalidText, ...) and its
    // message.
    struct Answer {
        QVariant value;
        QString error;
        QString message;
    };

public slots:
    Q_SCRIPTABLE void SetText(const QString& text);
    // A key of kestrel-cli's --type ("jan13", "code39", ...) or the name
    // the code dialog's list shows, in any case; the check marks follow as
    // when the list's choice changes.
    Q_SCRIPTABLE void SetSymbology(const QString& symbology);
    Q_SCRIPTABLE void SetSymbologyIndex(uint index);
    // Named numbers: width, height, leftMargin, topMargin, narrowWidth,
    // textHeight, each in the code dialog's range.
    Q_SCRIPTABLE void SetGeometry(const QVariantMap& values);
    // Named choices: check, showText, autoAdd, bearerBars (booleans) and
    // ratio ("1:2", "2:5", "1:3"). Codabar's start and stop characters are
    // the text's own, or the options sheet's where the text has none.
    Q_SCRIPTABLE void SetOptions(const QVariantMap& values);
    // The completed code text.
    Q_SCRIPTABLE QString Accept();
    Q_SCRIPTABLE QString ModuleText();
    // The picture as a file of `format` ("bmp", "png", "svg", "pdf") holds it.
    Q_SCRIPTABLE QByteArray Render(const QString& format);
    // Writes the picture to `path` (absolute); `format` empty takes it from
    // the file name's suffix.
    Q_SCRIPTABLE void Save(const QString& path, const QString& format);

private:
    // Runs `work` in turn with the numeric messages and answers the caller
    // with what it returns.
    void InTurn(std::function<Answer()> work);

    Answer DoSetText(const QString& text);
    Answer DoSetSymbology(int index);
    Answer DoSetGeometry(const QVariantMap& values);
    Answer DoSetOptions(const QVariantMap& values);
    Answer DoAccept();
    Answer DoModuleText();
    Answer DoRender(const QString& format);
    Answer DoSave(const QString& path, const QString& format);
    // Encodes the document for an output, as the copy command does; an
    // error when there is nothing to encode or the encoder refuses.
    Answer EncodeForOutput();

    AutomationService& service_;
    const ExportRegistry exports_;
    // The text SetText gave, waiting for Accept; none once accepted.
    std::optional<CodeText> typedText_;
};

// Exports the typed interface of `service` on `bus`, beside the numeric
// one. False, after one line on stderr, when its object path is taken.
bool PublishTypedAutomation(AutomationService& service, QDBusConnection& bus);

}  // namespace kestrel
