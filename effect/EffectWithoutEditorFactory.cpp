// The effect the entry point hands to a host where the editor cannot open in the host's window:
// the plug-in alone, whose record says it has no editor.

#include "effect/EffectFactory.h"
#include "effect/FeedbackEffect.h"
#include "host/EntryPoint.h"

EffectBase* createEffectInstance(audioMasterCallback host) {
    return createReadyEffect<FeedbackEffect>(host);
}
