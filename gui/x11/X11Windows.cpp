// The X11 windowing's windows: the editor's window in the host's window, with a connection of
// its own; the edit field's child window; the pop-up menu's override-redirect window.
#include "gui/x11/X11Backing.h"
#include "gui/x11/X11Connection.h"
#include "gui/x11/X11ErrorTrap.h"
#include "gui/x11/X11Objects.h"
#include "gui/x11/X11Platform.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace x11 {

namespace {

std::vector<std::unique_ptr<ServerWindow>> windows;

constexpr long editorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              ButtonMotionMask | StructureNotifyMask | KeyPressMask |
                              KeyReleaseMask | FocusChangeMask;
// Clicks on the edit field go on to the editor's window under it.
constexpr long fieldEvents =
    ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
constexpr unsigned popupPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
constexpr long popupEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                             static_cast<long>(popupPointerEvents);
// Window ids have 29 bits; anything wider is not one.
constexpr std::uintptr_t largestWindowId = 0x1FFFFFFF;

ServerWindow* makeWindow(Connection& connection, ::Window parent, Point origin, std::int32_t width,
                         std::int32_t height, long events, bool popup) {
    auto window = std::make_unique<ServerWindow>();
    if (!software::initialiseSurface(*window, width, height)) {
        return nullptr;
    }
    window->connection = &connection;
    window->origin = origin;
    window->popup = popup;
    const PixelFormat& format = connection.format();
    Display* display = connection.display();
    ErrorTrap trap(connection);
    XSetWindowAttributes attributes{};
    attributes.event_mask = events;
    attributes.override_redirect = popup ? True : False;
    attributes.colormap = format.colormap;
    attributes.border_pixel = 0;
    window->id =
        XCreateWindow(display, parent, origin.h, origin.v, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, format.depth, InputOutput, format.visual,
                      CWEventMask | CWOverrideRedirect | CWColormap | CWBorderPixel, &attributes);
    if (trap.failed()) {
        return nullptr;
    }
    window->backing = Backing::create(connection, window->id, width, height);
    if (window->backing == nullptr) {
        return nullptr;
    }
    // The server paints what comes into view from our pixels, even before anyone reads events.
    XSetWindowBackgroundPixmap(display, window->id, window->backing->pixmap());
    if (popup) {
        XMapRaised(display, window->id);
    } else {
        XMapWindow(display, window->id);
    }
    if (trap.failed()) {
        return nullptr;
    }
    windows.push_back(std::move(window));
    return windows.back().get();
}

void collectTree(ServerWindow* window, std::vector<ServerWindow*>& tree) {
    tree.push_back(window);
    for (platform::Window* child : window->children) {
        if (ServerWindow* ours = serverWindow(child)) {
            collectTree(ours, tree);
        }
    }
}

// Gives back what the server holds for the window and forgets its connection.
void releaseServerSide(ServerWindow& window) {
    forgetInputWindow(window);
    if (window.connection == nullptr) {
        return;
    }
    Connection& connection = *window.connection;
    if (!connection.isBroken()) {
        ErrorTrap trap(connection);
        Display* display = connection.display();
        if (window.popup && window.onServer) {
            XUngrabPointer(display, CurrentTime);
            XUngrabKeyboard(display, CurrentTime);
        }
        if (window.onServer) {
            XDestroyWindow(display, window.id);
        }
        window.backing.reset();
        XFlush(display);
    }
    window.backing.reset();
    window.onServer = false;
    window.connection = nullptr;
}

void eraseWindow(const ServerWindow* window) {
    if (window->parent != nullptr) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    windows.erase(std::find_if(windows.begin(), windows.end(),
                               [window](const auto& owned) { return owned.get() == window; }));
}

} // namespace

ServerWindow::ServerWindow() = default;
ServerWindow::~ServerWindow() {
    // Only a window made half way is still on the server here; the rest were released first.
    if (connection != nullptr && onServer && id != 0 && !connection->isBroken()) {
        const ErrorTrap trap(*connection);
        backing.reset();
        XDestroyWindow(connection->display(), id);
    }
}

ServerWindow* serverWindow(platform::Window* window) {
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [window](const auto& owned) { return owned.get() == window; });
    return found != windows.end() ? found->get() : nullptr;
}

ServerWindow* findWindow(const Connection& connection, ::Window id) {
    const auto found = std::find_if(windows.begin(), windows.end(), [&](const auto& owned) {
        return owned->connection == &connection && owned->id == id && owned->onServer;
    });
    return found != windows.end() ? found->get() : nullptr;
}

ServerWindow* shownPopup() {
    const auto found = std::find_if(windows.rbegin(), windows.rend(), [](const auto& owned) {
        return owned->popup && !owned->destroyed && owned->connection != nullptr;
    });
    return found != windows.rend() ? found->get() : nullptr;
}

void windowGoneFromServer(ServerWindow& window) {
    std::vector<ServerWindow*> tree;
    collectTree(&window, tree);
    for (ServerWindow* gone : tree) {
        gone->onServer = false;
    }
    software::destroyTree(&window);
}

std::int32_t openConnectionCount() {
    return Connection::openCount();
}

} // namespace x11

namespace software {

platform::Window* createPopupWindow(platform::Window* owner, Point origin, std::int32_t width,
                                    std::int32_t height) {
    x11::ServerWindow* ownerWindow = x11::serverWindow(owner);
    if (ownerWindow == nullptr || ownerWindow->destroyed || !ownerWindow->onServer ||
        ownerWindow->connection->isBroken()) {
        return nullptr;
    }
    x11::Connection& connection = *ownerWindow->connection;
    x11::ServerWindow* window = x11::makeWindow(connection, connection.root(), origin, width,
                                                height, x11::popupEvents, true);
    if (window == nullptr) {
        return nullptr;
    }
    window->popupOwner = owner;
    // The menu sees every press and key, also outside it, until it closes.
    x11::ErrorTrap trap(connection);
    XGrabPointer(connection.display(), window->id, True, x11::popupPointerEvents, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(connection.display(), window->id, True, GrabModeAsync, GrabModeAsync,
                  CurrentTime);
    XFlush(connection.display());
    return window;
}

platform::Window* createChildAt(platform::Window* parent, Point origin, std::int32_t width,
                                std::int32_t height) {
    x11::ServerWindow* parentWindow = x11::serverWindow(parent);
    if (parentWindow == nullptr || parentWindow->destroyed || !parentWindow->onServer ||
        parentWindow->connection->isBroken()) {
        return nullptr;
    }
    x11::ServerWindow* window = x11::makeWindow(*parentWindow->connection, parentWindow->id, origin,
                                                width, height, x11::fieldEvents, false);
    if (window == nullptr) {
        return nullptr;
    }
    window->parent = parentWindow;
    parentWindow->children.push_back(window);
    return window;
}

Point screenOrigin(platform::Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours != nullptr && ours->onServer && !ours->connection->isBroken()) {
        x11::Connection& connection = *ours->connection;
        x11::ErrorTrap trap(connection);
        int x = 0;
        int y = 0;
        ::Window child = 0;
        if (XTranslateCoordinates(connection.display(), ours->id, connection.root(), 0, 0, &x, &y,
                                  &child) == True &&
            !trap.failed()) {
            return Point(x, y);
        }
    }
    // Gone from the server: where it was last put, relative to the windows of ours around it.
    std::int64_t h = 0;
    std::int64_t v = 0;
    for (; window != nullptr; window = window->parent) {
        h += window->origin.h;
        v += window->origin.v;
    }
    return Point(toCoordinate(h), toCoordinate(v));
}

void windowDrawn(platform::Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours != nullptr && ours->onServer && ours->backing != nullptr) {
        ours->backing->present(ours->surface.pixels);
    }
}

void focusMoved(platform::Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours == nullptr || !ours->onServer || ours->connection->isBroken()) {
        return;
    }
    x11::ErrorTrap trap(*ours->connection);
    XSetInputFocus(ours->connection->display(), ours->id, RevertToParent, CurrentTime);
    XFlush(ours->connection->display());
}

} // namespace software

namespace platform {

Window* createChildWindow(const char* className, const char* title, Window* parent,
                          std::int32_t width, std::int32_t height) {
    const auto parentId = reinterpret_cast<std::uintptr_t>(parent);
    if (!software::isWindowClass(className) || parentId == 0 || parentId > x11::largestWindowId) {
        return nullptr;
    }
    std::unique_ptr<x11::Connection> connection = x11::Connection::open();
    if (connection == nullptr) {
        return nullptr;
    }
    {
        // The host's window gives the visual; a pointer that is no window of this display
        // ends here, and closing the connection leaves nothing on the server.
        x11::ErrorTrap trap(*connection);
        XWindowAttributes attributes{};
        const Status known = XGetWindowAttributes(connection->display(), parentId, &attributes);
        if (trap.failed() || known == 0 || attributes.c_class != InputOutput) {
            return nullptr;
        }
        const Colormap colormap = attributes.visual == DefaultVisualOfScreen(attributes.screen)
                                      ? DefaultColormapOfScreen(attributes.screen)
                                      : attributes.colormap;
        if (colormap == None ||
            !connection->format().describe(attributes.visual, attributes.depth, colormap)) {
            return nullptr;
        }
    }
    x11::ServerWindow* window = x11::makeWindow(*connection, parentId, Point(0, 0), width, height,
                                                x11::editorEvents, false);
    if (window == nullptr) {
        return nullptr;
    }
    window->className = className;
    {
        x11::ErrorTrap trap(*connection);
        XStoreName(connection->display(), window->id, title != nullptr ? title : "");
        XFlush(connection->display());
    }
    window->ownConnection = std::move(connection);
    return window;
}

void destroyWindow(Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours == nullptr) {
        return;
    }
    software::destroyTree(ours);
    std::vector<x11::ServerWindow*> tree;
    x11::collectTree(ours, tree);
    std::unique_ptr<x11::Connection> closing = std::move(ours->ownConnection);
    if (closing != nullptr) {
        // Windows elsewhere on the connection (a menu still shown) go with it.
        for (const auto& other : x11::windows) {
            if (other->connection == closing.get() &&
                std::find(tree.begin(), tree.end(), other.get()) == tree.end()) {
                software::destroyTree(other.get());
                x11::releaseServerSide(*other);
            }
        }
    }
    // The top of the tree first: the server takes its children with it.
    for (x11::ServerWindow* member : tree) {
        x11::releaseServerSide(*member);
    }
    for (auto member = tree.rbegin(); member != tree.rend(); ++member) {
        x11::eraseWindow(*member);
    }
    if (closing != nullptr) {
        x11::closeConnection(std::move(closing));
    }
}

Rect windowScreenRect(Window* window) {
    if (x11::serverWindow(window) == nullptr) {
        return Rect();
    }
    const Point origin = software::screenOrigin(window);
    return Rect(origin.h, origin.v, toCoordinate(std::int64_t{origin.h} + window->surface.width),
                toCoordinate(std::int64_t{origin.v} + window->surface.height));
}

void dispatchMessages(Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours != nullptr && ours->connection != nullptr) {
        x11::takeEvents(*ours->connection,
                        x11::isTracking() ? x11::Taking::AllButInput : x11::Taking::Everything);
    }
}

void updateWindow(Window* window) {
    x11::ServerWindow* ours = x11::serverWindow(window);
    if (ours != nullptr && hasUpdateRegion(ours)) {
        software::deliver(ours, WindowMessage::Paint, Point());
    }
}

} // namespace platform
