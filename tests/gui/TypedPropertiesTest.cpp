#include "app/AutomationService.h"
#include "app/TypedAutomation.h"

#include "MainFrameTestSupport.h"
#include "render/BarCodeView.h"

#include <QDBusMetaType>
#include <QSignalSpy>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

QT_BEGIN_NAMESPACE
// Announcements in failure messages.
inline void PrintTo(const QVariantMap& values, std::ostream* out)
{
    *out << "{";
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        *out << " " << value.key().toStdString() << "=" << value.value().toString().toStdString();
    }
    *out << " }";
}
QT_END_NAMESPACE

namespace kestrel {
namespace {

// The typed interface over a real frame and document, called without a
// bus; what it announces is recorded instead of sent.
struct TypedWorld : test::FrameWorld {
    AutomationService service{context, frame};
    TypedAutomation* typed = new TypedAutomation(service);  // owned by the service
    std::vector<QVariantMap> announced;

    TypedWorld()
    {
        typed->SetChangeSink([this](const QVariantMap& changed) { announced.push_back(changed); });
    }

    // Runs `work` in the queue as a call would, and gives what was announced.
    QVariantMap Announced(const std::function<void()>& work)
    {
        announced.clear();
        service.RunInTurn(work);
        EXPECT_LE(announced.size(), 1U);
        return announced.empty() ? QVariantMap() : announced.front();
    }
};

// Name -> in-signature of each method, and name -> "type access" of each
// property, as the served description declares them.
std::pair<std::map<QString, QString>, std::map<QString, QString>> Declared(const QString& xml)
{
    std::map<QString, QString> methods;
    std::map<QString, QString> properties;
    QXmlStreamReader reader(QStringLiteral("<node>") + xml + QStringLiteral("</node>"));
    QString method;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1String("method")) {
            method = attributes.value(QLatin1String("name")).toString();
            methods[method];
        } else if (reader.name() == QLatin1String("arg")
                   && attributes.value(QLatin1String("direction")) != QLatin1String("out")) {
            methods[method] += attributes.value(QLatin1String("type")).toString();
        } else if (reader.name() == QLatin1String("property")) {
            properties[attributes.value(QLatin1String("name")).toString()] =
                attributes.value(QLatin1String("type")).toString() + QLatin1Char(' ')
                + attributes.value(QLatin1String("access")).toString();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return {methods, properties};
}

// What introspection serves is the installed description; the methods the
// object dispatches and the properties it answers must be those it declares,
// with the same types and access, or clients are told something untrue.
TEST(TypedProperties, DispatchAndValuesMatchTheServedDescription)
{
    TypedWorld world;
    const auto [declaredMethods, declaredProperties] = Declared(
        world.typed->introspect(QStringLiteral("/org/plover/Kestrel")));

    std::map<QString, QString> methods;
    for (const TypedAutomation::Method& method : TypedAutomation::Methods()) {
        methods[QString::fromLatin1(method.name)] = QString::fromLatin1(method.signature);
    }
    EXPECT_EQ(methods, declaredMethods);

    std::map<QString, QString> properties;
    const QVariantMap values = world.typed->PropertyValues();
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        properties[value.key()] =
            QString::fromLatin1(QDBusMetaType::typeToSignature(value.value().metaType()))
            + (TypedAutomation::IsWritable(value.key()) ? QStringLiteral(" readwrite")
                                                        : QStringLiteral(" read"));
    }
    EXPECT_EQ(properties, declaredProperties);
}

QVariantMap Changes(std::initializer_list<std::pair<const char*, QVariant>> values)
{
    QVariantMap map;
    for (const auto& [name, value] : values) {
        map.insert(QString::fromLatin1(name), value);
    }
    return map;
}

// Rows run in order on one document. A property is stored by its setter
// method's rules (ranges, types, the dialog's check marks); a refused value
// changes nothing and announces nothing; an accepted one announces exactly
// what changed, the values its rules changed beside it included.
TEST(TypedProperties, SetValidatesAsTheMethodsAndAnnouncesWhatChanged)
{
    const struct {
        const char* name;
        QVariant value;
        const char* error;  // the error's last part, empty for none
        QVariantMap announced;
    } rows[] = {
        {"Width", 400, "", Changes({{"Width", 400}})},
        {"Width", 400, "", {}},  // the same value again: nothing to announce
        {"NarrowWidth", QVariant::fromValue<qlonglong>(3), "", Changes({{"NarrowWidth", 3}})},
        {"NarrowWidth", QVariant::fromValue<qulonglong>(1ULL << 40), "InvalidValue", {}},
        {"Check", false, "", Changes({{"Check", false}})},
        // The code dialog's clicks: auto add on ticks the check, the check
        // off clears auto add.
        {"AutoAdd", true, "", Changes({{"AutoAdd", true}, {"Check", true}})},
        {"Check", false, "", Changes({{"Check", false}, {"AutoAdd", false}})},
        {"Check", 1, "InvalidValue", {}},
        {"ShowText", false, "", Changes({{"ShowText", false}})},
        {"BearerBars", true, "", Changes({{"BearerBars", true}})},
        {"Ratio", QStringLiteral("1:3"), "", Changes({{"Ratio", QStringLiteral("1:3")}})},
        {"Ratio", 2, "InvalidValue", {}},
        // Code 128 always draws its check character: choosing it in the
        // dialog's list ticks auto add.
        {"Symbology", QStringLiteral("Code128"), "",
         Changes({{"Symbology", QStringLiteral("code128")},
                  {"SymbologyIndex", 11U},
                  {"AutoAdd", true}})},
        {"Symbology", 5, "InvalidValue", {}},
        // A new choice in the list ticks the check where auto add is on.
        {"SymbologyIndex", 5, "",
         Changes(
             {{"Symbology", QStringLiteral("code39")}, {"SymbologyIndex", 5U}, {"Check", true}})},
        {"SymbologyIndex", -1, "UnknownSymbology", {}},
        {"SymbologyIndex", true, "InvalidValue", {}},
        {"CodeText", QStringLiteral("123"), "PropertyReadOnly", {}},
        {"width", 300, "UnknownProperty", {}},  // the method's key is not the property
    };
    TypedWorld world;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + row.value.toString().toStdString());
        const QVariantMap before = world.typed->PropertyValues();
        TypedAutomation::Answer answer;
        const QVariantMap announced = world.Announced(
            [&] { answer = world.typed->SetProperty(QString::fromLatin1(row.name), row.value); });
        EXPECT_EQ(answer.error.section(QLatin1Char('.'), -1).toStdString(), row.error)
            << answer.message.toStdString();
        EXPECT_EQ(answer.error.isEmpty(), answer.message.isEmpty());
        EXPECT_EQ(announced, row.announced);
        if (*row.error != '\0') {
            EXPECT_EQ(world.typed->PropertyValues(), before);
        }
    }
}

// Whatever changes the document announces it: the numeric messages, which
// run through the same queue (and then redraw the window, which shows the
// change at once), and the window's dialogs, which redraw the view when they
// change the barcode.
TEST(TypedProperties, NumericMessagesAndTheWindowAnnounceTheirChanges)
{
    const struct {
        const char* what;
        std::uint32_t message;
        std::uint32_t wParam;
        std::int32_t lParam;
        QVariantMap announced;
    } rows[] = {
        {"UM_SETTYPE 5", 0x466, 5, 0,
         Changes({{"Symbology", QStringLiteral("code39")}, {"SymbologyIndex", 5U}})},
        {"UM_SETTYPE 12 is refused", 0x466, 12, 0, {}},
        {"UM_SETVALUE 0: 400 x 150", 0x468, 0, (150 << 16) | 400, Changes({{"Width", 400}})},
        {"UM_SETOPTION 1 off", 0x467, 1, 0, Changes({{"ShowText", false}})},
        // Completed as Code 39 texts are, with its start and stop '*'.
        {"UM_SETVALUE 10: a text", 0x468, 10, 4711,
         Changes({{"CodeText", QStringLiteral("*4711*")}})},
        {"an unknown message", 0x400, 0, 0, {}},
    };
    TypedWorld world;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        world.announced.clear();
        const QSignalSpy redrawn(world.frame.View(), &CBarCodeView::Updated);
        world.service.Submit({row.message, row.wParam, row.lParam},
                             [](std::optional<std::int32_t>) {});
        EXPECT_EQ(world.announced.empty() ? QVariantMap() : world.announced.back(), row.announced);
        EXPECT_EQ(redrawn.count() > 0, !row.announced.isEmpty());
    }
    // A dialog's OK stores into the document and redraws the view.
    world.announced.clear();
    world.doc.Height = 99;
    world.frame.View()->OnUpdate();
    ASSERT_EQ(world.announced.size(), 1U);
    EXPECT_EQ(world.announced.front(), Changes({{"Height", 99}}));
}

}  // namespace
}  // namespace kestrel
