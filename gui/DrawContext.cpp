#include "gui/DrawContext.h"

#include "gui/FontTable.h"
#include "gui/platform/Drawing.h"
#include "gui/platform/Input.h"

#include <cstdint>
#include <cstring>

DrawContext::DrawContext(Frame* frame, platform::DeviceContext* deviceContext,
                         platform::Window* window)
    : deviceContext(deviceContext), window(window), frame(frame) {
    if (deviceContext == nullptr) {
        return;
    }
    oldBrush = platform::currentObject(deviceContext, platform::ObjectKind::Brush);
    oldPen = platform::currentObject(deviceContext, platform::ObjectKind::Pen);
    oldFont = platform::currentObject(deviceContext, platform::ObjectKind::Font);
    platform::setBackgroundMode(deviceContext, platform::BackgroundMode::Transparent);
    setFrameColor(frameColor);
    setLineStyle(lineStyle);
    setFillColor(fillColor);
    setFontColor(fontColor);
}

DrawContext::~DrawContext() {
    if (deviceContext != nullptr) {
        if (oldBrush != nullptr) {
            platform::selectObject(deviceContext, oldBrush);
        }
        if (oldPen != nullptr) {
            platform::selectObject(deviceContext, oldPen);
        }
        if (oldFont != nullptr) {
            platform::selectObject(deviceContext, oldFont);
        }
    }
    if (brush != nullptr) {
        platform::deleteObject(brush);
    }
    if (pen != nullptr) {
        platform::deleteObject(pen);
    }
    if (font != nullptr) {
        platform::deleteObject(font);
    }
}

void DrawContext::rebuildPen() {
    if (deviceContext == nullptr) {
        return;
    }
    platform::GraphicsObject* made = platform::createPen(
        lineStyle == LineDotted ? platform::PenStyle::Dotted : platform::PenStyle::Solid, lineWidth,
        frameColor.colorValue());
    platform::selectObject(deviceContext, made);
    if (pen != nullptr) {
        platform::deleteObject(pen);
    }
    pen = made;
}

void DrawContext::rebuildBrush() {
    if (deviceContext == nullptr) {
        return;
    }
    platform::GraphicsObject* made = platform::createSolidBrush(fillColor.colorValue());
    if (made == nullptr) {
        return;
    }
    platform::selectObject(deviceContext, made);
    if (brush != nullptr) {
        platform::deleteObject(brush);
    }
    brush = made;
}

void DrawContext::moveTo(const Point& point) {
    platform::moveTo(deviceContext, point);
}

void DrawContext::lineTo(const Point& point) {
    platform::lineTo(deviceContext, point);
}

void DrawContext::drawPolyline(const Point* points, std::int32_t count) {
    if (points != nullptr && count > 0) {
        platform::polyline(deviceContext, points, count);
    }
}

void DrawContext::fillPolygon(const Point* points, std::int32_t count) {
    if (points == nullptr || count <= 0) {
        return;
    }
    platform::GraphicsObject* previous = platform::selectObject(deviceContext, platform::nullPen());
    platform::polygon(deviceContext, points, count);
    platform::selectObject(deviceContext, previous);
}

void DrawContext::drawRect(const Rect& rect) {
    moveTo(Point(rect.left, rect.top));
    lineTo(Point(rect.right, rect.top));
    lineTo(Point(rect.right, rect.bottom));
    lineTo(Point(rect.left, rect.bottom));
    lineTo(Point(rect.left, rect.top));
}

void DrawContext::fillRect(const Rect& rect) {
    // The interior of drawRect's outline.
    const Rect inside(nextCoordinate(rect.left), nextCoordinate(rect.top), rect.right, rect.bottom);
    platform::GraphicsObject* previous = platform::selectObject(deviceContext, platform::nullPen());
    platform::fillRectangle(deviceContext, inside, brush);
    platform::selectObject(deviceContext, previous);
}

void DrawContext::drawArc(const Rect& rect, const Point& from, const Point& to) {
    platform::arc(
        deviceContext,
        Rect(rect.left, rect.top, nextCoordinate(rect.right), nextCoordinate(rect.bottom)), from,
        to);
}

void DrawContext::drawEllipse(const Rect& rect) {
    const Point top(rect.left + rect.width() / 2, rect.top);
    drawArc(rect, top, top);
}

void DrawContext::fillEllipse(const Rect& rect) {
    platform::GraphicsObject* previous = platform::selectObject(deviceContext, platform::nullPen());
    platform::ellipse(deviceContext, Rect(nextCoordinate(rect.left), nextCoordinate(rect.top),
                                          rect.right, rect.bottom));
    platform::selectObject(deviceContext, previous);
}

void DrawContext::fillPie(const Rect& rect, const Point& from, const Point& to) {
    platform::GraphicsObject* previous = platform::selectObject(deviceContext, platform::nullPen());
    platform::pie(
        deviceContext,
        Rect(nextCoordinate(rect.left), nextCoordinate(rect.top), rect.right, rect.bottom), from,
        to);
    platform::selectObject(deviceContext, previous);
}

void DrawContext::drawPoint(const Point& point, const Color& color) {
    platform::setPixel(deviceContext, point, color.colorValue());
}

void DrawContext::setLineStyle(std::int32_t style) {
    lineStyle = style;
    rebuildPen();
}

void DrawContext::setLineWidth(std::int32_t width) {
    lineWidth = width;
    rebuildPen();
}

void DrawContext::setFrameColor(const Color& color) {
    frameColor = color;
    rebuildPen();
}

void DrawContext::setFillColor(const Color& color) {
    fillColor = color;
    if (deviceContext != nullptr) {
        platform::setBackgroundColor(deviceContext, color.colorValue());
    }
    rebuildBrush();
}

void DrawContext::setFontColor(const Color& color) {
    fontColor = color;
    if (deviceContext != nullptr) {
        platform::setTextColor(deviceContext, color.colorValue());
    }
}

void DrawContext::setFont(std::int32_t fontId, std::int32_t height) {
    fontSize = height == 0 ? defaultFontHeight(fontId) : height;
    if (deviceContext == nullptr) {
        return;
    }
    platform::GraphicsObject* made = platform::createFont(fontDescription(fontId, fontSize));
    platform::selectObject(deviceContext, made);
    if (font != nullptr) {
        platform::deleteObject(font);
    }
    font = made;
}

void DrawContext::drawString(const char* text, const Rect& rect, bool opaque,
                             std::int32_t alignment) {
    if (text == nullptr || deviceContext == nullptr) {
        return;
    }
    platform::setBackgroundMode(deviceContext, opaque ? platform::BackgroundMode::Opaque
                                                      : platform::BackgroundMode::Transparent);
    Rect box = rect;
    platform::TextAlignment layout = platform::TextAlignment::Left;
    if (alignment == AlignCentre) {
        layout = platform::TextAlignment::Centre;
    } else if (alignment == AlignRight) {
        layout = platform::TextAlignment::Right;
    } else {
        box.left = nextCoordinate(box.left);
    }
    platform::drawText(deviceContext, text, static_cast<std::int32_t>(std::strlen(text)), box,
                       layout);
    platform::setBackgroundMode(deviceContext, platform::BackgroundMode::Transparent);
}

std::int32_t DrawContext::getStringWidth(const char* text) const {
    if (text == nullptr || deviceContext == nullptr) {
        return 0;
    }
    return platform::textWidth(deviceContext, text, static_cast<std::int32_t>(std::strlen(text)));
}

std::int32_t DrawContext::getMouseButtons() const {
    struct KeyBit {
        platform::Key key;
        std::int32_t bit;
    };
    static constexpr KeyBit keys[] = {
        {platform::Key::LeftButton, MouseLeft},   {platform::Key::MiddleButton, MouseMiddle},
        {platform::Key::RightButton, MouseRight}, {platform::Key::Shift, KeyShift},
        {platform::Key::Control, KeyControl},     {platform::Key::Alt, KeyAlt},
    };
    std::int32_t state = 0;
    for (const KeyBit& entry : keys) {
        if (platform::isKeyDown(entry.key)) {
            state |= entry.bit;
        }
    }
    return state;
}

void DrawContext::getMouseLocation(Point& point) const {
    point = platform::cursorPosition(window);
}
