// The wave selector on its own: which icon a click hits, which icon the value lights, and the
// hold after a click, with a scripted pointer on the software backend.
#include "tests/gui/FrameFixture.h"

#include "editor/IconSelector.h"

namespace {

constexpr std::int32_t kLeft = 10;
constexpr std::int32_t kTop = 20;
constexpr std::uint32_t kOff = 0x100; // + icon: an off icon's colour
constexpr std::uint32_t kOn = 0x200;  // + icon: an on icon's colour

class IconSelectorTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        selector = add(
            new IconSelector(Rect(kLeft, kTop, kLeft + 116, kTop + 16), &listener, 7, 5, 25, 0));
        for (std::int32_t icon = 0; icon < 5; ++icon) {
            icons.push_back(flat(3000 + 2 * icon, kOff + icon));
            icons.push_back(flat(3001 + 2 * icon, kOn + icon));
            selector->addIcons(icons[2 * icon], icons[2 * icon + 1]);
        }
        selector->redraw();
    }
    void TearDown() override {
        FrameFixture::TearDown(); // the selector goes with the frame, before its icons
        for (Bitmap* icon : icons) {
            icon->forget();
        }
    }
    static Bitmap* flat(std::int32_t id, std::uint32_t color) {
        software::installBitmapPixels(id, 16, 16, std::vector<std::uint32_t>(16 * 16, color));
        return new Bitmap(id);
    }
    // The lit icon as drawn, or -1 when none is.
    std::int32_t litIcon() const {
        for (std::int32_t icon = 0; icon < 5; ++icon) {
            if (pixel(kLeft + 25 * icon + 8, kTop + 8) == kOn + static_cast<std::uint32_t>(icon)) {
                return icon;
            }
        }
        return -1;
    }

    IconSelector* selector = nullptr;
    std::vector<Bitmap*> icons;
};

TEST_F(IconSelectorTest, AClickHitsAnIconOnItsSeventeenColumnsAndRowsAndNothingBetween) {
    struct Case {
        Point offset;
        std::int32_t hit; // -1: nothing
    };
    const Case cases[] = {{{0, 0}, 0},    {{16, 16}, 0},  {{17, 8}, -1}, {{24, 8}, -1},
                          {{25, 8}, 1},   {{41, 8}, 1},   {{42, 8}, -1}, {{100, 0}, 4},
                          {{116, 16}, 4}, {{117, 8}, -1}, {{8, 17}, -1}, {{58, 8}, 2}};
    for (const Case& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.offset.h << ", " << entry.offset.v);
        selector->setValue(0.5f); // icon 2 lit
        selector->redraw();
        listener.values.clear();
        click(Point(kLeft + entry.offset.h, kTop + entry.offset.v));
        if (entry.hit < 0 || entry.hit == 2) {
            EXPECT_TRUE(listener.values.empty());
            EXPECT_EQ(selector->getValue(), 0.5f);
            EXPECT_EQ(litIcon(), 2);
        } else {
            EXPECT_EQ(listener.values, std::vector<float>{entry.hit * 0.25f});
            EXPECT_EQ(litIcon(), entry.hit);
        }
    }
}

TEST_F(IconSelectorTest, TheValueLightsTheIconOfItsBand) {
    struct Case {
        float value;
        std::int32_t lit;
    };
    for (const Case& entry : {Case{0.0f, 0}, Case{0.24f, 0}, Case{0.25f, 1}, Case{0.6f, 2},
                              Case{0.99f, 3}, Case{1.0f, 4}, Case{1.5f, -1}, Case{-0.5f, -1}}) {
        SCOPED_TRACE(entry.value);
        selector->setValue(entry.value);
        selector->redraw();
        EXPECT_EQ(litIcon(), entry.lit);
    }
}

TEST_F(IconSelectorTest, SelectingAnIconSetsItsExactValue) {
    click(Point(kLeft + 4 * 25 + 3, kTop + 3));
    EXPECT_EQ(selector->getValue(), 1.0f);
    click(Point(kLeft + 25 + 3, kTop + 3));
    EXPECT_EQ(selector->getValue(), 0.25f);
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.25f}));
}

TEST_F(IconSelectorTest, TheLitIconTellsNoOneButIdlesUntilTheButtonIsReleased) {
    // The selector polls only the buttons; each further pass takes a step 50 ms on.
    press(Point(kLeft + 3, kTop + 3), MouseLeft,
          {{Point(), MouseLeft, 50}, {Point(), MouseLeft | KeyShift, 50}, {Point(), 0, 50}});
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(selector->getValue(), 0.0f);
    EXPECT_EQ(software::remainingPointerSteps(), 0u);
    EXPECT_EQ(editor.idles, 2);
}

TEST_F(IconSelectorTest, TheLitIconFollowsAHostChangeOnlyWhenDrawn) {
    selector->setValue(0.75f); // from the host; not drawn yet
    EXPECT_EQ(selector->getSelectedIndex(), 0);
    click(Point(kLeft + 3, kTop + 3)); // the icon drawn lit last
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(selector->getValue(), 0.75f);
}

TEST_F(IconSelectorTest, SurplusOrMissingIconsAreHarmless) {
    selector->addIcons(icons[0], icons[1]); // a sixth pair: ignored
    auto* bare = add(new IconSelector(Rect(0, 60, 50, 76), &listener, 8, 3, 20, 0));
    bare->addIcons(nullptr, nullptr);
    bare->addIcons(icons[0], nullptr); // no on icon: icon 1 lit draws nothing
    bare->setValue(0.5f);
    bare->redraw();
    click(Point(25, 65));
    EXPECT_TRUE(listener.values.empty());
    click(Point(5, 65)); // icon 0 has no off icon, so no size
    EXPECT_TRUE(listener.values.empty());
    auto* none = add(new IconSelector(Rect(0, 80, 10, 90), &listener, 9, -3, 20, 0));
    none->addIcons(icons[0], icons[1]);
    none->redraw();
    click(Point(2, 82));
    EXPECT_TRUE(listener.values.empty());
}

} // namespace
