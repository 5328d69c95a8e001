// The server's copy of one window's pixels: a pixmap that is also the window's background, so
// the server repaints any part that comes into view by itself, even while nobody reads the
// connection; filled from the software surface through an image, in shared memory where the
// server is on this machine. Owns the pixmap, its graphics context, the image and the segment.
#pragma once

#include "gui/Geometry.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace x11 {

class Connection;

class Backing {
public:
    // Null when the server refuses the pixmap or the image cannot be made.
    static std::unique_ptr<Backing> create(Connection& connection, ::Window window,
                                           std::int32_t width, std::int32_t height);
    ~Backing();
    Backing(const Backing&) = delete;
    Backing& operator=(const Backing&) = delete;

    Pixmap pixmap() const { return serverPixels; }
    // Brings the pixmap and the window up to date with pixels (width x height ColorValues),
    // sending only the rectangle that holds every change.
    void present(const std::vector<std::uint32_t>& pixels);
    // Paints a part of the window from the pixmap, as an exposure asks.
    void expose(const Rect& rect);

private:
    Backing(Connection& connection, ::Window window, std::int32_t width, std::int32_t height);
    bool makeImage();
    void send(const Rect& rect);

    Connection& connection;
    ::Window window;
    std::int32_t width;
    std::int32_t height;
    Pixmap serverPixels = 0;
    GC context = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    bool attached = false; // the image lives in a segment the server has attached
    bool stale = true;     // nothing sent yet: the whole picture goes
};

} // namespace x11
