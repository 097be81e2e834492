#pragma once

#include "qtplugin/QtServices.h"

#include <string>

namespace kestrel {

// The Qt services, loaded on the first call from any thread (the others
// wait for it): the library "kestrel-qt.so" beside the program, or where
// the package installs it. Null when it cannot be loaded; `LoadError`
// then says why.
QtServices* LoadQtServices();
std::string LoadError();

// Services linked into the program itself, used instead of the library:
// the tests that run kestrel-cli's code in their own process provide them.
// Call it before the first LoadQtServices.
void ProvideQtServices(QtServices* services);

}  // namespace kestrel
