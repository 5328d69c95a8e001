#include "editor/EffectEditor.h"

#include "editor/IconSelector.h"
#include "engine/SafeConversion.h"
#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/MomentaryButton.h"
#include "gui/SplashOverlay.h"
#include "gui/StripDisplay.h"
#include "gui/StripKnob.h"
#include "gui/ValueDisplay.h"
#include "host/EffectBase.h"

#include <cstdint>
#include <new>

namespace {

using EditorLayout::ControlKind;
using EditorLayout::ControlPlace;

bool isParameter(std::int32_t index) {
    return index >= 0 && index < ParameterIndex::kNumParameters;
}

std::int16_t rectCoordinate(std::int32_t value) {
    return static_cast<std::int16_t>(value > INT16_MAX ? INT16_MAX : value);
}

} // namespace

EffectEditor::EffectEditor(EffectBase* effect) : EditorBase(effect) {
    background = new (std::nothrow) Bitmap(EditorLayout::kBackgroundBitmap);
    if (background != nullptr) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = rectCoordinate(background->getHeight());
        rect.right = rectCoordinate(background->getWidth());
    }
}

EffectEditor::~EffectEditor() {
    // The frame goes before the artwork its controls draw with.
    close();
    if (background != nullptr) {
        background->forget();
        background = nullptr;
    }
}

float EffectEditor::effectValue(std::int32_t index) const {
    return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

Bitmap* EffectEditor::artwork(std::int32_t resourceId) const {
    const std::int32_t index = resourceId - EditorLayout::kFirstArtworkBitmap;
    return index >= 0 && index < EditorLayout::kArtworkBitmapCount ? artworkBitmaps[index]
                                                                   : nullptr;
}

bool EffectEditor::open(void* parentWindow) {
    if (frame != nullptr) {
        close();
    }
    EditorBase::open(parentWindow);
    for (std::int32_t index = 0; index < EditorLayout::kArtworkBitmapCount; ++index) {
        if (artworkBitmaps[index] == nullptr) {
            artworkBitmaps[index] =
                new (std::nothrow) Bitmap(EditorLayout::kFirstArtworkBitmap + index);
        }
    }
    const std::int32_t width = background != nullptr ? background->getWidth() : 0;
    const std::int32_t height = background != nullptr ? background->getHeight() : 0;
    frame = new (std::nothrow)
        Frame(Rect(0, 0, width, height), static_cast<platform::Window*>(parentWindow), this);
    // No window: the parent is not a window the platform knows, or there is no display.
    if (frame == nullptr || frame->getSystemWindow() == nullptr) {
        close();
        return false;
    }
    frame->setBackground(background);
    // Every control starts from the effect's values; earlier marks are stale.
    for (std::atomic<std::uint32_t>& word : pending) {
        word.store(0, std::memory_order_relaxed);
    }
    for (const ControlPlace& place : EditorLayout::controls()) {
        createControl(place);
    }
    guiThread.store(std::this_thread::get_id());
    isOpen.store(true);
    frame->paintNow();
    return true;
}

bool EffectEditor::addControl(Control* control) {
    if (control == nullptr) {
        return false;
    }
    if (!frame->addView(control)) {
        delete control;
        return false;
    }
    return true;
}

void EffectEditor::createControl(const ControlPlace& place) {
    using namespace EditorLayout;
    switch (place.kind) {
    case ControlKind::AboutButton:
        addControl(new (std::nothrow) SplashOverlay(place.rect, this, place.tag,
                                                    artwork(place.bitmap), frame->getSize()));
        break;
    case ControlKind::PanicButton:
        addControl(new (std::nothrow) MomentaryButton(place.rect, this, place.tag, kButtonHeight,
                                                      artwork(place.bitmap)));
        break;
    case ControlKind::WaveSelector: {
        auto* selector =
            new (std::nothrow) IconSelector(place.rect, this, place.tag, kWaveCount, kWavePitch, 0);
        if (selector != nullptr) {
            for (std::int32_t wave = 0; wave < kWaveCount; ++wave) {
                selector->addIcons(artwork(place.bitmap + 2 * wave),
                                   artwork(place.bitmap + 2 * wave + 1));
            }
            selector->setValue(effectValue(place.valueSource));
        }
        if (addControl(selector)) {
            mainControls[place.parameter] = selector;
        }
        break;
    }
    case ControlKind::Knob: {
        auto* knob = new (std::nothrow)
            StripKnob(place.rect, this, place.tag, kKnobFrames, kKnobSize, artwork(place.bitmap));
        if (knob != nullptr) {
            knob->setValue(effectValue(place.valueSource));
        }
        if (addControl(knob)) {
            mainControls[place.parameter] = knob;
        }
        break;
    }
    case ControlKind::ValueDisplay: {
        auto* display =
            new (std::nothrow) ValueDisplay(place.rect, artwork(place.bitmap), kDisplayStyle);
        if (display != nullptr) {
            display->setFont(kDisplayFont);
            display->setFontColor(kDisplayFontColor);
            display->setBackColor(kDisplayBackColor);
            display->setFrameColor(kDisplayFrameColor);
            display->setStringConvert(place.convert);
            display->setValue(effectValue(place.valueSource));
        }
        if (addControl(display)) {
            displays[place.parameter] = display;
            displaySources[place.parameter] = place.valueSource;
        }
        break;
    }
    case ControlKind::StepLight: {
        auto* light = new (std::nothrow) StripDisplay(place.rect, this, place.tag, kStepLightFrames,
                                                      kStepLightSize, artwork(place.bitmap));
        std::size_t step = 0;
        while (step < stepLights.size() && stepLights[step] != nullptr) {
            ++step;
        }
        if (light != nullptr) {
            light->setValue(0.0f);
        }
        if (addControl(light) && step < stepLights.size()) {
            stepLights[step] = light;
        }
        break;
    }
    }
}

void EffectEditor::close() {
    isOpen.store(false);
    delete frame; // and every control in it
    frame = nullptr;
    mainControls.fill(nullptr);
    displays.fill(nullptr);
    stepLights.fill(nullptr);
    for (Bitmap*& bitmap : artworkBitmaps) {
        if (bitmap != nullptr) {
            bitmap->forget();
            bitmap = nullptr;
        }
    }
}

void EffectEditor::setStepLight(std::int32_t step, float value) {
    if (step >= 0 && step < ParameterIndex::kNumSteps && stepLights[step] != nullptr) {
        stepLights[step]->setValue(value);
    }
}

void EffectEditor::idle() {
    if (frame != nullptr) {
        applyPendingParameters();
        // When the step has not moved, the light goes to 0 and back to 1 and is not redrawn.
        setStepLight(currentStep, 0.0f);
        currentStep = engine::SafeConversion::truncateClamped(
            effectValue(ParameterIndex::kQueryCurrentStep), INT32_MIN, INT32_MAX);
        setStepLight(currentStep, 1.0f);
    }
    EditorBase::idle();
}

void EffectEditor::showDisplay(std::int32_t parameter) {
    if (displays[parameter] != nullptr) {
        displays[parameter]->setValue(effectValue(displaySources[parameter]));
    }
}

void EffectEditor::showParameter(std::int32_t index) {
    if (mainControls[index] != nullptr) {
        mainControls[index]->setValue(effectValue(index));
    }
    showDisplay(index);
    // The shift in steps depends on the number of steps too.
    if (index == ParameterIndex::fNumSteps) {
        showDisplay(ParameterIndex::fStepShift);
    }
}

void EffectEditor::applyPendingParameters() {
    for (std::size_t word = 0; word < pending.size(); ++word) {
        std::uint32_t bits = pending[word].exchange(0, std::memory_order_acquire);
        for (std::int32_t bit = 0; bits != 0; ++bit, bits >>= 1) {
            const auto index = static_cast<std::int32_t>(word * 32) + bit;
            if ((bits & 1u) != 0 && isParameter(index)) {
                showParameter(index);
            }
        }
    }
}

void EffectEditor::setParameter(std::int32_t index, float value) {
    (void)value; // the controls show what the effect stores, quantised where it quantises
    if (!isOpen.load()) {
        return;
    }
    if (std::this_thread::get_id() != guiThread.load()) {
        if (isParameter(index)) {
            pending[static_cast<std::size_t>(index) / 32].fetch_or(
                1u << (static_cast<std::uint32_t>(index) % 32), std::memory_order_release);
        }
    } else if (isParameter(index)) {
        showParameter(index);
    }
    postUpdate();
}

void EffectEditor::valueChanged(DrawContext* context, Control* control) {
    if (control == nullptr) {
        return;
    }
    // The panic (998) and about (999) tags reach the effect and the host unchanged.
    if (effect != nullptr) {
        effect->setParameterAutomated(control->getTag(), control->getValue());
    }
    control->update(context);
}
