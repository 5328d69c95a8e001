// The plug-in: 111 parameters, ten programs and the feedback delay engine behind one effect
// record. Parameter changes may come from the host's GUI or automation thread while the audio
// thread processes; the engine keeps every shared value a single atomic field.
#pragma once

#include "effect/FactoryPresets.h"
#include "effect/ProgramSlot.h"
#include "engine/FeedbackEngine.h"
#include "host/ExtendedEffectBase.h"
#include "host/VstInterface.h"

#include <array>

class FeedbackEffect : public ExtendedEffectBase {
public:
    static constexpr VstInt32 kUniqueId = 0x346B3431; // '4k41'

    // Writes the factory presets and loads program 0. The engine allocates its delay memory
    // here; check hasDelayMemory() before handing the effect to a host.
    explicit FeedbackEffect(audioMasterCallback host);
    ~FeedbackEffect() override;

    bool hasDelayMemory() const { return engine.hasDelayMemory(); }

    // Overrides, in the base classes' slot order.

    // 0..110 store a parameter (NaN as 0) and write it into the current program; 998 clears
    // the delay lines, 1200 writes the program dump; every index recomputes the engine.
    void setParameter(VstInt32 index, float value) override;
    // Stored values for 0..110, engine quantities for the display queries, 0 otherwise.
    float getParameter(VstInt32 index) const override;
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override;
    // Selects a program and pushes its 111 values through setParameter; other numbers do nothing.
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    // A program still named "Init" reads as "Init <number>", counting from 1.
    void getProgramName(char* name) const override;
    // The text operations write nothing for an index outside 0..110.
    void getParameterLabel(VstInt32 index, char* label) const override;
    void getParameterDisplay(VstInt32 index, char* text) const override;
    void getParameterName(VstInt32 index, char* text) const override;
    void suspend() override;
    void resume() override;
    // The name exactly as stored; nothing for an index outside the programs.
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) const override;
    bool getVendorString(char* text) const override;
    bool getProductString(char* text) const override;

    // Operations of its own, in slot order.

    // Clears the delay lines and the limiter state (the editor's panic button).
    virtual void resetEngine();
    // Recomputes every derived engine value from the stored parameters.
    virtual void updateEngine();
    // The sequencer step sounding now, written by the audio thread.
    virtual VstInt32 getCurrentStep() const;
    // Writes the stored values as preset statements into the current directory's dump file.
    virtual void dumpProgram();
    // Names and fills all ten program slots.
    virtual void writeFactoryPresets();

private:
    void runEngine(float** inputs, float** outputs, VstInt32 sampleFrames,
                   engine::OutputMode mode) noexcept;
    ProgramSlot& currentSlot();
    const ProgramSlot& currentSlot() const;

    // Declared first: the slots are made and filled before the engine starts.
    std::array<ProgramSlot, kNumPrograms> programs;
    engine::FeedbackEngine engine;
};
