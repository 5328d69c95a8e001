#include "gui/ValueDisplay.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr std::int32_t kTextMargin = 2;           // a pixel of the field on either side
constexpr std::int32_t kSmallestFittedHeight = 8; // pixels; smaller text no longer reads
} // namespace

ValueDisplay::ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style)
    : ValueDisplay(size, nullptr, 0, background, style) {}

ValueDisplay::ValueDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                           Bitmap* background, std::int32_t style)
    : Control(size, listener, tag), style(style), background(background) {
    if (background != nullptr) {
        background->remember();
    }
}

ValueDisplay::~ValueDisplay() {
    if (background != nullptr) {
        background->forget();
    }
}

void ValueDisplay::setFont(std::int32_t newFontId) {
    if (newFontId != fontId) {
        fontId = newFontId;
        forceRedraw();
    }
}

void ValueDisplay::setFontColor(const Color& color) {
    if (!color.sameAs(fontColor)) {
        fontColor = color;
        forceRedraw();
    }
}

void ValueDisplay::setBackColor(const Color& color) {
    if (!color.sameAs(backColor)) {
        backColor = color;
        forceRedraw();
    }
}

void ValueDisplay::setFrameColor(const Color& color) {
    if (!color.sameAs(frameColor)) {
        frameColor = color;
        forceRedraw();
    }
}

void ValueDisplay::setShadowColor(const Color& color) {
    if (!color.sameAs(shadowColor)) {
        shadowColor = color;
        forceRedraw();
    }
}

void ValueDisplay::setHoriAlign(std::int32_t alignment) {
    if (alignment != horiAlign) {
        horiAlign = alignment;
        forceRedraw();
    }
}

void ValueDisplay::draw(DrawContext* context) {
    char text[StringConvertSize] = {};
    if (stringConvert != nullptr) {
        stringConvert(value, text);
        text[StringConvertSize - 1] = '\0'; // a converter that overruns still ends here
    } else {
        std::snprintf(text, sizeof(text), "%2.2f", static_cast<double>(value));
    }
    drawText(context, text);
}

void ValueDisplay::setFittingFont(DrawContext* context, const char* text) const {
    context->setFont(fontId);
    // A centred text wider than the display would lose its first and last letters; it steps
    // down in size instead, as far as it stays readable. The blanks around it may overhang.
    const char* first = text;
    while (*first == ' ') {
        ++first;
    }
    std::size_t length = std::strlen(first);
    while (length > 0 && first[length - 1] == ' ') {
        --length;
    }
    char visible[StringConvertSize];
    std::snprintf(visible, sizeof visible, "%.*s", static_cast<int>(length), first);
    const std::int32_t room = size.width() - kTextMargin;
    std::int32_t height = context->getFontSize();
    while (height > kSmallestFittedHeight && context->getStringWidth(visible) > room) {
        context->setFont(fontId, --height);
    }
}

void ValueDisplay::drawText(DrawContext* context, const char* text, Bitmap* overrideBitmap) {
    const bool bevel = (style & (StyleBevelBackFirst | StyleBevelFrameFirst)) != 0;
    Bitmap* picture = overrideBitmap != nullptr ? overrideBitmap : background;
    if (picture != nullptr) {
        picture->draw(context, size, backOffset);
    } else {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!bevel) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }
    if (bevel) {
        const bool backFirst = (style & StyleBevelBackFirst) != 0;
        context->setFrameColor(backFirst ? backColor : frameColor);
        context->moveTo(Point(size.left, size.bottom));
        context->lineTo(Point(size.left, size.top));
        context->lineTo(Point(nextCoordinate(size.right), size.top));
        context->setFrameColor(backFirst ? frameColor : backColor);
        context->moveTo(Point(size.right, nextCoordinate(size.top)));
        context->lineTo(Point(size.right, size.bottom));
        context->lineTo(Point(size.left, size.bottom));
    }
    setFittingFont(context, text);
    if ((style & StyleTextShadow) != 0) {
        context->setFontColor(shadowColor);
        Rect shadowed = size;
        shadowed.offset(1, 1);
        context->drawString(text, shadowed, false, horiAlign);
    }
    context->setFontColor(fontColor);
    context->drawString(text, size, false, horiAlign);
    oldValue = value;
}
