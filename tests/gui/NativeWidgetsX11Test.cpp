// The text entry and the choice menu in a real X11 window, on the software backend's own edit
// field and pop-up menu through the X11 windowing: the field takes the server's keyboard focus
// and the pop-up is an override-redirect window, driven with the server's pointer and keys
// (XTest) by a hand on a thread of its own. Run under a virtual display (run-under-xvfb.sh).
#include "NativeWidgetsSample.h"
#include "TestEditor.h"

#include "tests/support/X11Session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace {

// X's key symbols for the keys typed.
constexpr unsigned long keyReturn = 0xFF0D;
constexpr unsigned long keyEnd = 0xFF57;

// A host window at the screen's origin with a frame of 200 x 150 in it, holding the sample.
class NativeWidgetsInX11 : public ::testing::Test, protected NativeWidgetsSample {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.connected()) << "no X display: run under run-under-xvfb.sh";
        host = display.createHostWindow(300, 200);
        frame = editor.openFrame(reinterpret_cast<platform::Window*>(host), Rect(0, 0, 200, 150));
        ASSERT_NE(frame->getSystemWindow(), nullptr);
        addTo(*frame);
        settle();
        const std::vector<WindowId> inside = display.children(host);
        ASSERT_EQ(inside.size(), 1u);
        window = inside.front();
    }
    void TearDown() override { editor.closeFrame(); }

    void settle() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
        while (std::chrono::steady_clock::now() < until) {
            editor.idle();
            display.takeEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void perform(const std::function<void(X11Hand&)>& script) {
        EXPECT_TRUE(display.perform(script, [this] { editor.idle(); }));
        settle();
    }
    static void click(X11Hand& hand, int x, int y) {
        hand.moveTo(x, y);
        hand.button(true);
        hand.pause(150);
        hand.button(false);
        hand.pause(100);
    }
    std::string text() const {
        char buffer[TextEntrySize];
        entry->getText(buffer);
        return buffer;
    }

    X11Session display;
    CountingEditor editor;
    WindowId host = 0;
    WindowId window = 0;
    Frame* frame = nullptr;
};

TEST_F(NativeWidgetsInX11, AClickPlacesAFocusedFieldOverTheEntryWhereTypedKeysAndReturnEndTheEdit) {
    perform([](X11Hand& hand) { click(hand, 20, 15); });
    const std::vector<WindowId> fields = display.children(window);
    ASSERT_EQ(fields.size(), 1u);
    const Placement field = display.placement(fields.front());
    EXPECT_EQ(field.x, 10);
    EXPECT_EQ(field.y, 10);
    EXPECT_EQ(field.width, 61); // one pixel wider and higher than the control
    EXPECT_EQ(field.height, 15);
    EXPECT_EQ(display.focus(), fields.front());

    perform([](X11Hand& hand) {
        hand.tap(keyEnd);
        hand.tap('x');
        hand.tap('y');
        hand.tap(keyReturn);
    });
    EXPECT_FALSE(entry->isEditing());
    EXPECT_EQ(text(), "helloxy");
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_TRUE(display.children(window).empty());
}

TEST_F(NativeWidgetsInX11, AClickElsewhereEndsTheEditOnce) {
    perform([](X11Hand& hand) {
        click(hand, 20, 15);
        hand.tap('z');
        click(hand, 150, 20);
    });
    EXPECT_FALSE(entry->isEditing());
    EXPECT_EQ(text(), "zhello");
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_TRUE(display.children(window).empty());
}

TEST_F(NativeWidgetsInX11, ChoosingAnEntryOfThePopUpMakesItCurrentAndTellsTheListenerOnce) {
    std::vector<Placement> shown;
    perform([&shown](X11Hand& hand) {
        hand.moveTo(20, 45);
        hand.button(true);
        hand.pause(300);
        shown = hand.overrideRedirectWindows();
        if (!shown.empty()) {
            // Dragged from the opening press onto the last entry and released there.
            const Placement& popup = shown.back();
            hand.moveTo(popup.x + popup.width / 2, popup.y + popup.height - 8);
            hand.pause(100);
        }
        hand.button(false);
        hand.pause(100);
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().x, 10); // below the control
    EXPECT_EQ(shown.front().y, 54);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(listener.values.size(), 1u);
    std::vector<Placement> after;
    perform([&after](X11Hand& hand) { after = hand.overrideRedirectWindows(); });
    EXPECT_TRUE(after.empty());
}

TEST_F(NativeWidgetsInX11, AClickOutsideClosesThePopUpWithoutAChoiceAndReachesNoControl) {
    perform([](X11Hand& hand) {
        hand.moveTo(20, 45);
        hand.button(true);
        hand.pause(300);
        hand.button(false); // the opening press ends outside the pop-up
        hand.pause(100);
        click(hand, 110, 110); // over the toggle button, whose click must not arrive
    });
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(toggle->getValue(), 0.0f);
    EXPECT_TRUE(toggleListener.values.empty());
}

} // namespace
