// Test support: a host's side of the X display for the editor in a Linux host's window. The
// host's own connection with a top-level window to open the editor in, pictures of windows
// (XGetImage), the client resources of every connection to the server (X-Resource extension),
// and a hand that moves the pointer, presses the button and holds Alt through the XTest
// extension on a connection and thread of its own, as a person does while the host's thread is
// busy inside the editor.
#pragma once

#include "gui/software/SoftwarePlatform.h"

#include <cstdint>
#include <functional>
#include <vector>

// Xlib's own header stays out: its macros clash with the toolkit's and GoogleTest's names.
using WindowId = unsigned long;

// Where a window is, in its parent.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
    bool overrideRedirect = false;
};

// A person's hand on the server's pointer and keyboard (XTest), on a connection of its own.
class X11Hand {
public:
    explicit X11Hand(struct _XDisplay* display) : display(display) {}
    void moveTo(int x, int y);
    void button(bool down);
    void alt(bool down);
    // A press and release of the key with this key symbol (XK_Return, 'x', ...).
    void tap(unsigned long keySymbol);
    void pause(int milliseconds);
    // The windows on the screen that no window manager places (pop-ups), top last.
    std::vector<Placement> overrideRedirectWindows();
    // Lets go of whatever is still held.
    void release();

private:
    struct _XDisplay* display;
    bool buttonDown = false;
    bool altDown = false;
};

// One movement of the hand: the pointer to a point on the screen, the button and Alt as given,
// then a pause.
struct HandMovement {
    int x = 0;
    int y = 0;
    bool buttonDown = false;
    bool altDown = false;
    int pauseMilliseconds = 0;
};

class X11Session {
public:
    // The connection of the display in DISPLAY; connected() tells whether there is one.
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool connected() const { return display != nullptr; }

    // A mapped top-level window at (0, 0) of the screen (the virtual display has no window
    // manager to move it); destroyed with the session.
    WindowId createHostWindow(int width, int height);
    void destroyWindow(WindowId window);
    // Asks a top-level window's program to close it, as a window manager's close button does.
    void askToClose(WindowId window);
    // The children of window, bottom first.
    std::vector<WindowId> children(WindowId window) const;
    WindowId parentOf(WindowId window) const;
    Placement placement(WindowId window) const;
    // The window's contents as ColorValues; empty when it cannot be read.
    software::Image picture(WindowId window) const;
    // Handles the events waiting on the host's connection.
    void takeEvents();

    // Connections to the server, and the resources they hold (windows, pixmaps, graphics
    // contexts and the rest, of all kinds), summed over every client.
    struct Resources {
        int clients = 0;
        long resources = 0;
    };
    Resources serverResources() const;

    // The window with the keyboard focus.
    WindowId focus() const;

    // The hand does what script says on a thread of its own while idle runs here every few
    // milliseconds, as a host's thread does; false when it did not finish within five seconds.
    bool perform(const std::function<void(X11Hand&)>& script, const std::function<void()>& idle);
    bool perform(const std::vector<HandMovement>& movements, const std::function<void()>& idle);

private:
    struct _XDisplay* display = nullptr;
    std::vector<WindowId> made;
};
