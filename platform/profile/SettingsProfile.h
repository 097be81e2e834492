#pragma once

#include "profile/Profile.h"

#include <QString>

#include <memory>

class QSettings;
class QVariant;

namespace kestrel {

// The profile kept by QSettings in an INI file, with the same sections and
// keys on every system. Strings are converted between code page 932 and
// Unicode here, so core only ever sees 8-bit text.
//
// Every write goes to the file at once, merged under QSettings' lock with
// whatever other running instances wrote, and every read first picks up what
// they wrote. A file QSettings cannot parse in full, or that is not UTF-8, is
// kept beside it as "<file>.bad" and the profile goes on from the values that
// could be read, so nothing in it is silently dropped.
class SettingsProfile : public Profile {
public:
    // ReadOnly never changes the file or its folder: writes give false, an
    // unreadable file is read as far as it goes and left where it is, and the
    // values are those of the file as it was opened (for one short run).
    enum class Access { ReadWrite, ReadOnly };

    // The per-user profile of organisation "Plover", application "Kestrel"
    // (on Linux $XDG_CONFIG_HOME/Plover/Kestrel.ini).
    explicit SettingsProfile(Access access = Access::ReadWrite);
    // The INI file at `iniPath` (a missing file reads as empty).
    explicit SettingsProfile(const QString& iniPath, Access access = Access::ReadWrite);
    ~SettingsProfile() override;

    int GetProfileInt(std::string_view section, std::string_view key,
                      int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;

    // The INI file's path.
    QString Location() const;

private:
    void Open();
    void SetAside();
    bool Read(std::string_view section, std::string_view key, std::string& text) const;
    bool Write(std::string_view section, std::string_view key, const QVariant& value);

    QString path_;
    Access access_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace kestrel
