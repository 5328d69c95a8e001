// Windows test program: the text entry and the choice menu on the platform's own "EDIT" control
// and pop-up menu, driven with real keyboard and pointer input (SendInput) in a real window.
// Run under wine for both DLL architectures (Win32Widgets.cmake).
#include "NativeWidgetsSample.h"
#include "TestEditor.h"

#include "host/ModuleInstance.h"
#include "tests/support/Win32Hand.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT menuGetHandle = 0x01E1; // MN_GETHMENU

void tapKey(WORD key) {
    sendKey(key, false);
    sendKey(key, true);
}

// A host window at the screen's origin with a frame of 200 x 150 in it, holding the sample.
class NativeWidgetsTest : public ::testing::Test, protected NativeWidgetsSample {
protected:
    void SetUp() override {
        setModuleInstance(GetModuleHandleA(nullptr));
        host = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        SetForegroundWindow(host);
        SetFocus(host);
        frame = editor.openFrame(reinterpret_cast<platform::Window*>(host), Rect(0, 0, 200, 150));
        window = reinterpret_cast<HWND>(frame->getSystemWindow());
        addTo(*frame);
        UpdateWindow(window);
        settle();
    }
    void TearDown() override {
        editor.closeFrame();
        DestroyWindow(host);
        settle();
    }
    HWND editWindow() const { return FindWindowExA(window, nullptr, "Edit", nullptr); }
    // A press of the real left button at a point of the frame, handled as the platform
    // delivers it.
    void pressAt(Point point) {
        POINT screen{point.h, point.v};
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        sendButton(true);
    }
    // The press is handled while the button is still down, as a person's click is.
    void clickAt(Point point) {
        pressAt(point);
        settle();
        sendButton(false);
        settle();
    }
    std::string text() const {
        char buffer[TextEntrySize];
        entry->getText(buffer);
        return buffer;
    }

    CountingEditor editor;
    HWND host = nullptr;
    HWND window = nullptr;
    Frame* frame = nullptr;
};

TEST_F(NativeWidgetsTest, AClickPlacesAFocusedEditControlOverTheTextEntry) {
    clickAt(Point(20, 15));
    HWND edit = editWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) & 0xFFFF00FFu, 0x50000081u);
    RECT rect;
    GetWindowRect(edit, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right, 71); // one pixel wider and higher than the control
    EXPECT_EQ(rect.bottom, 25);
    char shown[64] = {};
    GetWindowTextA(edit, shown, sizeof(shown));
    EXPECT_STREQ(shown, "hello");
    EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), 0);
    LOGFONTA font;
    ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)),
                         sizeof(font), &font),
              0);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(frame->getFocusView(), entry);
}

TEST_F(NativeWidgetsTest, TypingAndReturnEndTheEditAndTellTheListenerOnce) {
    clickAt(Point(20, 15));
    HWND edit = editWindow();
    ASSERT_NE(edit, nullptr);
    tapKey(VK_END);
    tapKey('X');
    tapKey('Y');
    tapKey(VK_RETURN);
    // Return destroys the field while it has the focus: the focus loss that follows must not
    // tell the listener again.
    EXPECT_TRUE(pumpUntil([this] { return !entry->isEditing(); }, 2000));
    settle();
    EXPECT_EQ(text(), "helloxy");
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(NativeWidgetsTest, ReturnWithTheSameTextTellsNoOne) {
    clickAt(Point(20, 15));
    tapKey(VK_RETURN);
    EXPECT_TRUE(pumpUntil([this] { return !entry->isEditing(); }, 2000));
    EXPECT_EQ(text(), "hello");
    EXPECT_TRUE(listener.values.empty());
}

TEST_F(NativeWidgetsTest, LosingTheFocusOrAClickElsewhereEndsTheEditOnce) {
    struct Case {
        const char* name;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"the keyboard focus goes to the host", [this] { SetFocus(host); }},
        {"a click elsewhere in the frame", [this] { clickAt(Point(150, 20)); }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        this->entry->setText("hello");
        clickAt(Point(20, 15));
        HWND edit = editWindow();
        ASSERT_NE(edit, nullptr);
        tapKey(VK_HOME);
        tapKey('Z');
        settle();
        entry.end();
        EXPECT_TRUE(pumpUntil([this] { return !this->entry->isEditing(); }, 2000));
        settle();
        EXPECT_EQ(text(), "zhello");
        EXPECT_EQ(listener.values.size(), 1u);
        EXPECT_FALSE(IsWindow(edit));
    }
}

TEST_F(NativeWidgetsTest, ATextEntryDestroyedWhileEditingLeavesNoWindowAndTellsNoOne) {
    clickAt(Point(20, 15));
    HWND edit = editWindow();
    ASSERT_NE(edit, nullptr);
    frame->removeView(entry);
    delete entry;
    entry = nullptr;
    EXPECT_FALSE(IsWindow(edit));
    tapKey('Q');
    tapKey(VK_RETURN);
    settle();
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(editWindow(), nullptr);
}

// Runs steps one per timer tick while a pop-up menu's modal loop runs.
class MenuScript {
public:
    explicit MenuScript(std::vector<std::function<void(HWND menuWindow)>> steps)
        : steps(std::move(steps)) {
        current = this;
        timer = SetTimer(nullptr, 0, 100, &MenuScript::tick);
    }
    ~MenuScript() {
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    std::size_t stepsRun() const { return next; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menuWindow = FindWindowA("#32768", nullptr);
        if (current == nullptr || menuWindow == nullptr || !IsWindowVisible(menuWindow) ||
            current->next >= current->steps.size()) {
            return;
        }
        current->steps[current->next++](menuWindow);
    }

    static MenuScript* current;
    std::vector<std::function<void(HWND)>> steps;
    std::size_t next = 0;
    UINT_PTR timer = 0;
};
MenuScript* MenuScript::current = nullptr;

struct MenuSeen {
    RECT rect{0, 0, 0, 0};
    int items = 0;
    bool firstChecked = false;
    bool secondIsSeparator = false;
    bool thirdChecked = true;
    RECT thirdItem{0, 0, 0, 0};
};

MenuSeen look(HWND menuWindow) {
    MenuSeen seen;
    GetWindowRect(menuWindow, &seen.rect);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, menuGetHandle, 0, 0));
    seen.items = GetMenuItemCount(menu);
    seen.firstChecked = (GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0;
    seen.secondIsSeparator = (GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR) != 0;
    seen.thirdChecked = (GetMenuState(menu, 2, MF_BYPOSITION) & MF_CHECKED) != 0;
    GetMenuItemRect(nullptr, menu, 2, &seen.thirdItem);
    return seen;
}

TEST_F(NativeWidgetsTest, ChoosingAnEntryOfThePopUpMakesItCurrentAndTellsTheListenerOnce) {
    MenuSeen seen;
    MenuScript script({[&seen](HWND menuWindow) {
        seen = look(menuWindow);
        // Dragged from the opening press onto the third entry and released there.
        SetCursorPos((seen.thirdItem.left + seen.thirdItem.right) / 2,
                     (seen.thirdItem.top + seen.thirdItem.bottom) / 2);
        sendButton(false);
    }});
    pressAt(Point(20, 45));
    EXPECT_TRUE(pumpUntil([&script] { return script.stepsRun() == 1; }, 2000));
    settle();
    POINT corner{10, 54}; // below the control
    ClientToScreen(window, &corner);
    EXPECT_EQ(seen.rect.left, corner.x);
    EXPECT_EQ(seen.rect.top, corner.y);
    EXPECT_EQ(seen.items, 3);
    EXPECT_TRUE(seen.firstChecked);
    EXPECT_TRUE(seen.secondIsSeparator);
    EXPECT_FALSE(seen.thirdChecked);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_EQ(FindWindowA("#32768", nullptr) != nullptr &&
                  IsWindowVisible(FindWindowA("#32768", nullptr)),
              false);
}

TEST_F(NativeWidgetsTest, AClickOutsideClosesThePopUpWithoutAChoiceAndReachesNoControl) {
    MenuScript script({[](HWND) { sendButton(false); }, // the opening press ends outside
                       [this](HWND) {
                           // Over the toggle button, whose click must not arrive.
                           POINT over{110, 110};
                           ClientToScreen(window, &over);
                           SetCursorPos(over.x, over.y);
                           sendButton(true);
                           sendButton(false);
                       }});
    pressAt(Point(20, 45));
    EXPECT_TRUE(pumpUntil([&script] { return script.stepsRun() == 2; }, 2000));
    settle();
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(toggle->getValue(), 0.0f);
    EXPECT_TRUE(toggleListener.values.empty());
}

TEST_F(NativeWidgetsTest, TheMenuAtTopStyleOpensThePopUpAtTheControlsTopAndEscapeCloses) {
    auto* atTop =
        new ChoiceMenu(Rect(10, 70, 70, 84), &listener, 4, nullptr, nullptr, StyleMenuAtTop);
    atTop->addEntry("only");
    frame->addView(atTop);
    MenuSeen seen;
    MenuScript script({[this, &seen](HWND menuWindow) {
        seen = look(menuWindow);
        // The pop-up opens under the pointer: a release there would choose its item.
        POINT away{200, 20};
        ClientToScreen(window, &away);
        SetCursorPos(away.x, away.y);
        sendButton(false);
        tapKey(VK_ESCAPE);
    }});
    pressAt(Point(20, 75));
    EXPECT_TRUE(pumpUntil([&script] { return script.stepsRun() == 1; }, 2000));
    settle();
    POINT corner{10, 70};
    ClientToScreen(window, &corner);
    EXPECT_EQ(seen.rect.left, corner.x);
    EXPECT_EQ(seen.rect.top, corner.y);
    EXPECT_EQ(seen.items, 1);
    EXPECT_FALSE(seen.firstChecked); // no check mark without the style
    EXPECT_TRUE(listener.values.empty());
}

} // namespace
