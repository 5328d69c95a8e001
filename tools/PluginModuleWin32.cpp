#include "tools/PluginModule.h"

#include "tools/HostError.h"

#include <windows.h>

namespace {

// Names hosts look for, newest first.
constexpr const char* entryPointNames[] = {"VSTPluginMain", "main"};

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message =
        length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

} // namespace

PluginModule::PluginModule(const std::string& path) : modulePath(path) {
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        throw HostError("cannot load plug-in " + path + ": " + systemMessage(GetLastError()));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw HostError("cannot load plug-in " + path + ": not a regular file");
    }
    // No error dialog for a DLL that lacks a dependency: the caller reports it.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD loadError = GetLastError();
    SetErrorMode(previousMode);
    if (module == nullptr) {
        throw HostError("cannot load plug-in " + path + ": " + systemMessage(loadError));
    }
    handle = module;
    for (const char* name : entryPointNames) {
        if (FARPROC symbol = GetProcAddress(module, name); symbol != nullptr) {
            entry = reinterpret_cast<VstEntryPointProc>(reinterpret_cast<void*>(symbol));
            break;
        }
    }
    if (entry == nullptr) {
        FreeLibrary(module);
        handle = nullptr;
        throw HostError("cannot load plug-in " + path +
                        ": no VST 2.x entry point (VSTPluginMain or main)");
    }
}

PluginModule::~PluginModule() {
    if (handle != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle));
    }
}
