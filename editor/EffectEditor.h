// The effect's editor: the background artwork and 198 controls, one main control for each of
// the 111 parameters, value displays, step lights, the panic and the about button. Opened by
// the host inside a window of its own; the layout is EditorLayout.
//
// Threads: everything runs on the host's GUI thread except setParameter, which may come from
// any thread that sets parameters.
#pragma once

#include "editor/EditorLayout.h"
#include "engine/ParameterIndex.h"
#include "gui/Control.h"
#include "gui/EditorBase.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

class Bitmap;
class EffectBase;
class StripDisplay;
class ValueDisplay;

class EffectEditor : public EditorBase, public ControlListener {
public:
    // Registers with effect and loads the background; its size is the editor's rectangle.
    explicit EffectEditor(EffectBase* effect);
    ~EffectEditor() override;

    // Builds the frame in parentWindow with every control at the effect's current values and
    // paints it. False when the frame cannot be allocated or its window cannot be made in
    // parentWindow; nothing is left open then. An editor already open is rebuilt.
    bool open(void* parentWindow) override;
    void close() override;
    // Lights the current sequencer step, then draws what changed.
    void idle() override;
    // Brings the controls of one parameter in line with the value the effect now stores;
    // nothing is drawn here. On the GUI thread the controls take the value at once; from any
    // other thread only a mark is left, which the next idle applies, so no control is touched
    // while the GUI thread may be closing the editor.
    void setParameter(std::int32_t index, float value) override;

    // A control moved by the user: the effect's automated parameter change, then the
    // control's own redraw.
    void valueChanged(DrawContext* context, Control* control) override;

private:
    float effectValue(std::int32_t index) const;
    Bitmap* artwork(std::int32_t resourceId) const;
    void createControl(const EditorLayout::ControlPlace& place);
    // Appends to the frame; false (and the control deleted) when it is refused.
    bool addControl(Control* control);
    void showParameter(std::int32_t index);
    void showDisplay(std::int32_t parameter);
    void applyPendingParameters();
    void setStepLight(std::int32_t step, float value);

    Bitmap* background = nullptr;
    std::array<Bitmap*, EditorLayout::kArtworkBitmapCount> artworkBitmaps{};
    std::array<Control*, ParameterIndex::kNumParameters> mainControls{};
    // Each parameter's own display and what it shows (a parameter or a display query).
    std::array<ValueDisplay*, ParameterIndex::kNumParameters> displays{};
    std::array<std::int32_t, ParameterIndex::kNumParameters> displaySources{};
    std::array<StripDisplay*, ParameterIndex::kNumSteps> stepLights{};
    std::int32_t currentStep = 0;

    // Written on the GUI thread, read by setParameter on any thread.
    std::atomic<bool> isOpen{false};
    std::atomic<std::thread::id> guiThread{};
    // One bit per parameter changed from another thread since the last idle.
    std::array<std::atomic<std::uint32_t>, (ParameterIndex::kNumParameters + 31) / 32> pending{};
};
