// The software backend of the platform seam. It implements:
//  - device contexts over in-memory 32-bit pixels with the platform's rasterisation rules:
//    lines that leave the end pixel out (solid and dotted cosmetic pens), polyline, polygon
//    (alternate fill, top-left rule), rectangle fills without the right and bottom edges,
//    ellipse, arc and pie inside their box without its right and bottom edges, single pixels;
//  - text through FreeType, one line, vertically centred, clipped to its rectangle, in fonts
//    the program carries: Liberation Sans for "Arial" and "Small Fonts", DejaVu Sans for
//    "Symbol";
//  - memory contexts, colour and monochrome bitmaps, bitmap copies with source copy, AND and OR
//    and the colour/monochrome conversions;
//  - bitmaps from the module's BMP resources (8-bit palettised and 24-bit), or from bitmaps a
//    test installs;
//  - windows: class registration, the user-data slot, window device contexts and the keyboard
//    focus, shared by its two windowings, of which a program links one: the simulation
//    (SoftwareWindows.cpp, declared here: child windows kept in memory, paint, button and
//    destroy messages the program sends, screen rectangles and a picture of the whole screen),
//    or X11 (gui/x11/X11Platform.h, for the Linux module);
//  - native widgets drawn over its own pixels: a single-line edit field (printable characters,
//    Backspace, Delete, Left, Right, Home, End; Return and focus loss go to the toolkit's
//    filter) and a pop-up menu tracked modally (pointer, Up, Down, Return, Escape; separators
//    and check marks);
//  - in the simulation: a scripted pointer, key state, key presses and tick clock, and PNG
//    files of any image (libpng).
// Everything runs on one thread (the host's GUI thread, or a test's).
#pragma once

#include "gui/platform/Drawing.h"
#include "gui/platform/Input.h"
#include "gui/platform/NativeWidgets.h"
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

// Windows. A top-level window at (0, 0) of the screen stands for the host's window; child
// windows of the toolkit sit at (0, 0) of their parent, so for them screen and client
// coordinates are the same. Edit fields and pop-up menus have places of their own.
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

// The picture of a screen of width x height: every live top-level window with its children at
// their places, later windows on top.
Image screenPixels(std::int32_t width, std::int32_t height);
// The text of an edit field's window, as the platform's window text; empty for other windows.
std::string windowText(platform::Window* window);

// Input. The key state is the toolkit's mouse and key state word (1 left, 2 middle, 4 right,
// 8 Shift, 16 Control, 32 Alt).
void setCursor(Point point);
void setKeyState(std::int32_t state);
void setTickCount(std::uint32_t milliseconds);
std::uint32_t currentTickCount();

// Keys pressed go to the window with the keyboard focus, or to the pop-up menu being tracked.
enum class KeyCode {
    None,
    Character, // a printable character
    Backspace,
    Delete,
    Left,
    Right,
    Home,
    End,
    Return,
    Escape,
    Up,
    Down,
};
void pressKey(KeyCode code, char character = 0);
void typeText(const char* text); // a Character press for each
platform::Window* keyboardFocus();
// The user puts the keyboard focus on window (null: on none of ours), as a click elsewhere does.
void setKeyboardFocus(platform::Window* window);

// A scripted pointer: every read of the cursor position, every pass of a modal loop, and a
// second read of a key's state with neither in between (a loop that only polls the keys)
// takes the next step and applies it (cursor, key state, the clock advanced by ticks, then the
// key press, if any). With no step left nothing changes, and a modal loop ends.
struct PointerStep {
    Point cursor;
    std::int32_t keyState = 0;
    std::uint32_t ticks = 0;
    KeyCode key = KeyCode::None;
    char character = 0;
};
void scriptPointer(const std::vector<PointerStep>& steps);
std::size_t remainingPointerSteps();
std::size_t cursorReads();

// Modal loops (the pop-up menu's) call observer(data) whenever they have drawn and wait for
// input, as the platform tells a menu's owner that the menu is idle. Null for none.
using ModalLoopObserver = void (*)(void* data);
void setModalLoopObserver(ModalLoopObserver observer, void* data);

// The pop-up menu being tracked, as the user sees it (screen coordinates); no window outside
// tracking.
struct MenuItemShown {
    std::string text;
    bool separator = false;
    bool checked = false;
    Rect rect;
};
struct MenuShown {
    platform::Window* window = nullptr;
    Rect rect;
    std::vector<MenuItemShown> items;
    std::int32_t highlighted = -1; // the item under the pointer or chosen with the keys
};
MenuShown shownMenu();

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

// Forgets all windows, classes, edit fields, installed bitmaps, script, focus and key state;
// the clock goes to 0.
void reset();

} // namespace software
