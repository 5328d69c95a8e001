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

// One movement of the hand: the pointer to a point on the screen, the button and Alt as given,
// then a pause.
struct HandMovement {
    int x = 0;
    int y = 0;
    bool buttonDown = false;
    bool altDown = false;
    int pauseMilliseconds = 0;
};

// Xlib's own header stays out: its macros clash with the toolkit's and GoogleTest's names.
using WindowId = unsigned long;

class X11Session {
public:
    // The connection of the display in DISPLAY; connected() tells whether there is one.
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool connected() const { return display != nullptr; }

    // A mapped top-level window at (0, 0) of the screen; destroyed with the session.
    WindowId createHostWindow(int width, int height);
    void destroyWindow(WindowId window);
    // The children of window, bottom first.
    std::vector<WindowId> children(WindowId window) const;
    WindowId parentOf(WindowId window) const;
    struct Placement {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool viewable = false;
    };
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

    // The hand makes its movements on a thread of its own while idle runs here every few
    // milliseconds; false when it did not finish within five seconds.
    bool perform(const std::vector<HandMovement>& movements, const std::function<void()>& idle);

private:
    struct _XDisplay* display = nullptr;
    std::vector<WindowId> made;
};
