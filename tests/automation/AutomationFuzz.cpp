// A robustness client for the automation interface of a running kestrel: a
// seeded stream of arbitrary (message, wParam, lParam) triples over one
// session-bus connection, with arbitrary texts, bytes and pictures put on the
// clipboard between them. Every answer must be one its message can give, no
// call may go unanswered, and the program must still answer at the end.
//
// The bus names are written out here rather than taken from the program's
// headers: this is a client of the published interface, and a change to it
// must break this test as it would break every other client.
//
// Usage: automation_fuzz [--seed N] [--calls N]
// Exit status 0 when every answer was acceptable, 1 otherwise.

#include <QByteArray>
#include <QClipboard>
#include <QColor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr char ServiceName[] = "org.plover.Kestrel";
constexpr char ObjectPath[] = "/Kestrel";
constexpr char InterfaceName[] = "org.plover.Kestrel.Automation";
constexpr char MethodName[] = "SendMessage";
constexpr char UnknownMessageError[] = "org.plover.Kestrel.Error.UnknownMessage";

constexpr std::uint32_t UM_CLIPTEXT = 0x465;
constexpr std::uint32_t UM_SETTYPE = 0x466;
constexpr std::uint32_t UM_SETOPTION = 0x467;
constexpr std::uint32_t UM_SETVALUE = 0x468;
constexpr std::uint32_t UM_OUTPUT = 0x469;

// Generous: a call that reads our clipboard waits on our event loop, and a
// loaded machine is slow, but no message does anything that takes seconds.
constexpr int CallTimeoutMs = 20000;
// The module text of the longest symbol (512 elements of "-2,").
constexpr int LongestModuleText = 1535;
// A picture above this many pixels is put back to the default size at once,
// so that one unlucky size does not make every following copy slow.
constexpr std::int64_t LargestPicture = 2'000'000;

struct Call {
    std::uint32_t message;
    std::uint32_t wParam;
    std::int32_t lParam;
};

struct Answer {
    enum Kind { Result, UnknownMessage, OtherError } kind;
    std::int32_t result = 0;
    QString error;
};

// Sends `message` and waits for its answer with our event loop running: a
// message that reads the clipboard asks us, its owner, for the text. None
// when not even the bus answered in time.
std::optional<QDBusMessage> AnswerTo(QDBusConnection& bus, const QDBusMessage& message)
{
    QDBusPendingCallWatcher watcher(bus.asyncCall(message, CallTimeoutMs));
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(CallTimeoutMs + 2000, &loop, &QEventLoop::quit);
    loop.exec();
    if (!watcher.isFinished()) {
        return std::nullopt;
    }
    return watcher.reply();
}

Answer Send(QDBusConnection& bus, const Call& call)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName),
                                                          QString::fromLatin1(ObjectPath),
                                                          QString::fromLatin1(InterfaceName),
                                                          QString::fromLatin1(MethodName));
    message << call.message << call.wParam << call.lParam;
    const std::optional<QDBusMessage> answered = AnswerTo(bus, message);
    if (!answered) {
        return {Answer::OtherError, 0, QStringLiteral("no answer from the bus either")};
    }
    const QDBusMessage& reply = *answered;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == QLatin1String(UnknownMessageError)) {
            return {Answer::UnknownMessage, 0, reply.errorName()};
        }
        return {Answer::OtherError, 0,
                reply.errorName() + QStringLiteral(": ") + reply.errorMessage()};
    }
    const QList<QVariant> values = reply.arguments();
    if (values.size() != 1 || values.front().metaType() != QMetaType::fromType<int>()) {
        return {Answer::OtherError, 0, QStringLiteral("not one 32-bit signed result")};
    }
    return {Answer::Result, values.front().toInt(), {}};
}

bool IsOneOfTheFive(std::uint32_t message)
{
    return message >= UM_CLIPTEXT && message <= UM_OUTPUT;
}

// The answers a message may give whatever the program's state. Where the
// answer depends on the state (the encoder, the clipboard), both outcomes
// are allowed here; the end-to-end table pins them down case by case.
bool Acceptable(const Call& call, std::int32_t result)
{
    const std::uint32_t w = call.wParam;
    switch (call.message) {
    case UM_CLIPTEXT:
        if (w == 0) {
            return result == -1 || result == -2 || (result >= 0 && result <= LongestModuleText);
        }
        if (w == 1) {
            return result == 0;  // whatever became of the picture
        }
        return result == -1;
    case UM_SETTYPE: return result == (w <= 11 ? 0 : -1);
    case UM_SETOPTION: return result == (w <= 4 ? 0 : -1);
    case UM_SETVALUE:
        if (w <= 3) {
            return result == 0;
        }
        if (w == 4) {
            return result == (call.lParam >= 10 && call.lParam <= 200 ? 0 : -1);
        }
        return result == -1;
    case UM_OUTPUT: return w <= 1 ? (result == 0 || result == -1) : result == -1;
    default: return false;
    }
}

class Stream {
public:
    explicit Stream(std::uint32_t seed) : random_(seed) {}

    int Between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    std::uint32_t Any32() { return static_cast<std::uint32_t>(random_()); }

    template <typename T, std::size_t N>
    T Pick(const std::array<T, N>& values)
    {
        return values[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
    }

    Call Next()
    {
        static constexpr std::array<std::uint32_t, 5> Five{UM_CLIPTEXT, UM_SETTYPE, UM_SETOPTION,
                                                           UM_SETVALUE, UM_OUTPUT};
        static constexpr std::array<std::uint32_t, 8> Others{
            0, 1, 0x400, 0x464, 0x46A, 0x80000466, 0xFFFFFFFF, 0x10465};
        Call call{};
        if (Chance(92)) {
            call.message = Pick(Five);
        } else {
            call.message = Chance(70) ? Pick(Others) : Any32();
        }
        call.wParam = NextSelector(call.message);
        call.lParam = NextValue(call.message, call.wParam);
        return call;
    }

    std::mt19937& Engine() { return random_; }

private:
    std::uint32_t NextSelector(std::uint32_t message)
    {
        static constexpr std::array<std::uint32_t, 8> Edges{
            13, 255, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x10000, 0x10001};
        if (Chance(15)) {
            return Chance(60) ? Pick(Edges) : Any32();
        }
        switch (message) {
        case UM_CLIPTEXT: return static_cast<std::uint32_t>(Between(0, 9) < 6 ? 0 : Between(1, 2));
        // The file is rare: most output goes to the clipboard.
        case UM_OUTPUT: return static_cast<std::uint32_t>(Chance(85) ? 0 : Between(1, 3));
        case UM_SETVALUE:
            return static_cast<std::uint32_t>(Chance(85) ? Pick(ValueSelectors) : Between(5, 12));
        default: return static_cast<std::uint32_t>(Between(0, 12));
        }
    }

    std::int32_t Pack(int low, int high)
    {
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16)
                                         | (static_cast<std::uint32_t>(low) & 0xFFFFU));
    }

    std::int32_t NextValue(std::uint32_t message, std::uint32_t wParam)
    {
        static constexpr std::array<std::int32_t, 16> Edges{
            0,         1,         -1,         2,
            9,         10,        200,        201,
            0x7FFF,    0x8000,    0xFFFF,     0x10000,
            INT32_MAX, INT32_MIN, 0x7FFF7FFF, static_cast<std::int32_t>(0x80008000U)};
        // Nine in ten sizes, margins and narrow widths stay sensible, so the
        // copies stay small and the run short; the tenth is anything.
        const bool sensible = Chance(90);
        if (message == UM_SETVALUE && sensible) {
            switch (wParam) {
            case 0: return Pack(Between(1, 600), Between(1, 300));
            case 1: return Pack(Between(0, 100), Between(0, 100));
            case 2: return Between(1, 8);
            case 3: return Pack(Between(0, 255), Between(0, 255));
            case 4: return Between(0, 260);
            default: break;
            }
        }
        if (message == UM_SETTYPE && Chance(80)) {
            return 0;
        }
        if (Chance(40)) {
            return Pick(Edges);
        }
        return Chance(50) ? Between(-1000, 100000) : static_cast<std::int32_t>(Any32());
    }

    static constexpr std::array<std::uint32_t, 6> ValueSelectors{0, 1, 2, 3, 4, 10};
    std::mt19937 random_;
};

// Something for the next message to find on the clipboard: data of every
// symbology, text code page 932 cannot hold, lines, bytes that are not
// UTF-8, a picture and no text at all.
void PutOnClipboard(QClipboard& clipboard, Stream& stream)
{
    static const std::array<QString, 14> Texts{
        QStringLiteral("4901234567894"),
        QStringLiteral("4901234567894\r\nsecond line"),
        QStringLiteral("49012345"),
        QStringLiteral("*KESTREL-39*"),
        QStringLiteral("A40156B"),
        QStringLiteral("Code 128 ~ {|}"),
        QStringLiteral("1234567890"),
        QStringLiteral("バーコード１２３"),
        QStringLiteral("ｶﾀｶﾅ"),
        QStringLiteral("emoji \U0001F600 and \u00E9"),
        QStringLiteral("\n\n\n"),
        QStringLiteral(""),
        QStringLiteral("-7"),
        QStringLiteral("\t\x01\x7f"),
    };
    auto mime = std::make_unique<QMimeData>();
    switch (stream.Between(0, 6)) {
    case 0:
    case 1:
    case 2:
        mime->setText(
            Texts[static_cast<std::size_t>(stream.Between(0, static_cast<int>(Texts.size()) - 1))]);
        break;
    case 3: {  // printable ASCII, sometimes far longer than any code text
        QString text;
        const int length = stream.Chance(20) ? stream.Between(129, 5000) : stream.Between(0, 128);
        for (int i = 0; i < length; ++i) {
            text += QChar(stream.Between(0x20, 0x7E));
        }
        mime->setText(text);
        break;
    }
    case 4: {  // bytes offered as text, most of them not UTF-8
        QByteArray bytes;
        const int length = stream.Between(0, 400);
        for (int i = 0; i < length; ++i) {
            bytes.append(static_cast<char>(stream.Between(0, 255)));
        }
        mime->setData(QStringLiteral("text/plain"), bytes);
        break;
    }
    case 5: {  // a picture and no text
        QImage image(stream.Between(1, 64), stream.Between(1, 64), QImage::Format_RGB32);
        image.fill(QColor::fromRgb(stream.Any32() & 0xFFFFFFU));
        mime->setImageData(image);
        break;
    }
    default: clipboard.clear(); return;
    }
    clipboard.setMimeData(mime.release());
}

QString Describe(const Call& call)
{
    return QStringLiteral("(0x%1, 0x%2, %3)")
        .arg(call.message, 0, 16)
        .arg(call.wParam, 0, 16)
        .arg(call.lParam);
}

}  // namespace

// --- The typed interface -----------------------------------------------------

constexpr char TypedPath[] = "/org/plover/Kestrel";
constexpr char TypedInterface[] = "org.plover.Kestrel1";
constexpr char TypedErrorPrefix[] = "org.plover.Kestrel1.Error.";

constexpr char PropertiesInterface[] = "org.freedesktop.DBus.Properties";

// A method of the typed interface, or a property call on its object, with
// arguments of the right types or not.
struct TypedCall {
    QString method;
    QList<QVariant> arguments;
    QString interface = QString::fromLatin1(TypedInterface);
};

QString RandomText(Stream& stream)
{
    static const std::array<QString, 10> pieces{QStringLiteral("490123456789"),
                                                QStringLiteral("4901234567894"),
                                                QStringLiteral("KESTREL"),
                                                QStringLiteral("A1B2"),
                                                QStringLiteral("ｶﾅ"),
                                                QStringLiteral("商品"),
                                                QStringLiteral("😀"),
                                                QStringLiteral("\t\n"),
                                                QStringLiteral("-$/+%"),
                                                QString()};
    QString text;
    const int parts = stream.Between(0, 4);
    for (int i = 0; i < parts; ++i) {
        text += stream.Pick(pieces);
    }
    if (stream.Between(0, 40) == 0) {
        text = QString(stream.Between(129, 200'000), QChar(u'7'));  // far past any limit
    }
    return text;
}

QVariant RandomValue(Stream& stream)
{
    switch (stream.Between(0, 5)) {
    case 0:  // mostly sizes that draw quickly, now and then the largest
        return QVariant::fromValue(stream.Between(0, 49) == 0 ? stream.Between(600, 10'050)
                                                              : stream.Between(-5, 600));
    case 1: return QVariant::fromValue(stream.Between(0, 1) == 1);
    case 2: return QVariant::fromValue(RandomText(stream));
    case 3: return QVariant::fromValue(static_cast<uint>(stream.Engine()()));
    case 4: return QVariant::fromValue(static_cast<double>(stream.Between(-3, 300)) / 2.0);
    default: return QVariant::fromValue(stream.Between(1, 200));
    }
}

// Get, Set and GetAll with real and unknown names, other interfaces, values
// of every type (wrapped in a variant as Set takes them), and now and then
// arguments that do not fit the call at all.
TypedCall NextPropertyCall(Stream& stream)
{
    static const std::array<QString, 10> names{
        QStringLiteral("Width"),     QStringLiteral("NarrowWidth"),
        QStringLiteral("Symbology"), QStringLiteral("SymbologyIndex"),
        QStringLiteral("AutoAdd"),   QStringLiteral("Ratio"),
        QStringLiteral("CodeText"),  QStringLiteral("width"),
        QStringLiteral("Colour"),    QString()};
    static const std::array<QString, 4> interfaces{QString::fromLatin1(TypedInterface),
                                                   QString::fromLatin1(TypedInterface), QString(),
                                                   QStringLiteral("org.example.None")};
    const QString properties = QString::fromLatin1(PropertiesInterface);
    const QString interface = stream.Pick(interfaces);
    const QString name = stream.Pick(names);
    switch (stream.Between(0, 5)) {
    case 0: return {QStringLiteral("GetAll"), {interface}, properties};
    case 1: return {QStringLiteral("Get"), {interface, name}, properties};
    case 2:  // a value that is not wrapped in a variant
        return {QStringLiteral("Set"), {interface, name, RandomValue(stream)}, properties};
    default:
        return {QStringLiteral("Set"),
                {interface, name, QVariant::fromValue(QDBusVariant(RandomValue(stream)))},
                properties};
    }
}

TypedCall NextTyped(Stream& stream, const QString& folder)
{
    static const std::array<QString, 9> keys{
        QStringLiteral("width"),     QStringLiteral("height"),      QStringLiteral("leftMargin"),
        QStringLiteral("topMargin"), QStringLiteral("narrowWidth"), QStringLiteral("textHeight"),
        QStringLiteral("check"),     QStringLiteral("autoAdd"),     QStringLiteral("ratio")};
    static const std::array<QString, 8> symbologies{
        QStringLiteral("jan13"),   QStringLiteral("code39"),  QStringLiteral("CODE128"),
        QStringLiteral("codabar"), QStringLiteral("itf"),     QStringLiteral("qr"),
        QStringLiteral(""),        QStringLiteral("code11-2")};
    static const std::array<QString, 6> formats{QStringLiteral("png"), QStringLiteral("bmp"),
                                                QStringLiteral("svg"), QStringLiteral("pdf"),
                                                QStringLiteral("gif"), QString()};
    const std::array<QString, 6> paths{
        folder + QStringLiteral("/out.png"),      folder + QStringLiteral("/out.bmp"),
        QStringLiteral("/proc/kestrel-fuzz.png"), QStringLiteral("/nonexistent/folder/x.pdf"),
        QStringLiteral("relative.svg"),           folder};  // a folder, not a file
    switch (stream.Between(0, 13)) {
    case 0: return {QStringLiteral("SetText"), {RandomText(stream)}};
    case 1: return {QStringLiteral("SetSymbology"), {stream.Pick(symbologies)}};
    case 2:
        return {QStringLiteral("SetSymbologyIndex"), {static_cast<uint>(stream.Between(0, 14))}};
    case 3:
    case 4: {
        QVariantMap values;
        for (int n = stream.Between(0, 3); n > 0; --n) {
            values.insert(stream.Pick(keys), RandomValue(stream));
        }
        return {stream.Between(0, 1) == 0 ? QStringLiteral("SetGeometry")
                                          : QStringLiteral("SetOptions"),
                {values}};
    }
    case 5:
    case 6: return {QStringLiteral("Accept"), {}};
    case 7: return {QStringLiteral("ModuleText"), {}};
    case 8: return {QStringLiteral("Render"), {stream.Pick(formats)}};
    case 9: return {QStringLiteral("Save"), {stream.Pick(paths), stream.Pick(formats)}};
    case 10:  // arguments of the wrong types or number
        return {stream.Between(0, 1) == 0 ? QStringLiteral("SetText") : QStringLiteral("Render"),
                {QVariant::fromValue(stream.Between(0, 9)), QVariant::fromValue(true)}};
    case 11: return {QStringLiteral("NoSuchMethod"), {}};
    default: return NextPropertyCall(stream);
    }
}

// Empty when the answer is one the typed interface may give: a reply, an
// error of its own, or the bus's refusal of a call that does not fit a
// method; else what was wrong.
QString CheckTypedAnswer(const TypedCall& call, const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage) {
        // A property read answers exactly one value: a variant, or a map.
        const bool read = call.interface == QLatin1String(PropertiesInterface)
                          && call.method.startsWith(QLatin1String("Get"));
        return !read || reply.arguments().size() == 1
                   ? QString()
                   : QStringLiteral("a property read answered %1 values")
                         .arg(reply.arguments().size());
    }
    const QString name = reply.errorName();
    static const std::array<QLatin1String, 5> busErrors{
        QLatin1String("org.freedesktop.DBus.Error.InvalidArgs"),
        QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"),
        QLatin1String("org.freedesktop.DBus.Error.UnknownProperty"),
        QLatin1String("org.freedesktop.DBus.Error.UnknownInterface"),
        QLatin1String("org.freedesktop.DBus.Error.PropertyReadOnly")};
    if (name.startsWith(QLatin1String(TypedErrorPrefix))
        || std::find(busErrors.begin(), busErrors.end(), name) != busErrors.end()) {
        return reply.errorMessage().isEmpty()
                   ? QStringLiteral("an error without a message: ") + name
                   : QString();
    }
    return name + QStringLiteral(": ") + reply.errorMessage();
}

QDBusMessage SendTyped(QDBusConnection& bus, const TypedCall& call)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName),
                                                          QString::fromLatin1(TypedPath),
                                                          call.interface, call.method);
    message.setArguments(call.arguments);
    return AnswerTo(bus, message)
        .value_or(QDBusMessage::createError(QStringLiteral("fuzz.NoAnswer"),
                                            QStringLiteral("no answer at all")));
}

// One of several clients at once: typed calls only, every answer checked.
int RunTypedClient(std::uint32_t seed, int calls, const QString& folder)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    Stream stream(seed);
    int failures = 0;
    std::map<std::string, int> tally;
    for (int index = 0; index < calls; ++index) {
        const TypedCall call = NextTyped(stream, folder);
        const QDBusMessage reply = SendTyped(bus, call);
        const QString wrong = CheckTypedAnswer(call, reply);
        ++tally[(call.method + QStringLiteral(" -> ")
                 + (reply.type() == QDBusMessage::ReplyMessage
                        ? QStringLiteral("reply")
                        : reply.errorName().section(QLatin1Char('.'), -1)))
                    .toStdString()];
        if (!wrong.isEmpty() && ++failures <= 20) {
            std::fprintf(stderr, "typed call %d %s: %s\n", index, qPrintable(call.method),
                         qPrintable(wrong.left(300)));
        }
        if (wrong.startsWith(QLatin1String("fuzz.NoAnswer"))
            || wrong.startsWith(QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))) {
            break;  // gone or hung: every further call would say the same
        }
    }
    std::printf("typed client, seed %u: %d calls, %d failures\n", seed, calls, failures);
    for (const auto& [what, count] : tally) {
        std::printf("  %-36s %6d\n", what.c_str(), count);
    }
    return failures == 0 ? 0 : 1;
}

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    std::uint32_t seed = 20240611;
    int calls = 10000;
    QString typedFolder;  // --typed FOLDER: a typed-interface client
    const QStringList arguments = application.arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--seed")) {
            seed = arguments[i + 1].toUInt();
        } else if (arguments[i] == QLatin1String("--calls")) {
            calls = arguments[i + 1].toInt();
        } else if (arguments[i] == QLatin1String("--typed")) {
            typedFolder = arguments[i + 1];
        }
    }
    if (!typedFolder.isEmpty()) {
        return RunTypedClient(seed, calls, typedFolder);
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no session bus\n");
        return 1;
    }
    QClipboard& clipboard = *QGuiApplication::clipboard();
    Stream stream(seed);

    int failures = 0;
    auto report = [&](int index, const Call& call, const QString& what) {
        if (++failures <= 20) {
            std::fprintf(stderr, "call %d %s: %s\n", index, qPrintable(Describe(call)),
                         qPrintable(what));
        }
    };

    // Our own account of the picture size, to put back a huge one at once.
    std::int64_t width = 300;
    std::int64_t height = 150;
    std::map<std::string, int> tally;
    const QRegularExpression moduleText(QStringLiteral("^(-?[12]?)(,-?[12]?)*$"));
    QElapsedTimer clock;
    clock.start();
    int nextClipboard = stream.Between(30, 70);
    int sent = 0;
    for (int index = 0; index < calls; ++index) {
        if (--nextClipboard == 0) {
            PutOnClipboard(clipboard, stream);
            nextClipboard = stream.Between(30, 70);
        }
        const Call call = stream.Next();
        const Answer answer = Send(bus, call);
        ++sent;
        if (answer.kind == Answer::OtherError) {
            // No answer, or the name has gone: kestrel hangs or has died, and
            // every further call would only say the same.
            report(index, call, QStringLiteral("no result: ") + answer.error);
            break;
        }
        if (answer.kind == Answer::UnknownMessage) {
            ++tally["unknown message"];
            if (IsOneOfTheFive(call.message)) {
                report(index, call, QStringLiteral("refused as an unknown message"));
            }
            continue;
        }
        ++tally[QStringLiteral("0x%1 -> %2")
                    .arg(call.message, 0, 16)
                    .arg(answer.result < 0 ? QString::number(answer.result) : QStringLiteral("0+"))
                    .toStdString()];
        if (!IsOneOfTheFive(call.message)) {
            report(index, call,
                   QStringLiteral("answered %1, expected %2")
                       .arg(answer.result)
                       .arg(UnknownMessageError));
            continue;
        }
        if (!Acceptable(call, answer.result)) {
            report(index, call, QStringLiteral("answered %1").arg(answer.result));
            continue;
        }
        if (call.message == UM_CLIPTEXT && call.wParam == 0 && answer.result >= 0) {
            // The length answered is the length of the text left for us.
            // kestrel took the clipboard over to put it there; until this
            // process has handled the news, Qt may still hand back what we
            // put there ourselves, so a mismatch is given a moment first.
            QString text = clipboard.text();
            for (QDeadlineTimer deadline(2000);
                 text.size() != answer.result && !deadline.hasExpired(); text = clipboard.text()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            }
            if (text.size() != answer.result || !moduleText.match(text).hasMatch()) {
                report(index, call,
                       QStringLiteral("answered %1, clipboard holds %2 characters: %3")
                           .arg(answer.result)
                           .arg(text.size())
                           .arg(text.left(80)));
            }
        }
        if (call.message == UM_SETVALUE && call.wParam == 0) {
            const int low = static_cast<std::int16_t>(call.lParam & 0xFFFF);
            const int high = static_cast<std::int16_t>(static_cast<std::uint32_t>(call.lParam)
                                                       >> 16);
            if (low > 0 && high > 0) {
                width = low;
                height = high;
            }
            if (width * height > LargestPicture) {
                const Call restore{UM_SETVALUE, 0, (150 << 16) | 300};
                const Answer restored = Send(bus, restore);
                ++sent;
                if (restored.kind != Answer::Result || restored.result != 0) {
                    report(index, restore, QStringLiteral("size not put back: ") + restored.error);
                }
                width = 300;
                height = 150;
            }
        }
    }

    const Call last{UM_SETTYPE, 0, 0};
    const Answer answer = Send(bus, last);
    if (answer.kind != Answer::Result || answer.result != 0) {
        report(calls, last,
               QStringLiteral("the last call: %1 %2").arg(answer.result).arg(answer.error));
    }
    ++sent;

    std::printf("seed %u: %d calls in %.1f s, %d failures\n", seed, sent,
                static_cast<double>(clock.elapsed()) / 1000.0, failures);
    for (const auto& [what, count] : tally) {
        std::printf("  %-24s %6d\n", what.c_str(), count);
    }
    return failures == 0 ? 0 : 1;
}
