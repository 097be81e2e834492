#pragma once

#include "document/Profile.h"

#include <QString>

#include <memory>

class QSettings;

namespace kestrel {

// The profile kept by QSettings: on Linux an INI file, on Windows the
// registry, with the same sections and keys. Strings are converted between
// code page 932 and Unicode here, so core only ever sees 8-bit text.
class SettingsProfile : public Profile {
public:
    // The per-user profile of organisation "Plover", application "Kestrel".
    SettingsProfile();
    // The INI file at `iniPath` (a missing file reads as empty).
    explicit SettingsProfile(const QString& iniPath);
    ~SettingsProfile() override;

    int GetProfileInt(std::string_view section, std::string_view key,
                      int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;

    // Where the values live (the INI file's path on Linux).
    QString Location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace kestrel
