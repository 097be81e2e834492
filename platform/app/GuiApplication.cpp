#include "app/GuiApplication.h"

#include <QGuiApplication>

namespace kestrel {

void EnsureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt keeps a reference to the argument count and the arguments for the
    // application's life; it sees none of the program's own.
    static int argc = 1;
    static char name[] = "kestrel";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

}  // namespace kestrel
