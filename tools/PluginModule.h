// A plug-in module loaded from a shared object (dlopen) or a DLL (LoadLibrary), and its VST 2.x
// entry point.
#pragma once

#include "host/VstInterface.h"

#include <string>

class PluginModule {
public:
    // Loads the module; throws HostError when the file is missing, is no loadable module or
    // exports neither entry point name.
    explicit PluginModule(const std::string& path);
    ~PluginModule(); // unloads; every effect made from the module must be closed by then
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    const std::string& path() const { return modulePath; }
    VstEntryPointProc entryPoint() const { return entry; }
    // The dlopen handle or the HMODULE.
    void* nativeHandle() const { return handle; }

private:
    std::string modulePath;
    void* handle = nullptr;
    VstEntryPointProc entry = nullptr;
};
