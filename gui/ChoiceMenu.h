// A list of up to 128 texts shown as the current one; a click opens the platform's pop-up menu
// of them and a choice makes that entry current and tells the listener, which reads it with
// getCurrent (the value does not change). An entry of exactly "-" is a separator.
// Called from the host's GUI thread.
#pragma once

#include "gui/ValueDisplay.h"

#include <array>
#include <vector>

namespace platform {
struct Menu;
}

enum ChoiceMenuStyle : std::int32_t {
    StyleMenuAtTop = 512,         // the pop-up opens at the control's top edge, not its bottom
    StyleMenuCheckCurrent = 1024, // the current entry carries a check mark in the pop-up
};

constexpr std::int32_t ChoiceMenuMaxEntries = 128;
constexpr std::int32_t ChoiceMenuEntrySize = 256; // 255 characters and the NUL

class ChoiceMenu : public ValueDisplay {
public:
    // menuOpen: the control's background while the pop-up is shown, or null.
    ChoiceMenu(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
               Bitmap* menuOpen, std::int32_t style = 0);
    ~ChoiceMenu() override;

    // The current entry's text; none without a current entry.
    void draw(DrawContext* context) override;
    // A plain left click opens the pop-up.
    void mouse(DrawContext* context, Point& where) override;
    // Shows the pop-up until a choice or its closing.
    void takeFocus() override;
    void looseFocus() override;

    // text null: an empty entry. index: where it goes, -1 (or beyond the end) for the end.
    // false when the list is full.
    virtual bool addEntry(const char* text, std::int32_t index = -1);
    // -1 without a current entry; otherwise its index, and its text copied into text
    // (ChoiceMenuEntrySize bytes) when that is not null.
    virtual std::int32_t getCurrent(char* text = nullptr) const;
    // false for an index outside the list or a separator.
    virtual bool setCurrent(std::int32_t index);
    // false for an index outside the list.
    virtual bool getEntry(std::int32_t index, char* text) const;
    virtual bool removeEntry(std::int32_t index);
    virtual void removeAllEntry();
    virtual std::int32_t getNbEntries() const { return static_cast<std::int32_t>(entries.size()); }

    // True while the pop-up is shown.
    bool isMenuShown() const { return menu != nullptr; }

private:
    using EntryText = std::array<char, ChoiceMenuEntrySize>;
    bool isSeparator(std::int32_t index) const;
    const char* currentText() const;

    platform::Menu* menu = nullptr;
    std::vector<EntryText> entries;
    std::int32_t current = -1;
    Bitmap* menuOpen;
};
