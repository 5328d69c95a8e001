#include "gui/ChoiceMenu.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/WindowDrawing.h"
#include "gui/platform/NativeWidgets.h"
#include "gui/platform/Windowing.h"

#include <cstring>

namespace {
constexpr const char* separatorText = "-";
}

ChoiceMenu::ChoiceMenu(const Rect& size, ControlListener* listener, std::int32_t tag,
                       Bitmap* background, Bitmap* menuOpen, std::int32_t style)
    : ValueDisplay(size, listener, tag, background, style), menuOpen(menuOpen) {
    entries.reserve(ChoiceMenuMaxEntries);
    if (menuOpen != nullptr) {
        menuOpen->remember();
    }
}

ChoiceMenu::~ChoiceMenu() {
    if (menuOpen != nullptr) {
        menuOpen->forget();
    }
}

bool ChoiceMenu::isSeparator(std::int32_t index) const {
    return std::strcmp(entries[static_cast<std::size_t>(index)].data(), separatorText) == 0;
}

const char* ChoiceMenu::currentText() const {
    return current >= 0 && current < getNbEntries()
               ? entries[static_cast<std::size_t>(current)].data()
               : "";
}

bool ChoiceMenu::addEntry(const char* text, std::int32_t index) {
    const std::int32_t count = getNbEntries();
    if (count >= ChoiceMenuMaxEntries) {
        return false;
    }
    EntryText entry{};
    if (text != nullptr) {
        std::strncpy(entry.data(), text, ChoiceMenuEntrySize - 1);
    }
    if (index < 0 || index > count) {
        entries.push_back(entry);
    } else {
        entries.insert(entries.begin() + index, entry);
        if (current >= index) {
            ++current; // the same text stays current
        }
    }
    if (current < 0) {
        current = 0;
    }
    textChanged();
    return true;
}

std::int32_t ChoiceMenu::getCurrent(char* text) const {
    if (current < 0 || current >= getNbEntries()) {
        return -1;
    }
    if (text != nullptr) {
        std::memcpy(text, currentText(), ChoiceMenuEntrySize);
    }
    return current;
}

bool ChoiceMenu::setCurrent(std::int32_t index) {
    if (index < 0 || index >= getNbEntries() || isSeparator(index)) {
        return false;
    }
    current = index;
    textChanged();
    return true;
}

bool ChoiceMenu::getEntry(std::int32_t index, char* text) const {
    if (index < 0 || index >= getNbEntries()) {
        return false;
    }
    if (text != nullptr) {
        std::memcpy(text, entries[static_cast<std::size_t>(index)].data(), ChoiceMenuEntrySize);
    }
    return true;
}

bool ChoiceMenu::removeEntry(std::int32_t index) {
    if (index < 0 || index >= getNbEntries()) {
        return false;
    }
    entries.erase(entries.begin() + index);
    if (current >= index) {
        --current;
    }
    if (entries.empty()) {
        current = -1;
    }
    textChanged();
    return true;
}

void ChoiceMenu::removeAllEntry() {
    entries.clear();
    current = -1;
    textChanged();
}

void ChoiceMenu::draw(DrawContext* context) {
    drawText(context, currentText());
}

void ChoiceMenu::mouse(DrawContext* context, Point& where) {
    (void)where;
    if (!mouseEnabled || context->getMouseButtons() != MouseLeft) {
        return;
    }
    if (menuOpen != nullptr) {
        drawText(context, currentText(), menuOpen);
    }
    if (parent != nullptr) {
        parent->setFocusView(this);
    }
    takeFocus();
}

void ChoiceMenu::takeFocus() {
    platform::Window* window = parent != nullptr ? parent->getSystemWindow() : nullptr;
    if (window == nullptr || menu != nullptr) {
        return;
    }
    std::int32_t chosen = -1;
    const Rect windowRect = platform::windowScreenRect(window);
    // Kept here as well: looseFocus may clear the member while the menu is shown.
    platform::Menu* shown = platform::createPopupMenu();
    menu = shown;
    if (shown != nullptr) {
        const bool checkCurrent = (getStyle() & StyleMenuCheckCurrent) != 0;
        for (std::int32_t index = 0; index < getNbEntries(); ++index) {
            if (isSeparator(index)) {
                platform::appendMenuSeparator(shown);
            } else {
                platform::appendMenuItem(shown, entries[static_cast<std::size_t>(index)].data(),
                                         index, checkCurrent && index == current);
            }
        }
        const bool atTop = (getStyle() & StyleMenuAtTop) != 0;
        const Point corner(
            toCoordinate(std::int64_t{windowRect.left} + size.left),
            toCoordinate(std::int64_t{windowRect.top} + (atTop ? size.top : size.bottom)));
        chosen = platform::trackPopupMenu(shown, window, corner);
        platform::destroyMenu(shown);
    }
    menu = nullptr;
    if (parent->getFocusView() == this) {
        parent->setFocusView(nullptr);
    }
    const bool choice = chosen >= 0 && chosen < getNbEntries() && !isSeparator(chosen);
    if (!choice && menuOpen == nullptr) {
        return;
    }
    WindowDrawing drawing(parent, window);
    if (drawing.get() == nullptr) {
        return;
    }
    if (choice) {
        current = chosen;
        notify(drawing.get());
    }
    draw(drawing.get()); // also takes the menu-open look away
}

void ChoiceMenu::looseFocus() {
    menu = nullptr;
}
