// A view with a normalised value that reports user changes to a listener and follows the mouse
// by polling while a button or modifier is held. Called from the host's GUI thread.
#pragma once

#include "gui/DrawContext.h"
#include "gui/View.h"

#include <cstdint>

class Control;

class ControlListener {
public:
    virtual ~ControlListener() = default;
    // The user gave control a value that differs from the one it last drew.
    virtual void valueChanged(DrawContext* context, Control* control) = 0;
};

class Control : public View {
public:
    Control(const Rect& size, ControlListener* listener = nullptr, std::int32_t tag = 0);

    void draw(DrawContext* context) override = 0;
    // Draws when the value differs from the one last drawn.
    void update(DrawContext* context) override;

    // Lets the editor idle (at most every 50 ms) while the control tracks the mouse.
    virtual void doIdle();
    // The setters only store: no clamping, no redraw, no notification.
    virtual void setValue(float newValue) { value = newValue; }
    virtual float getValue() const { return value; }
    virtual void setMin(float newMinimum) { minimum = newMinimum; }
    virtual float getMin() const { return minimum; }
    virtual void setMax(float newMaximum) { maximum = newMaximum; }
    virtual float getMax() const { return maximum; }
    virtual void setOldValue(float newOldValue) { oldValue = newOldValue; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setMouseEnabled(bool enabled) { mouseEnabled = enabled; }
    virtual bool getMouseEnabled() const { return mouseEnabled; }

    std::int32_t getTag() const { return tag; }
    ControlListener* getListener() const { return listener; }

protected:
    // Calls the listener when the value differs from the one last drawn.
    void notifyIfChanged(DrawContext* context);
    void notify(DrawContext* context);
    // The polling loop: computes the value from the pointer until no button or modifier is
    // held. The first pass uses where.
    template <typename ValueFromPoint>
    void trackMouse(DrawContext* context, Point& where, ValueFromPoint valueFromPoint);
    // Left button with Alt and nothing else: the value becomes the default. True when it did.
    bool applyDefaultOnAltClick(DrawContext* context, std::int32_t state);
    // value limited to low .. high; NaN gives low.
    template <typename Number> static Number clamped(Number value, Number low, Number high) {
        return value > high ? high : (value >= low ? value : low);
    }
    // Toward zero, saturating at the 32-bit range; NaN gives 0.
    static std::int32_t truncated(double number) {
        if (!(number > -2147483648.0)) {
            return number != number ? 0 : INT32_MIN;
        }
        return number < 2147483647.0 ? static_cast<std::int32_t>(number) : INT32_MAX;
    }
    // A push button's press: while held, the opposite of the value at the press with the pointer
    // over the control (edges inclusive) and that value elsewhere; a press whose button is
    // already up toggles once.
    void trackPush(DrawContext* context, Point& where);

    ControlListener* listener;
    std::int32_t tag;
    bool mouseEnabled = true;
    float oldValue = -1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minimum = 0.0f;
    float maximum = 1.0f;
};

template <typename ValueFromPoint>
void Control::trackMouse(DrawContext* context, Point& where, ValueFromPoint valueFromPoint) {
    std::int32_t state = 0;
    do {
        value = valueFromPoint(where);
        notifyIfChanged(context);
        context->getMouseLocation(where);
        doIdle();
        state = context->getMouseButtons();
    } while (state != 0);
}
