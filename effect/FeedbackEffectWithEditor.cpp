#include "effect/FeedbackEffectWithEditor.h"

FeedbackEffectWithEditor::FeedbackEffectWithEditor(audioMasterCallback host)
    : FeedbackEffect(host) {
    setUniqueId(kUniqueId);
}

// The base destroys the editor after the effect has released its own state.
FeedbackEffectWithEditor::~FeedbackEffectWithEditor() = default;

void FeedbackEffectWithEditor::setParameter(VstInt32 index, float value) {
    FeedbackEffect::setParameter(index, value);
}
