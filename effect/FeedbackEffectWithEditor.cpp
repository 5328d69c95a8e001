#include "effect/FeedbackEffectWithEditor.h"

#include "editor/EffectEditor.h"
#include "host/EntryPoint.h"

#include <new>

FeedbackEffectWithEditor::FeedbackEffectWithEditor(audioMasterCallback host)
    : FeedbackEffect(host) {
    setUniqueId(kUniqueId);
    // The editor registers itself through setEditor, which sets effFlagsHasEditor; the effect
    // owns it from then on.
    if (new (std::nothrow) EffectEditor(this) == nullptr) {
        setEditorFailure();
    }
}

// The base destroys the editor after the effect has released its own state.
FeedbackEffectWithEditor::~FeedbackEffectWithEditor() = default;

void FeedbackEffectWithEditor::setParameter(VstInt32 index, float value) {
    FeedbackEffect::setParameter(index, value);
    if (auto* const controls = dynamic_cast<EditorBase*>(editor)) {
        controls->setParameter(index, value);
    }
}
