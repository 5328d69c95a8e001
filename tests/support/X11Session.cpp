#include "tests/support/X11Session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    while ((mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<std::uint32_t>(pixel & mask) * 255u / static_cast<std::uint32_t>(mask);
}

void sleepFor(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

void X11Hand::moveTo(int x, int y) {
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void X11Hand::button(bool down) {
    if (down != buttonDown) {
        XTestFakeButtonEvent(display, Button1, down ? True : False, CurrentTime);
        buttonDown = down;
        XSync(display, False);
    }
}

void X11Hand::alt(bool down) {
    if (down != altDown) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Alt_L), down ? True : False,
                          CurrentTime);
        altDown = down;
        XSync(display, False);
    }
}

void X11Hand::tap(unsigned long keySymbol) {
    const KeyCode key = XKeysymToKeycode(display, keySymbol);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XSync(display, False);
    sleepFor(30);
}

void X11Hand::pause(int milliseconds) {
    sleepFor(milliseconds);
}

std::vector<Placement> X11Hand::overrideRedirectWindows() {
    std::vector<Placement> found;
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &list, &count) == 0) {
        return found;
    }
    for (unsigned int index = 0; index < count; ++index) {
        XWindowAttributes shown{};
        if (XGetWindowAttributes(display, list[index], &shown) != 0 && shown.override_redirect &&
            shown.map_state == IsViewable) {
            found.push_back({shown.x, shown.y, shown.width, shown.height, true, true});
        }
    }
    if (list != nullptr) {
        XFree(list);
    }
    return found;
}

void X11Hand::release() {
    button(false);
    alt(false);
}

X11Session::X11Session() : display(XOpenDisplay(nullptr)) {}

X11Session::~X11Session() {
    if (display == nullptr) {
        return;
    }
    for (const ::Window window : made) {
        XDestroyWindow(display, window);
    }
    XCloseDisplay(display);
}

::Window X11Session::createHostWindow(int width, int height) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = StructureNotifyMask;
    const ::Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    XWindowEvent(display, window, StructureNotifyMask, &event); // mapped
    made.push_back(window);
    return window;
}

void X11Session::destroyWindow(::Window window) {
    made.erase(std::remove(made.begin(), made.end(), window), made.end());
    XDestroyWindow(display, window);
    XSync(display, False);
}

void X11Session::askToClose(::Window window) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
}

std::vector<::Window> X11Session::children(::Window window) const {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    std::vector<::Window> found;
    XSync(display, False);
    if (XQueryTree(display, window, &root, &parent, &list, &count) != 0) {
        found.assign(list, list + count);
    }
    if (list != nullptr) {
        XFree(list);
    }
    return found;
}

::Window X11Session::parentOf(::Window window) const {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &list, &count) == 0) {
        return 0;
    }
    if (list != nullptr) {
        XFree(list);
    }
    return parent;
}

Placement X11Session::placement(::Window window) const {
    XWindowAttributes found{};
    XGetWindowAttributes(display, window, &found);
    return {found.x,
            found.y,
            found.width,
            found.height,
            found.map_state == IsViewable,
            found.override_redirect == True};
}

::Window X11Session::focus() const {
    ::Window focused = 0;
    int revert = 0;
    XGetInputFocus(display, &focused, &revert);
    return focused;
}

software::Image X11Session::picture(::Window window) const {
    software::Image image;
    const Placement shown = placement(window);
    XImage* taken = XGetImage(display, window, 0, 0, static_cast<unsigned>(shown.width),
                              static_cast<unsigned>(shown.height), AllPlanes, ZPixmap);
    if (taken == nullptr) {
        return image;
    }
    image.width = shown.width;
    image.height = shown.height;
    image.pixels.reserve(static_cast<std::size_t>(shown.width) * shown.height);
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const unsigned long pixel = XGetPixel(taken, x, y);
            image.pixels.push_back(channel(pixel, taken->red_mask) |
                                   channel(pixel, taken->green_mask) << 8 |
                                   channel(pixel, taken->blue_mask) << 16);
        }
    }
    XDestroyImage(taken);
    return image;
}

void X11Session::takeEvents() {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

X11Session::Resources X11Session::serverResources() const {
    Resources found;
    XSync(display, False);
    int count = 0;
    XResClient* clients = nullptr;
    if (XResQueryClients(display, &count, &clients) == 0) {
        return found;
    }
    found.clients = count;
    for (int index = 0; index < count; ++index) {
        int kinds = 0;
        XResType* types = nullptr;
        if (XResQueryClientResources(display, clients[index].resource_base, &kinds, &types) != 0) {
            for (int kind = 0; kind < kinds; ++kind) {
                found.resources += types[kind].count;
            }
            XFree(types);
        }
    }
    XFree(clients);
    return found;
}

bool X11Session::perform(const std::vector<HandMovement>& movements,
                         const std::function<void()>& idle) {
    return perform(
        [&movements](X11Hand& hand) {
            for (const HandMovement& movement : movements) {
                hand.moveTo(movement.x, movement.y);
                hand.alt(movement.altDown);
                hand.button(movement.buttonDown);
                hand.pause(movement.pauseMilliseconds);
            }
        },
        idle);
}

bool X11Session::perform(const std::function<void(X11Hand&)>& script,
                         const std::function<void()>& idle) {
    std::atomic<bool> done{false};
    std::thread thread([&script, &done] {
        if (Display* connection = XOpenDisplay(nullptr)) {
            X11Hand hand(connection);
            script(hand);
            hand.release();
            XCloseDisplay(connection);
        }
        done = true;
    });
    const auto start = std::chrono::steady_clock::now();
    bool finished = true;
    while (!done) {
        idle();
        takeEvents();
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(5)) {
            finished = false;
            break;
        }
        sleepFor(5);
    }
    thread.join();
    return finished;
}
