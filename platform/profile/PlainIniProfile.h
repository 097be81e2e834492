#pragma once

#include "profile/MemoryProfile.h"

#include <memory>
#include <optional>
#include <string>

namespace kestrel {

// The profile's INI file read without Qt, where it is in the plain form
// QSettings writes for this program's values: "[Section]" lines and
// "Key=value" lines, names of letters, digits and '_', each once, values in
// UTF-8 either bare (without '\\', '"', ',', ';', '=', a leading '@' or
// spaces at either end) or within one pair of double quotes holding no '\\'
// or '"'. Such a file reads exactly as SettingsProfile reads it. A missing
// file reads as empty; any other file (escapes, lists, @ByteArray, comments,
// a byte-order mark, "\r\n" line ends, text that is not UTF-8) gives null,
// and the caller reads it through QSettings.
std::unique_ptr<MemoryProfile> ReadPlainIniProfile(const std::string& path);

// Where QSettings keeps the per-user profile ($XDG_CONFIG_HOME, else
// $HOME/.config, then "Plover/Kestrel.ini"); none where the environment
// leaves it to Qt (neither set to an absolute path).
std::optional<std::string> PlainDefaultProfilePath();

}  // namespace kestrel
