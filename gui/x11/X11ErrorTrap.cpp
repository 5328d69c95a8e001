#include "gui/x11/X11ErrorTrap.h"

#include "gui/x11/X11Connection.h"

#include <X11/Xlib.h>

namespace x11 {

namespace {

int depth = 0;
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousBrokenHandler = nullptr;

int onError(Display* display, XErrorEvent* error) {
    Connection* ours = Connection::find(display);
    if (ours != nullptr) {
        ours->noteError();
        return 0;
    }
    return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

// Ours: the connection's own exit handler marks it broken after this returns.
int onBroken(Display* display) {
    if (Connection::find(display) != nullptr) {
        return 0;
    }
    return previousBrokenHandler != nullptr ? previousBrokenHandler(display) : 0;
}

} // namespace

ErrorTrap::ErrorTrap(Connection& connection)
    : connection(connection), errorsBefore(connection.errorCount()) {
    if (depth++ == 0) {
        previousErrorHandler = XSetErrorHandler(&onError);
        previousBrokenHandler = XSetIOErrorHandler(&onBroken);
    }
}

ErrorTrap::~ErrorTrap() {
    if (--depth == 0) {
        XSetErrorHandler(previousErrorHandler);
        XSetIOErrorHandler(previousBrokenHandler);
    }
}

bool ErrorTrap::failed() {
    if (!connection.isBroken()) {
        XSync(connection.display(), False);
    }
    return connection.isBroken() || connection.errorCount() != errorsBefore;
}

} // namespace x11
