#include "gui/View.h"

#include "gui/Frame.h"
#include "gui/OffscreenContext.h"

void View::setOffscreen(OffscreenContext* context) {
    if (context != nullptr && context->getWidth() >= size.width() &&
        context->getHeight() >= size.height()) {
        offscreen = context;
    }
}

void View::redraw() {
    if (parent != nullptr) {
        parent->drawView(this);
    }
}
