#include "gui/x11/X11Connection.h"

#include "gui/x11/X11ErrorTrap.h"

#include <X11/extensions/XShm.h>

#include <algorithm>
#include <vector>

// Only libX11 1.8 and later let a broken connection's handler return; the module still loads
// with an older one, which then ends the process as it always has.
extern "C" void XSetIOErrorExitHandler(Display*, XIOErrorExitHandler, void*) __attribute__((weak));

namespace x11 {

namespace {

std::vector<Connection*> connections;

// Xlib ends the process when a connection breaks unless this handler returns; the connection
// is marked instead, and every later use of it is skipped.
void connectionBroke(Display* display, void* data) {
    (void)display;
    static_cast<Connection*>(data)->noteBroken();
}

std::uint32_t shiftOf(unsigned long mask) {
    std::uint32_t shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

bool PixelFormat::describe(Visual* described, int bits, Colormap map) {
    constexpr unsigned long eightBits = 0xFF;
    if (described == nullptr || (bits != 24 && bits != 32) ||
        (described->c_class != TrueColor && described->c_class != DirectColor)) {
        return false;
    }
    const unsigned long masks[] = {described->red_mask, described->green_mask,
                                   described->blue_mask};
    for (const unsigned long mask : masks) {
        if (mask >> shiftOf(mask) != eightBits || shiftOf(mask) > 24) {
            return false;
        }
    }
    visual = described;
    depth = bits;
    colormap = map;
    redShift = shiftOf(described->red_mask);
    greenShift = shiftOf(described->green_mask);
    blueShift = shiftOf(described->blue_mask);
    const std::uint64_t all = (std::uint64_t{1} << bits) - 1;
    opaque = static_cast<std::uint32_t>(all & ~static_cast<std::uint64_t>(described->red_mask |
                                                                          described->green_mask |
                                                                          described->blue_mask));
    return true;
}

std::unique_ptr<Connection> Connection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(display));
}

Connection::Connection(Display* display) : handle(display), rootWindow(DefaultRootWindow(display)) {
    connections.push_back(this);
    if (XSetIOErrorExitHandler != nullptr) {
        XSetIOErrorExitHandler(handle, &connectionBroke, this);
    }
    // Shared memory serves only a server on this machine; the trap catches a remote one's
    // refusal when the first image is attached.
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    ErrorTrap trap(*this);
    sharedMemory = XShmQueryVersion(handle, &major, &minor, &pixmaps) == True;
}

Connection::~Connection() {
    // A broken connection is still closed: that frees what Xlib holds for it.
    XCloseDisplay(handle);
    connections.erase(std::find(connections.begin(), connections.end(), this));
}

Connection* Connection::find(const Display* display) {
    const auto found =
        std::find_if(connections.begin(), connections.end(),
                     [display](const Connection* c) { return c->handle == display; });
    return found != connections.end() ? *found : nullptr;
}

std::int32_t Connection::openCount() {
    return static_cast<std::int32_t>(connections.size());
}

} // namespace x11
