// The software backend's own definitions of the seam's opaque types, shared by its sources.
// Not for the toolkit: it only ever sees pointers.
#pragma once

#include "gui/platform/Drawing.h"
#include "gui/platform/Windowing.h"
#include "gui/software/SoftwarePlatform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace software {
class Widget;
}

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
    Point origin;           // in the parent's client area, or on the screen without a parent
    GraphicsObject surface; // 32-bit, the window's client area
    void* userData = nullptr;
    software::Widget* widget = nullptr; // a window the backend draws and runs itself
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
struct TextExtent {
    std::int32_t width = 0;
    std::int32_t height = 0; // ascent and descent
};
TextExtent measureText(const platform::FontDescription& font, const char* text,
                       std::int32_t length);
std::int32_t selectedFontWidth(platform::DeviceContext* context, const char* text,
                               std::int32_t length);

// What a window the backend runs itself (an edit field, a pop-up menu) does with the keyboard.
class Widget {
public:
    virtual ~Widget() = default;
    virtual void keyPressed(KeyCode code, char character) = 0;
    // The window had the keyboard focus and has lost it.
    virtual void focusLost() {}
};

// Windows, shared by both windowings (SoftwareWindowTree.cpp).
// Sets up the window's surface; false for a size of 0 or beyond 32768.
bool initialiseSurface(platform::Window& window, std::int32_t width, std::int32_t height);
bool isWindowClass(const char* className);
// Hands the message to the procedure of the window's class, if any.
void deliver(platform::Window* window, platform::WindowMessage message, Point point);
// Marks the window and its children destroyed, telling each; the focus goes to the parent.
void destroyTree(platform::Window* window);
void setFocus(platform::Window* window);
// While set, the keyboard goes to target rather than to the focus (a menu being tracked).
void captureKeyboard(Widget* target);
void forgetWindowTree();

// Windows, defined by the windowing a program links: the simulation (SoftwareWindows.cpp) or
// X11 (gui/x11).
// A window of its own on the screen at origin, for owner's pop-up menu.
platform::Window* createPopupWindow(platform::Window* owner, Point origin, std::int32_t width,
                                    std::int32_t height);
// A child at origin in parent's client area; null for a parent that is not a live window.
platform::Window* createChildAt(platform::Window* parent, Point origin, std::int32_t width,
                                std::int32_t height);
// The window's client area's top-left corner on the screen.
Point screenOrigin(platform::Window* window);
// Waits for the user's next input and applies it (cursor, key state, a key press); false when
// none will come (the script has run out, the display is gone).
bool awaitInput();
// Where the pointer is on the screen and the mouse and key state word, as the last input left
// them.
Point cursor();
std::int32_t keyState();
// Tells the observer of modal loops that one waits for input.
void modalLoopIdle();
// The window's surface has been drawn on: what changed is shown.
void windowDrawn(platform::Window* window);
// The keyboard focus has moved to window (null: to none of ours).
void focusMoved(platform::Window* window);

// Pop-up menus (SoftwarePopupMenu.cpp): frees any left at a reset.
void forgetPopupMenus();
// Edit fields (SoftwareEditField.cpp): frees any left at a reset.
void forgetEditFields();

} // namespace software
