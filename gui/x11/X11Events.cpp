// The X11 windowing's events, taken from the editor's own connection when the toolkit asks
// (the host's idle, the tracking loops), never on a thread of ours.
#include "gui/x11/X11Backing.h"
#include "gui/x11/X11Connection.h"
#include "gui/x11/X11ErrorTrap.h"
#include "gui/x11/X11Objects.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <vector>

namespace x11 {

namespace {

// Handlings of events in progress, and connections that wait for them to end.
int handling = 0;
std::vector<std::unique_ptr<Connection>> retired;

class Handling {
public:
    Handling() { ++handling; }
    ~Handling() {
        if (--handling == 0) {
            retired.clear();
        }
    }
    Handling(const Handling&) = delete;
    Handling& operator=(const Handling&) = delete;
};

bool isInput(int type) {
    return type == ButtonPress || type == ButtonRelease || type == MotionNotify ||
           type == KeyPress || type == KeyRelease;
}

Bool inputEvent(Display* display, XEvent* event, XPointer data) {
    (void)display;
    (void)data;
    return isInput(event->type) ? True : False;
}

Bool otherEvent(Display* display, XEvent* event, XPointer data) {
    (void)display;
    (void)data;
    return isInput(event->type) ? False : True;
}

software::KeyCode keyOf(XKeyEvent& event, char& character) {
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&event, text, sizeof(text), &symbol, nullptr);
    character = 0;
    switch (symbol) {
    case XK_BackSpace:
        return software::KeyCode::Backspace;
    case XK_Delete:
    case XK_KP_Delete:
        return software::KeyCode::Delete;
    case XK_Left:
    case XK_KP_Left:
        return software::KeyCode::Left;
    case XK_Right:
    case XK_KP_Right:
        return software::KeyCode::Right;
    case XK_Home:
    case XK_KP_Home:
        return software::KeyCode::Home;
    case XK_End:
    case XK_KP_End:
        return software::KeyCode::End;
    case XK_Return:
    case XK_KP_Enter:
        return software::KeyCode::Return;
    case XK_Escape:
        return software::KeyCode::Escape;
    case XK_Up:
    case XK_KP_Up:
        return software::KeyCode::Up;
    case XK_Down:
    case XK_KP_Down:
        return software::KeyCode::Down;
    default:
        break;
    }
    const auto code = static_cast<unsigned char>(text[0]);
    if (length == 1 && code >= 0x20 && code != 0x7F) {
        character = text[0];
        return software::KeyCode::Character;
    }
    return noKey;
}

void takeInput(Connection& connection, XEvent& event, bool pressesReachToolkit) {
    ServerWindow* window = findWindow(connection, event.xany.window);
    noteInput(event, window);
    if (event.type == KeyPress) {
        char character = 0;
        const software::KeyCode code = keyOf(event.xkey, character);
        if (code != noKey) {
            software::pressKey(code, character);
        }
        return;
    }
    if (event.type != ButtonPress || !pressesReachToolkit || window == nullptr ||
        window->destroyed) {
        return;
    }
    // Buttons 4 and up are the wheel's; the toolkit knows the left and the right button.
    const unsigned button = event.xbutton.button;
    if (button != Button1 && button != Button3) {
        return;
    }
    beginTracking(*window);
    software::deliver(window,
                      button == Button1 ? platform::WindowMessage::LeftButtonDown
                                        : platform::WindowMessage::RightButtonDown,
                      Point(event.xbutton.x, event.xbutton.y));
    endTracking();
}

void handle(Connection& connection, XEvent& event, Taking taking) {
    if (isInput(event.type)) {
        takeInput(connection, event, taking == Taking::Everything);
        return;
    }
    switch (event.type) {
    case Expose: {
        const ::Window id = event.xexpose.window;
        ServerWindow* window = findWindow(connection, id);
        if (window == nullptr || window->destroyed) {
            break;
        }
        if (window->needsPaint) {
            // The toolkit's first picture; the surface then shows on every exposure.
            software::deliver(window, platform::WindowMessage::Paint, Point());
            window = findWindow(connection, id);
        }
        if (window != nullptr && window->backing != nullptr) {
            const XExposeEvent& exposed = event.xexpose;
            window->backing->expose(
                Rect(exposed.x, exposed.y, exposed.x + exposed.width, exposed.y + exposed.height));
        }
        break;
    }
    case DestroyNotify:
        if (ServerWindow* window = findWindow(connection, event.xdestroywindow.window)) {
            windowGoneFromServer(*window);
        }
        break;
    case FocusOut: {
        // The user put the keyboard elsewhere; grabs (our menu's) and moves inside us aside.
        const XFocusChangeEvent& change = event.xfocus;
        ServerWindow* window = findWindow(connection, change.window);
        if (window != nullptr && change.mode == NotifyNormal && change.detail != NotifyInferior &&
            change.detail != NotifyPointer && software::keyboardFocus() == window) {
            software::setFocus(nullptr);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

void takeEvents(Connection& connection, Taking taking) {
    const Handling scope;
    ErrorTrap trap(connection);
    Display* display = connection.display();
    while (!connection.isBroken() && !connection.isClosing()) {
        XEvent event;
        if (taking == Taking::Everything) {
            if (XPending(display) == 0) {
                break;
            }
            XNextEvent(display, &event);
        } else if (XCheckIfEvent(display, &event, &otherEvent, nullptr) == False) {
            break;
        }
        handle(connection, event, taking);
    }
    if (!connection.isBroken() && !connection.isClosing()) {
        XFlush(display);
    }
}

bool takeInputEvent(Connection& connection) {
    if (connection.isBroken() || connection.isClosing()) {
        return false;
    }
    const Handling scope;
    ErrorTrap trap(connection);
    XEvent event;
    if (XCheckIfEvent(connection.display(), &event, &inputEvent, nullptr) == False) {
        return false;
    }
    takeInput(connection, event, false);
    return true;
}

void closeConnection(std::unique_ptr<Connection> connection) {
    if (connection == nullptr) {
        return;
    }
    if (handling > 0) {
        connection->markClosing();
        retired.push_back(std::move(connection));
    }
}

} // namespace x11
