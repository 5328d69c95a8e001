// Test support: the effect with its editor linked in, made through the entry sequence as the
// module does, with a host that records its requests; the editor opened through the dispatcher
// in a host window of the software backend and driven with a scripted pointer.
#pragma once

#include "tests/gui/SoftwareCanvas.h"

#include "editor/EditorLayout.h"
#include "editor/EffectEditor.h"
#include "gui/Frame.h"
#include "gui/StripKnob.h"
#include "gui/ValueDisplay.h"
#include "host/EffectBase.h"
#include "host/EntryPoint.h"

#include <functional>
#include <utility>
#include <vector>

class EditorTest : public SoftwareTest {
protected:
    struct Automation {
        VstInt32 index;
        float value;
        bool operator==(const Automation& other) const {
            return index == other.index && value == other.value;
        }
    };

    void SetUp() override {
        SoftwareTest::SetUp();
        automations().clear();
        onAutomation() = nullptr;
        record = openEffect(&EditorTest::hostCallback, &createEffectInstance);
        ASSERT_NE(record, nullptr);
        hostWindow = software::createHostWindow(EditorLayout::kWidth, EditorLayout::kHeight);
    }
    void TearDown() override {
        if (record != nullptr) {
            dispatch(effEditClose);
            dispatch(effClose);
        }
        onAutomation() = nullptr;
        SoftwareTest::TearDown();
    }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    void setParameter(VstInt32 index, float value) { record->setParameter(record, index, value); }
    float getParameter(VstInt32 index) { return record->getParameter(record, index); }
    EffectBase* effect() const { return static_cast<EffectBase*>(record->object); }
    EffectEditor* editor() const { return dynamic_cast<EffectEditor*>(effect()->getEditor()); }
    Frame* frame() const { return editor()->getFrame(); }

    // Opens the editor in the host window and lets it paint, as a host's window would.
    void openEditor() {
        ASSERT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
        ASSERT_NE(frame(), nullptr);
        software::paint(window());
    }
    platform::Window* window() const { return frame()->getSystemWindow(); }
    void idle() { dispatch(effEditIdle); }
    software::Image picture() const { return software::windowPixels(window()); }

    // The control created for place index of the layout.
    template <typename Kind> Kind* control(std::size_t place) const {
        return dynamic_cast<Kind*>(frame()->getView(static_cast<std::int32_t>(place)));
    }
    Control* mainControl(std::int32_t parameter) const {
        for (std::int32_t index = 0; index < frame()->getViewCount(); ++index) {
            auto* found = dynamic_cast<Control*>(frame()->getView(index));
            if (found != nullptr && found->getTag() == parameter) {
                return found;
            }
        }
        return nullptr;
    }

    // The display created right after parameter's knob; null when none was.
    ValueDisplay* displayOf(std::int32_t parameter) const {
        for (std::int32_t index = 0; index + 1 < frame()->getViewCount(); ++index) {
            auto* knob = dynamic_cast<StripKnob*>(frame()->getView(index));
            if (knob != nullptr && knob->getTag() == parameter) {
                return dynamic_cast<ValueDisplay*>(frame()->getView(index + 1));
            }
        }
        return nullptr;
    }

    // A press with state at where, then the pointer follows script.
    void press(Point where, std::int32_t state, const std::vector<software::PointerStep>& script) {
        software::setKeyState(state);
        software::scriptPointer(script);
        software::sendMessage(window(), platform::WindowMessage::LeftButtonDown, where);
        software::scriptPointer({});
        software::setKeyState(0);
    }
    void click(Point where, std::int32_t modifiers = 0) {
        press(where, MouseLeft | modifiers, {{where, 0, 20}});
    }
    // Pressed at from, moved to to in a few steps 20 ms apart, released there.
    void drag(Point from, Point to) {
        std::vector<software::PointerStep> steps;
        constexpr std::int32_t moves = 4;
        for (std::int32_t step = 1; step <= moves; ++step) {
            const Point at(from.h + (to.h - from.h) * step / moves,
                           from.v + (to.v - from.v) * step / moves);
            steps.push_back({at, MouseLeft, 20});
        }
        steps.push_back({to, 0, 20});
        press(from, MouseLeft, steps);
    }

    static std::vector<Automation>& automations() {
        static std::vector<Automation> recorded;
        return recorded;
    }
    // Called for each automation, after it is recorded.
    static std::function<void(const Automation&)>& onAutomation() {
        static std::function<void(const Automation&)> hook;
        return hook;
    }

    AEffect* record = nullptr;
    platform::Window* hostWindow = nullptr;

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
        (void)effect;
        (void)value;
        (void)ptr;
        if (opcode == audioMasterVersion) {
            return 2400;
        }
        if (opcode == audioMasterAutomate) {
            automations().push_back(Automation{index, opt});
            if (onAutomation()) {
                onAutomation()(automations().back());
            }
        }
        return 0;
    }
};
