#include "editor/IconSelector.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

#include <new>

IconSelector::IconSelector(const Rect& size, ControlListener* listener, std::int32_t tag,
                           std::int32_t capacity, std::int32_t horizontalPitch,
                           std::int32_t verticalPitch)
    : Control(size, listener, tag), origin(size), capacity(capacity > 0 ? capacity : 0),
      horizontalPitch(horizontalPitch), verticalPitch(verticalPitch) {
    offIcons.reset(new (std::nothrow) Bitmap* [this->capacity] {});
    onIcons.reset(new (std::nothrow) Bitmap* [this->capacity] {});
    if (offIcons == nullptr || onIcons == nullptr) {
        offIcons.reset();
        onIcons.reset();
        this->capacity = 0;
    }
}

IconSelector::~IconSelector() = default;

void IconSelector::addIcons(Bitmap* offIcon, Bitmap* onIcon) {
    if (count < capacity) {
        offIcons[count] = offIcon;
        onIcons[count] = onIcon;
        ++count;
    }
}

Rect IconSelector::iconRect(std::int32_t index) const {
    const Bitmap* const icon = offIcons[index];
    if (icon == nullptr) {
        return Rect();
    }
    const std::int32_t left =
        toCoordinate(std::int64_t{origin.left} + std::int64_t{index} * horizontalPitch);
    const std::int32_t top =
        toCoordinate(std::int64_t{origin.top} + std::int64_t{index} * verticalPitch);
    return Rect(left, top, toCoordinate(std::int64_t{left} + icon->getWidth()),
                toCoordinate(std::int64_t{top} + icon->getHeight()));
}

void IconSelector::draw(DrawContext* context) {
    // Float product, then toward zero: 0.6 lights icon 2 of five, only 1.0 the last.
    selectedIndex = truncated(static_cast<float>(capacity - 1) * value);
    for (std::int32_t index = 0; index < capacity; ++index) {
        Bitmap* const icon = index == selectedIndex ? onIcons[index] : offIcons[index];
        if (icon != nullptr && offIcons[index] != nullptr) {
            icon->draw(context, iconRect(index));
        }
    }
}

void IconSelector::mouse(DrawContext* context, Point& where) {
    if (context == nullptr) {
        return;
    }
    std::int32_t hit = -1;
    for (std::int32_t index = 0; index < capacity && hit < 0; ++index) {
        if (offIcons[index] != nullptr && iconRect(index).pointInside(where)) {
            hit = index;
        }
    }
    if (hit < 0) {
        return;
    }
    if (hit != selectedIndex) {
        selectedIndex = hit;
        // capacity > 1 here: with one icon, every hit is the selected one.
        value = static_cast<float>(static_cast<double>(hit) / (capacity - 1));
        notify(context);
        draw(context);
    }
    do {
        doIdle();
    } while (context->getMouseButtons() != 0);
}
