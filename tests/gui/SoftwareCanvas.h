// Test support: a drawing context over an in-memory canvas of the software backend, and
// pictures of its pixels as text, one character per pixel.
#pragma once

#include "gui/DrawContext.h"
#include "gui/software/SoftwarePlatform.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

// Every test starts and ends with no windows, classes, script or installed bitmaps.
class SoftwareTest : public ::testing::Test {
protected:
    void SetUp() override { software::reset(); }
    void TearDown() override { software::reset(); }
};

class Canvas {
public:
    Canvas(std::int32_t width, std::int32_t height, const Color& color = ColorBlack)
        : deviceContext(software::createCanvas(width, height, color.colorValue())),
          context(new DrawContext(nullptr, deviceContext, nullptr)) {}
    ~Canvas() {
        delete context;
        software::deleteCanvas(deviceContext);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    DrawContext* operator->() const { return context; }
    DrawContext* get() const { return context; }
    platform::DeviceContext* device() const { return deviceContext; }
    software::Image pixels() const { return software::contextPixels(deviceContext); }
    std::uint32_t at(std::int32_t x, std::int32_t y) const { return pixels().at(x, y); }

private:
    platform::DeviceContext* deviceContext;
    DrawContext* context;
};

// Rows of characters: each pixel's colour looked up in legend ('?' for others).
inline std::string picture(const software::Image& image,
                           const std::map<std::uint32_t, char>& legend) {
    std::string text;
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const auto found = legend.find(image.at(x, y));
            text += found != legend.end() ? found->second : '?';
        }
        text += '\n';
    }
    return text;
}

inline std::string rows(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

// The smallest rectangle holding every pixel of color, or an empty one (all 0) when none is.
inline Rect extentOf(const software::Image& image, std::uint32_t color) {
    Rect extent(image.width, image.height, -1, -1);
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            if (image.at(x, y) == color) {
                extent.left = std::min(extent.left, x);
                extent.top = std::min(extent.top, y);
                extent.right = std::max(extent.right, x + 1);
                extent.bottom = std::max(extent.bottom, y + 1);
            }
        }
    }
    return extent.right < 0 ? Rect() : extent;
}
