#include "tools/PluginModule.h"

#include "tools/HostError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

namespace {

// Names hosts look for, newest first.
constexpr const char* entryPointNames[] = {"VSTPluginMain", "main"};

std::string canonicalPath(const char* path) {
    char resolved[PATH_MAX];
    if (path == nullptr || realpath(path, resolved) == nullptr) {
        return {};
    }
    return resolved;
}

// dlsym also searches the module's own dependencies; an entry point found there (a library
// that happens to export "main") is not the plug-in's.
bool symbolBelongsToModule(void* handle, void* symbol) {
    link_map* map = nullptr;
    Dl_info info{};
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
        dladdr(symbol, &info) == 0) {
        return false;
    }
    const std::string modulePath = canonicalPath(map->l_name);
    return !modulePath.empty() && modulePath == canonicalPath(info.dli_fname);
}

} // namespace

PluginModule::PluginModule(const std::string& path) : modulePath(path) {
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0) {
        throw HostError("cannot load plug-in " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        throw HostError("cannot load plug-in " + path + ": not a regular file");
    }
    // Without a slash dlopen would search the system's library folders, not the named file.
    const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load plug-in " + path + ": " +
                        (reason != nullptr ? reason : "not a loadable module"));
    }
    for (const char* name : entryPointNames) {
        void* symbol = dlsym(handle, name);
        if (symbol != nullptr && symbolBelongsToModule(handle, symbol)) {
            entry = reinterpret_cast<VstEntryPointProc>(symbol);
            break;
        }
    }
    if (entry == nullptr) {
        dlclose(handle);
        handle = nullptr;
        throw HostError("cannot load plug-in " + path +
                        ": no VST 2.x entry point (VSTPluginMain or main)");
    }
}

PluginModule::~PluginModule() {
    if (handle != nullptr) {
        dlclose(handle);
    }
}
