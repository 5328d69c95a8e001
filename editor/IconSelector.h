// A row of icons of which exactly one is shown lit; clicking an icon selects it and sets the
// value i / (N - 1). Called from the host's GUI thread.
#pragma once

#include "gui/Control.h"

#include <cstdint>
#include <memory>

class Bitmap;

class IconSelector : public Control {
public:
    // capacity N icon pairs, icon i at size's top-left plus i pitches. A negative capacity
    // means none.
    IconSelector(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t capacity, std::int32_t horizontalPitch, std::int32_t verticalPitch);
    ~IconSelector() override;

    // Lights icon trunc(value x (N - 1)); none for a value beyond the last icon. Leaves the old
    // value to update, so the first idle after creation draws once more.
    void draw(DrawContext* context) override;
    // Selects the icon hit (edges inclusive) and idles while any button or modifier is held.
    // The value does not follow the pointer; the mouse-enabled flag is not consulted.
    void mouse(DrawContext* context, Point& where) override;

    // Stores the next pair until N are stored; takes no reference, so the caller keeps both
    // alive while the selector exists.
    virtual void addIcons(Bitmap* offIcon, Bitmap* onIcon);

    // The icon lit at the last draw.
    std::int32_t getSelectedIndex() const { return selectedIndex; }

private:
    // Icon i's rectangle, the size of its off icon; empty without one.
    Rect iconRect(std::int32_t index) const;

    std::unique_ptr<Bitmap*[]> offIcons;
    std::unique_ptr<Bitmap*[]> onIcons;
    Rect origin;
    std::int32_t capacity;
    std::int32_t count = 0;
    std::int32_t horizontalPitch;
    std::int32_t verticalPitch;
    std::int32_t selectedIndex = 0;
};
