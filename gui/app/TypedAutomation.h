#pragma once

#include "export/PictureExport.h"
#include "symbology/CodeText.h"

#include <QDBusVirtualObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <vector>

class QDBusConnection;
class QDBusMessage;

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
//
// The settings are also properties. QtDBus would answer property calls on
// a registered QObject at once, ahead of calls still waiting in the queue,
// so the path is served as a virtual object: methods and property calls
// alike go through the queue, and PropertiesChanged carries what differs
// from the values last announced whenever the document may have changed.
class TypedAutomation : public QDBusVirtualObject {
    Q_OBJECT

public:
    explicit TypedAutomation(AutomationService& service);

    // What one call answers: a value (invalid for calls that answer
    // nothing), or an error's full name and its message.
    struct Answer {
        QVariant value;
        QString error;
        QString message;
    };

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    // The properties by name, each with the D-Bus type it is announced as.
    QVariantMap PropertyValues() const;
    // Validates and stores one property as its setter method would; an
    // error (and no change) for a wrong value, an unknown or read-only name.
    Answer SetProperty(const QString& name, const QVariant& value);
    static bool IsWritable(const QString& name);

    // Announces the properties that differ from the values last announced;
    // true when there were any.
    bool PublishChanges();
    // After a call of either interface: announces what it changed and shows
    // it in the window, which the calls themselves do not repaint.
    void PublishAndShowChanges();
    // Where the announcements go: a PropertiesChanged signal on the bus, or
    // a test's record.
    using ChangeSink = std::function<void(const QVariantMap&)>;
    void SetChangeSink(ChangeSink sink) { changeSink_ = std::move(sink); }

    // The methods of the interface by name, with their argument types.
    struct Method {
        const char* name;
        const char* signature;
        Answer (*run)(TypedAutomation& typed, const QVariantList& arguments);
    };
    static const std::vector<Method>& Methods();

private:
    // Runs `work` in turn with the numeric messages and answers `request`
    // with what it returns.
    void InTurn(const QDBusMessage& request, const QDBusConnection& connection,
                std::function<Answer()> work);
    // The work a method call or a property call stands for; an error answer
    // when it fits neither.
    std::function<Answer()> WorkFor(const QDBusMessage& request);
    std::function<Answer()> PropertyWork(const QDBusMessage& request);

    Answer DoSetText(const QString& text);
    Answer DoSetSymbologyByName(const QString& symbology);
    Answer DoSetSymbologyIndex(long long index);
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
    // The property values clients were last told of.
    QVariantMap announced_;
    ChangeSink changeSink_;
};

// Exports the typed interface of `service` on `bus`, beside the numeric
// one. False, after one line on stderr, when its object path is taken.
bool PublishTypedAutomation(AutomationService& service, QDBusConnection& bus);

}  // namespace kestrel
