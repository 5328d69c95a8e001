// The seam's windows and input on USER.
#include "gui/platform/Input.h"
#include "gui/platform/Windowing.h"
#include "host/ModuleInstance.h"

#include <windows.h>

namespace {

HWND toWindow(platform::Window* window) {
    return reinterpret_cast<HWND>(window);
}
platform::Window* fromWindow(HWND window) {
    return reinterpret_cast<platform::Window*>(window);
}
HDC toDc(platform::DeviceContext* context) {
    return reinterpret_cast<HDC>(context);
}
platform::DeviceContext* fromDc(HDC dc) {
    return reinterpret_cast<platform::DeviceContext*>(dc);
}
HINSTANCE instance() {
    return static_cast<HINSTANCE>(moduleInstance());
}

static_assert(sizeof(PAINTSTRUCT) <= sizeof(platform::PaintRecord::storage) &&
                  alignof(PAINTSTRUCT) <= alignof(platform::PaintRecord),
              "the paint record holds a PAINTSTRUCT");

// One class per module, so one toolkit procedure.
platform::WindowProcedure toolkitProcedure = nullptr;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (toolkitProcedure != nullptr) {
        const auto position = static_cast<std::uint32_t>(lParam);
        const Point point(static_cast<std::int32_t>(position & 0xFFFF),
                          static_cast<std::int32_t>(position >> 16 & 0xFFFF));
        switch (message) {
        case WM_PAINT:
            toolkitProcedure(fromWindow(window), platform::WindowMessage::Paint, Point());
            break;
        case WM_LBUTTONDOWN:
            toolkitProcedure(fromWindow(window), platform::WindowMessage::LeftButtonDown, point);
            break;
        case WM_RBUTTONDOWN:
            toolkitProcedure(fromWindow(window), platform::WindowMessage::RightButtonDown, point);
            break;
        case WM_DESTROY:
            toolkitProcedure(fromWindow(window), platform::WindowMessage::Destroy, Point());
            break;
        default:
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

namespace platform {

bool registerWindowClass(const char* className, WindowProcedure procedure) {
    toolkitProcedure = procedure;
    WNDCLASSA windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance();
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

void unregisterWindowClass(const char* className) {
    UnregisterClassA(className, instance());
}

Window* createChildWindow(const char* className, const char* title, Window* parent,
                          std::int32_t width, std::int32_t height) {
    return fromWindow(CreateWindowExA(0, className, title, WS_CHILD | WS_VISIBLE, 0, 0, width,
                                      height, toWindow(parent), nullptr, instance(), nullptr));
}

void destroyWindow(Window* window) {
    DestroyWindow(toWindow(window));
}

void setWindowUserData(Window* window, void* data) {
    SetWindowLongPtrA(toWindow(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
}

void* windowUserData(Window* window) {
    return reinterpret_cast<void*>(GetWindowLongPtrA(toWindow(window), GWLP_USERDATA));
}

Rect windowScreenRect(Window* window) {
    RECT rect{0, 0, 0, 0};
    if (window == nullptr || GetWindowRect(toWindow(window), &rect) == 0) {
        return Rect();
    }
    return Rect(rect.left, rect.top, rect.right, rect.bottom);
}

// The host's message loop dispatches our window's messages.
void dispatchMessages(Window* window) {
    (void)window;
}

void updateWindow(Window* window) {
    UpdateWindow(toWindow(window));
}

bool hasUpdateRegion(Window* window) {
    return GetUpdateRect(toWindow(window), nullptr, FALSE) != 0;
}

DeviceContext* beginPaint(Window* window, PaintRecord& record) {
    return fromDc(BeginPaint(toWindow(window), reinterpret_cast<PAINTSTRUCT*>(record.storage)));
}

void endPaint(Window* window, PaintRecord& record) {
    EndPaint(toWindow(window), reinterpret_cast<PAINTSTRUCT*>(record.storage));
}

DeviceContext* windowContext(Window* window) {
    return fromDc(GetDC(toWindow(window)));
}

void releaseWindowContext(Window* window, DeviceContext* context) {
    ReleaseDC(toWindow(window), toDc(context));
}

Point cursorPosition(Window* window) {
    POINT point{0, 0};
    GetCursorPos(&point);
    MapWindowPoints(nullptr, toWindow(window), &point, 1);
    return Point(point.x, point.y);
}

bool isKeyDown(Key key) {
    int code = VK_LBUTTON;
    switch (key) {
    case Key::LeftButton:
        code = VK_LBUTTON;
        break;
    case Key::MiddleButton:
        code = VK_MBUTTON;
        break;
    case Key::RightButton:
        code = VK_RBUTTON;
        break;
    case Key::Shift:
        code = VK_SHIFT;
        break;
    case Key::Control:
        code = VK_CONTROL;
        break;
    case Key::Alt:
        code = VK_MENU;
        break;
    }
    return (static_cast<unsigned short>(GetAsyncKeyState(code)) & 0x8000) != 0;
}

std::uint32_t tickCount() {
    return GetTickCount();
}

} // namespace platform
