// Objects, device context state, lines, rectangles and pixels of the software backend.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePlatform.h"

#include <algorithm>
#include <cstdlib>

namespace software {

namespace {

std::int32_t liveObjects = 0;

// Stock objects live as long as the program or module: statics, gone when a host unloads it.
platform::GraphicsObject makeStock(platform::ObjectKind kind) {
    platform::GraphicsObject object;
    object.kind = kind;
    object.stock = true;
    return object;
}

bool isColorBright(platform::ColorValue color) {
    const std::uint32_t red = color & 0xFF;
    const std::uint32_t green = (color >> 8) & 0xFF;
    const std::uint32_t blue = (color >> 16) & 0xFF;
    return red + green + blue >= 384;
}

// Stamps the pen at one point: a single pixel for width 1, a disc of the pen's width otherwise.
void stamp(platform::DeviceContext* context, std::int32_t x, std::int32_t y,
           const platform::GraphicsObject& pen) {
    if (pen.penWidth <= 1) {
        plot(context, x, y, pen.color);
        return;
    }
    const std::int32_t width = pen.penWidth;
    // Doubled coordinates keep the disc's centre on the pixel for odd and even widths alike.
    const std::int64_t limit = static_cast<std::int64_t>(width) * width;
    for (std::int32_t dy = -width; dy <= width; ++dy) {
        for (std::int32_t dx = -width; dx <= width; ++dx) {
            const std::int64_t distance = 4LL * dx * dx + 4LL * dy * dy;
            if (distance < limit) {
                plot(context, x + dx, y + dy, pen.color);
            }
        }
    }
}

// The pixels from start towards end, end left out; dotPhase carries the dotted pattern.
// Along the major axis every pixel is set; the minor coordinate is the exact one rounded to the
// nearest, and an exact half goes to the smaller coordinate, as the platform does.
void drawLine(platform::DeviceContext* context, Point start, Point end, std::int32_t& dotPhase) {
    const platform::GraphicsObject* pen = context->pen;
    if (pen == nullptr || pen->isNull) {
        return;
    }
    const std::int64_t dx = std::abs(static_cast<std::int64_t>(end.h) - start.h);
    const std::int64_t dy = std::abs(static_cast<std::int64_t>(end.v) - start.v);
    const std::int32_t stepX = end.h > start.h ? 1 : -1;
    const std::int32_t stepY = end.v > start.v ? 1 : -1;
    const bool xMajor = dx >= dy;
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const std::int32_t minorStep = xMajor ? stepY : stepX;
    for (std::int64_t step = 0; step < major; ++step) {
        // Offset along the minor axis: round(step x minor / major), halves towards the smaller
        // coordinate, i.e. down when moving to larger coordinates and up otherwise.
        const std::int64_t twice = 2 * step * minor;
        const std::int64_t offset =
            minorStep > 0 ? (twice + major - 1) / (2 * major) : (twice + major) / (2 * major);
        const auto along = static_cast<std::int32_t>(step);
        const auto across = static_cast<std::int32_t>(offset) * minorStep;
        const std::int32_t x = xMajor ? start.h + along * stepX : start.h + across;
        const std::int32_t y = xMajor ? start.v + across : start.v + along * stepY;
        const bool on = pen->penStyle == platform::PenStyle::Solid || dotPhase < dotOn;
        if (on) {
            stamp(context, x, y, *pen);
        }
        dotPhase = (dotPhase + 1) % (dotOn + dotOff);
    }
}

} // namespace

platform::GraphicsObject* stockBlackPen() {
    static platform::GraphicsObject pen = [] {
        platform::GraphicsObject made = makeStock(platform::ObjectKind::Pen);
        made.color = 0;
        return made;
    }();
    return &pen;
}

platform::GraphicsObject* stockWhiteBrush() {
    static platform::GraphicsObject brush = [] {
        platform::GraphicsObject made = makeStock(platform::ObjectKind::Brush);
        made.color = 0xFFFFFF;
        return made;
    }();
    return &brush;
}

platform::GraphicsObject* stockSystemFont() {
    static platform::GraphicsObject font = [] {
        platform::GraphicsObject made = makeStock(platform::ObjectKind::Font);
        made.font.height = -16;
        made.font.weight = 700;
        return made;
    }();
    return &font;
}

platform::GraphicsObject* stockMonochromeBitmap() {
    static platform::GraphicsObject bitmap = [] {
        platform::GraphicsObject made = makeStock(platform::ObjectKind::Bitmap);
        made.width = 1;
        made.height = 1;
        made.monochrome = true;
        made.pixels.assign(1, 0);
        return made;
    }();
    return &bitmap;
}

platform::GraphicsObject* newObject(platform::ObjectKind kind) {
    auto* object = new platform::GraphicsObject;
    object->kind = kind;
    ++liveObjects;
    return object;
}

platform::GraphicsObject* newBitmap(std::int32_t width, std::int32_t height, bool monochrome) {
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        return nullptr;
    }
    platform::GraphicsObject* bitmap = newObject(platform::ObjectKind::Bitmap);
    bitmap->width = width;
    bitmap->height = height;
    bitmap->monochrome = monochrome;
    bitmap->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return bitmap;
}

std::int32_t liveObjectCount() {
    return liveObjects;
}

void plot(platform::DeviceContext* context, std::int32_t x, std::int32_t y,
          platform::ColorValue color) {
    platform::GraphicsObject* surface = context->bitmap;
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->width || y >= surface->height) {
        return;
    }
    const std::size_t index =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(surface->width) +
        static_cast<std::size_t>(x);
    surface->pixels[index] =
        surface->monochrome ? (isColorBright(color) ? 1 : 0) : (color & 0xFFFFFF);
}

} // namespace software

namespace platform {

GraphicsObject* currentObject(DeviceContext* context, ObjectKind kind) {
    if (context == nullptr) {
        return nullptr;
    }
    switch (kind) {
    case ObjectKind::Pen:
        return context->pen;
    case ObjectKind::Brush:
        return context->brush;
    case ObjectKind::Font:
        return context->font;
    case ObjectKind::Bitmap:
        return context->bitmap;
    }
    return nullptr;
}

GraphicsObject* selectObject(DeviceContext* context, GraphicsObject* object) {
    if (context == nullptr || object == nullptr) {
        return nullptr;
    }
    GraphicsObject** slot = nullptr;
    switch (object->kind) {
    case ObjectKind::Pen:
        slot = &context->pen;
        break;
    case ObjectKind::Brush:
        slot = &context->brush;
        break;
    case ObjectKind::Font:
        slot = &context->font;
        break;
    case ObjectKind::Bitmap:
        // Only memory contexts take bitmaps, and a bitmap only of their own kind of surface.
        if (!context->memory) {
            return nullptr;
        }
        slot = &context->bitmap;
        break;
    }
    GraphicsObject* previous = *slot;
    *slot = object;
    return previous;
}

void deleteObject(GraphicsObject* object) {
    if (object == nullptr || object->stock) {
        return;
    }
    --software::liveObjects;
    delete object;
}

GraphicsObject* createPen(PenStyle style, std::int32_t width, ColorValue color) {
    GraphicsObject* pen = software::newObject(ObjectKind::Pen);
    pen->penStyle = style;
    pen->penWidth = width < 1 ? 1 : width;
    pen->color = color & 0xFFFFFF;
    return pen;
}

GraphicsObject* createSolidBrush(ColorValue color) {
    GraphicsObject* brush = software::newObject(ObjectKind::Brush);
    brush->color = color & 0xFFFFFF;
    return brush;
}

GraphicsObject* createFont(const FontDescription& description) {
    GraphicsObject* font = software::newObject(ObjectKind::Font);
    font->font = description;
    font->font.faceName[sizeof(font->font.faceName) - 1] = '\0';
    return font;
}

GraphicsObject* nullPen() {
    static GraphicsObject pen = [] {
        GraphicsObject made = software::makeStock(ObjectKind::Pen);
        made.isNull = true;
        return made;
    }();
    return &pen;
}

void setBackgroundMode(DeviceContext* context, BackgroundMode mode) {
    if (context != nullptr) {
        context->backgroundMode = mode;
    }
}

void setBackgroundColor(DeviceContext* context, ColorValue color) {
    if (context != nullptr) {
        context->backgroundColor = color & 0xFFFFFF;
    }
}

void setTextColor(DeviceContext* context, ColorValue color) {
    if (context != nullptr) {
        context->textColor = color & 0xFFFFFF;
    }
}

void moveTo(DeviceContext* context, Point point) {
    if (context != nullptr) {
        context->position = point;
    }
}

void lineTo(DeviceContext* context, Point point) {
    if (context == nullptr) {
        return;
    }
    std::int32_t dotPhase = 0;
    software::drawLine(context, context->position, point, dotPhase);
    context->position = point;
}

void polyline(DeviceContext* context, const Point* points, std::int32_t count) {
    if (context == nullptr || points == nullptr || count < 2) {
        return;
    }
    std::int32_t dotPhase = 0;
    for (std::int32_t index = 1; index < count; ++index) {
        software::drawLine(context, points[index - 1], points[index], dotPhase);
    }
}

void fillRectangle(DeviceContext* context, const Rect& rect, GraphicsObject* brush) {
    if (context == nullptr || brush == nullptr || brush->isNull ||
        brush->kind != ObjectKind::Brush) {
        return;
    }
    const GraphicsObject* surface = context->bitmap;
    if (surface == nullptr) {
        return;
    }
    // An inverted rectangle covers the same pixels as drawn the other way round: from its
    // right edge (left out) to its left edge (included), as the platform fills it.
    std::int32_t left = rect.left;
    std::int32_t right = rect.right;
    if (right < left) {
        left = rect.right + 1;
        right = rect.left + 1;
    }
    std::int32_t top = rect.top;
    std::int32_t bottom = rect.bottom;
    if (bottom < top) {
        top = rect.bottom + 1;
        bottom = rect.top + 1;
    }
    // Clipped once, so a huge rectangle costs no more than the surface.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface->width);
    bottom = std::min(bottom, surface->height);
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            software::plot(context, x, y, brush->color);
        }
    }
}

void setPixel(DeviceContext* context, Point point, ColorValue color) {
    if (context != nullptr) {
        software::plot(context, point.h, point.v, color);
    }
}

void drawText(DeviceContext* context, const char* text, std::int32_t length, const Rect& rect,
              TextAlignment alignment) {
    if (context == nullptr || text == nullptr || length <= 0) {
        return;
    }
    software::renderText(context, text, length, rect, alignment);
}

std::int32_t textWidth(DeviceContext* context, const char* text, std::int32_t length) {
    if (context == nullptr || text == nullptr || length <= 0) {
        return 0;
    }
    return software::selectedFontWidth(context, text, length);
}

} // namespace platform
