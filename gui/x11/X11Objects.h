// The X11 windowing's own definitions, shared by its sources and by nothing else: the toolkit
// sees only the seam's opaque pointers. Everything runs on the host's GUI thread.
#pragma once

// Xlib defines None as a macro, which must not reach the key code of that name.
#pragma push_macro("None")
#undef None
#include "gui/software/SoftwareObjects.h"
namespace x11 {
constexpr software::KeyCode noKey = software::KeyCode::None;
}
#pragma pop_macro("None")

#include <X11/Xlib.h>

#include <memory>

namespace x11 {

class Backing;
class Connection;

// A window of ours on the X server: the software window the toolkit draws into, the X window
// that shows it, and the server-side copy of its pixels.
struct ServerWindow : platform::Window {
    ServerWindow();
    ~ServerWindow();
    ServerWindow(const ServerWindow&) = delete;
    ServerWindow& operator=(const ServerWindow&) = delete;

    Connection* connection = nullptr;
    // Only on the window made in the host's window: the editor's own connection.
    std::unique_ptr<Connection> ownConnection;
    ::Window id = 0;
    std::unique_ptr<Backing> backing;
    bool onServer = true; // false once the server has destroyed it (the host's window went)
    bool popup = false;   // grabs the pointer and the keyboard while it is shown
    // A pop-up's owner, looked up through serverWindow before use: it may be gone.
    platform::Window* popupOwner = nullptr;
};

// Windows (X11Windows.cpp).
// The window behind a handle of the seam, or null for a handle that is not a live one of ours.
ServerWindow* serverWindow(platform::Window* window);
ServerWindow* findWindow(const Connection& connection, ::Window id);
// The pop-up menu shown last and not yet gone, or null.
ServerWindow* shownPopup();
// The server destroyed the window (DestroyNotify): the toolkit hears of it as of a destruction
// of its own, and nothing is asked of the server for it any more.
void windowGoneFromServer(ServerWindow& window);

// Events (X11Events.cpp).
enum class Taking {
    Everything,  // button presses reach the toolkit
    AllButInput, // a press is being handled: pointer and key events wait for the input reads
};
// Handles the events waiting on the connection, without blocking.
void takeEvents(Connection& connection, Taking taking);
// Takes the next pointer or key event waiting on the connection into the input state (a key
// press reaches the keyboard's target); false when none is waiting.
bool takeInputEvent(Connection& connection);
// Closes the connection now, or, while its events are being handled, once that is over.
void closeConnection(std::unique_ptr<Connection> connection);

// Input (X11Input.cpp).
// The pointer and the mouse and key state as an event leaves them; window is where it happened.
void noteInput(const XEvent& event, ServerWindow* window);
// A button press being handled: the window it went to, until endTracking.
void beginTracking(ServerWindow& window);
void endTracking();
bool isTracking();
// The window is going: input no longer refers to it.
void forgetInputWindow(const ServerWindow& window);

} // namespace x11
