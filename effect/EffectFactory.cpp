// The effect the entry point hands to a host.

#include "effect/FeedbackEffectWithEditor.h"
#include "host/EntryPoint.h"

#include <new>

EffectBase* createEffectInstance(audioMasterCallback host) {
    FeedbackEffectWithEditor* const effect = new (std::nothrow) FeedbackEffectWithEditor(host);
    if (effect == nullptr) {
        return nullptr;
    }
    // Without its delay lines the effect could not process a single block.
    if (!effect->hasDelayMemory()) {
        delete effect;
        return nullptr;
    }
    return effect;
}
