#include "profile/SettingsProfile.h"

#include "text/Cp932.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace kestrel {
namespace {

QString SettingsKey(std::string_view section, std::string_view key)
{
    return Cp932ToQString(section) + QLatin1Char('/') + Cp932ToQString(key);
}

QString DefaultPath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Plover"),
                     QStringLiteral("Kestrel"))
        .fileName();
}

// QSettings reads INI files as UTF-8 and, on its next write, would put U+FFFD
// for good in place of any other bytes, such as a profile saved as code page
// 932 by a text editor. A file that exists but cannot be read at all counts
// as unreadable too: QSettings would take it for empty and write over it.
bool ReadsAsUtf8(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    return !decoder.hasError();
}

}  // namespace

SettingsProfile::SettingsProfile(Access access) : SettingsProfile(DefaultPath(), access) {}

SettingsProfile::SettingsProfile(const QString& iniPath, Access access)
    : path_(iniPath), access_(access)
{
    Open();
}

SettingsProfile::~SettingsProfile() = default;

// QSettings parses sections lazily and, on its next write, silently drops
// whatever it could not parse, reporting FormatError from then on. So the
// whole file is parsed up front.
void SettingsProfile::Open()
{
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    settings_->allKeys();
    if (access_ == Access::ReadOnly) {
        return;
    }
    if (settings_->status() == QSettings::FormatError || !ReadsAsUtf8(path_)) {
        SetAside();
    }
}

// Keeps the unreadable file as "<file>.bad" (replacing an older one) and
// starts a fresh file with every value that could be read from it.
void SettingsProfile::SetAside()
{
    QList<std::pair<QString, QVariant>> readable;
    for (const QString& key : settings_->allKeys()) {
        readable.append({key, settings_->value(key)});
    }
    settings_.reset();

    const QString aside = path_ + QStringLiteral(".bad");
    QFile::remove(aside);
    const bool movedAside = QFile::rename(path_, aside);
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    if (!movedAside) {
        // The folder cannot be written, so QSettings, which saves through a
        // new file beside the old, cannot save either: writes report failure.
        return;
    }
    for (const auto& [key, value] : readable) {
        settings_->setValue(key, value);
    }
    settings_->sync();
}

bool SettingsProfile::Read(std::string_view section, std::string_view key, std::string& text) const
{
    if (section.empty() || key.empty()) {
        return false;
    }
    if (access_ == Access::ReadWrite) {
        settings_->sync();  // picks up what other instances wrote since
    }
    const QVariant value = settings_->value(SettingsKey(section, key));
    switch (value.typeId()) {
    case QMetaType::UnknownType: return false;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return true;
    }
    case QMetaType::QStringList:
        // An unquoted value with commas, written by hand.
        text = QStringToCp932Lossy(value.toStringList().join(QStringLiteral(", ")));
        return true;
    default:
        if (!value.canConvert<QString>()) {
            return false;
        }
        text = QStringToCp932Lossy(value.toString());
        return true;
    }
}

bool SettingsProfile::Write(std::string_view section, std::string_view key, const QVariant& value)
{
    if (access_ == Access::ReadOnly || section.empty() || key.empty()) {
        return false;
    }
    // A QSettings keeps reporting its first error. A fresh one shares the
    // unsaved values of the old and tries them again as it opens.
    if (settings_->status() != QSettings::NoError) {
        Open();
    }
    // Another program may have left the file broken since it was opened.
    settings_->sync();
    settings_->allKeys();
    if (settings_->status() == QSettings::FormatError) {
        SetAside();
    }
    settings_->setValue(SettingsKey(section, key), value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

int SettingsProfile::GetProfileInt(std::string_view section, std::string_view key,
                                   int defaultValue) const
{
    std::string text;
    int value = 0;
    return Read(section, key, text) && ParseProfileInt(text, value) ? value : defaultValue;
}

bool SettingsProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    return Write(section, key, QVariant(value));
}

std::string SettingsProfile::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) const
{
    std::string text;
    return Read(section, key, text) ? text : std::string(defaultValue);
}

bool SettingsProfile::WriteProfileString(std::string_view section, std::string_view key,
                                         std::string_view value)
{
    const QString text = Cp932ToQString(value);
    std::string back;
    if (QStringToCp932(text, back) && back == value) {
        return Write(section, key, text);
    }
    // Bytes that are not code page 932, or one of its duplicate codes: kept
    // as they are (QSettings writes @ByteArray(...)) so they come back unchanged.
    return Write(section, key, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

QString SettingsProfile::Location() const
{
    return path_;
}

}  // namespace kestrel
