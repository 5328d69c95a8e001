// An editable one-line text: a click places the platform's edit field over the control, and
// Return, the loss of the keyboard focus or a click elsewhere in the frame ends the editing and
// tells the listener when the text changed. Called from the host's GUI thread.
#pragma once

#include "gui/ValueDisplay.h"
#include "gui/platform/NativeWidgets.h"

// Writes the text to show for text into display, a buffer of TextEntrySize bytes.
using TextConvert = void (*)(const char* text, char* display);
constexpr std::int32_t TextEntrySize = 256; // 255 characters and the NUL

class TextEntry : public ValueDisplay {
public:
    // text: the initial text, or null for none.
    TextEntry(const Rect& size, ControlListener* listener, std::int32_t tag, const char* text,
              Bitmap* background, std::int32_t style = 0);
    // Ends an edit without telling anyone.
    ~TextEntry() override;

    void draw(DrawContext* context) override;
    // A plain left click starts editing; no tracking.
    void mouse(DrawContext* context, Point& where) override;
    // Starts editing.
    void takeFocus() override;
    // Ends editing: takes the field's text, draws, and tells the listener when it changed.
    void looseFocus() override;

    // Longer texts are cut at 255 characters; null changes nothing.
    virtual void setText(const char* newText);
    // text: TextEntrySize bytes, or null.
    virtual void getText(char* copy) const;
    virtual void setTextConvert(TextConvert convert) { textConvert = convert; }

    bool isEditing() const { return editField != nullptr; }

private:
    static void editFieldProcedure(platform::EditField* field, platform::EditFieldEvent event);
    // Destroys the field and its font; nothing is read, drawn or told.
    void endEditing();

    platform::EditField* editField = nullptr;
    platform::GraphicsObject* editFont = nullptr;
    char text[TextEntrySize] = {};
    TextConvert textConvert = nullptr;
};
