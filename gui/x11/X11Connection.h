// One connection to the X server, owned by one open editor: opened when the editor's window is
// made in the host's window, closed when it is destroyed, so the host's own connection is never
// used or disturbed. It also knows how the editor's pixels are laid out for the server.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

namespace x11 {

// How a 32-bit pixel of the window's visual holds red, green and blue.
struct PixelFormat {
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;
    std::uint32_t redShift = 0;
    std::uint32_t greenShift = 0;
    std::uint32_t blueShift = 0;
    std::uint32_t opaque = 0; // the bits of the depth that are no colour (alpha): all set

    // Red, green and blue of 8 bits each from red | green << 8 | blue << 16.
    std::uint32_t pixel(std::uint32_t color) const {
        return (color & 0xFF) << redShift | (color >> 8 & 0xFF) << greenShift |
               (color >> 16 & 0xFF) << blueShift | opaque;
    }
    // False for visuals other than 24-bit colour in 32-bit pixels.
    bool describe(Visual* visual, int depth, Colormap colormap);
};

class Connection {
public:
    // Null when there is no display to connect to (no DISPLAY, no server).
    static std::unique_ptr<Connection> open();
    // The connection whose display this is, or null for a display that is not ours.
    static Connection* find(const Display* display);
    static std::int32_t openCount();

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* display() const { return handle; }
    ::Window root() const { return rootWindow; }
    // The connection broke (the server went away); nothing more is asked of it.
    bool isBroken() const { return broken; }
    // The shared memory extension, for a server on this machine.
    bool hasSharedMemory() const { return sharedMemory; }
    PixelFormat& format() { return pixelFormat; }
    const PixelFormat& format() const { return pixelFormat; }

    // Errors the server reported for our requests, counted by the error trap.
    std::uint32_t errorCount() const { return errors; }
    void noteError() { ++errors; }
    void noteBroken() { broken = true; }
    // Its editor's window is gone; it closes once the events being handled are done.
    bool isClosing() const { return closing; }
    void markClosing() { closing = true; }

private:
    explicit Connection(Display* display);

    Display* handle;
    ::Window rootWindow;
    bool sharedMemory = false;
    bool broken = false;
    bool closing = false;
    std::uint32_t errors = 0;
    PixelFormat pixelFormat;
};

} // namespace x11
