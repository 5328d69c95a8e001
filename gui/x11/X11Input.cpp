// The X11 windowing's input: the pointer, the buttons and the modifiers as the toolkit's
// polling loops read them, and the tick counter. Events still waiting on the connection come
// first, in order, so a gesture handled late is replayed as it was made; once none wait, the
// server is asked (XQueryPointer). As in the simulation, the state is read anew when the
// cursor is read, or when a key's state is read a second time with no cursor read between.
#include "gui/x11/X11Connection.h"
#include "gui/x11/X11ErrorTrap.h"
#include "gui/x11/X11Objects.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <ctime>

namespace x11 {

namespace {

constexpr std::int32_t leftBit = 1;
constexpr std::int32_t middleBit = 2;
constexpr std::int32_t rightBit = 4;
constexpr std::int32_t shiftBit = 8;
constexpr std::int32_t controlBit = 16;
constexpr std::int32_t altBit = 32;
// How long a polling loop waits for the pointer to move before it asks the server.
constexpr int waitMilliseconds = 2;
// A menu's wait for the user, between looks at whether its window is still there.
constexpr int menuWaitMilliseconds = 100;

struct Input {
    Point screen; // the pointer on the root window
    Point local;  // the pointer in window, where the last input was
    ServerWindow* window = nullptr;
    std::int32_t state = 0;          // the toolkit's mouse and key state word
    ServerWindow* tracked = nullptr; // the window whose button press is being handled
    int tracking = 0;
    std::int32_t keysRead = 0; // the state bits read since the last input
};

Input input;

std::int32_t stateOf(unsigned int mask) {
    std::int32_t state = 0;
    state |= (mask & Button1Mask) != 0 ? leftBit : 0;
    state |= (mask & Button2Mask) != 0 ? middleBit : 0;
    state |= (mask & Button3Mask) != 0 ? rightBit : 0;
    state |= (mask & ShiftMask) != 0 ? shiftBit : 0;
    state |= (mask & ControlMask) != 0 ? controlBit : 0;
    state |= (mask & Mod1Mask) != 0 ? altBit : 0;
    return state;
}

std::int32_t buttonBit(unsigned int button) {
    switch (button) {
    case Button1:
        return leftBit;
    case Button2:
        return middleBit;
    case Button3:
        return rightBit;
    default:
        return 0;
    }
}

std::int32_t modifierBit(XKeyEvent& event) {
    switch (XLookupKeysym(&event, 0)) {
    case XK_Shift_L:
    case XK_Shift_R:
        return shiftBit;
    case XK_Control_L:
    case XK_Control_R:
        return controlBit;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        return altBit;
    default:
        return 0;
    }
}

bool waitForEvents(Connection& connection, int milliseconds) {
    if (connection.isBroken()) {
        return false;
    }
    // The flush may be where a broken connection shows.
    const ErrorTrap trap(connection);
    Display* display = connection.display();
    if (XEventsQueued(display, QueuedAfterFlush) > 0) {
        return true;
    }
    pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
    return poll(&descriptor, 1, milliseconds) > 0;
}

// The window input is read for now: the one whose press is being handled, else the last one
// input came from.
ServerWindow* inputWindow() {
    return input.tracked != nullptr ? input.tracked : input.window;
}

// The next waiting event, or the server's answer; a window that is gone holds no button.
void readInput() {
    ServerWindow* window = inputWindow();
    if (window == nullptr || window->connection == nullptr || !window->onServer ||
        window->connection->isBroken()) {
        input.state = 0;
        input.keysRead = 0;
        return;
    }
    Connection& connection = *window->connection;
    // Expose events keep the window painted while a button is held; a destruction shows here.
    takeEvents(connection, Taking::AllButInput);
    if (takeInputEvent(connection)) {
        return;
    }
    if (waitForEvents(connection, waitMilliseconds)) {
        takeEvents(connection, Taking::AllButInput);
        if (takeInputEvent(connection)) {
            return;
        }
    }
    window = inputWindow();
    if (window == nullptr || !window->onServer || connection.isBroken()) {
        input.state = 0;
        input.keysRead = 0;
        return;
    }
    ErrorTrap trap(connection);
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    const Bool same = XQueryPointer(connection.display(), window->id, &root, &child, &rootX, &rootY,
                                    &x, &y, &mask);
    if (trap.failed()) {
        input.state = 0;
    } else {
        input.screen = Point(rootX, rootY);
        input.local = Point(x, y);
        input.window = window;
        // On another screen the pointer holds nothing of ours.
        input.state = same == True ? stateOf(mask) : 0;
    }
    input.keysRead = 0;
}

} // namespace

void noteInput(const XEvent& event, ServerWindow* window) {
    XEvent copy = event;
    switch (event.type) {
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& button = event.xbutton;
        input.state = stateOf(button.state);
        input.state = event.type == ButtonPress ? input.state | buttonBit(button.button)
                                                : input.state & ~buttonBit(button.button);
        input.screen = Point(button.x_root, button.y_root);
        input.local = Point(button.x, button.y);
        break;
    }
    case MotionNotify: {
        const XMotionEvent& motion = event.xmotion;
        input.state = stateOf(motion.state);
        input.screen = Point(motion.x_root, motion.y_root);
        input.local = Point(motion.x, motion.y);
        break;
    }
    case KeyPress:
    case KeyRelease: {
        const XKeyEvent& key = event.xkey;
        const std::int32_t modifier = modifierBit(copy.xkey);
        input.state = stateOf(key.state);
        input.state = event.type == KeyPress ? input.state | modifier : input.state & ~modifier;
        input.screen = Point(key.x_root, key.y_root);
        input.local = Point(key.x, key.y);
        break;
    }
    default:
        return;
    }
    input.window = window;
    input.keysRead = 0;
}

void beginTracking(ServerWindow& window) {
    input.tracked = &window;
    ++input.tracking;
}

void endTracking() {
    if (--input.tracking <= 0) {
        input.tracking = 0;
        input.tracked = nullptr;
    }
}

bool isTracking() {
    return input.tracking > 0;
}

void forgetInputWindow(const ServerWindow& window) {
    if (input.tracked == &window) {
        input.tracked = nullptr;
    }
    if (input.window == &window) {
        input.window = nullptr;
    }
}

} // namespace x11

namespace software {

bool awaitInput() {
    for (;;) {
        x11::ServerWindow* popup = x11::shownPopup();
        x11::ServerWindow* owner =
            popup != nullptr ? x11::serverWindow(popup->popupOwner) : nullptr;
        if (popup == nullptr || owner == nullptr || owner->destroyed || !popup->onServer ||
            popup->connection->isBroken()) {
            return false;
        }
        x11::Connection& connection = *popup->connection;
        x11::takeEvents(connection, x11::Taking::AllButInput);
        if (x11::takeInputEvent(connection)) {
            return true;
        }
        x11::waitForEvents(connection, x11::menuWaitMilliseconds);
    }
}

Point cursor() {
    return x11::input.screen;
}

std::int32_t keyState() {
    return x11::input.state;
}

// Only the simulation has observers of modal loops.
void modalLoopIdle() {}

} // namespace software

namespace platform {

Point cursorPosition(Window* window) {
    x11::readInput();
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours == nullptr) {
        return x11::input.local;
    }
    if (x11::input.window == ours) {
        return x11::input.local;
    }
    const Point origin = software::screenOrigin(ours);
    return Point(toCoordinate(std::int64_t{x11::input.screen.h} - origin.h),
                 toCoordinate(std::int64_t{x11::input.screen.v} - origin.v));
}

bool isKeyDown(Key key) {
    std::int32_t bit = 0;
    switch (key) {
    case Key::LeftButton:
        bit = x11::leftBit;
        break;
    case Key::MiddleButton:
        bit = x11::middleBit;
        break;
    case Key::RightButton:
        bit = x11::rightBit;
        break;
    case Key::Shift:
        bit = x11::shiftBit;
        break;
    case Key::Control:
        bit = x11::controlBit;
        break;
    case Key::Alt:
        bit = x11::altBit;
        break;
    }
    if ((x11::input.keysRead & bit) != 0) {
        x11::readInput();
    }
    x11::input.keysRead |= bit;
    return (x11::input.state & bit) != 0;
}

std::uint32_t tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                       static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

} // namespace platform
