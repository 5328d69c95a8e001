// The frame window: class registration, paint and button messages, dispatch to views with the
// modal and focus rules, idle redraws, and the editor's throttled idle.
#include "SoftwareCanvas.h"
#include "TestEditor.h"

#include "gui/Bitmap.h"
#include "host/ModuleInstance.h"

#include <string>

namespace {

// A view that fills its rectangle with one colour and logs what happens to it.
class LoggingView : public View {
public:
    LoggingView(const Rect& size, char name, const Color& color, std::string& log)
        : View(size), name(name), color(color), log(log) {}
    ~LoggingView() override { log += std::string("~") + name; }
    void draw(DrawContext* context) override {
        context->setFillColor(color);
        context->fillRect(Rect(size.left - 1, size.top - 1, size.right, size.bottom));
        log += std::string("d") + name;
    }
    void mouse(DrawContext* context, Point& where) override {
        (void)context;
        log += std::string("m") + name + "(" + std::to_string(where.h) + "," +
               std::to_string(where.v) + ")";
    }
    void update(DrawContext* context) override {
        (void)context;
        log += std::string("u") + name;
    }
    void looseFocus() override { log += std::string("f") + name; }

private:
    char name;
    Color color;
    std::string& log;
};

class FrameTest : public SoftwareTest {
protected:
    void SetUp() override {
        SoftwareTest::SetUp();
        setModuleInstance(reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x00ab12cd)));
        host = software::createHostWindow(100, 80);
    }
    void TearDown() override {
        editor.closeFrame();
        SoftwareTest::TearDown();
    }
    // Views a (0, 0, 20, 20) and b (10, 10, 30, 30), in that order.
    Frame* openWithTwoViews() {
        Frame* frame = editor.openFrame(host, Rect(0, 0, 40, 40));
        frame->addView(new LoggingView(Rect(0, 0, 20, 20), 'a', ColorRed, log));
        frame->addView(new LoggingView(Rect(10, 10, 30, 30), 'b', ColorBlue, log));
        return frame;
    }
    void click(Frame* frame, Point point) {
        software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                              point);
    }

    platform::Window* host = nullptr;
    CountingEditor editor;
    std::string log;
};

TEST_F(FrameTest, TwoFramesRegisterTheClassOnceAndUnregisterItWithTheLast) {
    Frame* first = new Frame(Rect(0, 0, 10, 10), host, nullptr);
    Frame* second = new Frame(Rect(0, 0, 10, 10), host, nullptr);
    EXPECT_STREQ(Frame::windowClassName(), "Plugin00ab12cd");
    EXPECT_EQ(software::classRegistrationCount(), 1);
    EXPECT_EQ(Frame::windowClassUseCount(), 2);
    delete first;
    EXPECT_TRUE(software::isClassRegistered("Plugin00ab12cd"));
    EXPECT_EQ(software::classUnregistrationCount(), 0);
    delete second;
    EXPECT_FALSE(software::isClassRegistered("Plugin00ab12cd"));
    EXPECT_EQ(software::classUnregistrationCount(), 1);
    EXPECT_EQ(Frame::windowClassUseCount(), 0);

    // A later frame registers it again.
    Frame* third = new Frame(Rect(0, 0, 10, 10), host, nullptr);
    EXPECT_EQ(software::classRegistrationCount(), 2);
    delete third;
}

TEST_F(FrameTest, TheChildWindowHasTheFramesSizeAndFindsTheFrame) {
    Frame* frame = editor.openFrame(host, Rect(0, 0, 64, 48));
    ASSERT_NE(frame->getSystemWindow(), nullptr);
    ASSERT_EQ(software::childWindows(host).size(), 1u);
    EXPECT_EQ(software::childWindows(host)[0], frame->getSystemWindow());
    EXPECT_EQ(software::windowPixels(frame->getSystemWindow()).width, 64);
    EXPECT_EQ(software::windowPixels(frame->getSystemWindow()).height, 48);
    EXPECT_EQ(platform::windowUserData(frame->getSystemWindow()), frame);
}

TEST_F(FrameTest, WithoutAParentWindowThereIsNoWindowAndNothingIsDrawn) {
    Frame* frame = editor.openFrame(nullptr, Rect(0, 0, 40, 40));
    frame->addView(new LoggingView(Rect(0, 0, 20, 20), 'a', ColorRed, log));
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    EXPECT_EQ(software::classRegistrationCount(), 0);
    frame->drawView(nullptr);
    frame->idle();
    EXPECT_EQ(log, "");
}

TEST_F(FrameTest, AParentWindowThatIsNotAWindowOfOursGivesAFrameWithoutAWindow) {
    // What a Linux host hands over: a window id of its own windowing system.
    auto* foreign = reinterpret_cast<platform::Window*>(static_cast<std::uintptr_t>(0x3a00007));
    Frame* frame = editor.openFrame(foreign, Rect(0, 0, 40, 40));
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
    frame->drawView(nullptr);
    frame->idle();
    editor.closeFrame();
    EXPECT_FALSE(software::isClassRegistered(Frame::windowClassName()));
}

TEST_F(FrameTest, ClicksGoToTheLastAddedViewUnderThePointEdgesIncluded) {
    struct Case {
        Point point;
        const char* log;
    };
    const Case cases[] = {
        {Point(15, 15), "mb(15,15)"}, {Point(5, 5), "ma(5,5)"},     {Point(0, 0), "ma(0,0)"},
        {Point(20, 20), "mb(20,20)"}, {Point(30, 30), "mb(30,30)"}, {Point(20, 5), "ma(20,5)"},
        {Point(31, 30), ""},          {Point(35, 2), ""},
    };
    Frame* frame = openWithTwoViews();
    for (const Case& entry : cases) {
        log.clear();
        click(frame, entry.point);
        EXPECT_EQ(log, entry.log) << entry.point.h << ", " << entry.point.v;
    }
    log.clear();
    software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::RightButtonDown,
                          Point(25, 25));
    EXPECT_EQ(log, "mb(25,25)");
}

TEST_F(FrameTest, WhileAModalViewIsSetOnlyItTakesClicksAndIdleRedraws) {
    Frame* frame = openWithTwoViews();
    auto* modal = new LoggingView(Rect(25, 25, 35, 35), 'm', ColorGreen, log);
    frame->addView(modal);
    EXPECT_TRUE(frame->setModalView(frame->getView(0)));
    EXPECT_FALSE(frame->setModalView(modal)); // a second one is refused
    EXPECT_EQ(frame->getModalView(), frame->getView(0));

    software::paint(frame->getSystemWindow());
    log.clear();
    click(frame, Point(15, 15)); // inside b and the modal a: only a
    click(frame, Point(28, 28)); // inside b and m, outside a: dropped
    frame->idle();
    EXPECT_EQ(log, "ma(15,15)ua");

    EXPECT_TRUE(frame->setModalView(nullptr));
    log.clear();
    frame->idle();
    EXPECT_EQ(log, "uaubum");
}

TEST_F(FrameTest, AClickOutsideTheFocusViewTakesItsFocusBeforeTheClickIsDispatched) {
    Frame* frame = openWithTwoViews();
    frame->setFocusView(frame->getView(0));
    log.clear();
    click(frame, Point(5, 5)); // inside: focus stays
    EXPECT_EQ(log, "ma(5,5)");
    EXPECT_EQ(frame->getFocusView(), frame->getView(0));
    log.clear();
    click(frame, Point(25, 25));
    EXPECT_EQ(log, "famb(25,25)");
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(FrameTest, PaintDrawsBackgroundThenViewsInOrderThenTheModalView) {
    software::installBitmapPixels(3001, 40, 40, std::vector<std::uint32_t>(1600, 0x00FFFF));
    Bitmap* background = new Bitmap(3001);
    Frame* frame = openWithTwoViews();
    frame->setBackground(background);
    background->forget(); // the frame holds the only reference now
    auto* modal = new LoggingView(Rect(12, 12, 14, 14), 'm', ColorGreen, log);
    frame->addView(modal);
    frame->setModalView(frame->getView(0));
    log.clear();
    software::paint(frame->getSystemWindow());
    EXPECT_EQ(log, "dadbdmda");
    const software::Image pixels = software::windowPixels(frame->getSystemWindow());
    EXPECT_EQ(pixels.at(35, 35), 0x00FFFFu);              // background
    EXPECT_EQ(pixels.at(25, 25), ColorBlue.colorValue()); // b
    EXPECT_EQ(pixels.at(15, 15), ColorRed.colorValue());  // a again, drawn last as the modal view
    EXPECT_EQ(pixels.at(5, 5), ColorRed.colorValue());

    // Painting needs an update region; without one nothing is drawn.
    log.clear();
    software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::Paint);
    EXPECT_EQ(log, "");
}

TEST_F(FrameTest, IdleDrawsNothingBeforeTheFirstPaint) {
    Frame* frame = openWithTwoViews();
    log.clear();
    frame->idle();
    EXPECT_EQ(log, "");
    software::paint(frame->getSystemWindow());
    log.clear();
    frame->idle();
    EXPECT_EQ(log, "uaub");
}

TEST_F(FrameTest, DrawViewDrawsOneViewOrTheWholeFrame) {
    Frame* frame = openWithTwoViews();
    LoggingView outsider(Rect(0, 0, 1, 1), 'x', ColorWhite, log);
    log.clear();
    frame->drawView(frame->getView(1));
    EXPECT_EQ(log, "db");
    log.clear();
    frame->drawView(&outsider);
    EXPECT_EQ(log, "dadb");
    log.clear();
    frame->getView(0)->redraw();
    EXPECT_EQ(log, "da");
}

TEST_F(FrameTest, RemoveViewTakesOnlyThatViewOutAndToleratesStrangers) {
    Frame* frame = openWithTwoViews();
    auto* third = new LoggingView(Rect(0, 0, 1, 1), 'c', ColorWhite, log);
    frame->addView(third);
    LoggingView stranger(Rect(0, 0, 1, 1), 's', ColorWhite, log);
    EXPECT_TRUE(frame->removeView(&stranger));
    EXPECT_EQ(frame->getViewCount(), 3);
    View* middle = frame->getView(1);
    EXPECT_TRUE(frame->removeView(middle));
    EXPECT_EQ(frame->getViewCount(), 2);
    EXPECT_EQ(frame->getView(1), third);
    log.clear();
    delete middle; // the caller owns it again
    EXPECT_EQ(log, "~b");
}

TEST_F(FrameTest, TheFrameKeepsManyViewsInOrderAndDeletesThemWithItself) {
    Frame* frame = editor.openFrame(host, Rect(0, 0, 40, 40));
    std::string expected;
    for (int index = 0; index < 25; ++index) {
        const char name = static_cast<char>('A' + index);
        ASSERT_TRUE(frame->addView(new LoggingView(Rect(0, 0, 1, 1), name, ColorRed, log)));
        expected += std::string("~") + name;
    }
    EXPECT_FALSE(frame->addView(nullptr));
    EXPECT_EQ(frame->getViewCount(), 25);
    log.clear();
    editor.closeFrame();
    EXPECT_EQ(log, expected);
}

TEST_F(FrameTest, AHostThatDestroysItsWindowFirstLeavesAClosedFrameThatDrawsNothing) {
    Frame* frame = openWithTwoViews();
    software::paint(frame->getSystemWindow());
    platform::destroyWindow(host);
    EXPECT_FALSE(frame->isOpen());
    log.clear();
    frame->idle();
    frame->update(nullptr);
    EXPECT_EQ(log, "");
    editor.closeFrame();
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
    EXPECT_FALSE(software::isClassRegistered(Frame::windowClassName()));
}

TEST_F(FrameTest, LateMessagesAfterTheFrameIsGoneReachNothing) {
    Frame* frame = openWithTwoViews();
    platform::Window* window = frame->getSystemWindow();
    editor.closeFrame();
    EXPECT_EQ(platform::windowUserData(window), nullptr);
    EXPECT_TRUE(software::isWindowDestroyed(window));
    log.clear();
    software::sendMessage(window, platform::WindowMessage::LeftButtonDown, Point(5, 5));
    EXPECT_EQ(log, "");
}

class EditorIdleTest : public SoftwareTest {};

TEST_F(EditorIdleTest, ThrottledIdleRunsAtMostEvery50Milliseconds) {
    struct Case {
        const char* name;
        std::uint32_t start;
        std::vector<std::uint32_t> calls; // tick of each idleThrottled call
        int idles;
    };
    const Case cases[] = {
        {"30 ms apart", 1000, {1050, 1080}, 1},
        {"50 ms apart", 1000, {1050, 1100}, 2},
        {"too soon after construction", 1000, {1049}, 0},
        {"many short steps", 0, {10, 20, 30, 40, 50, 60, 70, 99, 100}, 2},
        {"across the counter's wrap", 0xFFFFFFF0u, {0x10, 0x22, 0x53, 0x54}, 2},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        software::setTickCount(entry.start);
        CountingEditor editor;
        for (std::uint32_t tick : entry.calls) {
            software::setTickCount(tick);
            editor.idleThrottled();
        }
        EXPECT_EQ(editor.idles, entry.idles);
    }
}

TEST_F(EditorIdleTest, ThrottledIdleAlsoGivesTheHostIdleTime) {
    auto* effect = new RecordingEffect;
    auto* editor = new CountingEditor(effect);
    EXPECT_EQ(effect->getEditor(), editor);
    software::setTickCount(100);
    editor->idleThrottled();
    software::setTickCount(120);
    editor->idleThrottled();
    EXPECT_EQ(RecordingEffect::idleRequests(), 1);
    EXPECT_EQ(editor->idles, 1);
    delete effect; // destroys the editor as well
}

TEST_F(EditorIdleTest, OpenAsksForOneUpdateAtTheNextIdle) {
    CountingEditor editor;
    ERect* rect = nullptr;
    EXPECT_TRUE(editor.getRect(&rect));
    EXPECT_NE(rect, nullptr);
    platform::Window* host = software::createHostWindow(10, 10);
    editor.openFrame(host, Rect(0, 0, 10, 10));
    EXPECT_EQ(editor.getSystemWindow(), host);
    editor.idle();
    editor.idle();
    EXPECT_EQ(editor.updates, 1);
    editor.setParameter(3, 0.5f);
    editor.idle();
    EXPECT_EQ(editor.updates, 2);
    editor.closeFrame();
}

} // namespace
