#include "SendArguments.h"

#include "dbus/AutomationBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QMetaType>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int ExitAnswered = 0;
constexpr int ExitNotAnswered = 2;

int Fail(const std::string& why)
{
    std::fprintf(stderr, "kestrel-send: %s\n", why.c_str());
    return ExitNotAnswered;
}

// One line for an error reply: a client cares whether anyone answered at
// all, and otherwise what the program said.
std::string Explain(const QDBusMessage& reply)
{
    const QString name = reply.errorName();
    if (name == QDBusError::errorString(QDBusError::ServiceUnknown)
        || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        return std::string("no running kestrel answers on the session bus (")
               + kestrel::automation_bus::ServiceName + ")";
    }
    if (name == QLatin1String(kestrel::automation_bus::UnknownMessageError)) {
        return "message refused: " + reply.errorMessage().toStdString();
    }
    return (name + QStringLiteral(": ") + reply.errorMessage()).toStdString();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    kestrel::send::SendArguments parsed;
    std::string error;
    if (!kestrel::send::ParseArguments(arguments, parsed, error)) {
        return Fail(error);
    }
    if (parsed.help) {
        std::fputs(kestrel::send::UsageText().c_str(), stdout);
        return ExitAnswered;
    }

    // QtDBus wants an application object before the first connection.
    int qtArgc = 1;
    QCoreApplication application(qtArgc, argv);
    // A connection of its own, closed before the application object goes:
    // left to the shared session connection's teardown at exit, Qt's bus
    // thread can still be delivering and print warnings after our answer.
    const QString connectionName = QStringLiteral("kestrel-send");
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                        connectionName);
    const struct Disconnect {
        const QString& name;
        ~Disconnect() { QDBusConnection::disconnectFromBus(name); }
    } disconnect{connectionName};
    if (!bus.isConnected()) {
        return Fail("no session bus: " + bus.lastError().message().toStdString());
    }

    using namespace kestrel::automation_bus;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ServiceName),
                                                       QLatin1String(ObjectPath),
                                                       QLatin1String(InterfaceName),
                                                       QLatin1String(MethodName));
    call << parsed.request.message << parsed.request.wParam << parsed.request.lParam;
    // As long as it takes, like a sent window message: while the program
    // shows a message box, its answer waits for the user.
    const QDBusMessage reply = bus.call(call, QDBus::Block, std::numeric_limits<int>::max());
    if (reply.type() == QDBusMessage::ErrorMessage) {
        return Fail(Explain(reply));
    }
    const QList<QVariant> values = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 1
        || values.front().metaType() != QMetaType::fromType<int>()) {
        return Fail("unexpected answer (not one 32-bit signed number) from "
                    + std::string(ServiceName));
    }
    std::printf("%d\n", values.front().toInt());
    return ExitAnswered;
}
