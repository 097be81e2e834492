// Writes integer keys to one section of a profile through SettingsProfile, the
// way a running instance of the program would:
//   profile_writer INI_PATH SECTION COUNT GO_FILE
// It opens the profile, waits for GO_FILE to appear (so that several writers
// start together), then writes Key0 .. Key<COUNT-1> with the values
// 1000 * index + COUNT. Exit status 0 when every write reported success.

#include "profile/SettingsProfile.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 5) {
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const std::string section = argv[2];
    const int count = std::atoi(argv[3]);
    const QString goFile = QString::fromLocal8Bit(argv[4]);

    kestrel::SettingsProfile profile(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!QFile::exists(goFile)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return 3;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int index = 0; index < count; ++index) {
        if (!profile.WriteProfileInt(section, "Key" + std::to_string(index),
                                     1000 * index + count)) {
            return 1;
        }
    }
    return 0;
}
