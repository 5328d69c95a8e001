// The seam's native widgets on USER: the "EDIT" control with the toolkit's filter procedure in
// front of its own, and pop-up menus tracked with TrackPopupMenu.
#include "gui/platform/NativeWidgets.h"
#include "host/ModuleInstance.h"

#include <windows.h>

namespace {

HWND toWindow(platform::Window* window) {
    return reinterpret_cast<HWND>(window);
}
HWND toWindow(platform::EditField* field) {
    return reinterpret_cast<HWND>(field);
}
platform::EditField* fromWindow(HWND window) {
    return reinterpret_cast<platform::EditField*>(window);
}
HMENU toMenu(platform::Menu* menu) {
    return reinterpret_cast<HMENU>(menu);
}

constexpr DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL; // 0x50000081
constexpr WPARAM commandLimit = 65536;
constexpr int closingClickRemovals = 2; // the press and its release

// Module-wide, as one edit field exists at a time: replaced at each edit start.
WNDPROC previousEditProcedure = nullptr;
platform::EditFieldProcedure toolkitEditProcedure = nullptr;

LRESULT CALLBACK editFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = previousEditProcedure;
    const bool returnKey = message == WM_KEYDOWN && wParam == VK_RETURN;
    if ((message == WM_KILLFOCUS || returnKey) && toolkitEditProcedure != nullptr) {
        toolkitEditProcedure(fromWindow(window), returnKey ? platform::EditFieldEvent::Return
                                                           : platform::EditFieldEvent::FocusLost);
    }
    // The toolkit may have destroyed the field: a window that is gone has nothing to handle.
    if (previous == nullptr || !IsWindow(window)) {
        return 0;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

} // namespace

namespace platform {

EditField* createEditField(Window* parent, const Rect& rect, const char* text, GraphicsObject* font,
                           EditFieldProcedure procedure, void* userData) {
    HWND field = CreateWindowExA(0, "EDIT", text != nullptr ? text : "", editStyle, rect.left,
                                 rect.top, rect.width(), rect.height(), toWindow(parent), nullptr,
                                 static_cast<HINSTANCE>(moduleInstance()), nullptr);
    if (field == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrA(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SetFocus(field);
    toolkitEditProcedure = procedure;
    previousEditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editFilter)));
    return fromWindow(field);
}

void destroyEditField(EditField* field) {
    if (field != nullptr) {
        DestroyWindow(toWindow(field));
    }
}

void setEditFieldUserData(EditField* field, void* userData) {
    if (field != nullptr) {
        SetWindowLongPtrA(toWindow(field), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    }
}

void* editFieldUserData(EditField* field) {
    return field != nullptr
               ? reinterpret_cast<void*>(GetWindowLongPtrA(toWindow(field), GWLP_USERDATA))
               : nullptr;
}

std::int32_t editFieldText(EditField* field, char* text, std::int32_t size) {
    if (field == nullptr || text == nullptr || size <= 0) {
        return 0;
    }
    text[0] = '\0';
    return GetWindowTextA(toWindow(field), text, size);
}

Menu* createPopupMenu() {
    return reinterpret_cast<Menu*>(CreatePopupMenu());
}

void destroyMenu(Menu* menu) {
    if (menu != nullptr) {
        DestroyMenu(toMenu(menu));
    }
}

void appendMenuItem(Menu* menu, const char* text, std::int32_t command, bool checked) {
    AppendMenuA(toMenu(menu), MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED),
                static_cast<UINT_PTR>(command), text != nullptr ? text : "");
}

void appendMenuSeparator(Menu* menu) {
    AppendMenuA(toMenu(menu), MF_SEPARATOR, 0, nullptr);
}

std::int32_t trackPopupMenu(Menu* menu, Window* owner, Point point) {
    HWND window = toWindow(owner);
    std::int32_t chosen = -1;
    // Flags 0: left-aligned at the point, tracking the left button; the choice arrives as a
    // command message for the owner.
    if (TrackPopupMenu(toMenu(menu), 0, point.h, point.v, 0, window, nullptr) != 0) {
        MSG message;
        if (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) != 0 &&
            message.wParam < commandLimit) {
            chosen = LOWORD(message.wParam);
        }
    }
    // The click that closed the menu stays queued for the owner; it must not reach a control.
    for (int removal = 0; removal < closingClickRemovals; ++removal) {
        MSG message;
        PeekMessageA(&message, window, WM_LBUTTONDOWN, WM_MBUTTONUP, PM_REMOVE);
    }
    return chosen;
}

} // namespace platform
