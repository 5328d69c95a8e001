// What every effect factory does: allocate without throwing and refuse an effect that could not
// get its delay lines.
#pragma once

#include "host/EffectBase.h"
#include "host/VstInterface.h"

#include <new>

template <typename Effect> EffectBase* createReadyEffect(audioMasterCallback host) {
    Effect* const effect = new (std::nothrow) Effect(host);
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
