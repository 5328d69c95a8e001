#include "tools/EditorWindow.h"

#include "host/VstInterface.h"
#include "tools/EffectHost.h"
#include "tools/HostError.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr auto idleInterval = std::chrono::milliseconds(20);

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// The tool's top-level window, destroyed with the object unless the server already has.
class TopLevelWindow {
public:
    TopLevelWindow(Display* display, int width, int height, const std::string& title)
        : display(display) {
        const int screen = DefaultScreen(display);
        id = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                 BlackPixel(display, screen), BlackPixel(display, screen));
        XSelectInput(display, id, StructureNotifyMask);
        XStoreName(display, id, title.c_str());
        // A fixed size: the editor does not follow a larger window.
        XSizeHints hints{};
        hints.flags = PMinSize | PMaxSize;
        hints.min_width = hints.max_width = width;
        hints.min_height = hints.max_height = height;
        XSetWMNormalHints(display, id, &hints);
        deleteMessage = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, id, &deleteMessage, 1);
        XMapWindow(display, id);
        XSync(display, False);
    }
    ~TopLevelWindow() {
        if (!gone) {
            XDestroyWindow(display, id);
            XSync(display, False);
        }
    }
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    ::Window handle() const { return id; }
    // Handles the events waiting; false once the window is closed or gone.
    bool takeEvents() {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteMessage) {
                closed = true;
            } else if (event.type == DestroyNotify && event.xdestroywindow.window == id) {
                gone = true;
            }
        }
        return !closed && !gone;
    }

private:
    Display* display;
    ::Window id = 0;
    Atom deleteMessage = 0;
    bool closed = false;
    bool gone = false;
};

void waitForEvents(Display* display, std::chrono::milliseconds timeout) {
    pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
    poll(&descriptor, 1, static_cast<int>(timeout.count()));
}

} // namespace

void runEditorWindow(EffectHost& host, std::ostream& out) {
    if ((host.effect().flags & effFlagsHasEditor) == 0) {
        throw HostError("the effect has no editor");
    }
    ERect* size = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &size) == 0 || size == nullptr ||
        size->right <= size->left || size->bottom <= size->top) {
        throw HostError("the editor gives no size");
    }
    DisplayHandle display(XOpenDisplay(nullptr));
    if (display == nullptr) {
        throw HostError("no X display to open the window on (is DISPLAY set?)");
    }
    TopLevelWindow window(display.get(), size->right - size->left, size->bottom - size->top,
                          "veltrane-host: " + host.effectName());
    host.onAutomation([&out](int index, float value) {
        out << "automate " << index << " " << value << std::endl;
    });
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.handle()));
    if (host.dispatch(effEditOpen, 0, 0, parent) == 0) {
        throw HostError("the editor did not open");
    }
    out << "editor open in window 0x" << std::hex << window.handle() << std::dec
        << "; close the window to end" << std::endl;
    auto nextIdle = std::chrono::steady_clock::now();
    while (window.takeEvents()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextIdle) {
            host.dispatch(effEditIdle);
            nextIdle = now + idleInterval;
            continue;
        }
        waitForEvents(display.get(),
                      std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - now));
    }
    host.dispatch(effEditClose);
    host.onAutomation(nullptr);
}
