#include "effect/FeedbackEffectWithEditor.h"

FeedbackEffectWithEditor::FeedbackEffectWithEditor(audioMasterCallback host)
    : FeedbackEffect(host) {
    setUniqueId(kUniqueId);
    // The editor is created here: it registers itself through setEditor (which sets
    // effFlagsHasEditor); when it cannot be allocated, setEditorFailure() is called instead.
    // Until it exists the effect has no editor and its flags stay canMono | canReplacing.
}

// The base destroys the editor after the effect has released its own state.
FeedbackEffectWithEditor::~FeedbackEffectWithEditor() = default;

void FeedbackEffectWithEditor::setParameter(VstInt32 index, float value) {
    FeedbackEffect::setParameter(index, value);
    // With an editor, its controls of this parameter take the value the effect now stores.
}
