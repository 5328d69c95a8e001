// The software backend's own definitions of the seam's opaque types, shared by its sources.
// Not for the toolkit: it only ever sees pointers.
#pragma once

#include "gui/platform/Drawing.h"
#include "gui/platform/Windowing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct GraphicsObject {
    ObjectKind kind = ObjectKind::Pen;
    bool stock = false; // stock objects are never deleted

    // Pens and brushes; a null pen or brush draws nothing.
    bool isNull = false;
    PenStyle penStyle = PenStyle::Solid;
    std::int32_t penWidth = 1;
    ColorValue color = 0;

    // Fonts.
    FontDescription font;

    // Bitmaps: one value per pixel, row by row. Colour bitmaps hold ColorValues; monochrome
    // ones hold 0 or 1.
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool monochrome = false;
    std::vector<std::uint32_t> pixels;
};

struct DeviceContext {
    Window* window = nullptr; // the window whose surface this draws on, or null
    bool memory = false;
    GraphicsObject* bitmap = nullptr; // the surface drawn on
    GraphicsObject* pen = nullptr;
    GraphicsObject* brush = nullptr;
    GraphicsObject* font = nullptr;
    Point position;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    ColorValue backgroundColor = 0xFFFFFF;
    ColorValue textColor = 0;
};

struct Window {
    std::string className;
    Window* parent = nullptr;
    std::vector<Window*> children;
    GraphicsObject surface; // 32-bit, the window's client area
    void* userData = nullptr;
    bool destroyed = false;
    bool needsPaint = true;
};

} // namespace platform

namespace software {

// Objects made by the backend that the stock set provides.
platform::GraphicsObject* stockBlackPen();
platform::GraphicsObject* stockWhiteBrush();
platform::GraphicsObject* stockSystemFont();
platform::GraphicsObject* stockMonochromeBitmap();
platform::GraphicsObject* newObject(platform::ObjectKind kind);
platform::GraphicsObject* newBitmap(std::int32_t width, std::int32_t height, bool monochrome);

// Device contexts with the stock objects selected; counted for liveContextCount.
platform::DeviceContext* newContext();
void freeContext(platform::DeviceContext* context);
void forgetInstalledBitmaps();

// Runs of the dotted cosmetic pen along lines and arcs: on, then off, in pixels.
constexpr std::int32_t dotOn = 3;
constexpr std::int32_t dotOff = 3;

// Writes one pixel of colour to the context's surface, clipped; monochrome surfaces take 1 for
// a colour nearer white than black.
void plot(platform::DeviceContext* context, std::int32_t x, std::int32_t y,
          platform::ColorValue color);

// Text through FreeType (SoftwareText.cpp).
void renderText(platform::DeviceContext* context, const char* text, std::int32_t length,
                const Rect& rect, platform::TextAlignment alignment);

} // namespace software
