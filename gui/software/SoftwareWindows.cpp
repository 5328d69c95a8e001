// Windows, window classes, messages and the scripted input of the software backend.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePlatform.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>

namespace software {

namespace {

// Windows stay allocated until reset, so a handle kept after destruction stays harmless.
std::vector<std::unique_ptr<platform::Window>> windows;
std::map<std::string, platform::WindowProcedure> classes;
std::int32_t registrations = 0;
std::int32_t unregistrations = 0;

Point cursor;
std::int32_t keyState = 0;
std::uint32_t ticks = 0;
std::deque<PointerStep> script;
std::size_t cursorReadCount = 0;

platform::Window* makeWindow(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        return nullptr;
    }
    auto window = std::make_unique<platform::Window>();
    window->surface.kind = platform::ObjectKind::Bitmap;
    window->surface.stock = true;
    window->surface.width = width;
    window->surface.height = height;
    window->surface.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    windows.push_back(std::move(window));
    return windows.back().get();
}

void deliver(platform::Window* window, platform::WindowMessage message, Point point) {
    if (window == nullptr) {
        return;
    }
    const auto found = classes.find(window->className);
    if (found != classes.end() && found->second != nullptr) {
        found->second(window, message, point);
    }
}

void destroyTree(platform::Window* window) {
    if (window->destroyed) {
        return;
    }
    // The window hears of its destruction before its children, as on the platform.
    deliver(window, platform::WindowMessage::Destroy, Point());
    window->destroyed = true;
    for (platform::Window* child : window->children) {
        destroyTree(child);
    }
}

constexpr std::uint32_t sixteenBits = 0xFFFF;

} // namespace

platform::Window* createHostWindow(std::int32_t width, std::int32_t height) {
    return makeWindow(width, height);
}

void sendMessage(platform::Window* window, platform::WindowMessage message, Point point) {
    if (window == nullptr || window->destroyed) {
        return;
    }
    // Button positions travel as two unsigned 16-bit halves.
    point.h = static_cast<std::int32_t>(static_cast<std::uint32_t>(point.h) & sixteenBits);
    point.v = static_cast<std::int32_t>(static_cast<std::uint32_t>(point.v) & sixteenBits);
    deliver(window, message, point);
}

void paint(platform::Window* window) {
    if (window == nullptr || window->destroyed) {
        return;
    }
    window->needsPaint = true;
    deliver(window, platform::WindowMessage::Paint, Point());
}

const std::vector<platform::Window*>& childWindows(platform::Window* window) {
    static const std::vector<platform::Window*> none;
    return window != nullptr ? window->children : none;
}

bool isWindowDestroyed(platform::Window* window) {
    return window == nullptr || window->destroyed;
}

Image windowPixels(platform::Window* window) {
    Image image;
    if (window != nullptr) {
        image.width = window->surface.width;
        image.height = window->surface.height;
        image.pixels = window->surface.pixels;
    }
    return image;
}

bool isClassRegistered(const std::string& className) {
    return classes.count(className) != 0;
}
std::int32_t classRegistrationCount() {
    return registrations;
}
std::int32_t classUnregistrationCount() {
    return unregistrations;
}

void setCursor(Point point) {
    cursor = point;
}
void setKeyState(std::int32_t state) {
    keyState = state;
}
void setTickCount(std::uint32_t milliseconds) {
    ticks = milliseconds;
}
std::uint32_t currentTickCount() {
    return ticks;
}

void scriptPointer(const std::vector<PointerStep>& steps) {
    script.assign(steps.begin(), steps.end());
}

std::size_t remainingPointerSteps() {
    return script.size();
}
std::size_t cursorReads() {
    return cursorReadCount;
}

void reset() {
    for (const auto& window : windows) {
        window->userData = nullptr; // no frame hears of this
        window->destroyed = true;
    }
    windows.clear();
    classes.clear();
    registrations = 0;
    unregistrations = 0;
    cursor = Point();
    keyState = 0;
    ticks = 0;
    script.clear();
    cursorReadCount = 0;
    forgetInstalledBitmaps();
}

} // namespace software

namespace platform {

bool registerWindowClass(const char* className, WindowProcedure procedure) {
    if (className == nullptr || procedure == nullptr || software::classes.count(className) != 0) {
        return false;
    }
    software::classes[className] = procedure;
    ++software::registrations;
    return true;
}

void unregisterWindowClass(const char* className) {
    if (className != nullptr && software::classes.erase(className) != 0) {
        ++software::unregistrations;
    }
}

Window* createChildWindow(const char* className, const char* title, Window* parent,
                          std::int32_t width, std::int32_t height) {
    (void)title;
    // The parent comes from the host; on Linux that may be a window id of another system
    // altogether. Only windows of ours are taken.
    const bool known = std::any_of(software::windows.begin(), software::windows.end(),
                                   [parent](const auto& window) { return window.get() == parent; });
    if (className == nullptr || !known || parent->destroyed ||
        software::classes.count(className) == 0) {
        return nullptr;
    }
    Window* window = software::makeWindow(width, height);
    if (window == nullptr) {
        return nullptr;
    }
    window->className = className;
    window->parent = parent;
    parent->children.push_back(window);
    return window;
}

void destroyWindow(Window* window) {
    if (window != nullptr) {
        software::destroyTree(window);
    }
}

void setWindowUserData(Window* window, void* data) {
    if (window != nullptr) {
        window->userData = data;
    }
}

void* windowUserData(Window* window) {
    return window != nullptr ? window->userData : nullptr;
}

bool hasUpdateRegion(Window* window) {
    return window != nullptr && !window->destroyed && window->needsPaint;
}

DeviceContext* beginPaint(Window* window, PaintRecord& record) {
    DeviceContext* context = windowContext(window);
    std::memcpy(record.storage, &context, sizeof(context));
    return context;
}

void endPaint(Window* window, PaintRecord& record) {
    DeviceContext* context = nullptr;
    std::memcpy(&context, record.storage, sizeof(context));
    releaseWindowContext(window, context);
    if (window != nullptr) {
        window->needsPaint = false;
    }
}

DeviceContext* windowContext(Window* window) {
    if (window != nullptr && window->destroyed) {
        return nullptr;
    }
    static Window screen = [] {
        Window made;
        made.surface.kind = ObjectKind::Bitmap;
        made.surface.stock = true;
        made.surface.width = 1;
        made.surface.height = 1;
        made.surface.pixels.assign(1, 0);
        return made;
    }();
    DeviceContext* context = software::newContext();
    context->window = window;
    context->bitmap = window != nullptr ? &window->surface : &screen.surface;
    return context;
}

void releaseWindowContext(Window* window, DeviceContext* context) {
    (void)window;
    if (context != nullptr && !context->memory) {
        software::freeContext(context);
    }
}

Point cursorPosition(Window* window) {
    (void)window; // every window sits at the screen's origin
    ++software::cursorReadCount;
    if (!software::script.empty()) {
        const software::PointerStep step = software::script.front();
        software::script.pop_front();
        software::cursor = step.cursor;
        software::keyState = step.keyState;
        software::ticks += step.ticks;
    }
    return software::cursor;
}

bool isKeyDown(Key key) {
    std::int32_t bit = 0;
    switch (key) {
    case Key::LeftButton:
        bit = 1;
        break;
    case Key::MiddleButton:
        bit = 2;
        break;
    case Key::RightButton:
        bit = 4;
        break;
    case Key::Shift:
        bit = 8;
        break;
    case Key::Control:
        bit = 16;
        break;
    case Key::Alt:
        bit = 32;
        break;
    }
    return (software::keyState & bit) != 0;
}

std::uint32_t tickCount() {
    return software::ticks;
}

} // namespace platform
