#include "gui/Knob.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

#include <cmath>

namespace {

constexpr std::int32_t insetWithoutHandle = 5;
constexpr float travel = 4.712389f;       // 3/4 turn in radians
constexpr float startAngle = 3.9269907f;  // 5/8 turn: the lower left
constexpr float quarterTurn = 1.5707964f; // radians
constexpr float halfTurn = 3.1415927f;
constexpr float fullTurn = 6.2831855f;
constexpr float deadZoneStart = 0.625f; // turns, counter-clockwise from the right
constexpr float deadZoneMiddle = 0.75f;
constexpr float deadZoneEnd = 0.875f;
constexpr float travelStart = 0.125f;
constexpr float turnsToTravel = 1.3333334f;
constexpr double centreTolerance = 1e-12;

} // namespace

Knob::Knob(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
           Bitmap* handle, const Point& offset)
    : Control(size, listener, tag),
      inset(handle != nullptr ? handle->getWidth() / 2 : insetWithoutHandle),
      background(background), handle(handle), offset(offset) {
    if (background != nullptr) {
        background->remember();
    }
    if (handle != nullptr) {
        handle->remember();
    }
}

Knob::~Knob() {
    if (background != nullptr) {
        background->forget();
    }
    if (handle != nullptr) {
        handle->forget();
    }
}

void Knob::setBackgroundBitmap(Bitmap* bitmap) {
    if (background != nullptr) {
        background->forget();
    }
    background = bitmap;
    if (background != nullptr) {
        background->remember();
    }
}

void Knob::valueToPoint(Point& point) const {
    const float radius = static_cast<float>(size.width() - 2 * inset) / 2;
    float angle = travel / (maximum - minimum) * (value - minimum) + startAngle;
    if (!std::isfinite(angle)) {
        angle = startAngle; // an empty range or a value of NaN or infinity: the minimum's place
    }
    // The library's double sin and cos, as the rest of the product uses them.
    const double sine = std::sin(static_cast<double>(angle));
    const double cosine = std::cos(static_cast<double>(angle));
    point.h = static_cast<std::int32_t>(sine * radius + radius) + inset;
    point.v = static_cast<std::int32_t>(radius - cosine * radius) + inset;
}

float Knob::pointToValue(const Point& point) const {
    const float radius = static_cast<float>(size.width() - 2 * inset) / 2;
    const float x = static_cast<float>(point.h - size.left) - radius;
    const float y = radius - static_cast<float>(point.v - size.top);
    float angle = 0.0f;
    if (std::fabs(x) >= centreTolerance || std::fabs(y) >= centreTolerance) {
        angle = static_cast<float>(-std::atan(static_cast<double>(x / y)));
    }
    angle += quarterTurn;
    if (y < 0) {
        angle += halfTurn;
    }
    angle /= fullTurn;

    const float range = maximum - minimum;
    float result;
    if (angle > deadZoneStart && angle < deadZoneEnd) {
        result = angle < deadZoneMiddle ? minimum : maximum;
    } else {
        if (angle >= deadZoneEnd) {
            angle -= deadZoneEnd;
        } else {
            angle += travelStart;
        }
        angle *= turnsToTravel;
        result = minimum + range - angle * range;
    }
    if (result < minimum) {
        result = minimum;
    }
    if (result > maximum) {
        result = maximum;
    }
    return result;
}

void Knob::draw(DrawContext* context) {
    if (background != nullptr) {
        background->draw(context, size, offset);
    }
    if (handle != nullptr) {
        Point where;
        valueToPoint(where);
        const Rect place(size.left - inset + where.h, size.top - inset + where.v,
                         size.left - inset + where.h + handle->getWidth(),
                         size.top - inset + where.v + handle->getHeight());
        handle->drawTransparent(context, place);
    }
    oldValue = value;
}

void Knob::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled) {
        return;
    }
    if (applyDefaultOnAltClick(context, context->getMouseButtons())) {
        return;
    }
    trackMouse(context, where, [this](const Point& point) { return pointToValue(point); });
}
