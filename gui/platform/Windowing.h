// What the toolkit asks of the platform's windows: a window class with a use count kept by the
// toolkit, child windows with a user-data slot, the messages the frame handles, and the device
// contexts of a window. Exactly one backend implements these functions.
// Called from the host's GUI thread only.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace platform {

struct DeviceContext;
struct Window;

enum class WindowMessage { Paint, LeftButtonDown, RightButtonDown, Destroy };

// The toolkit's handler; the backend passes every message on to the platform's default
// handling afterwards. point is the button position (unsigned 16-bit each) for button messages.
using WindowProcedure = void (*)(Window* window, WindowMessage message, Point point);

bool registerWindowClass(const char* className, WindowProcedure procedure);
void unregisterWindowClass(const char* className);
// A visible child window at (0, 0) of parent; null on failure.
Window* createChildWindow(const char* className, const char* title, Window* parent,
                          std::int32_t width, std::int32_t height);
void destroyWindow(Window* window);
void setWindowUserData(Window* window, void* data);
void* windowUserData(Window* window);
// The window's outer rectangle in screen coordinates; empty for no window.
Rect windowScreenRect(Window* window);
// Delivers the messages waiting for window and the windows inside it, where the platform leaves
// that to the toolkit (X11, whose connection is the editor's own); nothing where the host's
// message loop delivers them (Win32). Safe to call again from inside a delivered message.
void dispatchMessages(Window* window);
// Paints the window now if it needs painting, without waiting for the messages to be
// dispatched (the platform's UpdateWindow).
void updateWindow(Window* window);

// Storage for the platform's paint record between beginPaint and endPaint.
struct PaintRecord {
    alignas(8) unsigned char storage[128];
};
bool hasUpdateRegion(Window* window);
DeviceContext* beginPaint(Window* window, PaintRecord& record);
void endPaint(Window* window, PaintRecord& record);
DeviceContext* windowContext(Window* window);
void releaseWindowContext(Window* window, DeviceContext* context);

} // namespace platform
