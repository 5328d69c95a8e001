// What both windowings of the software backend share (the simulated one and X11): window
// classes and their procedures, the user-data slot, window device contexts and paint records,
// the keyboard focus and where key presses go, and the destruction of a tree of windows.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePlatform.h"

#include <cstring>
#include <map>

namespace software {

namespace {

std::map<std::string, platform::WindowProcedure> classes;
std::int32_t registrations = 0;
std::int32_t unregistrations = 0;

platform::Window* focus = nullptr;
Widget* keyboardCapture = nullptr;

bool isWithin(const platform::Window* window, const platform::Window* ancestor) {
    for (; window != nullptr; window = window->parent) {
        if (window == ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace

bool initialiseSurface(platform::Window& window, std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        return false;
    }
    window.surface.kind = platform::ObjectKind::Bitmap;
    window.surface.stock = true;
    window.surface.width = width;
    window.surface.height = height;
    window.surface.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return true;
}

bool isWindowClass(const char* className) {
    return className != nullptr && classes.count(className) != 0;
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
    if (window == nullptr || window->destroyed) {
        return;
    }
    // The focus goes to the parent first, and the window that had it hears of that.
    if (focus != nullptr && isWithin(focus, window)) {
        setFocus(window->parent);
    }
    // The window hears of its destruction before its children, as on the platform.
    deliver(window, platform::WindowMessage::Destroy, Point());
    window->destroyed = true;
    window->widget = nullptr; // a destroyed window runs nothing
    for (platform::Window* child : window->children) {
        destroyTree(child);
    }
}

void setFocus(platform::Window* window) {
    if (window != nullptr && window->destroyed) {
        window = nullptr;
    }
    if (window == focus) {
        return;
    }
    platform::Window* previous = focus;
    focus = window;
    focusMoved(window);
    if (previous != nullptr && previous->widget != nullptr) {
        previous->widget->focusLost();
    }
}

void captureKeyboard(Widget* target) {
    keyboardCapture = target;
}

void forgetWindowTree() {
    focus = nullptr;
    keyboardCapture = nullptr;
    classes.clear();
    registrations = 0;
    unregistrations = 0;
}

void pressKey(KeyCode code, char character) {
    if (keyboardCapture != nullptr) {
        keyboardCapture->keyPressed(code, character);
    } else if (focus != nullptr && !focus->destroyed && focus->widget != nullptr) {
        focus->widget->keyPressed(code, character);
    }
}

void typeText(const char* text) {
    for (; text != nullptr && *text != '\0'; ++text) {
        pressKey(KeyCode::Character, *text);
    }
}

platform::Window* keyboardFocus() {
    return focus;
}

void setKeyboardFocus(platform::Window* window) {
    setFocus(window);
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
        software::initialiseSurface(made, 1, 1);
        return made;
    }();
    DeviceContext* context = software::newContext();
    context->window = window;
    context->bitmap = window != nullptr ? &window->surface : &screen.surface;
    return context;
}

void releaseWindowContext(Window* window, DeviceContext* context) {
    if (context == nullptr || context->memory) {
        return;
    }
    software::freeContext(context);
    if (window != nullptr && !window->destroyed) {
        software::windowDrawn(window);
    }
}

} // namespace platform
