// Round trips of automation messages to a running kestrel over one
// session-bus connection, as a client program sees them: from sending the
// message to holding the answer (and, where it says so, the result read
// back). Prints one line per case: name, calls, median and 90th percentile
// in milliseconds. Run by bench/automation_bench.sh, which starts kestrel.
//
// Usage: automation_bench [--calls N]

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr std::uint32_t UM_CLIPTEXT = 0x465;
constexpr std::uint32_t UM_SETTYPE = 0x466;
constexpr std::uint32_t UM_OUTPUT = 0x469;

QDBusConnection& Bus()
{
    static QDBusConnection bus = QDBusConnection::sessionBus();
    return bus;
}

// Our event loop runs while we wait, as it must when kestrel reads the
// clipboard we own.
int Send(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.plover.Kestrel"), QStringLiteral("/Kestrel"),
        QStringLiteral("org.plover.Kestrel.Automation"), QStringLiteral("SendMessage"));
    call << message << wParam << lParam;
    QDBusPendingCallWatcher watcher(Bus().asyncCall(call, 20000));
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished()) {
        loop.exec();
    }
    const QDBusMessage reply = watcher.reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        std::fprintf(stderr, "0x%x %u %d: %s\n", message, wParam, lParam,
                     qPrintable(reply.errorMessage()));
        std::exit(1);
    }
    return reply.arguments().front().toInt();
}

// A typed-interface call; exits on an error, as Send does.
QDBusMessage CallTyped(const QString& method, const QList<QVariant>& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.plover.Kestrel"),
                                                       QStringLiteral("/org/plover/Kestrel"),
                                                       QStringLiteral("org.plover.Kestrel1"),
                                                       method);
    call.setArguments(arguments);
    const QDBusMessage reply = Bus().call(call, QDBus::Block, 20000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(method), qPrintable(reply.errorMessage()));
        std::exit(1);
    }
    return reply;
}

void Expect(int got, bool good, const char* what)
{
    if (!good) {
        std::fprintf(stderr, "%s answered %d\n", what, got);
        std::exit(1);
    }
}

// Runs `prepare` untimed and `timed` timed, `calls` times.
void Measure(const char* name, int calls, const std::function<void()>& prepare,
             const std::function<void()>& timed)
{
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(calls));
    QElapsedTimer clock;
    for (int i = 0; i < calls; ++i) {
        prepare();
        clock.start();
        timed();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s %6d %9.3f %9.3f\n", name, calls, ms[ms.size() / 2], ms[ms.size() * 9 / 10]);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    int calls = 1000;
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--calls")) {
        calls = std::atoi(argv[2]);
    }
    QClipboard& clipboard = *QGuiApplication::clipboard();
    const QString data = QStringLiteral("4901234567894");

    // The JAN-13 example as the current barcode, at the default size.
    Send(UM_SETTYPE, 0, 0);
    clipboard.setText(data);
    Expect(Send(UM_CLIPTEXT, 0, 0), true, "warm-up");

    Measure(
        "UM_SETTYPE 0", calls, [] {}, [] { Expect(Send(UM_SETTYPE, 0, 0), true, "UM_SETTYPE"); });
    // The typed interface on the same document: the picture's bytes in the
    // answer, and a text set, accepted and drawn in three calls.
    CallTyped(QStringLiteral("SetSymbology"), {QStringLiteral("jan13")});
    CallTyped(QStringLiteral("SetText"), {data});
    CallTyped(QStringLiteral("Accept"), {});
    Measure(
        "typed Render png (bytes in the answer)", calls / 4, [] {},
        [] {
            const QDBusMessage reply = CallTyped(QStringLiteral("Render"), {QStringLiteral("png")});
            const QByteArray png = reply.arguments().value(0).toByteArray();
            Expect(static_cast<int>(png.size()), png.startsWith("\x89PNG"), "Render png");
        });
    Measure(
        "typed SetText + Accept + Render png", calls / 4, [] {},
        [&data] {
            CallTyped(QStringLiteral("SetText"), {data});
            CallTyped(QStringLiteral("Accept"), {});
            const QDBusMessage reply = CallTyped(QStringLiteral("Render"), {QStringLiteral("png")});
            Expect(0, reply.arguments().value(0).toByteArray().startsWith("\x89PNG"), "round trip");
        });
    Measure(
        "UM_OUTPUT 1 (BarCode.bmp written)", calls / 4, [] {},
        [] {
            const int r = Send(UM_OUTPUT, 1, 0);
            Expect(r, r == 0, "UM_OUTPUT 1");
        });
    Measure(
        "UM_OUTPUT 0 (picture on the clipboard)", calls / 4, [] {},
        [] {
            const int r = Send(UM_OUTPUT, 0, 0);
            Expect(r, r == 0, "UM_OUTPUT 0");
        });
    // The client owns the clipboard with the data, as a client does.
    Measure(
        "UM_CLIPTEXT 0 (our text in)", calls / 4, [&] { clipboard.setText(data); },
        [] {
            const int r = Send(UM_CLIPTEXT, 0, 0);
            Expect(r, r > 0, "UM_CLIPTEXT 0");
        });
    Measure(
        "UM_CLIPTEXT 0 + module text read back", calls / 4, [&] { clipboard.setText(data); },
        [&] {
            const int r = Send(UM_CLIPTEXT, 0, 0);
            Expect(r, r > 0 && clipboard.text().size() == r, "UM_CLIPTEXT 0 read back");
        });
    return 0;
}
