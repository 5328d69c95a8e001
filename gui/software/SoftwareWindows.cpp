// The simulated windowing of the software backend: windows kept in memory, messages sent by the
// program, and the scripted pointer, keys and clock.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePlatform.h"

#include <algorithm>
#include <deque>
#include <memory>

namespace software {

namespace {

// Windows stay allocated until reset, so a handle kept after destruction stays harmless.
std::vector<std::unique_ptr<platform::Window>> windows;

Point cursorPoint;
std::int32_t keyStateWord = 0;
// Keys whose state was read since the last scripted step: reading one again means a loop that
// does not read the cursor has started its next pass.
std::int32_t keysReadSinceStep = 0;
std::uint32_t ticks = 0;
std::deque<PointerStep> script;
std::size_t cursorReadCount = 0;

ModalLoopObserver modalObserver = nullptr;
void* modalObserverData = nullptr;

platform::Window* makeWindow(std::int32_t width, std::int32_t height) {
    auto window = std::make_unique<platform::Window>();
    if (!initialiseSurface(*window, width, height)) {
        return nullptr;
    }
    windows.push_back(std::move(window));
    return windows.back().get();
}

bool isKnown(const platform::Window* window) {
    return std::any_of(windows.begin(), windows.end(),
                       [window](const auto& made) { return made.get() == window; });
}

constexpr std::uint32_t sixteenBits = 0xFFFF;

void applyStep(const PointerStep& step) {
    keysReadSinceStep = 0;
    cursorPoint = step.cursor;
    keyStateWord = step.keyState;
    ticks += step.ticks;
    if (step.key != KeyCode::None) {
        pressKey(step.key, step.character);
    }
}

void compose(Image& screen, const platform::Window* window, Point at) {
    if (window->destroyed) {
        return;
    }
    const platform::GraphicsObject& surface = window->surface;
    for (std::int32_t y = 0; y < surface.height; ++y) {
        const std::int64_t row = std::int64_t{at.v} + y;
        if (row < 0 || row >= screen.height) {
            continue;
        }
        for (std::int32_t x = 0; x < surface.width; ++x) {
            const std::int64_t column = std::int64_t{at.h} + x;
            if (column >= 0 && column < screen.width) {
                screen.pixels[static_cast<std::size_t>(row * screen.width + column)] =
                    surface.pixels[static_cast<std::size_t>(y) * surface.width + x];
            }
        }
    }
    for (const platform::Window* child : window->children) {
        compose(screen, child,
                Point(toCoordinate(std::int64_t{at.h} + child->origin.h),
                      toCoordinate(std::int64_t{at.v} + child->origin.v)));
    }
}

} // namespace

platform::Window* createPopupWindow(platform::Window* owner, Point origin, std::int32_t width,
                                    std::int32_t height) {
    (void)owner;
    platform::Window* window = makeWindow(width, height);
    if (window != nullptr) {
        window->origin = origin;
    }
    return window;
}

platform::Window* createChildAt(platform::Window* parent, Point origin, std::int32_t width,
                                std::int32_t height) {
    if (!isKnown(parent) || parent->destroyed) {
        return nullptr;
    }
    platform::Window* window = makeWindow(width, height);
    if (window == nullptr) {
        return nullptr;
    }
    window->origin = origin;
    window->parent = parent;
    parent->children.push_back(window);
    return window;
}

Point screenOrigin(platform::Window* window) {
    std::int64_t h = 0;
    std::int64_t v = 0;
    for (; window != nullptr; window = window->parent) {
        h += window->origin.h;
        v += window->origin.v;
    }
    return Point(toCoordinate(h), toCoordinate(v));
}

bool takeScriptedStep() {
    if (script.empty()) {
        return false;
    }
    const PointerStep step = script.front();
    script.pop_front();
    applyStep(step);
    return true;
}

bool awaitInput() {
    return takeScriptedStep();
}

Point cursor() {
    return cursorPoint;
}

std::int32_t keyState() {
    return keyStateWord;
}

void modalLoopIdle() {
    if (modalObserver != nullptr) {
        modalObserver(modalObserverData);
    }
}

// The surfaces are all there is to show, and the focus is the tree's alone.
void windowDrawn(platform::Window* window) {
    (void)window;
}
void focusMoved(platform::Window* window) {
    (void)window;
}

void setModalLoopObserver(ModalLoopObserver observer, void* data) {
    modalObserver = observer;
    modalObserverData = data;
}

Image screenPixels(std::int32_t width, std::int32_t height) {
    Image screen;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        return screen;
    }
    screen.width = width;
    screen.height = height;
    screen.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (const auto& window : windows) {
        if (window->parent == nullptr) {
            compose(screen, window.get(), window->origin);
        }
    }
    return screen;
}

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

void setCursor(Point point) {
    cursorPoint = point;
}
void setKeyState(std::int32_t state) {
    keyStateWord = state;
    keysReadSinceStep = 0;
}
void setTickCount(std::uint32_t milliseconds) {
    ticks = milliseconds;
}
std::uint32_t currentTickCount() {
    return ticks;
}

void scriptPointer(const std::vector<PointerStep>& steps) {
    script.assign(steps.begin(), steps.end());
    keysReadSinceStep = 0;
}

std::size_t remainingPointerSteps() {
    return script.size();
}
std::size_t cursorReads() {
    return cursorReadCount;
}

void reset() {
    forgetWindowTree();
    modalObserver = nullptr;
    modalObserverData = nullptr;
    for (const auto& window : windows) {
        window->userData = nullptr; // no frame hears of this
        window->widget = nullptr;
        window->destroyed = true;
    }
    forgetEditFields();
    forgetPopupMenus();
    windows.clear();
    cursorPoint = Point();
    keyStateWord = 0;
    keysReadSinceStep = 0;
    ticks = 0;
    script.clear();
    cursorReadCount = 0;
    forgetInstalledBitmaps();
}

} // namespace software

namespace platform {

Window* createChildWindow(const char* className, const char* title, Window* parent,
                          std::int32_t width, std::int32_t height) {
    (void)title;
    // The parent comes from the host; on Linux that may be a window id of another system
    // altogether. Only windows of ours are taken.
    if (!software::isWindowClass(className) || !software::isKnown(parent) || parent->destroyed) {
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
    software::destroyTree(window);
}

Rect windowScreenRect(Window* window) {
    if (window == nullptr) {
        return Rect();
    }
    const Point origin = software::screenOrigin(window);
    return Rect(origin.h, origin.v, toCoordinate(std::int64_t{origin.h} + window->surface.width),
                toCoordinate(std::int64_t{origin.v} + window->surface.height));
}

// Messages reach the windows only as the program sends them.
void dispatchMessages(Window* window) {
    (void)window;
}

void updateWindow(Window* window) {
    if (hasUpdateRegion(window)) {
        software::deliver(window, WindowMessage::Paint, Point());
    }
}

Point cursorPosition(Window* window) {
    ++software::cursorReadCount;
    software::takeScriptedStep();
    const Point origin = software::screenOrigin(window);
    return Point(toCoordinate(std::int64_t{software::cursorPoint.h} - origin.h),
                 toCoordinate(std::int64_t{software::cursorPoint.v} - origin.v));
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
    if ((software::keysReadSinceStep & bit) != 0) {
        software::takeScriptedStep();
    }
    software::keysReadSinceStep |= bit;
    return (software::keyStateWord & bit) != 0;
}

std::uint32_t tickCount() {
    return software::ticks;
}

} // namespace platform
