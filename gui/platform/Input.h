// What the toolkit asks of the platform's input and clock: the cursor position, the keys and
// buttons held right now, and the millisecond tick counter. Exactly one backend implements
// these functions. Called from the host's GUI thread only.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace platform {

struct Window;

enum class Key { LeftButton, MiddleButton, RightButton, Shift, Control, Alt };

// The cursor position in the client coordinates of window.
Point cursorPosition(Window* window);
// True while the key or button is held (asynchronous state, not the message queue's).
bool isKeyDown(Key key);
// Milliseconds since an arbitrary start; wraps around after 2^32.
std::uint32_t tickCount();

} // namespace platform
