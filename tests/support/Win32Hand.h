// The user's hand for the tests that drive real windows under wine: keys and the left button
// through the system's input queue, and the test thread's messages handled while they arrive.
#pragma once

#include <windows.h>

#include <functional>

// key pressed (up false) or released.
void sendKey(WORD key, bool up);
void sendButton(bool down);
// Dispatches messages until done() holds or timeoutMilliseconds pass; false on the timeout.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 5000);
// Lets the queued input arrive and be handled.
void settle();
