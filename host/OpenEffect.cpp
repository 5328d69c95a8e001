#include "host/EntryPoint.h"

#include <atomic>

namespace {

std::atomic<bool> editorCouldNotBeCreated{false};

} // namespace

void setEditorFailure() {
    editorCouldNotBeCreated.store(true);
}

bool editorFailure() {
    return editorCouldNotBeCreated.load();
}

AEffect* openEffect(audioMasterCallback host, EffectFactory createEffect) {
    if (host == nullptr || createEffect == nullptr ||
        host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    EffectBase* const effect = createEffect(host);
    if (effect == nullptr) {
        return nullptr;
    }
    if (editorFailure()) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
