#include "gui/TextEntry.h"

#include "gui/FontTable.h"
#include "gui/Frame.h"
#include "gui/WindowDrawing.h"
#include "gui/platform/Drawing.h"
#include "gui/platform/NativeWidgets.h"

#include <cstring>

namespace {

void copyText(char* destination, const char* source) {
    std::strncpy(destination, source, TextEntrySize - 1);
    destination[TextEntrySize - 1] = '\0';
}

} // namespace

TextEntry::TextEntry(const Rect& size, ControlListener* listener, std::int32_t tag,
                     const char* initialText, Bitmap* background, std::int32_t style)
    : ValueDisplay(size, listener, tag, background, style) {
    if (initialText != nullptr) {
        copyText(text, initialText);
    }
}

TextEntry::~TextEntry() {
    endEditing();
    if (parent != nullptr && parent->getFocusView() == this) {
        parent->setFocusView(nullptr);
    }
}

void TextEntry::setText(const char* newText) {
    if (newText != nullptr) {
        copyText(text, newText);
        textChanged();
    }
}

void TextEntry::getText(char* copy) const {
    if (copy != nullptr) {
        std::memcpy(copy, text, TextEntrySize);
    }
}

void TextEntry::draw(DrawContext* context) {
    if (textConvert == nullptr) {
        drawText(context, text);
        return;
    }
    char display[TextEntrySize] = {};
    textConvert(text, display);
    display[TextEntrySize - 1] = '\0'; // a converter that overruns still ends here
    drawText(context, display);
}

void TextEntry::mouse(DrawContext* context, Point& where) {
    (void)where;
    if (!mouseEnabled || context->getMouseButtons() != MouseLeft || parent == nullptr ||
        parent->getFocusView() == this) {
        return;
    }
    parent->setFocusView(this);
    takeFocus();
}

void TextEntry::takeFocus() {
    platform::Window* window = parent != nullptr ? parent->getSystemWindow() : nullptr;
    if (editField != nullptr || window == nullptr) {
        return;
    }
    // One pixel wider and higher than the control, so that the field covers its frame.
    const Rect over(size.left, size.top, nextCoordinate(size.right), nextCoordinate(size.bottom));
    editFont = platform::createFont(plainFontDescription(getFont(), defaultFontHeight(getFont())));
    editField = platform::createEditField(window, over, text, editFont,
                                          &TextEntry::editFieldProcedure, this);
    if (editField == nullptr && editFont != nullptr) {
        platform::deleteObject(editFont);
        editFont = nullptr;
    }
}

void TextEntry::editFieldProcedure(platform::EditField* field, platform::EditFieldEvent event) {
    (void)event; // Return and focus loss both end the edit
    auto* entry = static_cast<TextEntry*>(platform::editFieldUserData(field));
    if (entry != nullptr) {
        entry->looseFocus();
    }
}

void TextEntry::endEditing() {
    // The fields are cleared first: destroying a field that has the keyboard focus reports the
    // focus loss, and that inner pass must find nothing left to end.
    platform::EditField* field = editField;
    platform::GraphicsObject* font = editFont;
    editField = nullptr;
    editFont = nullptr;
    if (field != nullptr) {
        platform::setEditFieldUserData(field, nullptr);
        platform::destroyEditField(field);
    }
    if (font != nullptr) {
        platform::deleteObject(font);
    }
}

void TextEntry::looseFocus() {
    if (editField == nullptr) {
        return;
    }
    char saved[TextEntrySize];
    std::memcpy(saved, text, TextEntrySize);
    platform::editFieldText(editField, text, TextEntrySize);
    text[TextEntrySize - 1] = '\0';
    endEditing();
    if (parent == nullptr) {
        return;
    }
    if (parent->getFocusView() == this) {
        parent->setFocusView(nullptr);
    }
    platform::Window* window = parent->getSystemWindow();
    if (window == nullptr) {
        return;
    }
    WindowDrawing drawing(parent, window);
    if (drawing.get() == nullptr) {
        return;
    }
    if (std::strcmp(text, saved) != 0) {
        notify(drawing.get());
    }
    draw(drawing.get());
}
