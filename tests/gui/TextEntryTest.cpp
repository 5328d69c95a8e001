// The text entry on the software backend's edit field: a click places the field over the
// control, scripted keys edit it, and Return, focus loss, a click elsewhere or the entry's
// destruction end the edit.
#include "FrameFixture.h"

#include "gui/TextEntry.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

using software::KeyCode;

// Every text the entry draws passes through here.
std::vector<std::string>& drawnTexts() {
    static std::vector<std::string> texts;
    return texts;
}

void recordDrawnText(const char* text, char* display) {
    drawnTexts().push_back(text);
    std::snprintf(display, TextEntrySize, "%s", text);
}

class TextEntryTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        drawnTexts().clear();
        entry = add(new TextEntry(Rect(10, 10, 70, 24), &listener, 7, "hello", nullptr));
        entry->setTextConvert(recordDrawnText);
    }
    // The frame's child windows that are still there.
    std::vector<platform::Window*> liveFields() const {
        std::vector<platform::Window*> live;
        for (platform::Window* child : software::childWindows(frame->getSystemWindow())) {
            if (!software::isWindowDestroyed(child)) {
                live.push_back(child);
            }
        }
        return live;
    }
    std::string storedText() const {
        char text[TextEntrySize];
        entry->getText(text);
        return text;
    }

    TextEntry* entry = nullptr;
};

TEST_F(TextEntryTest, AClickPlacesAFocusedEditFieldWithTheTextOverTheControl) {
    click(Point(20, 15));
    ASSERT_EQ(liveFields().size(), 1u);
    platform::Window* field = liveFields()[0];
    EXPECT_TRUE(entry->isEditing());
    EXPECT_EQ(frame->getFocusView(), entry);
    EXPECT_EQ(software::keyboardFocus(), field);
    EXPECT_EQ(software::windowText(field), "hello");
    // One pixel wider and higher than the control, and on screen over it.
    EXPECT_EQ(platform::windowScreenRect(field), Rect(10, 10, 71, 25));
    const software::Image screen = software::screenPixels(frameWidth, frameHeight);
    EXPECT_EQ(screen.at(10, 10), 0xFFFFFFu);
    EXPECT_EQ(screen.at(70, 24), 0xFFFFFFu);

    // A second click on the entry while it edits changes nothing.
    click(Point(30, 15));
    EXPECT_EQ(liveFields().size(), 1u);
}

TEST_F(TextEntryTest, KeysEditTheTextFromACaretThatStartsAtTheBeginning) {
    struct Key {
        KeyCode code;
        char character;
    };
    struct Case {
        const char* name;
        std::vector<Key> keys;
        const char* text;
    };
    const Key home{KeyCode::Home, 0}, end{KeyCode::End, 0}, left{KeyCode::Left, 0},
        right{KeyCode::Right, 0}, backspace{KeyCode::Backspace, 0}, del{KeyCode::Delete, 0};
    const Case cases[] = {
        {"typed where the caret starts", {{KeyCode::Character, 'a'}}, "ahello"},
        {"at the end", {end, {KeyCode::Character, '!'}}, "hello!"},
        {"Delete at the start", {home, del}, "ello"},
        {"Backspace after moving left", {end, left, left, backspace}, "helo"},
        {"Backspace at the start", {backspace}, "hello"},
        {"Delete at the end", {end, del}, "hello"},
        {"left of the start and right of the end stay there",
         {left, {KeyCode::Character, 'x'}, end, right, {KeyCode::Character, 'y'}},
         "xhelloy"},
        {"no character for Escape or a control character",
         {{KeyCode::Escape, 0}, {KeyCode::Character, '\t'}},
         "hello"},
        {"Right steps over one character", {right, right, {KeyCode::Character, '-'}}, "he-llo"},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        click(Point(20, 15));
        for (const Key& key : entry.keys) {
            software::pressKey(key.code, key.character);
        }
        software::pressKey(KeyCode::Return);
        EXPECT_EQ(storedText(), entry.text);
        EXPECT_EQ(listener.values.size(), std::string(entry.text) == "hello" ? 0u : 1u);
        EXPECT_TRUE(liveFields().empty());
        this->entry->setText("hello");
    }
}

TEST_F(TextEntryTest, ReturnEndsTheEditDrawsTheTextAndTellsTheListenerOnlyOfAChange) {
    click(Point(20, 15));
    drawnTexts().clear();
    software::pressKey(KeyCode::Return);
    EXPECT_FALSE(entry->isEditing());
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"hello"});
    EXPECT_TRUE(listener.values.empty());

    click(Point(20, 15));
    software::pressKey(KeyCode::End);
    software::typeText(" you");
    software::pressKey(KeyCode::Return);
    EXPECT_EQ(storedText(), "hello you");
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_EQ(drawnTexts().back(), "hello you");
}

TEST_F(TextEntryTest, LosingTheFocusOrAClickElsewhereEndsTheEditOnce) {
    struct Case {
        const char* name;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"the keyboard focus goes elsewhere", [this] { software::setKeyboardFocus(host); }},
        {"a click elsewhere in the frame", [this] { click(Point(5, 80)); }},
        {"the frame closes (last: the entry goes with it)", [this] { editor.closeFrame(); }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        click(Point(20, 15));
        software::typeText("x");
        entry.end();
        EXPECT_EQ(listener.values.size(), 1u);
        if (editor.getFrame() != nullptr) {
            EXPECT_EQ(storedText(), "xhello");
            EXPECT_TRUE(liveFields().empty());
            EXPECT_EQ(frame->getFocusView(), nullptr);
            this->entry->setText("hello");
        }
    }
}

TEST_F(TextEntryTest, AnEntryDestroyedWhileEditingLeavesNoFieldAndTellsNoOne) {
    click(Point(20, 15));
    software::typeText("x");
    frame->removeView(entry);
    delete entry;
    entry = nullptr;
    EXPECT_TRUE(liveFields().empty());
    EXPECT_EQ(software::keyboardFocus(), frame->getSystemWindow());
    EXPECT_TRUE(listener.values.empty());
    software::pressKey(KeyCode::Return); // reaches no field
    software::typeText("y");
}

TEST_F(TextEntryTest, TextsAreCutAt255Characters) {
    const std::string longText(300, 'w');
    entry->setText(longText.c_str());
    EXPECT_EQ(storedText(), std::string(255, 'w'));
    entry->setText(nullptr);
    EXPECT_EQ(storedText(), std::string(255, 'w'));
    entry->getText(nullptr);

    entry->setText("");
    click(Point(20, 15));
    software::typeText(longText.c_str()); // the field itself takes more
    software::pressKey(KeyCode::Return);
    EXPECT_EQ(storedText(), std::string(255, 'w'));
}

TEST_F(TextEntryTest, OnlyAPlainLeftClickOnAnEnabledEntryStartsAnEdit) {
    press(Point(20, 15), MouseRight, {});
    press(Point(20, 15), MouseLeft | KeyShift, {});
    entry->setMouseEnabled(false);
    click(Point(20, 15));
    EXPECT_TRUE(liveFields().empty());
    EXPECT_EQ(frame->getFocusView(), nullptr);

    // Without a listener an edit still ends normally.
    auto* silent = add(new TextEntry(Rect(10, 40, 70, 54), nullptr, 8, nullptr, nullptr));
    click(Point(20, 45));
    software::typeText("z");
    software::pressKey(KeyCode::Return);
    char text[TextEntrySize];
    silent->getText(text);
    EXPECT_STREQ(text, "z");
}

} // namespace
