// Polygons, ellipses, arcs and pies of the software backend. Shapes inside a box leave the
// box's right and bottom edges out. Polygons and ellipses give the platform's pixels; arcs and
// pies take the ellipse's pixels within the sector, which can differ from the platform's by a
// pixel along their ends. Integer arithmetic throughout, so every compiler agrees.
#include "gui/software/SoftwareObjects.h"

#include <algorithm>
#include <cstdint>
#include <utility>
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

// The ellipse in a box: its outline pixels come from an integer error-tracking walk round the
// inclusive pixel rectangle left .. right - 1, top .. bottom - 1 (after A. Zingl's rasteriser
// for ellipses in a rectangle), which gives the platform's pixels; the filled ellipse is every
// row's span between its outline pixels.
struct EllipseBox {
    std::int64_t left, top, right, bottom;
    std::vector<std::int64_t> spanLeft; // per row from top; right < left when empty
    std::vector<std::int64_t> spanRight;
    std::vector<std::pair<std::int64_t, std::int64_t>> outline;

    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
    // Pixel centre relative to the box centre, doubled, y upwards.
    std::int64_t relativeX(std::int64_t x) const { return 2 * x + 1 - (left + right); }
    std::int64_t relativeY(std::int64_t y) const { return (top + bottom) - (2 * y + 1); }
    bool inside(std::int64_t x, std::int64_t y) const {
        if (y < top || y >= bottom) {
            return false;
        }
        const auto row = static_cast<std::size_t>(y - top);
        return x >= spanLeft[row] && x <= spanRight[row];
    }

    void add(std::int64_t x, std::int64_t y) {
        if (y < top || y >= bottom) {
            return;
        }
        outline.emplace_back(x, y);
        const auto row = static_cast<std::size_t>(y - top);
        spanLeft[row] = std::min(spanLeft[row], x);
        spanRight[row] = std::max(spanRight[row], x);
    }

    void walk() {
        const auto rows = static_cast<std::size_t>(height());
        spanLeft.assign(rows, right);
        spanRight.assign(rows, left - 1);
        std::int64_t x0 = left;
        std::int64_t x1 = right - 1;
        std::int64_t y0 = top;
        std::int64_t a = x1 - x0;
        const std::int64_t b = bottom - 1 - top;
        std::int64_t b1 = b & 1;
        std::int64_t dx = 4 * (1 - a) * b * b;
        std::int64_t dy = 4 * (b1 + 1) * a * a;
        std::int64_t error = dx + dy + b1 * a * a;
        y0 += (b + 1) / 2;
        std::int64_t y1 = y0 - b1;
        a *= 8 * a;
        b1 = 8 * b * b;
        do {
            add(x1, y0);
            add(x0, y0);
            add(x0, y1);
            add(x1, y1);
            const std::int64_t twice = 2 * error;
            if (twice <= dy) {
                ++y0;
                --y1;
                dy += a;
                error += dy;
            }
            if (twice >= dx || 2 * error > dy) {
                ++x0;
                --x1;
                dx += b1;
                error += dx;
            }
        } while (x0 <= x1);
        while (y0 - y1 < b) { // the tips of very flat ellipses
            add(x0 - 1, y0);
            add(x1 + 1, y0++);
            add(x0 - 1, y1);
            add(x1 + 1, y1--);
        }
    }
};

EllipseBox makeBox(const Rect& box) {
    EllipseBox result{box.left, box.top, box.right, box.bottom, {}, {}, {}};
    if (result.right < result.left) {
        std::swap(result.left, result.right);
    }
    if (result.bottom < result.top) {
        std::swap(result.top, result.bottom);
    }
    if (result.width() > 0 && result.height() > 0 && result.width() <= 65536 &&
        result.height() <= 65536) {
        result.walk();
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
        for (const auto& pixel : box.outline) {
            software::plot(context, static_cast<std::int32_t>(pixel.first),
                           static_cast<std::int32_t>(pixel.second), context->pen->color);
        }
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
    for (const auto& pixel : box.outline) {
        // Like a line, the arc leaves its end point out (also when it runs all the way round).
        const bool endPoint = pixel.first == to.h && pixel.second == to.v;
        if (!endPoint && sector.contains(box.relativeX(pixel.first), box.relativeY(pixel.second))) {
            software::plot(context, static_cast<std::int32_t>(pixel.first),
                           static_cast<std::int32_t>(pixel.second), context->pen->color);
        }
    }
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
        for (const auto& pixel : box.outline) {
            if (sector.contains(box.relativeX(pixel.first), box.relativeY(pixel.second))) {
                software::plot(context, static_cast<std::int32_t>(pixel.first),
                               static_cast<std::int32_t>(pixel.second), context->pen->color);
            }
        }
    }
}

} // namespace platform
