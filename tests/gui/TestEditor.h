// Test support: an effect that records the host requests it makes, an editor that counts its
// idles, and a listener that records every value it is told about.
#pragma once

#include "gui/Control.h"
#include "gui/EditorBase.h"
#include "gui/Frame.h"
#include "host/EffectBase.h"

#include <vector>

class RecordingEffect : public EffectBase {
public:
    RecordingEffect() : EffectBase(&RecordingEffect::hostCallback, 1, 1) { idleRequests() = 0; }
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override {
        (void)inputs;
        (void)outputs;
        (void)sampleFrames;
    }
    static int& idleRequests() {
        static int count = 0;
        return count;
    }

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
        (void)effect;
        (void)index;
        (void)value;
        (void)ptr;
        (void)opt;
        if (opcode == audioMasterIdle) {
            ++idleRequests();
        }
        return 0;
    }
};

class CountingEditor : public EditorBase {
public:
    explicit CountingEditor(EffectBase* effect = nullptr) : EditorBase(effect) {}
    ~CountingEditor() override {
        delete frame;
        frame = nullptr;
    }

    void idle() override {
        ++idles;
        EditorBase::idle();
    }
    void update() override { ++updates; }
    // Opens a frame of the given size in parent.
    Frame* openFrame(platform::Window* parent, const Rect& size) {
        EditorBase::open(parent);
        frame = new Frame(size, parent, this);
        return frame;
    }
    void closeFrame() {
        delete frame;
        frame = nullptr;
    }

    int idles = 0;
    int updates = 0;
};

class RecordingListener : public ControlListener {
public:
    // With redrawAtOnce the control redraws inside the notification, as the editor's does.
    explicit RecordingListener(bool redrawAtOnce = true) : redrawAtOnce(redrawAtOnce) {}
    void valueChanged(DrawContext* context, Control* control) override {
        values.push_back(control->getValue());
        if (redrawAtOnce) {
            control->update(context);
        }
    }
    std::vector<float> values;

private:
    bool redrawAtOnce;
};
