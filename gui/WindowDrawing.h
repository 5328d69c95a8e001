// A drawing context on a window's own device context for one drawing pass outside a paint
// message, released with it. Called from the host's GUI thread.
#pragma once

#include "gui/DrawContext.h"

class WindowDrawing {
public:
    // No context (get() is null) when the window has no device context.
    WindowDrawing(Frame* frame, platform::Window* window);
    ~WindowDrawing();
    WindowDrawing(const WindowDrawing&) = delete;
    WindowDrawing& operator=(const WindowDrawing&) = delete;

    DrawContext* get() const { return context; }

private:
    platform::Window* window;
    platform::DeviceContext* deviceContext;
    DrawContext* context = nullptr;
};
