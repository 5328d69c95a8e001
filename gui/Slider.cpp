#include "gui/Slider.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr float shiftSlowdown = 10.0f;

// Styles, per axis: drawn with value 0 at the low coordinate; tracking inverts.
constexpr std::int32_t originAtStart(Slider::Axis axis) {
    return axis == Slider::Axis::Vertical ? SliderOriginTop : SliderOriginLeft;
}
constexpr std::int32_t invertedTracking(Slider::Axis axis) {
    return axis == Slider::Axis::Vertical ? SliderOriginBottom : SliderOriginRight;
}

Bitmap* remembered(Bitmap* bitmap) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
    return bitmap;
}

} // namespace

Slider::Slider(const Rect& size, ControlListener* listener, std::int32_t tag, Axis axis,
               std::int32_t firstPosition, std::int32_t lastPosition, Bitmap* handle,
               Bitmap* background, const Point& backgroundOffset, std::int32_t style)
    : Control(size, listener, tag), axis(axis), handle(remembered(handle)),
      background(remembered(background)), handleWidth(handle != nullptr ? handle->getWidth() : 0),
      handleHeight(handle != nullptr ? handle->getHeight() : 0), backgroundOffset(backgroundOffset),
      firstPosition(firstPosition), lastPosition(lastPosition), style(style),
      handlePosition(axis == Axis::Vertical ? lastPosition : firstPosition),
      controlWidth(size.width()), controlHeight(size.height()) {
    const std::int64_t start = vertical() ? size.top : size.left;
    lowestCoordinate = toCoordinate(firstPosition - start);
    highestCoordinate = toCoordinate(std::int64_t{lastPosition} + handleLength() - start);
}

Slider::~Slider() {
    if (handle != nullptr) {
        handle->forget();
    }
    if (background != nullptr) {
        background->forget();
    }
}

void Slider::draw(DrawContext* context) {
    oldValue = value;
    if (controlWidth <= 0 || controlHeight <= 0) {
        return;
    }
    const float drawn = (style & originAtStart(axis)) != 0 ? value : 1.0f - value;
    const std::int64_t range = std::int64_t{lastPosition} - firstPosition;
    OffscreenContext offscreen(parent != nullptr ? parent : context->getFrame(), controlWidth,
                               controlHeight, ColorBlack);
    if (background != nullptr) {
        background->draw(&offscreen, Rect(0, 0, controlWidth, controlHeight), backgroundOffset);
    }
    // Control coordinates; the far end is limited so that the handle stays on its track.
    std::int64_t start = std::int64_t{truncated(drawn * static_cast<float>(range))} +
                         (vertical() ? handleOffset.v : handleOffset.h);
    start = toCoordinate(start > lowestCoordinate ? start : lowestCoordinate);
    std::int64_t end = start + handleLength();
    end = end < highestCoordinate ? end : highestCoordinate;
    const Rect handleRect =
        vertical()
            ? Rect(handleOffset.h, toCoordinate(start),
                   toCoordinate(std::int64_t{handleOffset.h} + handleWidth), toCoordinate(end))
            : Rect(toCoordinate(start), handleOffset.v, toCoordinate(end),
                   toCoordinate(std::int64_t{handleOffset.v} + handleHeight));
    if (handle != nullptr) {
        if (transparentHandle) {
            handle->drawTransparent(&offscreen, handleRect);
        } else {
            handle->draw(&offscreen, handleRect);
        }
    }
    offscreen.copyFrom(context, size);
    handlePosition = toCoordinate(start + (vertical() ? size.top : size.left));
}

bool Slider::handleHit(const Point& point) const {
    const std::int32_t across = vertical() ? size.left : size.top;
    const std::int32_t acrossEnd =
        toCoordinate(std::int64_t{across} + (vertical() ? handleWidth : handleHeight));
    const std::int32_t alongEnd = toCoordinate(std::int64_t{handlePosition} + handleLength());
    const Rect handleRect = vertical() ? Rect(across, handlePosition, acrossEnd, alongEnd)
                                       : Rect(handlePosition, across, alongEnd, acrossEnd);
    return handleRect.pointInside(point);
}

float Slider::pointToValue(const Point& point, std::int32_t grab) const {
    const std::int64_t range = std::int64_t{lastPosition} - firstPosition;
    float position = 0.0f;
    if (range != 0) {
        position = static_cast<float>(std::int64_t{along(point)} - firstPosition - grab) /
                   static_cast<float>(range);
    }
    return (style & invertedTracking(axis)) != 0 ? 1.0f - position : position;
}

void Slider::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled) {
        return;
    }
    std::int32_t state = context->getMouseButtons();
    if (applyDefaultOnAltClick(context, state)) {
        return;
    }
    constexpr std::int32_t plainDrag = MouseLeft;
    constexpr std::int32_t fineDrag = MouseLeft | KeyShift;
    if ((state != plainDrag && state != fineDrag) || !handleHit(where)) {
        return;
    }
    const std::int32_t grab = toCoordinate(std::int64_t{along(where)} - handlePosition);
    float anchor = value;
    std::int32_t rememberedState = state;
    while (state == plainDrag || state == fineDrag) {
        float position = pointToValue(where, grab);
        if ((state & KeyShift) != 0) {
            position = anchor + (position - anchor) / shiftSlowdown;
        }
        value = clamped(position, 0.0f, 1.0f);
        notifyIfChanged(context);
        context->getMouseLocation(where);
        doIdle();
        state = context->getMouseButtons();
        if (state != rememberedState) {
            // Fine movement starts from where the handle is when Shift goes down.
            rememberedState = state;
            if ((state & KeyShift) != 0) {
                anchor = value;
            }
        }
    }
}
