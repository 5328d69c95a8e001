// The gallery's own views: the ground, the panels that hold one kind each, and captions.
#pragma once

#include "gui/Color.h"
#include "gui/View.h"

#include <string>

namespace gallery {

// Panel colours, those of the pieces' faces (tools/artwork/gallery.py).
constexpr Color ground{22, 24, 28, 0};
constexpr Color face{36, 39, 44, 0};
constexpr Color highlight{53, 57, 64, 0};
constexpr Color shadow{13, 14, 16, 0};
constexpr Color title{232, 234, 238, 0};
constexpr Color caption{141, 147, 156, 0};
constexpr Color accent{79, 195, 184, 0};
constexpr Color field{5, 5, 6, 0};
constexpr Color displayText{226, 208, 216, 0};

// A flat area of one colour.
class Fill : public View {
public:
    Fill(const Rect& size, const Color& color) : View(size), color(color) {}
    void draw(DrawContext* context) override;

private:
    Color color;
};

// A raised panel lit from the top left, with a title and a thin accent rule under it.
class Panel : public View {
public:
    Panel(const Rect& size, std::string title) : View(size), text(std::move(title)) {}
    void draw(DrawContext* context) override;

private:
    std::string text;
};

// One line of text in its rectangle.
class Caption : public View {
public:
    Caption(const Rect& size, std::string text, std::int32_t font, const Color& color,
            std::int32_t alignment)
        : View(size), text(std::move(text)), font(font), color(color), alignment(alignment) {}
    void draw(DrawContext* context) override;

private:
    std::string text;
    std::int32_t font;
    Color color;
    std::int32_t alignment;
};

} // namespace gallery
