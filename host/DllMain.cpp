// The Windows module's load notification. The toolkit needs the instance handle to load the
// bitmaps from this module's resources and to name its window class.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/ModuleInstance.h"

// Called by the loader with the loader lock held: store the handle, nothing more. The handle is
// the same for every reason, so it is stored each time and success is always reported.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    setModuleInstance(instance);
    return TRUE;
}
