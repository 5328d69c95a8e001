#include "tools/validator/ParentWindow.h"

#include <windows.h>

#include <cstdint>

namespace {

constexpr const wchar_t* kClassName = L"VeltraneValidateParent";

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Under wine GetGuiResources answers 0; there the live objects are found by asking
// GetObjectType about every handle index (wine accepts a handle given by its index alone).
long liveGdiObjects() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<long>(counted);
    }
    long live = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) {
            ++live;
        }
    }
    return live;
}

class Win32ParentWindow final : public ParentWindow {
public:
    explicit Win32ParentWindow(HWND window) : window(window) {}
    ~Win32ParentWindow() override {
        DestroyWindow(window);
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    }
    Win32ParentWindow(const Win32ParentWindow&) = delete;
    Win32ParentWindow& operator=(const Win32ParentWindow&) = delete;

    void* handle() const override { return window; }
    void pumpEvents() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    int childWindowCount() const override {
        int count = 0;
        EnumChildWindows(window, countChild, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    long guiObjectCount() const override { return liveGdiObjects(); }
    const char* guiObjectName() const override { return "GDI objects"; }

private:
    HWND window;
};

} // namespace

std::unique_ptr<ParentWindow> ParentWindow::create(std::string& whyNot) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = parentProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        whyNot = "cannot register a window class";
        return nullptr;
    }
    HWND const window = CreateWindowExW(
        0, kClassName, L"veltrane-validate", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
        CW_USEDEFAULT, 900, 700, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        UnregisterClassW(kClassName, instance);
        whyNot = "cannot create a top-level window";
        return nullptr;
    }
    return std::make_unique<Win32ParentWindow>(window);
}
