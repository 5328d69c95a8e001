// A one-line text read-out of a control's value over a filled, framed or bitmap background.
#pragma once

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/StringConvert.h"

class Bitmap;

enum DisplayStyle : std::int32_t {
    StyleTextShadow = 4,        // text again one pixel right and down in the shadow colour
    StyleBevelBackFirst = 128,  // top and left in the back colour, bottom and right in the frame's
    StyleBevelFrameFirst = 256, // top and left in the frame colour, bottom and right in the back's
};

class ValueDisplay : public Control {
public:
    ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style = 0);
    ~ValueDisplay() override;

    void draw(DrawContext* context) override;

    // These redraw at the next idle when the setting really changes.
    virtual void setFont(std::int32_t fontId);
    virtual void setFontColor(const Color& color);
    virtual void setBackColor(const Color& color);
    virtual void setFrameColor(const Color& color);
    virtual void setShadowColor(const Color& color);
    virtual void setHoriAlign(std::int32_t alignment);
    // These only store.
    virtual void setBackOffset(const Point& offset) { backOffset = offset; }
    virtual void setStringConvert(StringConvert convert) { stringConvert = convert; }
    StringConvert getStringConvert() const { return stringConvert; }

    std::int32_t getStyle() const { return style; }
    std::int32_t getFont() const { return fontId; }

protected:
    // For the kinds that edit or choose a text.
    ValueDisplay(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
                 std::int32_t style);
    // The background, bevel and text, shared with the kinds that edit or choose a value.
    void drawText(DrawContext* context, const char* text, Bitmap* overrideBitmap = nullptr);
    // Their text changed while the value did not: redrawn at the next idle.
    void textChanged() { oldValue = value == 0.0f ? 1.0f : 0.0f; }

private:
    void forceRedraw() { oldValue = value + 0.1f; }
    // The display's font, made smaller where the text would not fit otherwise.
    void setFittingFont(DrawContext* context, const char* text) const;

    std::int32_t horiAlign = 1;
    std::int32_t style;
    std::int32_t fontId = 3;
    Color fontColor = ColorWhite;
    Color backColor = ColorBlack;
    Color frameColor = ColorBlack;
    Color shadowColor = ColorRed;
    Point backOffset;
    Bitmap* background;
    StringConvert stringConvert = nullptr;
};
