// The choice menu: its list operations, and its pop-up on the software backend's menu, chosen
// from with a scripted pointer and keys.
#include "FrameFixture.h"

#include "gui/ChoiceMenu.h"

#include <functional>
#include <string>

namespace {

using software::KeyCode;
using software::PointerStep;

// The entries as "a,b,c" with the current one in brackets.
std::string listOf(const ChoiceMenu& menu) {
    std::string text;
    for (std::int32_t index = 0; index < menu.getNbEntries(); ++index) {
        char entry[ChoiceMenuEntrySize];
        menu.getEntry(index, entry);
        text += index > 0 ? "," : "";
        text += index == menu.getCurrent() ? "[" + std::string(entry) + "]" : entry;
    }
    return text;
}

class ChoiceMenuListTest : public SoftwareTest {};

TEST_F(ChoiceMenuListTest, EntriesAreAddedAndRemovedWithTheCurrentOneFollowingItsText) {
    ChoiceMenu menu(Rect(0, 0, 60, 14), nullptr, 1, nullptr, nullptr);
    struct Step {
        const char* name;
        std::function<bool(ChoiceMenu&)> operation;
        bool result;
        const char* list;
    };
    const Step steps[] = {
        {"the first entry becomes current", [](ChoiceMenu& m) { return m.addEntry("a"); }, true,
         "[a]"},
        {"at the end", [](ChoiceMenu& m) { return m.addEntry("b", -1); }, true, "[a],b"},
        {"at the current index: the same text stays current",
         [](ChoiceMenu& m) { return m.addEntry("c", 0); }, true, "c,[a],b"},
        {"after the current one", [](ChoiceMenu& m) { return m.addEntry("d", 2); }, true,
         "c,[a],d,b"},
        {"beyond the end: at the end", [](ChoiceMenu& m) { return m.addEntry("e", 9); }, true,
         "c,[a],d,b,e"},
        {"no text: an empty entry", [](ChoiceMenu& m) { return m.addEntry(nullptr); }, true,
         "c,[a],d,b,e,"},
        {"a separator", [](ChoiceMenu& m) { return m.addEntry("-", 1); }, true, "c,-,[a],d,b,e,"},
        {"a separator cannot become current", [](ChoiceMenu& m) { return m.setCurrent(1); }, false,
         "c,-,[a],d,b,e,"},
        {"nor an index outside", [](ChoiceMenu& m) { return m.setCurrent(7); }, false,
         "c,-,[a],d,b,e,"},
        {"nor -1", [](ChoiceMenu& m) { return m.setCurrent(-1); }, false, "c,-,[a],d,b,e,"},
        {"another entry", [](ChoiceMenu& m) { return m.setCurrent(4); }, true, "c,-,a,d,[b],e,"},
        {"removing before the current one", [](ChoiceMenu& m) { return m.removeEntry(0); }, true,
         "-,a,d,[b],e,"},
        {"removing the current one: the one before", [](ChoiceMenu& m) { return m.removeEntry(3); },
         true, "-,a,[d],e,"},
        {"removing after it", [](ChoiceMenu& m) { return m.removeEntry(3); }, true, "-,a,[d],"},
        {"removing outside", [](ChoiceMenu& m) { return m.removeEntry(4); }, false, "-,a,[d],"},
        {"removing -1", [](ChoiceMenu& m) { return m.removeEntry(-1); }, false, "-,a,[d],"},
        {"reading outside", [](ChoiceMenu& m) { return m.getEntry(4, nullptr); }, false,
         "-,a,[d],"},
        {"removing everything", [](ChoiceMenu& m) { return (m.removeAllEntry(), true); }, true, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.operation(menu), step.result);
        EXPECT_EQ(listOf(menu), step.list);
    }
    EXPECT_EQ(menu.getCurrent(), -1);
    EXPECT_EQ(menu.getNbEntries(), 0);
}

TEST_F(ChoiceMenuListTest, TheListHoldsAtMost128TextsOf255Characters) {
    ChoiceMenu menu(Rect(0, 0, 60, 14), nullptr, 1, nullptr, nullptr);
    const std::string longText(300, 'x');
    for (std::int32_t index = 0; index < ChoiceMenuMaxEntries; ++index) {
        ASSERT_TRUE(menu.addEntry(longText.c_str()));
    }
    EXPECT_FALSE(menu.addEntry("one too many"));
    EXPECT_FALSE(menu.addEntry("one too many", 0));
    EXPECT_EQ(menu.getNbEntries(), ChoiceMenuMaxEntries);
    char text[ChoiceMenuEntrySize];
    EXPECT_EQ(menu.getCurrent(text), 0);
    EXPECT_EQ(std::string(text), std::string(255, 'x'));
}

TEST_F(ChoiceMenuListTest, TheOnlyEntryRemovedLeavesNoCurrentAndAnEmptyText) {
    ChoiceMenu withText(Rect(0, 0, 60, 14), nullptr, 1, nullptr, nullptr);
    ChoiceMenu empty(Rect(0, 0, 60, 14), nullptr, 1, nullptr, nullptr);
    withText.addEntry("only");
    withText.removeEntry(0);
    EXPECT_EQ(withText.getCurrent(), -1);
    Canvas drawn(60, 14);
    Canvas reference(60, 14);
    withText.draw(drawn.get());
    empty.draw(reference.get());
    EXPECT_EQ(drawn.pixels(), reference.pixels());
}

// A choice menu in a frame; while its pop-up is open, the observer of the modal loop records
// what is shown and may script what the user does next.
class ChoiceMenuTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        software::setModalLoopObserver(&ChoiceMenuTest::whileShown, this);
    }
    ChoiceMenu* addMenu(std::int32_t style, Bitmap* menuOpen = nullptr) {
        ChoiceMenu* menu =
            add(new ChoiceMenu(Rect(10, 10, 70, 24), &listener, 3, nullptr, menuOpen, style));
        for (const char* text : {"one", "-", "three"}) {
            menu->addEntry(text);
        }
        return menu;
    }
    static void whileShown(void* data) {
        auto* test = static_cast<ChoiceMenuTest*>(data);
        if (test->shown.window == nullptr) {
            test->shown = software::shownMenu();
            test->screen = software::screenPixels(frameWidth, frameHeight);
            if (test->onShown) {
                test->onShown();
            }
        }
    }
    // Clicks the item's middle.
    void scriptClickOn(std::size_t item) {
        const Rect& rect = shown.items.at(item).rect;
        const Point middle((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        software::scriptPointer({{middle, 0, 0}, {middle, MouseLeft, 0}, {middle, 0, 0}});
    }

    software::MenuShown shown;
    software::Image screen;
    std::function<void()> onShown;
};

TEST_F(ChoiceMenuTest, ThePopUpShowsTheItemsAndSeparatorsBelowOrAtTheTopOfTheControl) {
    struct Case {
        std::int32_t style;
        std::int32_t top;
        bool firstChecked;
    };
    for (const Case& entry : {Case{0, 24, false}, Case{StyleMenuAtTop, 10, false},
                              Case{StyleMenuCheckCurrent, 24, true}}) {
        SCOPED_TRACE(entry.style);
        ChoiceMenu* menu = addMenu(entry.style);
        shown = software::MenuShown();
        press(Point(20, 15), MouseLeft, {{Point(20, 15), 0, 0, KeyCode::Escape}});
        ASSERT_NE(shown.window, nullptr);
        EXPECT_EQ(shown.rect.left, 10);
        EXPECT_EQ(shown.rect.top, entry.top);
        ASSERT_EQ(shown.items.size(), 3u);
        EXPECT_EQ(shown.items[0].text, "one");
        EXPECT_TRUE(shown.items[1].separator);
        EXPECT_EQ(shown.items[2].text, "three");
        EXPECT_EQ(shown.items[0].checked, entry.firstChecked);
        EXPECT_FALSE(shown.items[2].checked);
        // Escape: no choice, nothing told, the pop-up gone.
        EXPECT_EQ(menu->getCurrent(), 0);
        EXPECT_TRUE(listener.values.empty());
        EXPECT_FALSE(software::shownMenu().window != nullptr);
        EXPECT_TRUE(software::isWindowDestroyed(shown.window));
        EXPECT_EQ(frame->getFocusView(), nullptr);
        frame->removeView(menu);
        delete menu;
    }
}

TEST_F(ChoiceMenuTest, ChoosingAnEntryMakesItCurrentAndTellsTheListenerOnce) {
    struct Case {
        const char* name;
        std::function<void()> choose;
    };
    const Case cases[] = {
        {"clicked", [this] { scriptClickOn(2); }},
        {"released over it after the opening press",
         [this] {
             const Rect& rect = shown.items.at(2).rect;
             const Point middle(rect.left + 5, rect.top + 5);
             software::scriptPointer({{middle, MouseLeft, 0}, {middle, 0, 0}});
         }},
        {"with the keys, over the separator",
         [] {
             software::scriptPointer({{Point(20, 15), 0, 0, KeyCode::Down},
                                      {Point(20, 15), 0, 0, KeyCode::Down},
                                      {Point(20, 15), 0, 0, KeyCode::Return}});
         }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        ChoiceMenu* menu = addMenu(0);
        listener.values.clear();
        shown = software::MenuShown();
        onShown = entry.choose;
        press(Point(20, 15), MouseLeft, {});
        EXPECT_EQ(menu->getCurrent(), 2);
        EXPECT_EQ(listener.values, std::vector<float>{0.0f}); // the value stays as it was
        EXPECT_EQ(menu->getValue(), 0.0f);
        frame->removeView(menu);
        delete menu;
    }
}

TEST_F(ChoiceMenuTest, ClosingWithoutAChoiceChangesNothing) {
    struct Case {
        const char* name;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"a press outside the pop-up",
         [] {
             software::scriptPointer({{Point(100, 90), 0, 0}, {Point(100, 90), MouseLeft, 0}});
         }},
        {"a click on the separator, then the input ends", [this] { scriptClickOn(1); }},
        {"no further input", [] { software::scriptPointer({}); }},
    };
    ChoiceMenu* menu = addMenu(0);
    menu->setCurrent(2);
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        shown = software::MenuShown();
        onShown = entry.close;
        press(Point(20, 15), MouseLeft, {});
        EXPECT_NE(shown.window, nullptr);
        EXPECT_EQ(menu->getCurrent(), 2);
        EXPECT_TRUE(listener.values.empty());
        EXPECT_TRUE(software::isWindowDestroyed(shown.window));
    }
}

TEST_F(ChoiceMenuTest, TheMenuOpenBitmapIsTheBackgroundWhileThePopUpIsShown) {
    constexpr std::uint32_t openColor = 0x123456;
    software::installBitmapPixels(3800, 60, 14, std::vector<std::uint32_t>(60 * 14, openColor));
    Bitmap* menuOpen = new Bitmap(3800);
    addMenu(0, menuOpen);
    menuOpen->forget();
    press(Point(20, 15), MouseLeft, {{Point(20, 15), 0, 0, KeyCode::Escape}});
    EXPECT_EQ(screen.at(11, 11), openColor);
    EXPECT_NE(pixel(11, 11), openColor); // drawn again without it
}

TEST_F(ChoiceMenuTest, OnlyAPlainLeftClickOnAnEnabledMenuOpensIt) {
    ChoiceMenu* menu = addMenu(0);
    press(Point(20, 15), MouseRight, {});
    press(Point(20, 15), MouseLeft | KeyControl, {});
    menu->setMouseEnabled(false);
    press(Point(20, 15), MouseLeft, {});
    EXPECT_EQ(shown.window, nullptr);
    ChoiceMenu empty(Rect(0, 0, 10, 10), nullptr, 1, nullptr, nullptr);
    empty.takeFocus(); // not in a frame: nothing shown
    EXPECT_EQ(shown.window, nullptr);
}

} // namespace
