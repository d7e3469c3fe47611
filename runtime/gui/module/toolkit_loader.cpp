#include "runtime/gui/module/toolkit_calls.h"

#include "tervane_version.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* ModuleName = "tervane-gtk.so";

struct LoaderState {
    const QV_ToolkitCalls* calls = nullptr;  // nullptr until the module is loaded
    bool tried = false;                      // a failed load is said once, not retried
};

LoaderState loader;

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof path))
        return {};
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/') + 1);
}

// In the build tree the module lies beside the program; installed, in the
// library folder of its own.
std::string ModulePath()
{
    const std::string folder = ProgramFolder();
    const std::string beside = folder + ModuleName;
    if (access(beside.c_str(), F_OK) == 0)
        return beside;
    return folder + TERVANE_TOOLKIT_FOLDER + "/" + ModuleName;
}

const QV_ToolkitCalls* OpenModule(const std::string& path)
{
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "tervane: the window toolkit could not be loaded: %s\n", dlerror());
        return nullptr;
    }
    using Entry = const QV_ToolkitCalls* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(module, QV_ToolkitEntryName));
    const QV_ToolkitCalls* calls = entry != nullptr ? entry() : nullptr;
    if (calls == nullptr || std::strcmp(calls->version, TERVANE_VERSION) != 0) {
        std::fprintf(stderr, "tervane: %s is not the window toolkit of this release (%s)\n", path.c_str(),
                     TERVANE_VERSION);
        dlclose(module);
        return nullptr;
    }
    return calls;
}

// The layers start as the module loads, as the program started them before
// it had any use for them.
const QV_ToolkitCalls* Load()
{
    if (!loader.tried) {
        loader.tried = true;
        loader.calls = OpenModule(ModulePath());
        if (loader.calls != nullptr) {
            loader.calls->QV_InitWindow();
            loader.calls->QV_InitGadget();
        }
    }
    return loader.calls;
}

}  // namespace

// clang-format off
#define QV_TOOLKIT_OPENING_CALL(name, result, parameters, arguments, fallback) \
    result name parameters \
    { \
        const QV_ToolkitCalls* calls = Load(); \
        return calls != nullptr ? calls->name arguments : fallback; \
    }
#define QV_TOOLKIT_ANSWERED_CALL(name, result, parameters, arguments, fallback) \
    result name parameters \
    { \
        return loader.calls != nullptr ? loader.calls->name arguments : fallback; \
    }
QV_TOOLKIT_CALLS(QV_TOOLKIT_OPENING_CALL, QV_TOOLKIT_ANSWERED_CALL)
// clang-format on
