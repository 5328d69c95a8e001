// The base of everything a Frame shows: a rectangle in the frame window's coordinates that
// draws itself and takes mouse presses. Called from the host's GUI thread.
#pragma once

#include "gui/Geometry.h"

class DrawContext;
class Frame;
class OffscreenContext;

class View {
public:
    explicit View(const Rect& size) : size(size) {}
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    virtual void draw(DrawContext* context) { (void)context; }
    // where: the point at which the button went down.
    virtual void mouse(DrawContext* context, Point& where) {
        (void)context;
        (void)where;
    }
    virtual void update(DrawContext* context) { (void)context; }
    virtual void looseFocus() {}
    virtual void takeFocus() {}
    // Kept only when the context is at least as large as the view.
    virtual void setOffscreen(OffscreenContext* context);

    Frame* getParent() const { return parent; }
    void setParent(Frame* frame) { parent = frame; }
    // Draws this view now, through the parent frame.
    void redraw();

    const Rect& getSize() const { return size; }
    void setSize(const Rect& newSize) { size = newSize; }
    OffscreenContext* getOffscreen() const { return offscreen; }

protected:
    Rect size;
    Frame* parent = nullptr;
    OffscreenContext* offscreen = nullptr;
};
