// The base of an effect's editor: answers the host's editor requests, holds the Frame while
// the editor is open, and runs the idle that controls ask for while they track the mouse.
// Called from the host's GUI thread, except setParameter (see there).
#pragma once

#include "host/EditorInterface.h"

#include <atomic>
#include <cstdint>

class EffectBase;
class Frame;

class EditorBase : public EditorInterface {
public:
    // Registers the editor with effect, which then owns it.
    explicit EditorBase(EffectBase* effect);
    // Deletes a frame that close left behind.
    ~EditorBase() override;

    bool getRect(ERect** rect) override;
    // Asks for an update and stores parentWindow; the derived editor builds the frame.
    bool open(void* parentWindow) override;
    void close() override {}
    // The update requested by postUpdate, then the frame's idle redraw.
    void idle() override;
    virtual void update() {}
    // Safe from any thread: the update itself runs at the next idle on the GUI thread.
    void postUpdate() override { updateFlag.store(1, std::memory_order_release); }
    // May run on any thread that sets parameters: it only stores and asks for an update.
    virtual void setParameter(std::int32_t index, float value);
    // Draws the whole frame now.
    virtual void redraw();

    // idle and the host's idle, at most once every 50 ms (tick counter, wrap-safe).
    void idleThrottled();

    EffectBase* getEffect() const { return effect; }
    Frame* getFrame() const { return frame; }
    void* getSystemWindow() const { return systemWindow; }

protected:
    EffectBase* effect;
    void* systemWindow = nullptr;
    // Written by any thread that sets parameters, read and cleared by the GUI thread's idle.
    std::atomic<std::int32_t> updateFlag{0};
    ERect rect{};
    Frame* frame = nullptr;
    std::uint32_t lastIdleTime;
};
