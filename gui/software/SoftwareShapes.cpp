// Polygons, ellipses, arcs and pies of the software backend. Pixel (x, y) is sampled at its
// centre; shapes inside a box leave the box's right and bottom edges out. Integer arithmetic
// throughout, so every compiler gives the same pixels.
#include "gui/software/SoftwareObjects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using platform::DeviceContext;
using platform::GraphicsObject;

bool drawsWith(const GraphicsObject* object) {
    return object != nullptr && !object->isNull;
}

// Floor of a / b for b > 0.
std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Alternate fill: a pixel is inside when its centre is, left edges included and right edges
// left out.
void fillPolygonInterior(DeviceContext* context, const Point* points, std::int32_t count,
                         platform::ColorValue color) {
    std::int32_t top = points[0].v;
    std::int32_t bottom = points[0].v;
    for (std::int32_t index = 1; index < count; ++index) {
        top = std::min(top, points[index].v);
        bottom = std::max(bottom, points[index].v);
    }
    if (context->bitmap != nullptr) {
        top = std::max(top, 0);
        bottom = std::min(bottom, context->bitmap->height);
    }
    std::vector<std::int64_t> crossings;
    for (std::int32_t y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::int32_t index = 0; index < count; ++index) {
            const Point& a = points[index];
            const Point& b = points[(index + 1) % count];
            if (a.v == b.v) {
                continue;
            }
            const Point& upper = a.v < b.v ? a : b;
            const Point& lower = a.v < b.v ? b : a;
            if (y < upper.v || y >= lower.v) {
                continue;
            }
            // The first whole x at or right of the crossing: ceil of an exact fraction.
            const std::int64_t numerator =
                static_cast<std::int64_t>(upper.h) * (lower.v - upper.v) +
                static_cast<std::int64_t>(y - upper.v) * (lower.h - upper.h);
            const std::int64_t denominator = lower.v - upper.v;
            crossings.push_back(-floorDivide(-numerator, denominator));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t pair = 0; pair + 1 < crossings.size(); pair += 2) {
            for (std::int64_t x = crossings[pair]; x < crossings[pair + 1]; ++x) {
                software::plot(context, static_cast<std::int32_t>(x), y, color);
            }
        }
    }
}

// The ellipse in a box, in doubled coordinates around its centre.
struct EllipseBox {
    std::int64_t left, top, right, bottom;
    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
    // Pixel centre relative to the box centre, doubled, y upwards.
    std::int64_t relativeX(std::int64_t x) const { return 2 * x + 1 - (left + right); }
    std::int64_t relativeY(std::int64_t y) const { return (top + bottom) - (2 * y + 1); }
    bool inside(std::int64_t x, std::int64_t y) const {
        const std::int64_t rx = relativeX(x);
        const std::int64_t ry = relativeY(y);
        const std::int64_t w = width();
        const std::int64_t h = height();
        return rx * rx * h * h + ry * ry * w * w <= w * w * h * h;
    }
    // Inside with a 4-neighbour outside.
    bool onOutline(std::int64_t x, std::int64_t y) const {
        return inside(x, y) &&
               (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
    }
};

EllipseBox makeBox(const Rect& box) {
    EllipseBox result{box.left, box.top, box.right, box.bottom};
    if (result.right < result.left) {
        std::swap(result.left, result.right);
    }
    if (result.bottom < result.top) {
        std::swap(result.top, result.bottom);
    }
    return result;
}

// The counter-clockwise sector from the radial through from to the radial through to; the
// whole turn when both radials coincide.
struct Sector {
    std::int64_t startX, startY, endX, endY;
    bool whole;

    bool contains(std::int64_t x, std::int64_t y) const {
        if (whole) {
            return true;
        }
        const std::int64_t startCross = startX * y - startY * x;
        const std::int64_t endCross = x * endY - y * endX;
        const std::int64_t span = startX * endY - startY * endX;
        if (span > 0) {
            return startCross >= 0 && endCross >= 0;
        }
        if (span == 0 && startX * endX + startY * endY > 0) {
            return true;
        }
        return startCross >= 0 || endCross >= 0;
    }
};

Sector makeSector(const EllipseBox& box, Point from, Point to) {
    Sector sector{box.relativeX(from.h) - 1, box.relativeY(from.v) + 1, box.relativeX(to.h) - 1,
                  box.relativeY(to.v) + 1, false};
    const std::int64_t cross = sector.startX * sector.endY - sector.startY * sector.endX;
    const std::int64_t dot = sector.startX * sector.endX + sector.startY * sector.endY;
    sector.whole = cross == 0 && dot >= 0;
    return sector;
}

template <typename Test>
void forEachPixelOfBox(DeviceContext* context, const EllipseBox& box, Test test,
                       platform::ColorValue color) {
    std::int64_t left = box.left;
    std::int64_t top = box.top;
    std::int64_t right = box.right;
    std::int64_t bottom = box.bottom;
    if (context->bitmap != nullptr) {
        left = std::max<std::int64_t>(left, 0);
        top = std::max<std::int64_t>(top, 0);
        right = std::min<std::int64_t>(right, context->bitmap->width);
        bottom = std::min<std::int64_t>(bottom, context->bitmap->height);
    }
    for (std::int64_t y = top; y < bottom; ++y) {
        for (std::int64_t x = left; x < right; ++x) {
            if (test(x, y)) {
                software::plot(context, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                               color);
            }
        }
    }
}

} // namespace

namespace platform {

void polygon(DeviceContext* context, const Point* points, std::int32_t count) {
    if (context == nullptr || points == nullptr || count < 2) {
        return;
    }
    if (drawsWith(context->brush)) {
        fillPolygonInterior(context, points, count, context->brush->color);
    }
    if (drawsWith(context->pen)) {
        std::vector<Point> closed(points, points + count);
        closed.push_back(points[0]);
        polyline(context, closed.data(), static_cast<std::int32_t>(closed.size()));
        // The closing line leaves its end (the first point) out; the first segment drew it.
    }
}

void ellipse(DeviceContext* context, const Rect& rect) {
    if (context == nullptr) {
        return;
    }
    const EllipseBox box = makeBox(rect);
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    if (drawsWith(context->brush)) {
        forEachPixelOfBox(
            context, box, [&](std::int64_t x, std::int64_t y) { return box.inside(x, y); },
            context->brush->color);
    }
    if (drawsWith(context->pen)) {
        forEachPixelOfBox(
            context, box, [&](std::int64_t x, std::int64_t y) { return box.onOutline(x, y); },
            context->pen->color);
    }
}

void arc(DeviceContext* context, const Rect& rect, Point from, Point to) {
    if (context == nullptr || !drawsWith(context->pen)) {
        return;
    }
    const EllipseBox box = makeBox(rect);
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    const Sector sector = makeSector(box, from, to);
    forEachPixelOfBox(
        context, box,
        [&](std::int64_t x, std::int64_t y) {
            return box.onOutline(x, y) && sector.contains(box.relativeX(x), box.relativeY(y));
        },
        context->pen->color);
}

void pie(DeviceContext* context, const Rect& rect, Point from, Point to) {
    if (context == nullptr) {
        return;
    }
    const EllipseBox box = makeBox(rect);
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    const Sector sector = makeSector(box, from, to);
    if (drawsWith(context->brush)) {
        forEachPixelOfBox(
            context, box,
            [&](std::int64_t x, std::int64_t y) {
                return box.inside(x, y) && sector.contains(box.relativeX(x), box.relativeY(y));
            },
            context->brush->color);
    }
    if (drawsWith(context->pen)) {
        forEachPixelOfBox(
            context, box,
            [&](std::int64_t x, std::int64_t y) {
                return box.onOutline(x, y) && sector.contains(box.relativeX(x), box.relativeY(y));
            },
            context->pen->color);
    }
}

} // namespace platform
