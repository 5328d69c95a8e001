// A window of the validator's own for the effect's editor to open in, as a host gives one: a
// top-level window on Windows, an X11 window on Linux. Its events are handled only when the
// validator pumps them, between editor calls, on the thread that made it.
#pragma once

#include <memory>
#include <string>

class ParentWindow {
public:
    // Null, with why, when there is no window system the validator can use here.
    static std::unique_ptr<ParentWindow> create(std::string& whyNot);
    virtual ~ParentWindow() = default;

    // What effEditOpen receives: the HWND, or the X11 window id as a pointer.
    virtual void* handle() const = 0;
    // Handles every message or event waiting.
    virtual void pumpEvents() = 0;
    // Windows inside this one; an editor that is closed leaves none.
    virtual int childWindowCount() const = 0;
    // GUI objects alive in the process (GDI objects on Windows), or -1 where unknown.
    virtual long guiObjectCount() const = 0;
    // "GDI objects", for messages.
    virtual const char* guiObjectName() const = 0;
};
