// The X11 windowing of the software backend, for the editor inside a Linux host's window. With
// Xlib, and the shared memory extension where the server offers it, it implements:
//  - windows: the editor's window as a child of the host's window (the host's window id is the
//    parent handle), with a display connection of its own, opened with the window and closed
//    with it; a pixmap of the software surface as the window's background, so the server paints
//    what comes into view by itself; Expose, ButtonPress (left and right) and DestroyNotify as
//    the paint, button and destroy messages; screen rectangles (XTranslateCoordinates);
//  - messages taken from the connection only when the toolkit asks (dispatchMessages, from the
//    host's idle, and the polling loops), never on a thread of its own;
//  - input: the pointer, buttons, Shift, Control and Alt (Mod1), from the events that wait on
//    the connection and then from XQueryPointer; a monotonic millisecond clock;
//  - the software edit field in a child window with the keyboard focus (XSetInputFocus, keys
//    through XLookupString), and the software pop-up menu in an override-redirect window that
//    grabs the pointer and the keyboard while it is shown;
//  - X errors and a broken connection on its own connections caught, never ending the host; a
//    parent that is no window of the display refused, leaving nothing on the server.
// Everything runs on the host's GUI thread.
#pragma once

#include <cstdint>

namespace x11 {

// Display connections open now: one per open editor.
std::int32_t openConnectionCount();

} // namespace x11
