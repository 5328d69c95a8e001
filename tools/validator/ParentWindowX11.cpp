#include "tools/validator/ParentWindow.h"

#include <X11/Xlib.h>

#include <cstdint>

namespace {

class X11ParentWindow final : public ParentWindow {
public:
    explicit X11ParentWindow(Display* display)
        : display(display),
          window(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 900, 700, 0,
                                     BlackPixel(display, DefaultScreen(display)),
                                     BlackPixel(display, DefaultScreen(display)))) {
        XStoreName(display, window, "veltrane-validate");
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~X11ParentWindow() override {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    X11ParentWindow(const X11ParentWindow&) = delete;
    X11ParentWindow& operator=(const X11ParentWindow&) = delete;

    void* handle() const override {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
    }
    void pumpEvents() override {
        XSync(display, False);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    int childWindowCount() const override {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XSync(display, False);
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        return static_cast<int>(count);
    }
    long guiObjectCount() const override { return -1; }
    const char* guiObjectName() const override { return "X resources"; }

private:
    Display* display;
    Window window;
};

} // namespace

std::unique_ptr<ParentWindow> ParentWindow::create(std::string& whyNot) {
    Display* const display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        whyNot = "no X display to open the editor in (DISPLAY is unset or unreachable)";
        return nullptr;
    }
    return std::make_unique<X11ParentWindow>(display);
}
