// Windows test program: veltrane's editor in a real window, opened through the module's own
// dispatcher and used with the operating system's pointer: a second thread stands in for the
// user's hand and moves the cursor and presses the button (SetCursorPos, SendInput), while the
// editor's polling mouse loop reads them (GetCursorPos, GetAsyncKeyState). Run under wine for
// both DLL architectures (EditorWin32.cmake); VELTRANE_MODULE names the DLL.
#include "tests/gui/PixelFile.h"
#include "tests/support/PluginHarness.h"
#include "tests/support/Win32Hand.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 752;
constexpr int kHeight = 512;
constexpr VstInt32 kFreq0 = 8;   // its knob at (148, 139)
constexpr VstInt32 kDelay1 = 18; // its knob at (248, 201)

// One movement of the hand: the cursor to a point, the button as given, then a pause.
struct Movement {
    POINT at;
    bool buttonDown;
    DWORD pauseMilliseconds;
    bool altDown = false;
};

// The GDI objects alive in the process. Under wine GetGuiResources answers 0, so every handle
// value of the 16-bit handle table is asked for its type instead: wine takes a handle whose
// upper word is 0 for the entry its lower word names, whatever that entry's generation, so each
// live object answers exactly once.
int liveGdiObjects() {
    int count = 0;
    for (std::uintptr_t handle = 1; handle <= 0xFFFF; ++handle) {
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0 ? 1 : 0;
    }
    return count;
}

// Bytes in use in all heaps of the process (the C runtime's included).
std::size_t heapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    std::size_t total = 0;
    for (DWORD index = 0; index < count && index < heaps.size(); ++index) {
        if (!HeapLock(heaps[index])) {
            continue;
        }
        PROCESS_HEAP_ENTRY entry;
        std::memset(&entry, 0, sizeof(entry));
        while (HeapWalk(heaps[index], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
                total += entry.cbData;
            }
        }
        HeapUnlock(heaps[index]);
    }
    return total;
}

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.loaded()) << harness.loadError();
        ASSERT_NE(harness.open(), nullptr);
        ASSERT_NE(harness.effect()->flags & effFlagsHasEditor, 0);
        host = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        SetForegroundWindow(host);
        openEditor();
    }
    void TearDown() override {
        harness.dispatch(effEditClose);
        harness.close();
        if (host != nullptr) {
            DestroyWindow(host);
        }
        settle();
    }

    void openEditor() {
        ASSERT_EQ(harness.dispatch(effEditOpen, 0, 0, host), 1);
        editor = GetWindow(host, GW_CHILD);
        ASSERT_NE(editor, nullptr);
        UpdateWindow(editor);
        settle();
        idle();
    }
    void idle() {
        harness.dispatch(effEditIdle);
        settle();
    }
    POINT onScreen(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(editor, &point);
        return point;
    }
    // The hand makes its movements while this thread handles the window's messages.
    void perform(const std::vector<Movement>& movements) {
        std::atomic<bool> done{false};
        std::thread hand([&movements, &done] {
            bool down = false;
            bool alt = false;
            for (const Movement& movement : movements) {
                SetCursorPos(movement.at.x, movement.at.y);
                if (movement.altDown != alt) {
                    sendKey(VK_MENU, !movement.altDown);
                    alt = movement.altDown;
                }
                if (movement.buttonDown != down) {
                    sendButton(movement.buttonDown);
                    down = movement.buttonDown;
                }
                Sleep(movement.pauseMilliseconds);
            }
            done = true;
        });
        const bool finished = pumpUntil([&done] { return done.load(); });
        hand.join();
        EXPECT_TRUE(finished);
        settle();
    }
    // Pressed long enough for the press to be handled while the button is down, as a
    // person's click is.
    void click(int x, int y) {
        const POINT at = onScreen(x, y);
        perform({{at, false, 100}, {at, true, 250}, {at, false, 100}});
    }
    void drag(int fromX, int fromY, int toX, int toY) {
        std::vector<Movement> movements{{onScreen(fromX, fromY), false, 100},
                                        {onScreen(fromX, fromY), true, 250}};
        for (int step = 1; step <= 4; ++step) {
            movements.push_back(
                {onScreen(fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4), true,
                 80});
        }
        movements.push_back({onScreen(toX, toY), true, 250});
        movements.push_back({onScreen(toX, toY), false, 100});
        perform(movements);
    }

    std::vector<Automation> automations() const { return harness.automations(); }
    void forgetRequests() { harness.requests.clear(); }

    // What the editor's window shows, as ColorValues.
    PixelFile picture() const {
        PixelFile shown{kWidth, kHeight, {}};
        HDC window = GetDC(editor);
        HDC memory = CreateCompatibleDC(window);
        BITMAPINFO info;
        std::memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, kWidth, kHeight, window, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int index = 0; pixels != nullptr && index < kWidth * kHeight; ++index) {
            const std::uint32_t bgr = pixels[index];
            shown.pixels.push_back((bgr >> 16 & 0xFF) | (bgr & 0xFF00) | (bgr & 0xFF) << 16);
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(editor, window);
        return shown;
    }

    PluginHarness harness;
    HWND host = nullptr;
    HWND editor = nullptr;
};

TEST_F(EditorWindow, OpensAsAChildOfTheHostsWindowAtItsSize) {
    RECT client;
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight);
    EXPECT_EQ(GetParent(editor), host);
    EXPECT_TRUE(IsWindowVisible(editor));
}

TEST_F(EditorWindow, AClickOnAKnobSendsTheValueUnderThePointer) {
    forgetRequests();
    click(175, 153); // straight right of fFreq_0's centre: five sixths
    const std::vector<Automation> sent = automations();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().index, kFreq0);
    EXPECT_NEAR(sent.back().value, 5.0f / 6.0f, 1e-6f);
    EXPECT_EQ(harness.getParameter(kFreq0), sent.back().value);
}

TEST_F(EditorWindow, AnAltClickOnAKnobReturnsItToTheMiddle) {
    click(175, 153);
    forgetRequests();
    const POINT at = onScreen(175, 153);
    perform({{at, false, 100, true},
             {at, true, 250, true},
             {at, false, 100, true},
             {at, false, 100, false}});
    const std::vector<Automation> sent = automations();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().index, kFreq0);
    EXPECT_EQ(sent.back().value, 0.5f);
}

TEST_F(EditorWindow, ADragOnAKnobSendsAutomationUntilTheButtonIsReleased) {
    forgetRequests();
    drag(262, 204, 275, 215); // fDelay_1: from above its centre to right of it
    const std::vector<Automation> sent = automations();
    ASSERT_FALSE(sent.empty());
    for (const Automation& automation : sent) {
        EXPECT_EQ(automation.index, kDelay1);
    }
    EXPECT_NEAR(sent.back().value, 5.0f / 6.0f, 1e-6f);
    EXPECT_EQ(harness.getParameter(1002 + 1), 1666.0f); // whole milliseconds
    // Released: the pointer moves on without changing anything.
    const std::size_t count = sent.size();
    perform({{onScreen(150, 215), false, 100}});
    EXPECT_EQ(automations().size(), count);
}

TEST_F(EditorWindow, PanicAboutAndWaveButtonsBehave) {
    forgetRequests();
    click(530, 60);
    EXPECT_EQ(automations(), (std::vector<Automation>{{998, 1.0f}, {998, 0.0f}}));

    idle();
    const PixelFile editorShown = picture();
    forgetRequests();
    click(600, 60);
    const PixelFile aboutShown = picture();
    int changed = 0;
    for (std::size_t index = 0; index < aboutShown.pixels.size(); ++index) {
        changed += aboutShown.pixels[index] != editorShown.pixels[index] ? 1 : 0;
    }
    EXPECT_GT(changed, kWidth * kHeight / 2); // the about screen covers the editor
    click(107, 125);                          // anywhere: closes it, and reaches no knob
    EXPECT_EQ(automations(), (std::vector<Automation>{{999, 1.0f}, {999, 0.0f}}));
    idle();
    EXPECT_TRUE(picture().pixels == editorShown.pixels);

    forgetRequests();
    click(615 + 4 * 25 + 8, 113 + 8); // LFO 1, Saw down
    EXPECT_EQ(automations(), (std::vector<Automation>{{53, 1.0f}}));
    EXPECT_FALSE(picture().pixels == editorShown.pixels);
}

TEST_F(EditorWindow, AHundredOpenAndCloseCyclesLeakNoMemoryAndNoGdiObjects) {
    harness.dispatch(effEditClose);
    char className[64] = {};
    openEditor();
    GetClassNameA(editor, className, sizeof(className));
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetClassLongPtrA(editor, GCLP_HMODULE));
    harness.dispatch(effEditClose);
    settle();
    const int objects = liveGdiObjects();
    const std::size_t bytes = heapBytesInUse();
    {
        // Both counts see what one cycle would leave behind.
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        std::vector<char> block(8 * 1024, 1);
        EXPECT_EQ(liveGdiObjects(), objects + 1);
        EXPECT_GE(heapBytesInUse(), bytes + block.size());
        DeleteObject(brush);
    }
    for (int cycle = 0; cycle < 100; ++cycle) {
        harness.dispatch(effEditOpen, 0, 0, host);
        editor = GetWindow(host, GW_CHILD);
        UpdateWindow(editor);
        harness.dispatch(effEditIdle);
        harness.dispatch(effEditClose);
    }
    settle();
    EXPECT_EQ(liveGdiObjects(), objects);
    // One editor's controls and bitmaps take far more than this; a leak of a cycle's shows.
    EXPECT_LT(heapBytesInUse(), bytes + 16 * 1024);
    EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
    WNDCLASSA windowClass;
    EXPECT_EQ(GetClassInfoA(module, className, &windowClass), 0) << className;
}

// For the comparison with the software backend (EditorWin32AgreementTest): the painted window
// of three states, written when VELTRANE_EDITOR_PICTURES names a folder.
TEST_F(EditorWindow, PaintedStatesAreWrittenForTheSoftwareBackendsComparison) {
    const char* folder = std::getenv("VELTRANE_EDITOR_PICTURES");
    if (folder == nullptr || *folder == '\0') {
        GTEST_SKIP() << "VELTRANE_EDITOR_PICTURES names no folder";
    }
    const std::string base = std::string(folder) + "\\";
    EXPECT_TRUE(writePixelFile(base + "editor_default_program.pixels", picture()));
    drag(162, 204, 175, 215);
    idle();
    EXPECT_TRUE(writePixelFile(base + "editor_after_drag.pixels", picture()));
    click(600, 60);
    EXPECT_TRUE(writePixelFile(base + "editor_about.pixels", picture()));
    click(600, 60);
}

} // namespace
