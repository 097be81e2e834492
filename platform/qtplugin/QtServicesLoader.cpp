#include "qtplugin/QtServicesLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <vector>

#ifndef KESTREL_QT_PLUGIN_FROM_BIN
#define KESTREL_QT_PLUGIN_FROM_BIN "../lib/kestrel"
#endif

namespace kestrel {

namespace {

constexpr const char* PluginName = "kestrel-qt.so";

struct Loaded {
    std::once_flag once;
    QtServices* provided = nullptr;
    QtServices* services = nullptr;
    std::string error;
};

Loaded& State()
{
    static Loaded loaded;
    return loaded;
}

// The folder of the running program; empty when the system does not say.
std::string ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().native();
}

// The library beside the program (the build tree), then where the package
// puts it relative to the program's folder. The library stays loaded for
// the process's life, as Qt does not unload.
void Load(Loaded& state)
{
    if (state.provided != nullptr) {
        state.services = state.provided;
        return;
    }
    const std::string folder = ProgramFolder();
    const std::vector<std::string> candidates{
        folder + '/' + PluginName, folder + '/' + KESTREL_QT_PLUGIN_FROM_BIN + '/' + PluginName};
    for (const std::string& candidate : candidates) {
        if (access(candidate.c_str(), F_OK) != 0) {
            continue;
        }
        void* library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char* why = dlerror();
            state.error = why != nullptr ? why : "cannot load " + candidate;
            return;
        }
        using Entry = QtServices* (*)();
        // dlsym answers with an object pointer; POSIX guarantees the cast.
        const auto entry = reinterpret_cast<Entry>(dlsym(library, "KestrelQtServices"));
        state.services = entry != nullptr ? entry() : nullptr;
        if (state.services == nullptr) {
            state.error = candidate + " gives no Qt services";
        }
        return;
    }
    state.error = "cannot find " + std::string(PluginName) + " beside " + folder;
}

}  // namespace

QtServices* LoadQtServices()
{
    Loaded& state = State();
    std::call_once(state.once, [&state] { Load(state); });
    return state.services;
}

std::string LoadError()
{
    LoadQtServices();
    return State().error;
}

void ProvideQtServices(QtServices* services)
{
    State().provided = services;
}

}  // namespace kestrel
