#include "gui/x11/X11Backing.h"

#include "gui/x11/X11Connection.h"
#include "gui/x11/X11ErrorTrap.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace x11 {

namespace {

bool hostIsLittleEndian() {
    const std::uint32_t probe = 1;
    unsigned char first = 0;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

std::uint32_t inImageOrder(const XImage& image, std::uint32_t pixel) {
    const bool swap = (image.byte_order == LSBFirst) != hostIsLittleEndian();
    return swap ? __builtin_bswap32(pixel) : pixel;
}

} // namespace

std::unique_ptr<Backing> Backing::create(Connection& connection, ::Window window,
                                         std::int32_t width, std::int32_t height) {
    std::unique_ptr<Backing> backing(new Backing(connection, window, width, height));
    ErrorTrap trap(connection);
    Display* display = connection.display();
    backing->serverPixels =
        XCreatePixmap(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(connection.format().depth));
    backing->context = XCreateGC(display, backing->serverPixels, 0, nullptr);
    // Copies between our own drawables never need the server to report hidden parts.
    XSetGraphicsExposures(display, backing->context, False);
    // Black until the first picture arrives, rather than whatever the server's memory held.
    XSetForeground(display, backing->context, connection.format().pixel(0));
    XFillRectangle(display, backing->serverPixels, backing->context, 0, 0,
                   static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (trap.failed() || !backing->makeImage()) {
        return nullptr;
    }
    return backing;
}

Backing::Backing(Connection& connection, ::Window window, std::int32_t width, std::int32_t height)
    : connection(connection), window(window), width(width), height(height) {}

bool Backing::makeImage() {
    Display* display = connection.display();
    const PixelFormat& format = connection.format();
    const auto columns = static_cast<unsigned>(width);
    const auto rows = static_cast<unsigned>(height);
    if (connection.hasSharedMemory()) {
        image = XShmCreateImage(display, format.visual, static_cast<unsigned>(format.depth),
                                ZPixmap, nullptr, &segment, columns, rows);
        if (image != nullptr && image->bits_per_pixel == 32) {
            segment.shmid =
                shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * rows,
                       IPC_CREAT | 0600);
            void* address = segment.shmid >= 0 ? shmat(segment.shmid, nullptr, 0) : nullptr;
            if (address != nullptr && address != reinterpret_cast<void*>(-1)) {
                segment.shmaddr = static_cast<char*>(address);
                image->data = segment.shmaddr;
                segment.readOnly = False;
                ErrorTrap trap(connection);
                attached = XShmAttach(display, &segment) == True && !trap.failed();
            }
            if (segment.shmid >= 0) {
                // Gone with the last detachment, however this program ends.
                shmctl(segment.shmid, IPC_RMID, nullptr);
            }
            if (attached) {
                return true;
            }
            if (segment.shmaddr != nullptr) {
                shmdt(segment.shmaddr);
            }
            segment = XShmSegmentInfo{};
        }
        if (image != nullptr) {
            image->data = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
    }
    // A server elsewhere: the pixels travel in the requests.
    image = XCreateImage(display, format.visual, static_cast<unsigned>(format.depth), ZPixmap, 0,
                         nullptr, columns, rows, 32, 0);
    if (image == nullptr) {
        return false;
    }
    if (image->bits_per_pixel != 32) {
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    image->data =
        static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line) * rows, 1));
    return image->data != nullptr;
}

Backing::~Backing() {
    Display* display = connection.display();
    if (!connection.isBroken()) {
        ErrorTrap trap(connection);
        if (attached) {
            XShmDetach(display, &segment);
        }
        if (context != nullptr) {
            XFreeGC(display, context);
        }
        if (serverPixels != 0) {
            XFreePixmap(display, serverPixels);
        }
        // The server lets go of the segment before it goes.
        trap.failed();
    }
    if (attached) {
        shmdt(segment.shmaddr);
        image->data = nullptr;
    }
    if (image != nullptr) {
        XDestroyImage(image); // and the pixels of a plain image
    }
}

void Backing::present(const std::vector<std::uint32_t>& pixels) {
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    const PixelFormat& format = connection.format();
    Rect changed(width, height, 0, 0);
    for (std::int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) *
                                                                       image->bytes_per_line);
        const std::uint32_t* source = pixels.data() + static_cast<std::size_t>(y) * width;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = inImageOrder(*image, format.pixel(source[x]));
            if (row[x] != pixel || stale) {
                row[x] = pixel;
                changed.left = std::min(changed.left, x);
                changed.right = std::max(changed.right, x + 1);
                changed.top = std::min(changed.top, y);
                changed.bottom = std::max(changed.bottom, y + 1);
            }
        }
    }
    stale = false;
    if (changed.left < changed.right) {
        send(changed);
    }
}

void Backing::send(const Rect& rect) {
    if (connection.isBroken()) {
        return;
    }
    ErrorTrap trap(connection);
    Display* display = connection.display();
    const auto columns = static_cast<unsigned>(rect.width());
    const auto rows = static_cast<unsigned>(rect.height());
    if (attached) {
        XShmPutImage(display, serverPixels, context, image, rect.left, rect.top, rect.left,
                     rect.top, columns, rows, False);
    } else {
        XPutImage(display, serverPixels, context, image, rect.left, rect.top, rect.left, rect.top,
                  columns, rows);
    }
    XCopyArea(display, serverPixels, window, context, rect.left, rect.top, columns, rows, rect.left,
              rect.top);
    if (attached) {
        // The server has read the segment before the next change is written into it.
        XSync(display, False);
    } else {
        XFlush(display);
    }
}

void Backing::expose(const Rect& rect) {
    const std::int32_t left = std::max(rect.left, 0);
    const std::int32_t top = std::max(rect.top, 0);
    const std::int32_t right = std::min(rect.right, width);
    const std::int32_t bottom = std::min(rect.bottom, height);
    if (connection.isBroken() || left >= right || top >= bottom) {
        return;
    }
    ErrorTrap trap(connection);
    XCopyArea(connection.display(), serverPixels, window, context, left, top,
              static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top), left, top);
}

} // namespace x11
