// The software backend of the platform seam. It implements:
//  - device contexts over in-memory 32-bit pixels with the platform's rasterisation rules:
//    lines that leave the end pixel out (solid and dotted cosmetic pens), polyline, polygon
//    (alternate fill, top-left rule), rectangle fills without the right and bottom edges,
//    ellipse, arc and pie inside their box without its right and bottom edges, single pixels;
//  - text through FreeType, one line, vertically centred, clipped to its rectangle, with
//    Liberation Sans for "Arial" and "Small Fonts" and DejaVu Sans for "Symbol";
//  - memory contexts, colour and monochrome bitmaps, bitmap copies with source copy, AND and OR
//    and the colour/monochrome conversions;
//  - bitmaps from the module's BMP resources (8-bit palettised and 24-bit), or from bitmaps a
//    test installs;
//  - windows: class registration, child windows with a user-data slot, paint, button and
//    destroy messages, window device contexts;
//  - a scripted pointer, key state and tick clock;
//  - PNG files of any image (libpng).
// Everything runs on one thread (the host's GUI thread, or a test's).
#pragma once

#include "gui/platform/Drawing.h"
#include "gui/platform/Input.h"
#include "gui/platform/Windowing.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace software {

// Pixels as ColorValues (red | green << 8 | blue << 16), row by row.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool operator==(const Image& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

// A memory context with its own colour bitmap of width x height filled with color; for pictures
// drawn without a window. Free it with deleteCanvas.
platform::DeviceContext* createCanvas(std::int32_t width, std::int32_t height,
                                      platform::ColorValue color);
void deleteCanvas(platform::DeviceContext* canvas);
// The pixels of the surface a context draws on (monochrome as 0 and 0xFFFFFF).
Image contextPixels(platform::DeviceContext* context);
Image windowPixels(platform::Window* window);

// PNG files (8-bit RGB). false and a message in error on failure.
bool writePng(const Image& image, const std::string& path, std::string& error);
bool readPng(const std::string& path, Image& image, std::string& error);

// Windows. A top-level window stands for the host's window; every window sits at (0, 0) of the
// screen, so screen and client coordinates are the same.
platform::Window* createHostWindow(std::int32_t width, std::int32_t height);
// Delivers a message to the window's class procedure, as the platform's dispatch would.
void sendMessage(platform::Window* window, platform::WindowMessage message, Point point = Point());
// Marks the window for painting and delivers the paint message.
void paint(platform::Window* window);
const std::vector<platform::Window*>& childWindows(platform::Window* window);
bool isWindowDestroyed(platform::Window* window);
bool isClassRegistered(const std::string& className);
std::int32_t classRegistrationCount(); // RegisterClass calls that succeeded
std::int32_t classUnregistrationCount();

// Input. The key state is the toolkit's mouse and key state word (1 left, 2 middle, 4 right,
// 8 Shift, 16 Control, 32 Alt).
void setCursor(Point point);
void setKeyState(std::int32_t state);
void setTickCount(std::uint32_t milliseconds);
std::uint32_t currentTickCount();
// A scripted pointer: every read of the cursor position takes the next step and applies it
// (cursor, key state, then the clock advances by ticks). With no step left nothing changes.
struct PointerStep {
    Point cursor;
    std::int32_t keyState = 0;
    std::uint32_t ticks = 0;
};
void scriptPointer(const std::vector<PointerStep>& steps);
std::size_t remainingPointerSteps();
std::size_t cursorReads();

// Bitmaps by resource id that take precedence over the module's own: a whole .bmp file, or
// pixels as ColorValues.
void installBitmapFile(std::int32_t resourceId, const std::vector<unsigned char>& file);
void installBitmapPixels(std::int32_t resourceId, std::int32_t width, std::int32_t height,
                         const std::vector<std::uint32_t>& pixels);
// Decodes a BMP file image (8-bit palettised or 24-bit, bottom-up or top-down); false when it
// is not one of those.
bool decodeBmp(const unsigned char* data, std::size_t size, Image& image);

// Pens, brushes, fonts and bitmaps alive (stock objects excluded).
std::int32_t liveObjectCount();
std::int32_t liveContextCount();

// Forgets all windows, classes, installed bitmaps, script and key state; the clock goes to 0.
void reset();

} // namespace software
