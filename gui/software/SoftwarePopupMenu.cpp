// The software backend's pop-up menu: a top-level window of its own at the given place, drawn
// over its own pixels with the backend's primitives and fonts, tracked in a modal loop that
// takes the windowing's input (a script in the simulation, the display under X11). As on the
// platform: a press and release on an item chooses it, a release over the menu after dragging from
// the opening press chooses too, a new press outside closes the menu without a choice (and goes
// nowhere else), Up and Down move the highlight over the items (not the separators), Return chooses
// the highlighted item and Escape closes.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePainter.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct Menu {
    struct Item {
        std::string text;
        std::int32_t command = 0;
        bool checked = false;
        bool separator = false;
    };
    std::vector<Item> items;
};

} // namespace platform

namespace software {

namespace {

constexpr std::int32_t border = 1;
constexpr std::int32_t padding = 2; // between the border and the first and last items
constexpr std::int32_t itemHeight = 20;
constexpr std::int32_t separatorHeight = 9;
constexpr std::int32_t checkColumn = 22; // the check mark's column before the texts
constexpr std::int32_t rightMargin = 18;
constexpr std::int32_t minimumWidth = 72;
constexpr std::int32_t fontHeight = 12;
constexpr std::int32_t anyButton = 1 | 2 | 4;

constexpr platform::ColorValue face = rgb(246, 246, 246);
constexpr platform::ColorValue edge = rgb(150, 150, 150);
constexpr platform::ColorValue textColor = rgb(20, 20, 20);
constexpr platform::ColorValue highlight = rgb(0, 102, 204);
constexpr platform::ColorValue highlightText = rgb(255, 255, 255);
constexpr platform::ColorValue separatorColor = rgb(206, 206, 206);

std::vector<std::unique_ptr<platform::Menu>> menus;

bool isLive(const platform::Menu* menu) {
    return menu != nullptr && std::any_of(menus.begin(), menus.end(), [menu](const auto& owned) {
               return owned.get() == menu;
           });
}

class Tracking : public Widget {
public:
    Tracking(const platform::Menu& menu, platform::Window* window, std::vector<Rect> rects,
             platform::GraphicsObject* font)
        : menu(menu), window(window), rects(std::move(rects)), font(font), lastCursor(cursor()) {}

    void keyPressed(KeyCode code, char character) override;
    // The pointer in the window's client area.
    Point local() const;
    // A pointer that moved highlights the item under it (or none).
    void followPointer();
    // The item (not a separator) under a point of the window's client area, or -1.
    std::int32_t itemAt(Point point) const;
    void paint() const;
    MenuShown shown() const;

    const platform::Menu& menu;
    platform::Window* window;
    std::vector<Rect> rects; // per item, in the window
    platform::GraphicsObject* font;
    std::int32_t highlighted = -1;
    std::int32_t chosen = -1; // an item index
    bool done = false;

private:
    void moveHighlight(std::int32_t step);

    Point lastCursor;
};

Tracking* tracking = nullptr;

std::int32_t Tracking::itemAt(Point point) const {
    for (std::size_t index = 0; index < rects.size(); ++index) {
        const Rect& rect = rects[index];
        if (point.h >= rect.left && point.h < rect.right && point.v >= rect.top &&
            point.v < rect.bottom) {
            return menu.items[index].separator ? -1 : static_cast<std::int32_t>(index);
        }
    }
    return -1;
}

void Tracking::moveHighlight(std::int32_t step) {
    const auto count = static_cast<std::int32_t>(menu.items.size());
    std::int32_t index = highlighted;
    for (std::int32_t tried = 0; tried < count; ++tried) {
        index = index < 0 && step < 0 ? count - 1 : (index + step + count) % count;
        if (!menu.items[static_cast<std::size_t>(index)].separator) {
            highlighted = index;
            return;
        }
    }
}

Point Tracking::local() const {
    const Point origin = screenOrigin(window);
    const Point now = cursor();
    return Point(toCoordinate(std::int64_t{now.h} - origin.h),
                 toCoordinate(std::int64_t{now.v} - origin.v));
}

void Tracking::followPointer() {
    if (!(cursor() == lastCursor)) {
        lastCursor = cursor();
        highlighted = itemAt(local());
    }
}

void Tracking::keyPressed(KeyCode code, char character) {
    (void)character;
    followPointer(); // the step that brought the key may have moved the pointer too
    switch (code) {
    case KeyCode::Up:
        moveHighlight(-1);
        break;
    case KeyCode::Down:
        moveHighlight(1);
        break;
    case KeyCode::Return:
        chosen = highlighted;
        done = highlighted >= 0;
        break;
    case KeyCode::Escape:
        done = true;
        break;
    default:
        break;
    }
}

void Tracking::paint() const {
    Painter painter(window);
    const std::int32_t width = window->surface.width;
    const std::int32_t height = window->surface.height;
    painter.fill(Rect(0, 0, width, height), edge);
    painter.fill(Rect(border, border, width - border, height - border), face);
    for (std::size_t index = 0; index < rects.size(); ++index) {
        const platform::Menu::Item& item = menu.items[index];
        const Rect& rect = rects[index];
        const std::int32_t middle = (rect.top + rect.bottom) / 2;
        if (item.separator) {
            painter.line(Point(rect.left + 4, middle), Point(rect.right - 4, middle),
                         separatorColor);
            continue;
        }
        const bool lit = static_cast<std::int32_t>(index) == highlighted;
        if (lit) {
            painter.fill(rect, highlight);
        }
        const platform::ColorValue ink = lit ? highlightText : textColor;
        if (item.checked) {
            // A tick, two pixels thick.
            const std::int32_t x = rect.left + 7;
            for (std::int32_t thickness = 0; thickness < 2; ++thickness) {
                const std::int32_t y = middle + thickness;
                painter.line(Point(x, y), Point(x + 3, y + 3), ink);
                painter.line(Point(x + 3, y + 3), Point(x + 9, y - 3), ink);
            }
        }
        painter.text(item.text.data(), static_cast<std::int32_t>(item.text.size()),
                     Rect(rect.left + checkColumn, rect.top, rect.right, rect.bottom),
                     platform::TextAlignment::Left, ink, font);
    }
}

MenuShown Tracking::shown() const {
    MenuShown result;
    result.window = window;
    result.rect = platform::windowScreenRect(window);
    result.highlighted = highlighted;
    for (std::size_t index = 0; index < rects.size(); ++index) {
        const platform::Menu::Item& item = menu.items[index];
        Rect rect = rects[index];
        rect.offset(result.rect.left, result.rect.top);
        result.items.push_back(MenuItemShown{item.text, item.separator, item.checked, rect});
    }
    return result;
}

platform::FontDescription menuFont() {
    platform::FontDescription font;
    font.height = -fontHeight;
    font.weight = 400;
    std::string("Arial").copy(font.faceName, sizeof(font.faceName) - 1);
    return font;
}

} // namespace

void forgetPopupMenus() {
    tracking = nullptr;
    menus.clear();
}

MenuShown shownMenu() {
    return tracking != nullptr ? tracking->shown() : MenuShown();
}

} // namespace software

namespace platform {

Menu* createPopupMenu() {
    software::menus.push_back(std::make_unique<Menu>());
    return software::menus.back().get();
}

void destroyMenu(Menu* menu) {
    const auto found = std::find_if(software::menus.begin(), software::menus.end(),
                                    [menu](const auto& owned) { return owned.get() == menu; });
    if (found != software::menus.end() &&
        (software::tracking == nullptr || &software::tracking->menu != menu)) {
        software::menus.erase(found);
    }
}

void appendMenuItem(Menu* menu, const char* text, std::int32_t command, bool checked) {
    if (software::isLive(menu)) {
        menu->items.push_back(Menu::Item{text != nullptr ? text : "", command, checked, false});
    }
}

void appendMenuSeparator(Menu* menu) {
    if (software::isLive(menu)) {
        menu->items.push_back(Menu::Item{"", 0, false, true});
    }
}

std::int32_t trackPopupMenu(Menu* menu, Window* owner, Point point) {
    if (!software::isLive(menu) || menu->items.empty() || software::tracking != nullptr ||
        owner == nullptr || owner->destroyed) {
        return -1;
    }
    const FontDescription description = software::menuFont();
    GraphicsObject* font = createFont(description);
    std::int32_t widest = 0;
    std::vector<Rect> rects;
    std::int32_t top = software::border + software::padding;
    for (const Menu::Item& item : menu->items) {
        const std::int32_t height =
            item.separator ? software::separatorHeight : software::itemHeight;
        rects.emplace_back(0, top, 0, top + height);
        top += height;
        widest = std::max(widest, software::measureText(description, item.text.data(),
                                                        static_cast<std::int32_t>(item.text.size()))
                                      .width);
    }
    const std::int32_t width =
        std::max(software::minimumWidth, software::checkColumn + widest + software::rightMargin) +
        2 * software::border;
    for (Rect& rect : rects) {
        rect.left = software::border;
        rect.right = width - software::border;
    }
    Window* window = software::createPopupWindow(owner, point, width,
                                                 top + software::padding + software::border);
    if (window == nullptr) {
        deleteObject(font);
        return -1;
    }
    software::Tracking tracking(*menu, window, rects, font);
    software::tracking = &tracking;
    software::captureKeyboard(&tracking);
    bool wasDown = (software::keyState() & software::anyButton) != 0;
    tracking.paint();
    software::modalLoopIdle();
    // Without further input the menu closes: a script that has run out ends the loop, and so
    // does a display that is gone.
    while (!tracking.done && software::awaitInput()) {
        tracking.followPointer();
        const Point local = tracking.local();
        const bool inside =
            local.h >= 0 && local.h < width && local.v >= 0 && local.v < window->surface.height;
        const bool down = (software::keyState() & software::anyButton) != 0;
        if (!tracking.done && down && !wasDown && !inside) {
            tracking.done = true; // a press elsewhere closes without a choice
        } else if (!tracking.done && !down && wasDown && tracking.itemAt(local) >= 0) {
            tracking.chosen = tracking.itemAt(local);
            tracking.done = true;
        }
        wasDown = down;
        if (!tracking.done) {
            tracking.paint();
            software::modalLoopIdle();
        }
    }
    const std::int32_t chosen =
        tracking.chosen >= 0 ? menu->items[static_cast<std::size_t>(tracking.chosen)].command : -1;
    software::captureKeyboard(nullptr);
    software::tracking = nullptr;
    destroyWindow(window);
    deleteObject(font);
    return chosen;
}

} // namespace platform
