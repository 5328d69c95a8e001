#include "gui/WindowDrawing.h"

#include "gui/platform/Windowing.h"

WindowDrawing::WindowDrawing(Frame* frame, platform::Window* window)
    : window(window), deviceContext(platform::windowContext(window)) {
    if (deviceContext != nullptr) {
        context = new DrawContext(frame, deviceContext, window);
    }
}

WindowDrawing::~WindowDrawing() {
    delete context;
    if (deviceContext != nullptr) {
        platform::releaseWindowContext(window, deviceContext);
    }
}
