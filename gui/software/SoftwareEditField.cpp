// The software backend's edit field: a child window of its own over the toolkit's window, drawn
// over its own pixels with the backend's primitives and fonts, fed by the keyboard focus. It
// follows the platform's single-line edit control: black text on white, centred while it fits
// and scrolled to the caret when it does not, the caret at the start, Return and focus loss
// offered to the toolkit's filter before its own handling (which does nothing with them).
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePainter.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr std::size_t maximumLength = 32767; // as the platform's default limit
constexpr platform::ColorValue background = software::rgb(255, 255, 255);
constexpr platform::ColorValue foreground = software::rgb(0, 0, 0);

bool isPrintable(char character) {
    const auto code = static_cast<unsigned char>(character);
    return code >= 0x20 && code != 0x7F;
}

} // namespace

namespace platform {

struct EditField : software::Widget {
    Window* window = nullptr;
    std::string text;
    std::size_t caret = 0;
    std::int32_t scroll = 0; // pixels of text scrolled out at the left
    GraphicsObject* font = nullptr;
    EditFieldProcedure procedure = nullptr;
    void* userData = nullptr;
    bool destroying = false;

    void keyPressed(software::KeyCode code, char character) override;
    void focusLost() override;
    void paint();
    std::int32_t widthOf(std::size_t length) const;
};

} // namespace platform

namespace software {

namespace {

std::vector<std::unique_ptr<platform::EditField>> fields;

platform::EditField* fieldOf(platform::Window* window) {
    for (const auto& field : fields) {
        if (field->window == window) {
            return field.get();
        }
    }
    return nullptr;
}

// Handles the toolkit no longer holds are refused rather than followed.
bool isLive(const platform::EditField* field) {
    return field != nullptr &&
           std::any_of(fields.begin(), fields.end(),
                       [field](const auto& owned) { return owned.get() == field; });
}

} // namespace

void forgetEditFields() {
    fields.clear();
}

std::string windowText(platform::Window* window) {
    const platform::EditField* field = window != nullptr ? fieldOf(window) : nullptr;
    return field != nullptr ? field->text : std::string();
}

} // namespace software

namespace platform {

std::int32_t EditField::widthOf(std::size_t length) const {
    const FontDescription& description =
        font != nullptr ? font->font : software::stockSystemFont()->font;
    return software::measureText(description, text.data(), static_cast<std::int32_t>(length)).width;
}

void EditField::paint() {
    const std::int32_t width = window->surface.width;
    const std::int32_t height = window->surface.height;
    const std::int32_t textWidth = widthOf(text.size());
    const std::int32_t caretAt = widthOf(caret);
    std::int32_t left = 0;
    if (textWidth < width) {
        scroll = 0;
        left = (width - textWidth) / 2;
    } else {
        // Scrolled just far enough to keep the caret in view.
        scroll = std::min(scroll, caretAt);
        scroll = std::max(scroll, caretAt - (width - 1));
        left = -scroll;
    }
    const FontDescription& description =
        font != nullptr ? font->font : software::stockSystemFont()->font;
    const std::int32_t lineHeight = software::measureText(description, "", 0).height;
    const std::int32_t top = (height - lineHeight) / 2;
    software::Painter painter(window);
    painter.fill(Rect(0, 0, width, height), background);
    painter.text(text.data(), static_cast<std::int32_t>(text.size()),
                 Rect(left, 0, left + textWidth + 1, height), TextAlignment::Left, foreground,
                 font);
    painter.fill(Rect(left + caretAt, top, left + caretAt + 1, top + lineHeight), foreground);
}

void EditField::keyPressed(software::KeyCode code, char character) {
    switch (code) {
    case software::KeyCode::Return:
        if (procedure != nullptr) {
            // The filter may destroy this field: nothing of it is touched afterwards.
            procedure(this, EditFieldEvent::Return);
        }
        return;
    case software::KeyCode::Character:
        if (!isPrintable(character) || text.size() >= maximumLength) {
            return;
        }
        text.insert(caret++, 1, character);
        break;
    case software::KeyCode::Backspace:
        if (caret == 0) {
            return;
        }
        text.erase(--caret, 1);
        break;
    case software::KeyCode::Delete:
        if (caret >= text.size()) {
            return;
        }
        text.erase(caret, 1);
        break;
    case software::KeyCode::Left:
        caret = caret > 0 ? caret - 1 : 0;
        break;
    case software::KeyCode::Right:
        caret = std::min(caret + 1, text.size());
        break;
    case software::KeyCode::Home:
        caret = 0;
        break;
    case software::KeyCode::End:
        caret = text.size();
        break;
    case software::KeyCode::None:
    case software::KeyCode::Escape:
    case software::KeyCode::Up:
    case software::KeyCode::Down:
        return;
    }
    paint();
}

void EditField::focusLost() {
    if (procedure != nullptr) {
        procedure(this, EditFieldEvent::FocusLost);
    }
}

EditField* createEditField(Window* parent, const Rect& rect, const char* text, GraphicsObject* font,
                           EditFieldProcedure procedure, void* userData) {
    Window* window =
        software::createChildAt(parent, Point(rect.left, rect.top), rect.width(), rect.height());
    if (window == nullptr) {
        return nullptr;
    }
    auto field = std::make_unique<EditField>();
    field->window = window;
    field->text = text != nullptr ? text : "";
    field->text.resize(std::min(field->text.size(), maximumLength));
    field->font = font;
    field->userData = userData;
    window->widget = field.get();
    field->paint();
    software::setFocus(window);
    // The filter comes in last, so the focus given above does not reach it.
    field->procedure = procedure;
    software::fields.push_back(std::move(field));
    return software::fields.back().get();
}

void destroyEditField(EditField* field) {
    if (!software::isLive(field) || field->destroying) {
        return;
    }
    // Destroying the window takes the focus away, which the filter hears of.
    field->destroying = true;
    destroyWindow(field->window); // which may free the window
    software::fields.erase(
        std::find_if(software::fields.begin(), software::fields.end(),
                     [field](const auto& owned) { return owned.get() == field; }));
}

void setEditFieldUserData(EditField* field, void* userData) {
    if (software::isLive(field)) {
        field->userData = userData;
    }
}

void* editFieldUserData(EditField* field) {
    return software::isLive(field) ? field->userData : nullptr;
}

std::int32_t editFieldText(EditField* field, char* text, std::int32_t size) {
    if (!software::isLive(field) || text == nullptr || size <= 0) {
        return 0;
    }
    const std::size_t length = std::min(field->text.size(), static_cast<std::size_t>(size - 1));
    field->text.copy(text, length);
    text[length] = '\0';
    return static_cast<std::int32_t>(length);
}

} // namespace platform
