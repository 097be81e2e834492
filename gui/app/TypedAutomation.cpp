#include "app/TypedAutomation.h"

#include "app/ApplicationContext.h"
#include "app/AutomationService.h"
#include "app/MainFrame.h"
#include "app/TypedInterfaceXml.h"
#include "dbus/AutomationBus.h"
#include "document/BarCodeDoc.h"
#include "document/CodeEntry.h"
#include "document/StoredStyle.h"
#include "export/QtPictureExports.h"
#include "profile/ProfileSchema.h"
#include "render/BarCodeView.h"
#include "render/QtRasterFallback.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"
#include "text/Cp932.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

using Answer = TypedAutomation::Answer;

constexpr char PropertiesInterface[] = "org.freedesktop.DBus.Properties";

// An error of the interface's own, by its short name.
Answer Error(const char* name, const QString& message)
{
    return {QVariant(),
            QString::fromLatin1(automation_bus::typed::ErrorPrefix) + QLatin1String(name), message};
}

// One of the bus's own standard errors (org.freedesktop.DBus.Error.UnknownProperty, ...).
Answer BusError(const char* name, const QString& message)
{
    return {QVariant(), QStringLiteral("org.freedesktop.DBus.Error.") + QLatin1String(name),
            message};
}

// The code dialog's numbers by the names clients give them.
struct NamedNumber {
    const char* name;
    CodeNumber number;
    int CBarCodeDoc::*field;
};
constexpr std::array<NamedNumber, CodeNumberCount> GeometryNames{{
    {"width", CodeNumber::Width, &CBarCodeDoc::Width},
    {"height", CodeNumber::Height, &CBarCodeDoc::Height},
    {"leftMargin", CodeNumber::LeftMargin, &CBarCodeDoc::Xmargin},
    {"topMargin", CodeNumber::TopMargin, &CBarCodeDoc::Ymargin},
    {"narrowWidth", CodeNumber::NarrowWidth, &CBarCodeDoc::NWidth},
    {"textHeight", CodeNumber::TextHeight, &CBarCodeDoc::CodeHigh},
}};

// The code dialog's check marks by name.
struct NamedFlag {
    const char* name;
    int CBarCodeDoc::*field;
};
constexpr std::array<NamedFlag, 4> FlagNames{{
    {"check", &CBarCodeDoc::Check},
    {"showText", &CBarCodeDoc::DispCode},
    {"autoAdd", &CBarCodeDoc::AutoAdd},
    {"bearerBars", &CBarCodeDoc::Case},
}};

// The ratio choices as the dialog lists them, by the document's Aspect.
constexpr std::array<const char*, 3> RatioNames{"1:2", "2:5", "1:3"};

// Whole numbers of any D-Bus integer type; none for anything else (a
// boolean or a string is not quietly taken for a number).
std::optional<long long> WholeNumber(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong: return value.toLongLong();
    case QMetaType::ULongLong: {
        const qulonglong number = value.toULongLong();
        return number > 0x7FFFFFFFULL ? 0x7FFFFFFFLL + 1 : static_cast<long long>(number);
    }
    default: return std::nullopt;
    }
}

QString KnownNames(const auto& table)
{
    QStringList names;
    for (const auto& row : table) {
        names << QString::fromLatin1(row.name);
    }
    return names.join(QStringLiteral(", "));
}

std::optional<PictureFormat> NamedFormat(const QString& format)
{
    return FormatFromKey(format.toStdString());
}

QString FormatError(const QString& format)
{
    return QStringLiteral("unknown picture format '%1' (bmp, png, svg or pdf)").arg(format);
}

// The property of a named value: its name with a capital ("width" is
// Width, "bearerBars" BearerBars).
QString PropertyName(const char* key)
{
    QString name = QString::fromLatin1(key);
    name[0] = name[0].toUpper();
    return name;
}

// The index of a symbology by key or list name, in any case; -1 for none.
int SymbologyIndexOf(const QString& symbology)
{
    for (int candidate = 0; candidate < SymbologyCount; ++candidate) {
        const auto at = static_cast<std::size_t>(candidate);
        for (const std::string_view known : {SymbologyKeys[at], SymbologyNames[at]}) {
            if (QString::fromUtf8(known.data(), static_cast<qsizetype>(known.size()))
                    .compare(symbology, Qt::CaseInsensitive)
                == 0) {
                return candidate;
            }
        }
    }
    return -1;
}

// An a{sv} argument: still marshalled when it came over the bus.
QVariantMap MapArgument(const QVariant& argument)
{
    if (argument.metaType() == QMetaType::fromType<QDBusArgument>()) {
        return qdbus_cast<QVariantMap>(argument.value<QDBusArgument>());
    }
    return argument.toMap();
}

QString Signature(const char* types)
{
    return QString::fromLatin1(types);
}

}  // namespace

TypedAutomation::TypedAutomation(AutomationService& service)
    : QDBusVirtualObject(&service), service_(service), exports_(StandardExports())
{
    announced_ = PropertyValues();
    // Every call of either interface, and every dialog that changed the
    // barcode, may have changed a setting.
    connect(&service, &AutomationService::CallFinished, this,
            &TypedAutomation::PublishAndShowChanges);
    connect(service.Frame().View(), &CBarCodeView::Updated, this, &TypedAutomation::PublishChanges);
}

const std::vector<TypedAutomation::Method>& TypedAutomation::Methods()
{
    using Arguments = const QVariantList&;
    static const std::vector<Method> methods{
        {"SetText", "s",
         [](TypedAutomation& typed, Arguments in) { return typed.DoSetText(in[0].toString()); }},
        {"SetSymbology", "s",
         [](TypedAutomation& typed, Arguments in) {
             return typed.DoSetSymbologyByName(in[0].toString());
         }},
        {"SetSymbologyIndex", "u",
         [](TypedAutomation& typed, Arguments in) {
             return typed.DoSetSymbologyIndex(in[0].toLongLong());
         }},
        {"SetGeometry", "a{sv}",
         [](TypedAutomation& typed, Arguments in) {
             return typed.DoSetGeometry(MapArgument(in[0]));
         }},
        {"SetOptions", "a{sv}",
         [](TypedAutomation& typed, Arguments in) {
             return typed.DoSetOptions(MapArgument(in[0]));
         }},
        {"Accept", "", [](TypedAutomation& typed, Arguments) { return typed.DoAccept(); }},
        {"ModuleText", "", [](TypedAutomation& typed, Arguments) { return typed.DoModuleText(); }},
        {"Render", "s",
         [](TypedAutomation& typed, Arguments in) { return typed.DoRender(in[0].toString()); }},
        {"Save", "ss",
         [](TypedAutomation& typed, Arguments in) {
             return typed.DoSave(in[0].toString(), in[1].toString());
         }},
    };
    return methods;
}

QString TypedAutomation::introspect(const QString& /*path*/) const
{
    // The <interface> element of the installed description; QtDBus adds
    // the standard interfaces around it.
    const QString xml = QString::fromUtf8(TypedInterfaceXml);
    const qsizetype begin = xml.indexOf(QLatin1String("<interface"));
    const QLatin1String close("</interface>");
    const qsizetype end = xml.lastIndexOf(close);
    return begin < 0 || end < begin ? QString() : xml.mid(begin, end + close.size() - begin) + '\n';
}

bool TypedAutomation::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    const QString interface = message.interface();
    std::function<Answer()> work;
    if (interface == QLatin1String(PropertiesInterface)) {
        work = PropertyWork(message);
    } else if (interface == QLatin1String(automation_bus::typed::InterfaceName)
               || (interface.isEmpty() && message.member() != QLatin1String("Introspect"))) {
        work = WorkFor(message);
    } else {
        return false;  // introspection, or an interface QtDBus answers is not here
    }
    InTurn(message, connection, std::move(work));
    return true;
}

std::function<TypedAutomation::Answer()> TypedAutomation::WorkFor(const QDBusMessage& request)
{
    const QString member = request.member();
    const auto& methods = Methods();
    const auto method = std::find_if(methods.begin(), methods.end(), [&member](const Method& row) {
        return member == QLatin1String(row.name);
    });
    if (method == methods.end()) {
        return [member] {
            return BusError("UnknownMethod",
                            QStringLiteral("no method %1 on org.plover.Kestrel1").arg(member));
        };
    }
    if (request.signature() != Signature(method->signature)) {
        return [member, given = request.signature(), wanted = Signature(method->signature)] {
            return BusError("InvalidArgs",
                            QStringLiteral("%1 takes (%2), not (%3)").arg(member, wanted, given));
        };
    }
    return [this, run = method->run, arguments = request.arguments()] {
        return run(*this, arguments);
    };
}

std::function<TypedAutomation::Answer()> TypedAutomation::PropertyWork(const QDBusMessage& request)
{
    const QString member = request.member();
    const QString signature = request.signature();
    const QVariantList arguments = request.arguments();
    const bool fits = (member == QLatin1String("Get") && signature == QLatin1String("ss"))
                      || (member == QLatin1String("Set") && signature == QLatin1String("ssv"))
                      || (member == QLatin1String("GetAll") && signature == QLatin1String("s"));
    if (!fits) {
        return [member, signature] {
            return BusError("InvalidArgs",
                            QStringLiteral("no %1(%2) in %3")
                                .arg(member, signature, QLatin1String(PropertiesInterface)));
        };
    }
    const QString interface = arguments[0].toString();
    const QString name = arguments.size() > 1 ? arguments[1].toString() : QString();
    return [this, member, interface, name, arguments]() -> Answer {
        if (!interface.isEmpty()
            && interface != QLatin1String(automation_bus::typed::InterfaceName)) {
            return BusError("UnknownInterface",
                            QStringLiteral("no interface %1 with properties here").arg(interface));
        }
        const QVariantMap values = PropertyValues();
        if (member == QLatin1String("GetAll")) {
            return {values, {}, {}};
        }
        if (member == QLatin1String("Set")) {
            return SetProperty(name, arguments[2].value<QDBusVariant>().variant());
        }
        if (!values.contains(name)) {
            return BusError("UnknownProperty",
                            QStringLiteral("no property %1 on org.plover.Kestrel1").arg(name));
        }
        return {QVariant::fromValue(QDBusVariant(values.value(name))), {}, {}};
    };
}

void TypedAutomation::InTurn(const QDBusMessage& request, const QDBusConnection& connection,
                             std::function<Answer()> work)
{
    // Answered from the queue, as SendMessage is: at once when nothing is
    // running, otherwise after the running call. Once the program starts to
    // quit nothing more runs, and the call gets the quitting error.
    QDBusConnection caller = connection;
    if (service_.RefuseWhileQuitting(request, caller)) {
        return;
    }
    service_.RunInTurn([this, work = std::move(work), request, bus = caller]() mutable {
        if (service_.RefuseWhileQuitting(request, bus)) {
            return;
        }
        const Answer answer = work();
        // Announced before the answer: a client holding the answer of a
        // call that changed a setting has the news of it already.
        PublishAndShowChanges();
        if (!answer.error.isEmpty()) {
            bus.send(request.createErrorReply(answer.error, answer.message));
        } else if (answer.value.isValid()) {
            bus.send(request.createReply(answer.value));
        } else {
            bus.send(request.createReply());
        }
    });
}

QVariantMap TypedAutomation::PropertyValues() const
{
    const CBarCodeDoc& doc = service_.Context().doc;
    QVariantMap values;
    const std::string_view key = SymbologyKeys[static_cast<std::size_t>(doc.CodeType)];
    values.insert(QStringLiteral("Symbology"),
                  QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    values.insert(QStringLiteral("SymbologyIndex"),
                  QVariant::fromValue(static_cast<uint>(doc.CodeType)));
    for (const NamedNumber& row : GeometryNames) {
        values.insert(PropertyName(row.name), QVariant::fromValue(doc.*row.field));
    }
    for (const NamedFlag& row : FlagNames) {
        values.insert(PropertyName(row.name), QVariant::fromValue(doc.*row.field != 0));
    }
    const bool knownRatio = doc.Aspect >= 0 && doc.Aspect < static_cast<int>(RatioNames.size());
    values.insert(QStringLiteral("Ratio"),
                  QString::fromLatin1(knownRatio ? RatioNames[static_cast<std::size_t>(doc.Aspect)]
                                                 : ""));
    values.insert(QStringLiteral("CodeText"), Cp932ToQString(doc.CodeText));
    return values;
}

bool TypedAutomation::IsWritable(const QString& name)
{
    // The text is the code dialog's: SetText holds it and Accept completes
    // it, so a written value would not read back as written.
    return name != QLatin1String("CodeText");
}

TypedAutomation::Answer TypedAutomation::SetProperty(const QString& name, const QVariant& value)
{
    if (!PropertyValues().contains(name)) {
        return BusError("UnknownProperty",
                        QStringLiteral("no property %1 on org.plover.Kestrel1").arg(name));
    }
    if (!IsWritable(name)) {
        return BusError("PropertyReadOnly",
                        QStringLiteral("%1 is read only: SetText and Accept change it").arg(name));
    }
    // Each property is stored by its setter method's own checks and rules.
    if (name == QLatin1String("Symbology")) {
        if (value.metaType().id() != QMetaType::QString) {
            return Error("InvalidValue", QStringLiteral("Symbology must be a string"));
        }
        return DoSetSymbologyByName(value.toString());
    }
    if (name == QLatin1String("SymbologyIndex")) {
        const std::optional<long long> number = WholeNumber(value);
        if (!number) {
            return Error("InvalidValue", QStringLiteral("SymbologyIndex must be a whole number"));
        }
        return DoSetSymbologyIndex(*number);
    }
    QString key = name;
    key[0] = key[0].toLower();
    const bool geometry = std::any_of(GeometryNames.begin(), GeometryNames.end(),
                                      [&key](const NamedNumber& row) {
                                          return key == QLatin1String(row.name);
                                      });
    const QVariantMap values{{key, value}};
    return geometry ? DoSetGeometry(values) : DoSetOptions(values);
}

void TypedAutomation::PublishAndShowChanges()
{
    if (PublishChanges()) {
        service_.Frame().View()->OnUpdate();
    }
}

bool TypedAutomation::PublishChanges()
{
    const QVariantMap now = PropertyValues();
    QVariantMap changed;
    for (auto value = now.cbegin(); value != now.cend(); ++value) {
        if (announced_.value(value.key()) != value.value()) {
            changed.insert(value.key(), value.value());
        }
    }
    announced_ = now;
    if (!changed.isEmpty() && changeSink_) {
        changeSink_(changed);
    }
    return !changed.isEmpty();
}

Answer TypedAutomation::DoSetText(const QString& text)
{
    // The bus lets only valid UTF-8 through as a string; what is left to
    // refuse is a character code page 932 has no code for.
    CodeText converted;
    if (!QStringToCp932(text, converted)) {
        return Error("InvalidText",
                     QStringLiteral("the text has a character code page 932 cannot hold"));
    }
    if (!CodeEntry::CodeTextFits(converted)) {
        return Error("TextTooLong", QStringLiteral("%1 bytes in code page 932, at most %2")
                                        .arg(converted.size())
                                        .arg(CodeEntry::MaxCodeTextBytes));
    }
    // Held until Accept, as the code box holds what is typed until OK: the
    // document never shows a text the rules have not accepted.
    typedText_ = std::move(converted);
    return {};
}

Answer TypedAutomation::DoSetSymbologyByName(const QString& symbology)
{
    const int index = SymbologyIndexOf(symbology);
    if (index < 0) {
        QStringList keys;
        for (const std::string_view key : SymbologyKeys) {
            keys << QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
        }
        return Error("UnknownSymbology", QStringLiteral("unknown symbology '%1' (%2)")
                                             .arg(symbology, keys.join(QStringLiteral(", "))));
    }
    return DoSetSymbology(index);
}

Answer TypedAutomation::DoSetSymbologyIndex(long long index)
{
    if (index < 0 || index >= SymbologyCount) {
        return Error("UnknownSymbology", QStringLiteral("symbology %1 does not exist (0 to %2)")
                                             .arg(index)
                                             .arg(SymbologyCount - 1));
    }
    return DoSetSymbology(static_cast<int>(index));
}

Answer TypedAutomation::DoSetSymbology(int index)
{
    // As choosing in the dialog's list does: a symbology that always draws
    // its check characters ticks auto add, without which no reader accepts
    // its symbol.
    CBarCodeDoc& doc = service_.Context().doc;
    CodeEntry entry;
    entry.FillFrom(doc);
    const CodeEntryEnabling marks = entry.SelectionChanged(index);
    doc.CodeType = index;
    doc.Check = marks.checkMark;
    doc.AutoAdd = marks.autoAddMark;
    return {};
}

Answer TypedAutomation::DoSetGeometry(const QVariantMap& values)
{
    // Every value is checked before any is stored: a refused call changes
    // nothing.
    std::vector<std::pair<int CBarCodeDoc::*, int>> changes;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        const auto* const named = std::find_if(GeometryNames.begin(), GeometryNames.end(),
                                               [&value](const NamedNumber& row) {
                                                   return value.key() == QLatin1String(row.name);
                                               });
        if (named == GeometryNames.end()) {
            return Error("InvalidValue", QStringLiteral("unknown geometry value '%1' (%2)")
                                             .arg(value.key(), KnownNames(GeometryNames)));
        }
        const IntegerField& limits = CodeEntry::Limits(named->number);
        const std::optional<long long> number = WholeNumber(value.value());
        if (!number || !limits.Contains(*number)) {
            return Error("InvalidValue", QStringLiteral("%1 must be a whole number from %2 to %3")
                                             .arg(value.key())
                                             .arg(limits.low)
                                             .arg(limits.high));
        }
        changes.emplace_back(named->field, static_cast<int>(*number));
    }
    CBarCodeDoc& doc = service_.Context().doc;
    for (const auto& [field, number] : changes) {
        doc.*field = number;
    }
    return {};
}

Answer TypedAutomation::DoSetOptions(const QVariantMap& values)
{
    CBarCodeDoc changed = service_.Context().doc;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        const QString& key = value.key();
        const auto* const flag = std::find_if(FlagNames.begin(), FlagNames.end(),
                                              [&key](const auto& row) {
                                                  return key == QLatin1String(row.name);
                                              });
        if (flag != FlagNames.end()) {
            if (value.value().metaType().id() != QMetaType::Bool) {
                return Error("InvalidValue", QStringLiteral("%1 must be a boolean").arg(key));
            }
            changed.*(flag->field) = value.value().toBool() ? 1 : 0;
        } else if (key == QLatin1String("ratio")) {
            const QString ratio = value.value().toString();
            const auto* const named = std::find(RatioNames.begin(), RatioNames.end(), ratio);
            if (value.value().metaType().id() != QMetaType::QString || named == RatioNames.end()) {
                return Error("InvalidValue",
                             QStringLiteral("ratio must be \"1:2\", \"2:5\" or \"1:3\""));
            }
            changed.Aspect = static_cast<int>(named - RatioNames.begin());
        } else {
            return Error(
                "InvalidValue",
                QStringLiteral("unknown option '%1' (%2, ratio)").arg(key, KnownNames(FlagNames)));
        }
    }
    // The dialog's clicks: auto add on also ticks the check, the check off
    // clears auto add.
    CodeEntry entry;
    entry.FillFrom(changed);
    if (values.contains(QStringLiteral("autoAdd"))) {
        entry.AutoAddSetsCheck();
    } else if (values.contains(QStringLiteral("check"))) {
        entry.CheckClearsAutoAdd();
    }
    changed.Check = entry.values.check;
    changed.AutoAdd = entry.values.autoAdd;

    CBarCodeDoc& doc = service_.Context().doc;
    doc.Check = changed.Check;
    doc.DispCode = changed.DispCode;
    doc.AutoAdd = changed.AutoAdd;
    doc.Case = changed.Case;
    doc.Aspect = changed.Aspect;
    return {};
}

Answer TypedAutomation::DoAccept()
{
    ApplicationContext& context = service_.Context();
    CodeEntry entry;
    entry.FillFrom(context.doc);
    if (typedText_) {
        entry.values.codeText = *typedText_;
    }
    const CodabarOptions codabar = ReadCodabarOptions(context.profile);
    const CodeEntryOutcome accepted = entry.Accept(codabar);
    switch (accepted.kind) {
    case CodeEntryOutcome::Kind::EmptyText:
        return Error("NoText", QStringLiteral("there is no code text to accept"));
    case CodeEntryOutcome::Kind::FieldFailed:
    case CodeEntryOutcome::Kind::Rejected:
        return Error("Refused", QString::fromStdString(accepted.message) + QStringLiteral(" (")
                                    + QString::fromUtf8(RefusalReason(accepted.refusal).data())
                                    + QLatin1Char(')'));
    case CodeEntryOutcome::Kind::Accepted: break;
    }
    const EncodeResult encoded = entry.ApplyTo(context.doc, context.gaps, codabar);
    typedText_.reset();
    if (EncodeNumber(encoded) == 0) {
        return Error("Refused", QStringLiteral("the text cannot be drawn with these settings (")
                                    + QString::fromUtf8(RefusalReason(encoded.refusal).data())
                                    + QLatin1Char(')'));
    }
    return {Cp932ToQString(context.doc.CodeText), {}, {}};
}

Answer TypedAutomation::EncodeForOutput()
{
    // Drawing the document's older text would hide that the caller's own
    // was never accepted.
    if (typedText_) {
        return Error(
            "NotAccepted",
            QStringLiteral("the text given to SetText has not been accepted: Accept first"));
    }
    ApplicationContext& context = service_.Context();
    if (!context.doc.HasCodeText()) {
        return Error("NoText", QStringLiteral("there is no code text: SetText and Accept first"));
    }
    const CodabarOptions codabar = ReadCodabarOptions(context.profile);
    context.doc.Recomplete(codabar);
    const EncodeResult encoded = context.doc.Encode(codabar);
    if (EncodeNumber(encoded) != 1) {
        return Error("Refused", QStringLiteral("the text cannot be encoded (")
                                    + QString::fromUtf8(RefusalReason(encoded.refusal).data())
                                    + QLatin1Char(')'));
    }
    return {};
}

Answer TypedAutomation::DoModuleText()
{
    Answer encoded = EncodeForOutput();
    if (!encoded.error.isEmpty()) {
        return encoded;
    }
    ApplicationContext& context = service_.Context();
    return {QString::fromStdString(context.doc.ModuleText(ReadCodabarOptions(context.profile))),
            {},
            {}};
}

Answer TypedAutomation::DoRender(const QString& format)
{
    const std::optional<PictureFormat> picture = NamedFormat(format);
    if (!picture) {
        return Error("UnknownFormat", FormatError(format));
    }
    // The registry writes whole files only; the file lives as long as this
    // call.
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        return Error("NotWritten", QStringLiteral("no temporary folder: ") + folder.errorString());
    }
    const QString path = folder.filePath(QStringLiteral("picture.") + format.toLower());
    Answer saved = DoSave(path, format);
    if (!saved.error.isEmpty()) {
        return saved;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error("NotWritten", QStringLiteral("the picture cannot be read back"));
    }
    return {file.readAll(), {}, {}};
}

Answer TypedAutomation::DoSave(const QString& path, const QString& format)
{
    const std::optional<PictureFormat> picture = format.isEmpty() ? FormatFromFileName(
                                                     QFileInfo(path).fileName().toStdString())
                                                                  : NamedFormat(format);
    if (!picture) {
        return Error("UnknownFormat", format.isEmpty()
                                          ? QStringLiteral("no picture format named by the"
                                                           " suffix of '%1' (bmp, png, svg or pdf)")
                                                .arg(path)
                                          : FormatError(format));
    }
    // The caller's working folder is not the program's: a relative name
    // would land somewhere the caller does not expect.
    if (!QDir::isAbsolutePath(path)) {
        return Error("InvalidValue", QStringLiteral("'%1' is not an absolute path").arg(path));
    }
    Answer encoded = EncodeForOutput();
    if (!encoded.error.isEmpty()) {
        return encoded;
    }
    ApplicationContext& context = service_.Context();
    const Drawing drawing = ReadDrawing(context.doc, context.profile);
    PictureCanvasFactory canvases;
    SaveProblem problem = SaveProblem::None;
    if (exports_.Save({drawing, profile::Read(context.profile, profile::Bitmap), std::nullopt},
                      canvases, QFile::encodeName(path).toStdString(), *picture, &problem)
        == 1) {
        return {};
    }
    const QString folder = QFileInfo(path).absolutePath();
    QString why = QStringLiteral("it cannot be written");
    if (problem == SaveProblem::NoPicture) {
        why = QStringLiteral("the picture could not be made");
    } else if (!QFileInfo(folder).isDir()) {
        why = QStringLiteral("the folder %1 does not exist").arg(folder);
    } else if (!QFileInfo(folder).isWritable()) {
        why = QStringLiteral("the folder %1 cannot be written").arg(folder);
    }
    return Error("NotWritten", QStringLiteral("cannot write %1: %2").arg(path, why));
}

bool PublishTypedAutomation(AutomationService& service, QDBusConnection& bus)
{
    auto* typed = new TypedAutomation(service);  // owned by the service
    const QString path = QString::fromLatin1(automation_bus::typed::ObjectPath);
    if (!bus.registerVirtualObject(path, typed, QDBusConnection::SingleNode)) {
        std::fprintf(stderr, "kestrel: the typed automation is not available: %s is taken\n",
                     automation_bus::typed::ObjectPath);
        delete typed;
        return false;
    }
    typed->SetChangeSink([bus, path](const QVariantMap& changed) {
        QDBusMessage signal = QDBusMessage::createSignal(path, QLatin1String(PropertiesInterface),
                                                         QStringLiteral("PropertiesChanged"));
        signal << QString::fromLatin1(automation_bus::typed::InterfaceName) << changed
               << QStringList();
        bus.send(signal);
    });
    return true;
}

}  // namespace kestrel
