// Windows test program: draws every named drawing sequence through the Win32 backend on a
// 32-bit canvas and writes its pixels to <folder>/<name>.pixels (PixelFile.h), for comparison
// with the software backend (Win32AgreementTest). It also checks, with real windows, pointer
// and button, the frame's class registration and a knob drag through the polling loop,
// and fails when either is wrong.
// Usage: veltrane_gui_render_win32 <folder>
#include "DrawingSequences.h"
#include "PixelFile.h"
#include "TestEditor.h"

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/StripKnob.h"
#include "gui/win32/Win32Platform.h"
#include "host/ModuleInstance.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool classRegistered() {
    WNDCLASSA windowClass;
    return GetClassInfoA(GetModuleHandleA(nullptr), Frame::windowClassName(), &windowClass) != 0;
}

// Two frames in one real window register the class once; it goes with the second.
bool checkClassRegistration() {
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPED, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (parent == nullptr) {
        std::fprintf(stderr, "veltrane_gui_render_win32: no parent window\n");
        return false;
    }
    auto* hostWindow = reinterpret_cast<platform::Window*>(parent);
    Frame* first = new Frame(Rect(0, 0, 50, 40), hostWindow, nullptr);
    Frame* second = new Frame(Rect(0, 0, 50, 40), hostWindow, nullptr);
    bool ok = first->getSystemWindow() != nullptr && second->getSystemWindow() != nullptr &&
              GetParent(reinterpret_cast<HWND>(first->getSystemWindow())) == parent &&
              classRegistered() && Frame::windowClassUseCount() == 2;
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(first->getSystemWindow()), name, sizeof(name));
    ok = ok && std::string(name) == Frame::windowClassName();
    delete first;
    ok = ok && classRegistered();
    delete second;
    ok = ok && !classRegistered() && Frame::windowClassUseCount() == 0;
    DestroyWindow(parent);
    if (!ok) {
        std::fprintf(stderr, "veltrane_gui_render_win32: window class registration is wrong\n");
    }
    return ok;
}

void pressLeftButton(bool down) {
    INPUT input;
    std::memset(&input, 0, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

// Moves the real pointer along a script, one step per notification, and lets the button go
// with the last step; gives up (and fails the program) if tracking never ends.
class ScriptedListener : public ControlListener {
public:
    explicit ScriptedListener(std::vector<POINT> steps) : steps(std::move(steps)) {}
    void valueChanged(DrawContext* context, Control* control) override {
        (void)context;
        values.push_back(control->getValue());
        if (next < steps.size()) {
            SetCursorPos(steps[next].x, steps[next].y);
            if (++next == steps.size()) {
                pressLeftButton(false);
            }
        } else if (values.size() > 100) {
            std::fprintf(stderr, "veltrane_gui_render_win32: tracking does not end\n");
            ExitProcess(3);
        }
    }
    std::vector<float> values;

private:
    std::vector<POINT> steps;
    std::size_t next = 0;
};

// A knob dragged with the real pointer and button: values from the absolute pointer position,
// tracking until the button is released.
bool checkScriptedDrag() {
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (parent == nullptr) {
        std::fprintf(stderr, "veltrane_gui_render_win32: no parent window\n");
        return false;
    }
    CountingEditor editor;
    Frame* frame =
        editor.openFrame(reinterpret_cast<platform::Window*>(parent), Rect(0, 0, 60, 60));
    // Right of the centre, then left of it; the second step ends the drag.
    ScriptedListener listener({POINT{28, 14}, POINT{0, 14}});
    auto* knob = new StripKnob(Rect(0, 0, 28, 28), &listener, 1, 63, 28, nullptr);
    frame->addView(knob);
    POINT origin{0, 0};
    ClientToScreen(reinterpret_cast<HWND>(frame->getSystemWindow()), &origin);
    SetCursorPos(origin.x + 14, origin.y);
    pressLeftButton(true);
    SendMessageA(reinterpret_cast<HWND>(frame->getSystemWindow()), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(14, 0));
    pressLeftButton(false);
    const bool ok = origin.x == 0 && origin.y == 0 && listener.values.size() == 2 &&
                    listener.values[0] == 0.5f && knob->getValue() > 0.8333f &&
                    knob->getValue() < 0.8334f;
    if (!ok) {
        std::fprintf(stderr, "veltrane_gui_render_win32: scripted drag gave %u values:",
                     static_cast<unsigned>(listener.values.size()));
        for (float value : listener.values) {
            std::fprintf(stderr, " %g", static_cast<double>(value));
        }
        std::fprintf(stderr, " (origin %ld, %ld)\n", origin.x, origin.y);
    }
    editor.closeFrame();
    DestroyWindow(parent);
    return ok;
}

} // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: veltrane_gui_render_win32 <folder>\n");
        return 2;
    }
    const std::string folder = arguments[1];
    // The sequences' bitmaps are this program's own resources.
    setModuleInstance(GetModuleHandleA(nullptr));
    for (std::int32_t index = 0; index < drawingSequenceCount(); ++index) {
        const DrawingSequence& sequence = drawingSequences()[index];
        platform::DeviceContext* canvas = win32::createCanvas(sequence.width, sequence.height, 0);
        if (canvas == nullptr) {
            std::fprintf(stderr, "veltrane_gui_render_win32: no canvas for %s\n", sequence.name);
            return 1;
        }
        {
            DrawContext context(nullptr, canvas, nullptr);
            sequence.draw(&context);
        }
        const std::vector<std::uint32_t> pixels = win32::canvasPixels(canvas);
        win32::deleteCanvas(canvas);
        const std::string path = folder + "/" + sequence.name + ".pixels";
        if (!writePixelFile(path, PixelFile{sequence.width, sequence.height, pixels})) {
            std::fprintf(stderr, "veltrane_gui_render_win32: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", sequence.name);
    }
    const bool registration = checkClassRegistration();
    const bool drag = checkScriptedDrag();
    return registration && drag ? 0 : 1;
}
