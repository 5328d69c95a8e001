// Polygons, ellipses, arcs and pies of the software backend. Shapes inside a box leave the
// box's right and bottom edges out. All of them give the platform's pixels (checked against its
// graphics under wine, see tests/gui); the rules for arcs and pies were found by observation.
// Integer arithmetic throughout, so every compiler agrees.
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
// for ellipses in a rectangle, stepping across only on the plain error test as the platform
// does); the filled ellipse is every row's span between its outline pixels.
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
            if (twice >= dx) {
                ++x0;
                --x1;
                dx += b1;
                error += dx;
            }
        } while (x0 <= x1);
        // The tips of very narrow ellipses; the platform stops a row short at each end.
        while (y0 - y1 < b - 2) {
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

// Directions round the box centre, compared exactly: the quarter (0 from the right towards the
// top, then counter-clockwise; 4 is the full turn) and the tangent within it as a fraction.
struct Angle {
    std::int64_t quarter;
    std::int64_t numerator;
    std::int64_t denominator; // > 0

    bool operator<(const Angle& other) const {
        if (quarter != other.quarter) {
            return quarter < other.quarter;
        }
        return numerator * other.denominator < other.numerator * denominator;
    }
    bool operator==(const Angle& other) const {
        return quarter == other.quarter &&
               numerator * other.denominator == other.numerator * denominator;
    }
};

// The direction of a radial through (dx, dy), y upwards; the centre itself counts as the right.
Angle directionAngle(std::int64_t dx, std::int64_t dy) {
    if (dx == 0 && dy == 0) {
        dx = 1;
    }
    if (dx > 0 && dy >= 0) {
        return {0, dy, dx};
    }
    if (dx <= 0 && dy > 0) {
        return {1, -dx, dy};
    }
    if (dx < 0 && dy <= 0) {
        return {2, -dy, -dx};
    }
    return {3, dx, -dy};
}

// One outline pixel in the order the platform walks the ellipse: counter-clockwise from the
// right. Pixels sit at whole offsets from the centre within their quarter of the box (the two
// middle columns of an even width both at 0), and an arc's radials are compared with those.
struct OutlinePoint {
    Angle angle;
    int quarter; // 0 top right, 1 top left, 2 bottom left, 3 bottom right
    std::int64_t x, y;
};

Angle pixelAngle(int quarter, std::int64_t across, std::int64_t up) {
    switch (quarter) {
    case 0:
        return across == 0 ? Angle{1, 0, 1} : Angle{0, up, across};
    case 1:
        return up == 0 ? Angle{2, 0, 1} : Angle{1, across, up};
    case 2:
        return across == 0 ? Angle{3, 0, 1} : Angle{2, up, across};
    default:
        return up == 0 ? Angle{4, 0, 1} : Angle{3, across, up};
    }
}

// An arc or pie's pixels: the outline walked from its start, count points. The platform keeps
// a middle column's pixel in the left quarter at the top and the right one at the bottom, and
// a middle row's right pixel in both right quarters.
struct ArcWalk {
    std::vector<OutlinePoint> points;
    std::size_t start = 0;
    std::size_t count = 0;
    std::int64_t centreX = 0;
    std::int64_t centreY = 0;
};

ArcWalk walkArc(const EllipseBox& box, Point from, Point to) {
    ArcWalk walk;
    const bool oddWidth = box.width() % 2 != 0;
    const bool oddHeight = box.height() % 2 != 0;
    walk.centreX = box.left + box.width() / 2;
    walk.centreY = box.top + box.height() / 2;
    const std::int64_t middleX = walk.centreX;
    const std::int64_t middleY = walk.centreY;
    // The walk meets itself at the tips; each pixel counts once.
    std::vector<std::pair<std::int64_t, std::int64_t>> pixels = box.outline;
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (const auto& pixel : pixels) {
        const std::int64_t x = pixel.first;
        const std::int64_t y = pixel.second;
        const bool right = x >= middleX;
        const std::int64_t across = right ? x - middleX : middleX - x - (oddWidth ? 0 : 1);
        const bool middleColumn = oddWidth && x == middleX;
        bool bottom;
        std::int64_t up;
        bool middleRow = false;
        if (!oddHeight) {
            bottom = y >= middleY;
            up = bottom ? y - middleY : middleY - 1 - y;
        } else {
            bottom = y > middleY;
            up = bottom ? y - middleY : middleY - y;
            middleRow = y == middleY;
        }
        int quarters[2] = {0, -1};
        if (middleColumn && middleRow) {
            quarters[0] = 0;
        } else if (middleColumn) {
            quarters[0] = bottom ? 3 : 1;
        } else if (middleRow) {
            quarters[0] = right ? 0 : 2;
            quarters[1] = right ? 3 : -1;
        } else {
            quarters[0] = right ? (bottom ? 3 : 0) : (bottom ? 2 : 1);
        }
        for (const int quarter : quarters) {
            if (quarter >= 0) {
                walk.points.push_back({pixelAngle(quarter, across, up), quarter, x, y});
            }
        }
    }
    std::sort(walk.points.begin(), walk.points.end(),
              [](const OutlinePoint& a, const OutlinePoint& b) {
                  if (!(a.angle == b.angle)) {
                      return a.angle < b.angle;
                  }
                  if (a.quarter != b.quarter) {
                      return a.quarter < b.quarter;
                  }
                  // Pixels on one radial (the runs at the tips) in the order of the walk:
                  // leftwards along the top, rightwards along the bottom, outwards up and down.
                  const bool top = a.quarter <= 1;
                  if (a.x != b.x) {
                      return top ? a.x > b.x : a.x < b.x;
                  }
                  const bool upwards = a.quarter == 0 || a.quarter == 3;
                  return upwards ? a.y > b.y : a.y < b.y;
              });
    const std::size_t total = walk.points.size();
    if (total == 0) {
        return walk;
    }
    // The first pixel at or past a radial; in the lower half a pixel on the radial itself counts
    // as before it.
    auto firstFrom = [&](Point through) {
        const Angle radial = directionAngle(through.h - middleX, middleY - through.v);
        const bool strictlyPast =
            radial.quarter >= 3 || (radial.quarter == 2 && radial.numerator != 0);
        for (std::size_t index = 0; index < total; ++index) {
            const Angle& angle = walk.points[index].angle;
            if (strictlyPast ? radial < angle : !(angle < radial)) {
                return index;
            }
        }
        return std::size_t{0};
    };
    walk.start = firstFrom(from);
    const std::size_t end = firstFrom(to);
    // Both radials before the same pixel: the whole turn.
    walk.count = (end + total - walk.start) % total;
    if (walk.count == 0) {
        walk.count = total;
    }
    return walk;
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
    const ArcWalk walk = walkArc(box, from, to);
    if (walk.count < 2) {
        return;
    }
    // Like a line, the arc leaves its last pixel out (also when it runs all the way round), even
    // where a middle row's pixel comes round a second time; only the first pixel stays.
    const std::size_t total = walk.points.size();
    const OutlinePoint& last = walk.points[(walk.start + walk.count - 1) % total];
    for (std::size_t step = 0; step + 1 < walk.count; ++step) {
        const OutlinePoint& point = walk.points[(walk.start + step) % total];
        const bool drawn = context->pen->penStyle == PenStyle::Solid ||
                           static_cast<std::int32_t>(step % (software::dotOn + software::dotOff)) <
                               software::dotOn;
        if (drawn && (step == 0 || point.x != last.x || point.y != last.y)) {
            software::plot(context, static_cast<std::int32_t>(point.x),
                           static_cast<std::int32_t>(point.y), context->pen->color);
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
    const ArcWalk walk = walkArc(box, from, to);
    if (walk.count == 0) {
        return;
    }
    // The platform fills the polygon from the centre through the arc's pixels, last one
    // included, with the polygon rules: so the right and bottom outline stay out.
    std::vector<Point> corners;
    corners.reserve(walk.count + 1);
    corners.emplace_back(static_cast<std::int32_t>(walk.centreX),
                         static_cast<std::int32_t>(walk.centreY));
    for (std::size_t step = 0; step < walk.count; ++step) {
        const OutlinePoint& point = walk.points[(walk.start + step) % walk.points.size()];
        corners.emplace_back(static_cast<std::int32_t>(point.x),
                             static_cast<std::int32_t>(point.y));
    }
    if (drawsWith(context->brush)) {
        fillPolygonInterior(context, corners.data(), static_cast<std::int32_t>(corners.size()),
                            context->brush->color);
    }
    if (drawsWith(context->pen)) {
        corners.push_back(corners.front());
        polyline(context, corners.data(), static_cast<std::int32_t>(corners.size()));
    }
}

} // namespace platform
