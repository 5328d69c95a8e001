// The effect as the entry point creates it.
#pragma once

#include "effect/FeedbackEffect.h"

class FeedbackEffectWithEditor : public FeedbackEffect {
public:
    explicit FeedbackEffectWithEditor(audioMasterCallback host);
    ~FeedbackEffectWithEditor() override;

    void setParameter(VstInt32 index, float value) override;
};
