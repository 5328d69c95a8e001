// Points and rectangles in pixels, window coordinates (x to the right, y downwards).
#pragma once

#include <algorithm>
#include <cstdint>

// One pixel further, saturating at the end of the coordinate range.
inline std::int32_t nextCoordinate(std::int32_t coordinate) {
    return coordinate < INT32_MAX ? coordinate + 1 : coordinate;
}

// A coordinate worked out in 64 bits, saturated to the 32-bit range.
inline std::int32_t toCoordinate(std::int64_t coordinate) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(coordinate, INT32_MIN, INT32_MAX));
}

// Same layout as the platform's point record: arrays of Points go to polyline and polygon as
// they are.
struct Point {
    std::int32_t h = 0;
    std::int32_t v = 0;

    Point() = default;
    Point(std::int32_t h, std::int32_t v) : h(h), v(v) {}
    bool operator==(const Point& other) const { return h == other.h && v == other.v; }
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    Rect() = default;
    Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    Rect& set(std::int32_t newLeft, std::int32_t newTop, std::int32_t newRight,
              std::int32_t newBottom) {
        left = newLeft;
        top = newTop;
        right = newRight;
        bottom = newBottom;
        return *this;
    }
    // From two corners in any order.
    Rect& setFromCorners(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        return set(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    }
    Rect& offset(std::int32_t dx, std::int32_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    // Both edges count as inside: the right and bottom edges belong to the rectangle.
    bool pointInside(const Point& point) const {
        return left <= point.h && point.h <= right && top <= point.v && point.v <= bottom;
    }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};
