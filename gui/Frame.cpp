#include "gui/Frame.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/WindowDrawing.h"
#include "host/ModuleInstance.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int32_t viewArrayGrowth = 10;

// Shared by all frames of the module.
char className[32] = {};
std::int32_t classUseCount = 0;

bool acquireWindowClass(platform::WindowProcedure procedure) {
    if (classUseCount++ > 0) {
        return true;
    }
    std::snprintf(className, sizeof(className), "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(moduleInstance())));
    return platform::registerWindowClass(className, procedure);
}

void releaseWindowClass() {
    if (classUseCount > 0 && --classUseCount == 0) {
        platform::unregisterWindowClass(className);
    }
}

} // namespace

Frame::Frame(const Rect& size, platform::Window* parentWindow, EditorBase* editor)
    : View(size), editor(editor), parentWindow(parentWindow) {
    createWindow();
}

Frame::~Frame() {
    if (focusView != nullptr) {
        focusView->looseFocus();
        focusView = nullptr;
    }
    for (std::int32_t index = 0; index < viewCount; ++index) {
        delete views[index];
    }
    std::free(views);
    views = nullptr;
    viewCount = 0;
    viewCapacity = 0;
    if (background != nullptr) {
        background->forget();
        background = nullptr;
    }
    destroyWindow();
}

const char* Frame::windowClassName() {
    return className;
}

std::int32_t Frame::windowClassUseCount() {
    return classUseCount;
}

void Frame::createWindow() {
    if (parentWindow == nullptr) {
        return;
    }
    acquireWindowClass(&Frame::windowProcedure);
    window =
        platform::createChildWindow(className, "Window", parentWindow, size.width(), size.height());
    if (window == nullptr) {
        // No window, so no destroy message will ever give the class back.
        releaseWindowClass();
        return;
    }
    platform::setWindowUserData(window, this);
}

void Frame::destroyWindow() {
    if (window == nullptr) {
        return;
    }
    platform::setWindowUserData(window, nullptr);
    platform::destroyWindow(window);
    window = nullptr;
    releaseWindowClass();
}

void Frame::windowProcedure(platform::Window* window, platform::WindowMessage message,
                            Point point) {
    Frame* frame = static_cast<Frame*>(platform::windowUserData(window));
    if (frame == nullptr) {
        return;
    }
    switch (message) {
    case platform::WindowMessage::Paint: {
        if (!platform::hasUpdateRegion(window)) {
            break;
        }
        platform::PaintRecord record;
        platform::DeviceContext* deviceContext = platform::beginPaint(window, record);
        {
            DrawContext context(frame, deviceContext, window);
            frame->draw(&context);
        }
        platform::endPaint(window, record);
        break;
    }
    case platform::WindowMessage::LeftButtonDown:
    case platform::WindowMessage::RightButtonDown: {
        WindowDrawing drawing(frame, window);
        if (drawing.get() != nullptr) {
            frame->mouse(drawing.get(), point);
        }
        break;
    }
    case platform::WindowMessage::Destroy:
        frame->open = false;
        frame->parentWindow = nullptr;
        break;
    }
}

View* Frame::getView(std::int32_t index) const {
    return index >= 0 && index < viewCount ? views[index] : nullptr;
}

void Frame::setBackground(Bitmap* bitmap) {
    if (background != nullptr) {
        background->forget();
    }
    background = bitmap;
    if (background != nullptr) {
        background->remember();
    }
}

bool Frame::addView(View* view) {
    if (view == nullptr) {
        return false;
    }
    if (viewCount >= viewCapacity) {
        const std::int32_t capacity = viewCapacity + viewArrayGrowth;
        void* grown = std::realloc(views, sizeof(View*) * static_cast<std::size_t>(capacity));
        if (grown == nullptr) {
            // The old block and the views in it stay; only the new view is refused.
            return false;
        }
        views = static_cast<View**>(grown);
        viewCapacity = capacity;
    }
    views[viewCount++] = view;
    view->setParent(this);
    return true;
}

bool Frame::removeView(View* view) {
    for (std::int32_t index = 0; index < viewCount; ++index) {
        if (views[index] == view) {
            for (std::int32_t next = index + 1; next < viewCount; ++next) {
                views[next - 1] = views[next];
            }
            --viewCount;
            if (modalView == view) {
                modalView = nullptr;
            }
            if (focusView == view) {
                focusView = nullptr;
            }
            break;
        }
    }
    return true;
}

bool Frame::setModalView(View* view) {
    if (view != nullptr && modalView != nullptr) {
        return false;
    }
    modalView = view;
    return true;
}

void Frame::draw(DrawContext* context) {
    firstDrawPending = false;
    if (background != nullptr) {
        background->draw(context, Rect(0, 0, background->getWidth(), background->getHeight()));
    }
    for (std::int32_t index = 0; index < viewCount; ++index) {
        views[index]->draw(context);
    }
    if (modalView != nullptr) {
        modalView->draw(context);
    }
}

void Frame::mouse(DrawContext* context, Point& where) {
    if (focusView != nullptr && !focusView->getSize().pointInside(where)) {
        focusView->looseFocus();
        focusView = nullptr;
    }
    if (modalView != nullptr) {
        if (modalView->getSize().pointInside(where)) {
            modalView->mouse(context, where);
        }
        return;
    }
    for (std::int32_t index = viewCount - 1; index >= 0; --index) {
        if (views[index]->getSize().pointInside(where)) {
            views[index]->mouse(context, where);
            return;
        }
    }
}

void Frame::update(DrawContext* context) {
    if (!open) {
        return;
    }
    if (modalView != nullptr) {
        modalView->update(context);
        return;
    }
    for (std::int32_t index = 0; index < viewCount; ++index) {
        views[index]->update(context);
    }
}

void Frame::idle() {
    if (window == nullptr) {
        return;
    }
    platform::dispatchMessages(window);
    if (!open || firstDrawPending) {
        return;
    }
    WindowDrawing drawing(this, window);
    if (drawing.get() != nullptr) {
        update(drawing.get());
    }
}

void Frame::paintNow() {
    if (window != nullptr && open) {
        platform::updateWindow(window);
    }
}

void Frame::drawView(View* view) {
    if (window == nullptr) {
        return;
    }
    bool found = false;
    for (std::int32_t index = 0; index < viewCount && !found; ++index) {
        found = views[index] == view;
    }
    WindowDrawing drawing(this, window);
    if (drawing.get() == nullptr) {
        return;
    }
    if (found) {
        view->draw(drawing.get());
    } else {
        draw(drawing.get());
    }
}
