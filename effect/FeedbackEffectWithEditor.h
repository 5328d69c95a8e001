// The effect as the entry point creates it: the plug-in together with its own editor, which
// follows every parameter change.
#pragma once

#include "effect/FeedbackEffect.h"

class FeedbackEffectWithEditor : public FeedbackEffect {
public:
    // Creates the editor; if that fails the process-wide editor failure is set and the entry
    // point gives the host no effect.
    explicit FeedbackEffectWithEditor(audioMasterCallback host);
    ~FeedbackEffectWithEditor() override;

    // The effect first, then the editor's controls of that parameter.
    void setParameter(VstInt32 index, float value) override;
};
