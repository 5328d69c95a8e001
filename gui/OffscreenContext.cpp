#include "gui/OffscreenContext.h"

#include "gui/Frame.h"
#include "gui/platform/Drawing.h"
#include "gui/platform/Windowing.h"

namespace {

// A memory context compatible with the frame's window (or the screen without one).
platform::DeviceContext* makeMemoryContext(Frame* frame) {
    platform::Window* window = frame != nullptr ? frame->getSystemWindow() : nullptr;
    platform::DeviceContext* windowContext = platform::windowContext(window);
    platform::DeviceContext* memory = platform::createMemoryContext(windowContext);
    if (windowContext != nullptr) {
        platform::releaseWindowContext(window, windowContext);
    }
    return memory;
}

} // namespace

OffscreenContext::OffscreenContext(Frame* frame, std::int32_t width, std::int32_t height,
                                   const Color& background)
    : DrawContext(frame, makeMemoryContext(frame), nullptr), height(height), width(width),
      background(background) {
    if (deviceContext == nullptr) {
        return;
    }
    platform::Window* frameWindow = frame != nullptr ? frame->getSystemWindow() : nullptr;
    platform::DeviceContext* windowContext = platform::windowContext(frameWindow);
    bitmap = platform::createCompatibleBitmap(
        windowContext != nullptr ? windowContext : deviceContext, width, height);
    if (windowContext != nullptr) {
        platform::releaseWindowContext(frameWindow, windowContext);
    }
    if (bitmap == nullptr) {
        return;
    }
    ownsBitmap = true;
    previousBitmap = platform::selectObject(deviceContext, bitmap);
    setFillColor(background);
    setFrameColor(background);
    const Rect whole(0, 0, width, height);
    fillRect(whole);
    drawRect(whole);
}

OffscreenContext::~OffscreenContext() {
    if (deviceContext != nullptr) {
        // The bitmap goes back out before the context is deleted so that it can be deleted;
        // the base then only deletes its own pen, brush and font.
        if (previousBitmap != nullptr) {
            platform::selectObject(deviceContext, previousBitmap);
        }
        platform::deleteMemoryContext(deviceContext);
        deviceContext = nullptr;
    }
    if (ownsBitmap && bitmap != nullptr) {
        platform::deleteObject(bitmap);
    }
}

void OffscreenContext::copyFrom(DrawContext* destination, const Rect& destinationRect,
                                const Point& sourceOffset) {
    if (destination == nullptr || destination->getDeviceContext() == nullptr ||
        deviceContext == nullptr) {
        return;
    }
    platform::copyBits(destination->getDeviceContext(),
                       Point(destinationRect.left, destinationRect.top), destinationRect.width(),
                       destinationRect.height(), deviceContext, sourceOffset,
                       platform::RasterOperation::SourceCopy);
}
