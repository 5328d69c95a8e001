// The effect the entry point hands to a host: the plug-in with its editor.

#include "effect/EffectFactory.h"
#include "effect/FeedbackEffectWithEditor.h"
#include "host/EntryPoint.h"

EffectBase* createEffectInstance(audioMasterCallback host) {
    return createReadyEffect<FeedbackEffectWithEditor>(host);
}
