// The module's exports. Only the entry point leaves the module; everything else is hidden.
#include "host/EntryPoint.h"

extern "C" AEffect* VSTCALLBACK veltraneMain(audioMasterCallback host) {
    return openEffect(host, &createEffectInstance);
}

#if !defined(_WIN32)
// Hosts on Linux look for VSTPluginMain first, then main.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    return openEffect(host, &createEffectInstance);
}

extern "C" __attribute__((visibility("default"))) AEffect*
exportedMain(audioMasterCallback host) __asm__("main");
extern "C" AEffect* exportedMain(audioMasterCallback host) {
    return openEffect(host, &createEffectInstance);
}
#endif
