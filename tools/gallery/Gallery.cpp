#include "tools/gallery/Gallery.h"

#include "tools/gallery/GalleryViews.h"

#include "gui/Bitmap.h"
#include "gui/ChoiceMenu.h"
#include "gui/DigitDisplay.h"
#include "gui/EditorBase.h"
#include "gui/Frame.h"
#include "gui/FrameAnimation.h"
#include "gui/HorizontalMultiSwitch.h"
#include "gui/HorizontalSlider.h"
#include "gui/Knob.h"
#include "gui/LatchButton.h"
#include "gui/LevelMeter.h"
#include "gui/MomentaryButton.h"
#include "gui/RockerButton.h"
#include "gui/StripDisplay.h"
#include "gui/StripKnob.h"
#include "gui/TextEntry.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"
#include "gui/VerticalMultiSwitch.h"
#include "gui/VerticalSlider.h"
#include "gui/WindowDrawing.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

namespace gallery {

namespace {

constexpr std::int32_t pictureWidth = 828;
constexpr std::int32_t margin = 16;
constexpr std::int32_t gap = 12;
constexpr std::int32_t columnWidth = 190;
constexpr std::int32_t contentTop = 34; // below a panel's title
constexpr std::int32_t rowTops[] = {52, 184, 298, 484};
constexpr std::int32_t rowHeights[] = {120, 102, 174, 238};
constexpr std::int32_t pictureHeight = rowTops[3] + rowHeights[3] + margin;
constexpr std::int32_t firstBitmapId = 1000; // clear of the module's 128..147

// The pieces by file name, read on first use and installed as bitmaps of the software backend.
class Pieces {
public:
    explicit Pieces(std::string folder) : folder(std::move(folder)) {}
    ~Pieces() {
        for (auto& entry : bitmaps) {
            entry.second->forget();
        }
    }
    Pieces(const Pieces&) = delete;
    Pieces& operator=(const Pieces&) = delete;

    // An empty bitmap (and an error) for a piece that cannot be read.
    Bitmap* operator[](const std::string& name) {
        const auto found = bitmaps.find(name);
        if (found != bitmaps.end()) {
            return found->second;
        }
        const std::string path = folder + "/" + name + ".bmp";
        std::ifstream stream(path, std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(stream)),
                                               std::istreambuf_iterator<char>());
        software::Image decoded;
        if (software::decodeBmp(bytes.data(), bytes.size(), decoded)) {
            software::installBitmapFile(nextId, bytes);
        } else if (problem.empty()) {
            problem = "cannot read the piece " + path;
        }
        Bitmap* bitmap = new Bitmap(nextId++);
        bitmaps[name] = bitmap;
        return bitmap;
    }
    // The height of one of count images stacked in a piece.
    std::int32_t imageHeight(const std::string& name, std::int32_t count) {
        return (*this)[name]->getHeight() / count;
    }
    const std::string& error() const { return problem; }

private:
    std::string folder;
    std::map<std::string, Bitmap*> bitmaps;
    std::int32_t nextId = firstBitmapId;
    std::string problem;
};

class GalleryEditor : public EditorBase {
public:
    GalleryEditor() : EditorBase(nullptr) {}
    Frame* openFrame(platform::Window* parent) {
        EditorBase::open(parent);
        frame = new Frame(Rect(0, 0, pictureWidth, pictureHeight), parent, this);
        return frame;
    }
    void closeFrame() {
        delete frame;
        frame = nullptr;
    }
};

// Places the panels and their controls; the frame owns what is added.
class Layout {
public:
    Layout(Frame* frame, Pieces& pieces) : frame(frame), pieces(pieces) {}

    // The panel in column and row; the origin of its content.
    Point panel(std::int32_t column, std::int32_t row, const char* title,
                std::int32_t columns = 1) {
        const std::int32_t left = margin + column * (columnWidth + gap);
        const std::int32_t right = left + columns * columnWidth + (columns - 1) * gap;
        frame->addView(
            new Panel(Rect(left, rowTops[row], right, rowTops[row] + rowHeights[row]), title));
        return Point(left, rowTops[row] + contentTop);
    }
    // Left edge of item index of count items of width each, spread evenly over a panel at left.
    static std::int32_t spread(std::int32_t left, std::int32_t index, std::int32_t count,
                               std::int32_t width) {
        const std::int32_t room = columnWidth - count * width;
        return left + room * (2 * index + 1) / (2 * count) + index * width;
    }
    template <typename Control> Control* add(Control* control, float value) {
        control->setValue(value);
        frame->addView(control);
        return control;
    }
    // A caption centred under a control.
    void below(const Rect& control, const char* text) {
        const std::int32_t middle = (control.left + control.right) / 2;
        addCaption(Rect(middle - columnWidth / 2, control.bottom + 4, middle + columnWidth / 2,
                        control.bottom + 17),
                   text, AlignCentre);
    }
    // A caption centred over a control.
    void above(const Rect& control, const char* text) {
        const std::int32_t middle = (control.left + control.right) / 2;
        addCaption(Rect(middle - 60, control.top - 17, middle + 60, control.top - 4), text,
                   AlignCentre);
    }
    // A caption left of a control's middle, right-aligned.
    void leftOf(const Rect& control, const char* text) {
        const std::int32_t middle = (control.top + control.bottom) / 2;
        addCaption(Rect(control.left - 70, middle - 7, control.left - 8, middle + 7), text,
                   AlignRight);
    }
    void addCaption(const Rect& rect, const char* text, std::int32_t alignment) {
        frame->addView(new Caption(rect, text, FontSmall, caption, alignment));
    }

    Frame* frame;
    Pieces& pieces;
};

void addKnobs(Layout& layout) {
    Pieces& pieces = layout.pieces;
    Point at = layout.panel(0, 0, "Knob");
    const std::int32_t dial = pieces["dial"]->getWidth();
    const float dialValues[] = {0.25f, 0.8f};
    const char* dialTexts[] = {"0.25", "0.8"};
    for (std::int32_t index = 0; index < 2; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 2, dial);
        const Rect size(left, at.v + 10, left + dial, at.v + 10 + dial);
        layout.add(new Knob(size, nullptr, 0, pieces["dial"], pieces["dial_handle"]),
                   dialValues[index]);
        layout.below(size, dialTexts[index]);
    }

    at = layout.panel(1, 0, "StripKnob");
    const std::int32_t knob = pieces["knob_strip"]->getWidth();
    const std::int32_t frames = pieces["knob_strip"]->getHeight() / knob;
    const float knobValues[] = {0.0f, 0.5f, 1.0f};
    const char* knobTexts[] = {"0", "0.5", "1"};
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 3, knob);
        const Rect size(left, at.v + 14, left + knob, at.v + 14 + knob);
        layout.add(new StripKnob(size, nullptr, 0, frames, knob, pieces["knob_strip"]),
                   knobValues[index]);
        layout.below(size, knobTexts[index]);
    }
}

void addButtons(Layout& layout) {
    Pieces& pieces = layout.pieces;
    Point at = layout.panel(2, 0, "MomentaryButton");
    const std::int32_t pushHeight = pieces.imageHeight("push_button", 2);
    const std::int32_t pushWidth = pieces["push_button"]->getWidth();
    const char* pushTexts[] = {"up", "held"};
    for (std::int32_t index = 0; index < 2; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 2, pushWidth);
        const Rect size(left, at.v + 20, left + pushWidth, at.v + 20 + pushHeight);
        layout.add(new MomentaryButton(size, nullptr, 0, pushHeight, pieces["push_button"]),
                   static_cast<float>(index));
        layout.below(size, pushTexts[index]);
    }

    at = layout.panel(3, 0, "StripDisplay");
    const float steps[] = {1, 0, 0, 1, 0, 1, 1, 0};
    const std::int32_t light = pieces["step_light"]->getWidth();
    Rect row;
    for (std::int32_t index = 0; index < 8; ++index) {
        const std::int32_t left = at.h + 31 + index * 16;
        const Rect size(left, at.v + 28, left + light, at.v + 28 + light);
        layout.add(new StripDisplay(size, nullptr, 0, 2, light, pieces["step_light"]),
                   steps[index]);
        row = index == 0 ? size : Rect(row.left, row.top, size.right, size.bottom);
    }
    layout.below(row, "step lights");

    struct TwoState {
        std::int32_t column;
        const char* title;
        const char* piece;
    };
    for (const TwoState& kind :
         {TwoState{0, "ToggleButton", "toggle"}, TwoState{1, "LatchButton", "latch"}}) {
        at = layout.panel(kind.column, 1, kind.title);
        const std::int32_t width = pieces[kind.piece]->getWidth();
        const std::int32_t height = pieces.imageHeight(kind.piece, 2);
        const char* texts[] = {"off", "on"};
        for (std::int32_t index = 0; index < 2; ++index) {
            const std::int32_t left = Layout::spread(at.h, index, 2, width);
            const Rect size(left, at.v + 12, left + width, at.v + 12 + height);
            if (kind.column == 0) {
                layout.add(new ToggleButton(size, nullptr, 0, pieces[kind.piece]),
                           static_cast<float>(index));
            } else {
                layout.add(new LatchButton(size, nullptr, 0, height, pieces[kind.piece]),
                           static_cast<float>(index));
            }
            layout.below(size, texts[index]);
        }
    }

    at = layout.panel(2, 1, "RockerButton");
    const std::int32_t rockerWidth = pieces["rocker"]->getWidth();
    const std::int32_t rockerHeight = pieces.imageHeight("rocker", 3);
    const char* rockerTexts[] = {"-1", "0", "1"};
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 3, rockerWidth);
        const Rect size(left, at.v + 12, left + rockerWidth, at.v + 12 + rockerHeight);
        layout.add(new RockerButton(size, nullptr, 0, rockerHeight, pieces["rocker"]),
                   static_cast<float>(index - 1));
        layout.below(size, rockerTexts[index]);
    }

    at = layout.panel(3, 1, "FrameAnimation");
    const std::int32_t spin = pieces["spinner"]->getWidth();
    const std::int32_t spinFrames = pieces["spinner"]->getHeight() / spin;
    const char* frameTexts[] = {"frame 0", "frame 3", "frame 6"};
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 3, spin);
        const Rect size(left, at.v + 6, left + spin, at.v + 6 + spin);
        auto* animation = layout.add(
            new FrameAnimation(size, nullptr, 0, spinFrames, spin, pieces["spinner"]), 0.0f);
        animation->openWindow();
        for (std::int32_t step = 0; step < 3 * index; ++step) {
            animation->nextPixmap();
        }
        layout.below(size, frameTexts[index]);
    }
}

void addSlidersAndSwitches(Layout& layout) {
    Pieces& pieces = layout.pieces;
    const char* valueTexts[] = {"0", "0.5", "1"};
    const float values[] = {0.0f, 0.5f, 1.0f};

    Point at = layout.panel(0, 2, "VerticalSlider");
    Bitmap* track = pieces["slider_track_vertical"];
    Bitmap* handle = pieces["slider_handle_vertical"];
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 3, track->getWidth());
        const Rect size(left, at.v + 2, left + track->getWidth(), at.v + 2 + track->getHeight());
        layout.add(new VerticalSlider(size, nullptr, 0, size.top, size.bottom - handle->getHeight(),
                                      handle, track),
                   values[index]);
        layout.below(size, valueTexts[index]);
    }

    at = layout.panel(1, 2, "HorizontalSlider");
    track = pieces["slider_track_horizontal"];
    handle = pieces["slider_handle_horizontal"];
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = at.h + 52;
        const std::int32_t top = at.v + 8 + index * 40;
        const Rect size(left, top, left + track->getWidth(), top + track->getHeight());
        layout.add(new HorizontalSlider(size, nullptr, 0, size.left,
                                        size.right - handle->getWidth(), handle, track),
                   values[index]);
        layout.leftOf(size, valueTexts[index]);
    }

    at = layout.panel(2, 2, "Multi-position switches");
    const std::int32_t leverWidth = pieces["lever"]->getWidth();
    const std::int32_t leverHeight = pieces.imageHeight("lever", 3);
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, index, 3, leverWidth);
        const Rect size(left, at.v + 2, left + leverWidth, at.v + 2 + leverHeight);
        layout.add(new VerticalMultiSwitch(size, nullptr, 0, 3, leverHeight, 3, pieces["lever"]),
                   values[index]);
        layout.below(size, valueTexts[index]);
    }
    layout.addCaption(Rect(at.h, at.v + 62, at.h + columnWidth, at.v + 76), "VerticalMultiSwitch",
                      AlignCentre);
    const std::int32_t selectorWidth = pieces["selector"]->getWidth();
    const std::int32_t selectorHeight = pieces.imageHeight("selector", 3);
    const std::int32_t selectorLeft = Layout::spread(at.h, 0, 1, selectorWidth);
    const Rect selector(selectorLeft, at.v + 90, selectorLeft + selectorWidth,
                        at.v + 90 + selectorHeight);
    layout.add(
        new HorizontalMultiSwitch(selector, nullptr, 0, 3, selectorHeight, 3, pieces["selector"]),
        0.5f);
    layout.below(selector, "HorizontalMultiSwitch");

    at = layout.panel(3, 2, "LevelMeter");
    Bitmap* on = pieces["meter_on_vertical"];
    Bitmap* off = pieces["meter_off_vertical"];
    const float levels[] = {0.3f, 0.7f, 1.0f};
    const char* levelTexts[] = {"0.3", "0.7", "1"};
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = at.h + 18 + index * 24;
        const Rect size(left, at.v + 8, left + on->getWidth(), at.v + 8 + on->getHeight());
        layout.add(new LevelMeter(size, on, off, 8), levels[index]);
        layout.below(size, levelTexts[index]);
    }
    on = pieces["meter_on_horizontal"];
    off = pieces["meter_off_horizontal"];
    const float across[] = {0.4f, 0.9f};
    const char* acrossTexts[] = {"0.4", "0.9"};
    for (std::int32_t index = 0; index < 2; ++index) {
        const std::int32_t left = at.h + 98;
        const std::int32_t top = at.v + 20 + index * 44;
        const Rect size(left, top, left + on->getWidth(), top + on->getHeight());
        layout.add(new LevelMeter(size, on, off, 8, LevelMeterHorizontal), across[index]);
        layout.below(size, acrossTexts[index]);
    }
}

void writeDelay(float value, char* text) {
    std::snprintf(text, StringConvertSize, "%d ms", static_cast<int>(value * 2000));
}

void addDisplays(Layout& layout) {
    Pieces& pieces = layout.pieces;
    Point at = layout.panel(0, 3, "ValueDisplay");
    struct Look {
        const char* name;
        std::int32_t style;
        Bitmap* background;
        StringConvert convert;
    };
    const Look looks[] = {
        {"plain", 0, nullptr, nullptr},
        {"bevel", StyleBevelBackFirst, nullptr, writeDelay},
        {"shadow", StyleTextShadow, nullptr, writeDelay},
        {"bitmap", 0, pieces["field"], writeDelay},
        {"small font", 0, pieces["field"], writeDelay},
    };
    constexpr std::int32_t lookCount = sizeof(looks) / sizeof(looks[0]);
    for (std::int32_t index = 0; index < lookCount; ++index) {
        const Look& look = looks[index];
        const std::int32_t top = at.v + 8 + index * 38;
        const Rect size(at.h + 62, top, at.h + 172, top + 20);
        auto* display = layout.add(new ValueDisplay(size, look.background, look.style),
                                   0.4f + 0.05f * static_cast<float>(index));
        display->setStringConvert(look.convert);
        display->setFontColor(displayText);
        display->setBackColor(index == 1 ? highlight : field);
        display->setFrameColor(index == 1 ? shadow : highlight);
        display->setShadowColor(accent);
        if (index == lookCount - 1) {
            display->setFont(FontSmall);
        }
        layout.leftOf(size, look.name);
    }

    at = layout.panel(1, 3, "DigitDisplay");
    Bitmap* digits = pieces["digits"];
    const std::int32_t digitWidth = digits->getWidth();
    const std::int32_t digitHeight = pieces.imageHeight("digits", 10);
    struct Number {
        std::int32_t value;
        std::int32_t count;
        const char* text;
    };
    const Number numbers[] = {{42, 3, "42, three digits"},
                              {1234, 4, "1234, four digits"},
                              {1234, 3, "1234 in three digits"},
                              {9876543, 7, "seven digits, the most"}};
    for (std::int32_t index = 0; index < 4; ++index) {
        const Number& number = numbers[index];
        std::int32_t xs[DigitDisplay::maximumDigits];
        std::int32_t ys[DigitDisplay::maximumDigits];
        const std::int32_t left = at.h + (columnWidth - number.count * digitWidth) / 2;
        const std::int32_t top = at.v + 6 + index * 46;
        for (std::int32_t digit = 0; digit < number.count; ++digit) {
            xs[digit] = left + digit * digitWidth;
            ys[digit] = top;
        }
        const Rect size(left, top, left + number.count * digitWidth, top + digitHeight);
        layout.add(new DigitDisplay(size, nullptr, 0, number.value, number.count, xs, ys,
                                    digitWidth, digitHeight, digits),
                   static_cast<float>(number.value));
        layout.below(Rect(at.h, size.top, at.h + columnWidth, size.bottom), number.text);
    }
}

void writeRoom(const char* text, char* display) {
    std::snprintf(display, TextEntrySize, "room: %s", text);
}

// The controls that the picture shows with their native parts at work.
struct TextKinds {
    TextEntry* editing = nullptr;
    ChoiceMenu* open = nullptr;
};

TextKinds addTextKinds(Layout& layout) {
    Pieces& pieces = layout.pieces;
    TextKinds kinds;
    Bitmap* field = pieces["field"];
    Point at = layout.panel(2, 3, "TextEntry");
    const char* entryTexts[] = {"idle", "being edited", "with a text converter"};
    for (std::int32_t index = 0; index < 3; ++index) {
        const std::int32_t left = Layout::spread(at.h, 0, 1, field->getWidth());
        const std::int32_t top = at.v + 22 + index * 50;
        const Rect size(left, top, left + field->getWidth(), top + field->getHeight());
        auto* entry = layout.add(new TextEntry(size, nullptr, 0, "Hall A", field), 0.0f);
        entry->setFontColor(displayText);
        layout.above(size, entryTexts[index]);
        if (index == 1) {
            kinds.editing = entry;
        } else if (index == 2) {
            entry->setTextConvert(writeRoom);
        }
    }

    at = layout.panel(3, 3, "ChoiceMenu");
    Bitmap* closedLook = pieces["menu_field"];
    const char* menuTexts[] = {"closed", "open"};
    for (std::int32_t index = 0; index < 2; ++index) {
        const std::int32_t left = Layout::spread(at.h, 0, 1, closedLook->getWidth());
        const std::int32_t top = at.v + 22 + index * 50;
        const Rect size(left, top, left + closedLook->getWidth(), top + closedLook->getHeight());
        auto* menu = layout.add(new ChoiceMenu(size, nullptr, 0, closedLook,
                                               pieces["menu_field_open"], StyleMenuCheckCurrent),
                                0.0f);
        for (const char* text : {"Sine", "Square", "Triangle", "-", "Saw up", "Saw down"}) {
            menu->addEntry(text);
        }
        menu->setCurrent(1);
        menu->setFontColor(displayText);
        layout.above(size, menuTexts[index]);
        kinds.open = menu;
    }
    return kinds;
}

// A click on the entry and some typing, as the user would: its edit field stays open.
void startEditing(Frame* frame, TextEntry* entry) {
    const Rect& size = entry->getSize();
    software::setKeyState(MouseLeft);
    software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                          Point(size.left + 10, size.top + 5));
    software::setKeyState(0);
    software::pressKey(software::KeyCode::End);
    software::pressKey(software::KeyCode::Backspace);
    software::typeText("B");
}

// While the pop-up is shown: the pointer goes to its third item, then the screen is taken.
struct Capture {
    software::Image screen;
    int idles = 0;
};

void whileMenuShown(void* data) {
    auto* capture = static_cast<Capture*>(data);
    if (capture->idles++ == 0) {
        const Rect item = software::shownMenu().items.at(2).rect;
        // Still held from the opening press, so hovering chooses nothing yet.
        software::scriptPointer(
            {{Point(item.left + 30, (item.top + item.bottom) / 2), MouseLeft, 0}});
    } else if (capture->screen.pixels.empty()) {
        capture->screen = software::screenPixels(pictureWidth, pictureHeight);
    }
}

// The menu is pressed directly rather than through the frame, whose click would end the
// entry's edit first: the picture shows both at once.
software::Image pictureWithOpenMenu(Frame* frame, ChoiceMenu* menu) {
    Capture capture;
    software::setModalLoopObserver(&whileMenuShown, &capture);
    WindowDrawing drawing(frame, frame->getSystemWindow());
    Point where(menu->getSize().left + 10, menu->getSize().top + 5);
    software::setKeyState(MouseLeft);
    software::setCursor(where);
    menu->mouse(drawing.get(), where);
    software::setKeyState(0);
    software::setModalLoopObserver(nullptr, nullptr);
    return capture.screen;
}

bool renderWith(const std::string& bitmapFolder, software::Image& picture, std::string& error) {
    Pieces pieces(bitmapFolder);
    platform::Window* host = software::createHostWindow(pictureWidth, pictureHeight);
    GalleryEditor editor;
    Frame* frame = editor.openFrame(host);
    frame->addView(new Fill(Rect(0, 0, pictureWidth, pictureHeight), ground));
    frame->addView(new Caption(Rect(margin, 10, pictureWidth - margin, 32),
                               "veltrane widget toolkit", FontHuge, title, 0));
    frame->addView(new Caption(Rect(margin + 250, 14, pictureWidth - margin, 32),
                               "every control kind, drawn by the software backend", FontSmall,
                               caption, AlignRight));
    Layout layout(frame, pieces);
    addKnobs(layout);
    addButtons(layout);
    addSlidersAndSwitches(layout);
    addDisplays(layout);
    const TextKinds kinds = addTextKinds(layout);
    software::paint(frame->getSystemWindow());
    startEditing(frame, kinds.editing);
    picture = pictureWithOpenMenu(frame, kinds.open);
    editor.closeFrame();
    error = pieces.error();
    if (error.empty() && picture.pixels.empty()) {
        error = "the pop-up menu did not open";
    }
    return error.empty();
}

} // namespace

bool render(const std::string& bitmapFolder, software::Image& picture, std::string& error) {
    software::reset();
    const bool rendered = renderWith(bitmapFolder, picture, error);
    software::reset();
    return rendered;
}

} // namespace gallery
