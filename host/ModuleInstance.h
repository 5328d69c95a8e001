// The module instance handle, stored by the module's load notification. The toolkit names its
// window class after it and loads bitmaps from the module through it.
#pragma once

void setModuleInstance(void* instance);
void* moduleInstance();
