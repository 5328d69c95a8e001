// The module's entry point and what it needs from the rest of the plug-in.
#pragma once

#include "host/EffectBase.h"
#include "host/VstInterface.h"

// Allocates (without throwing) and constructs an effect object for host; null when memory
// runs out.
using EffectFactory = EffectBase* (*)(audioMasterCallback host);

// The plug-in's own factory, defined by the effect and linked in by the module.
EffectBase* createEffectInstance(audioMasterCallback host);

// Process-wide: set when an effect could not create its editor. Never cleared, so every later
// entry call of the process answers null. Safe from any thread.
void setEditorFailure();
bool editorFailure();

// What the exported entry point does: asks the host's version (0 gives null), creates the
// effect with createEffect, gives up when an editor could not be created, and answers the
// effect's record.
AEffect* openEffect(audioMasterCallback host, EffectFactory createEffect);

// The exported entry point. Windows exports it as main through the module-definition file;
// Linux also exports it as VSTPluginMain and main.
extern "C" AEffect* VSTCALLBACK veltraneMain(audioMasterCallback host);
