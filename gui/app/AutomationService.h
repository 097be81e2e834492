#pragma once

#include "app/Automation.h"
#include "app/AutomationCallQueue.h"
#include "clipboard/QtAutomationClipboard.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <functional>

namespace kestrel {

class CMainFrame;
struct ApplicationContext;

// The five automation messages on the session bus: one method,
// SendMessage(u message, u wParam, i lParam) -> i result, on the document of
// the main window. Calls run on the user-interface thread one at a time; a
// call that arrives while a handler's message box is open waits for it.
class AutomationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.plover.Kestrel.Automation")
    // Written out so that the result is named in introspection.
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.plover.Kestrel.Automation\">\n"
                "    <method name=\"SendMessage\">\n"
                "      <arg name=\"message\" type=\"u\" direction=\"in\"/>\n"
                "      <arg name=\"wParam\" type=\"u\" direction=\"in\"/>\n"
                "      <arg name=\"lParam\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"result\" type=\"i\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <property name=\"ProgramPath\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"ProcessId\" type=\"u\" access=\"read\"/>\n"
                "  </interface>\n")
    // Which program and process a client is talking to: the path Main/Path
    // names (where UM_OUTPUT 1 writes BarCode.bmp) and the process number.
    Q_PROPERTY(QString ProgramPath READ ProgramPath)
    Q_PROPERTY(uint ProcessId READ ProcessId)

public:
    AutomationService(ApplicationContext& context, CMainFrame& frame, QObject* parent = nullptr);
    ~AutomationService() override;

    // Offers the service on the session bus. A second instance queues for
    // the name and takes it over when the first exits. False, after one line
    // on stderr, when there is no session bus: the program runs without
    // automation.
    bool Publish();
    // Called each time this instance gets the bus name, at start or when an
    // earlier instance exits: only the instance clients reach records where
    // it is.
    void SetNameAcquiredHandler(std::function<void()> handler)
    {
        nameAcquired_ = std::move(handler);
    }

    // From the moment the program starts to quit, every call is answered
    // with the error QuittingError instead of being run: true (and the
    // error sent) when `request` was answered so.
    bool RefuseWhileQuitting(const QDBusMessage& request, QDBusConnection& bus) const;

    QString ProgramPath() const;
    uint ProcessId() const;

    // Runs one call through the queue, as SendMessage does; `reply` gets the
    // result, or nothing for a number that is not a message.
    void Submit(const AutomationCallQueue::Call& call, AutomationCallQueue::Reply reply);

    // Runs `work` in turn with the calls (see AutomationCallQueue::SubmitTask),
    // then brings the window's commands up to date with the document and
    // emits CallFinished.
    void RunInTurn(std::function<void()> work);
    ApplicationContext& Context() { return context_; }
    CMainFrame& Frame() { return frame_; }

    // The text of the error a number that is not a message gets.
    static QString UnknownMessageText(std::uint32_t message);

    // Shows a warning of the save to the user; tests record it instead.
    using MessageSink = std::function<void(const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

signals:
    // A call of either interface has run (before it is answered): the
    // document's settings may have changed.
    void CallFinished();

public slots:
    Q_SCRIPTABLE int SendMessage(uint message, uint wParam, int lParam);

private slots:
    void OnNameAcquired(const QString& name);
    void BeginQuit();

private:
    // "BarCode.bmp" beside the program, as the Save command writes it: 1
    // when written, else 0.
    int SaveBesideProgram();
    void Warn(const QString& text);

    ApplicationContext& context_;
    CMainFrame& frame_;
    QtAutomationClipboard clipboard_;
    CAutomation automation_;
    AutomationCallQueue queue_;
    MessageSink messageSink_;
    std::function<void()> nameAcquired_;
    bool published_ = false;
    bool quitting_ = false;
};

}  // namespace kestrel
