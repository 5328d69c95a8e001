// The Linux module's editor in a host's X11 window, as a Linux host opens it: the module loaded
// through its entry point, the editor opened in a top-level window of the test's own connection
// and idled as a host idles it, used with the server's pointer and keys (XTest) by a hand on a
// thread of its own. Run under a virtual display started by the test command
// (run-under-xvfb.sh); VELTRANE_MODULE may name another module.
#include "editor/EditorLayout.h"
#include "gui/software/SoftwarePlatform.h"
#include "host/EntryPoint.h"
#include "tests/support/PluginHarness.h"
#include "tests/support/X11Session.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = EditorLayout::kWidth;
constexpr int kHeight = EditorLayout::kHeight;
constexpr VstInt32 kFreq0 = 8;   // its knob's centre at (148, 153)
constexpr VstInt32 kDelay1 = 18; // its knob's centre at (262, 215)
constexpr int kParameters = 111;

void* handleOf(WindowId window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

// Bytes the process has allocated and not freed.
std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

int openFileDescriptors() {
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder) != nullptr) {
            ++count;
        }
        closedir(folder);
    }
    return count;
}

int sharedMemorySegments() {
    std::ifstream list("/proc/sysvipc/shm");
    int lines = 0;
    for (std::string line; std::getline(list, line);) {
        ++lines;
    }
    return lines;
}

enum class Stage { Opened, Idled, About };

// The software backend's own picture of the editor with these parameter values, drawn by the
// effect and editor linked into this test: as it opens, after an idle (which lights the
// sequencer's step), or with the about screen shown.
software::Image softwarePicture(const std::vector<float>& values, Stage stage) {
    software::reset();
    AEffect* record =
        openEffect([](AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                      float) -> VstIntPtr { return opcode == audioMasterVersion ? 2400 : 0; },
                   &createEffectInstance);
    for (VstInt32 index = 0; index < static_cast<VstInt32>(values.size()); ++index) {
        record->setParameter(record, index, values[static_cast<std::size_t>(index)]);
    }
    platform::Window* host = software::createHostWindow(kWidth, kHeight);
    record->dispatcher(record, effEditOpen, 0, 0, host, 0.0f);
    platform::Window* window = software::childWindows(host).back();
    software::paint(window);
    if (stage != Stage::Opened) {
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    if (stage == Stage::About) {
        software::setKeyState(1);
        software::scriptPointer({{Point(600, 60), 0, 20}});
        software::sendMessage(window, platform::WindowMessage::LeftButtonDown, Point(600, 60));
        software::setKeyState(0);
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    software::Image image = software::windowPixels(window);
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    software::reset();
    return image;
}

int differingPixels(const software::Image& one, const software::Image& other) {
    if (one.width != other.width || one.height != other.height) {
        return one.width * one.height;
    }
    int count = 0;
    for (std::size_t index = 0; index < one.pixels.size(); ++index) {
        count += one.pixels[index] != other.pixels[index] ? 1 : 0;
    }
    return count;
}

class EditorInX11Window : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.connected()) << "no X display: run under run-under-xvfb.sh";
        ASSERT_TRUE(harness.loaded()) << harness.loadError();
        ASSERT_NE(harness.open(), nullptr);
        ASSERT_NE(harness.effect()->flags & effFlagsHasEditor, 0);
        host = display.createHostWindow(kWidth, kHeight);
        openEditor();
    }
    void TearDown() override {
        harness.dispatch(effEditClose);
        harness.close();
    }

    void openEditor() {
        ASSERT_EQ(harness.dispatch(effEditOpen, 0, 0, handleOf(host)), 1);
        const std::vector<WindowId> inside = display.children(host);
        ASSERT_EQ(inside.size(), 1u);
        editor = inside.front();
    }
    void idle() { harness.dispatch(effEditIdle); }
    // Idles as a host does for a while, so that what the server has sent is handled.
    void settle() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
        while (std::chrono::steady_clock::now() < until) {
            idle();
            display.takeEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void perform(const std::vector<HandMovement>& movements) {
        EXPECT_TRUE(display.perform(movements, [this] { idle(); }));
        settle();
    }
    // Held long enough for the press to be handled while the button is down, as a person's
    // click is; the host window sits at (0, 0), so editor and screen points are the same.
    void click(int x, int y, bool alt = false) {
        perform({{x, y, false, alt, 100}, {x, y, true, alt, 250}, {x, y, false, alt, 100}});
    }
    void drag(int fromX, int fromY, int toX, int toY) {
        std::vector<HandMovement> movements{{fromX, fromY, false, false, 100},
                                            {fromX, fromY, true, false, 250}};
        for (int step = 1; step <= 4; ++step) {
            movements.push_back({fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4,
                                 true, false, 80});
        }
        movements.push_back({toX, toY, true, false, 250});
        movements.push_back({toX, toY, false, false, 100});
        perform(movements);
    }

    std::vector<Automation> automations() const { return harness.automations(); }
    void forgetRequests() { harness.requests.clear(); }
    std::vector<float> parameters() {
        std::vector<float> values;
        for (VstInt32 index = 0; index < kParameters; ++index) {
            values.push_back(harness.getParameter(index));
        }
        return values;
    }

    X11Session display;
    PluginHarness harness;
    WindowId host = 0;
    WindowId editor = 0;
};

TEST_F(EditorInX11Window, OpensAsAChildOfTheHostsWindowAtItsSize) {
    EXPECT_EQ(display.parentOf(editor), host);
    const Placement shown = display.placement(editor);
    EXPECT_EQ(shown.x, 0);
    EXPECT_EQ(shown.y, 0);
    EXPECT_EQ(shown.width, kWidth);
    EXPECT_EQ(shown.height, kHeight);
    EXPECT_TRUE(shown.viewable);
}

// Before any idle the server paints the window from the picture drawn at opening; after
// gestures it shows what the software backend draws for the same parameters, exactly.
TEST_F(EditorInX11Window, ThePaintedWindowEqualsTheSoftwareBackendsPictureOfTheSameState) {
    EXPECT_EQ(
        differingPixels(display.picture(editor), softwarePicture(parameters(), Stage::Opened)), 0)
        << "the first picture, before any idle";
    settle();
    drag(162, 204, 175, 215);
    EXPECT_EQ(differingPixels(display.picture(editor), softwarePicture(parameters(), Stage::Idled)),
              0)
        << "after a drag on fDelay_0";
    click(600, 60);
    EXPECT_EQ(differingPixels(display.picture(editor), softwarePicture(parameters(), Stage::About)),
              0)
        << "the about screen";
    click(600, 60);
    // Covered and shown again, the window is painted from the server's copy of its pixels.
    const software::Image before = display.picture(editor);
    const WindowId cover = display.createHostWindow(200, 200);
    display.destroyWindow(cover);
    settle();
    EXPECT_EQ(differingPixels(display.picture(editor), before), 0) << "after an exposure";
}

TEST_F(EditorInX11Window, PressDragAndReleaseOnAKnobSendItsValuesAsAutomation) {
    settle();
    forgetRequests();
    click(175, 153); // straight right of fFreq_0's centre: five sixths
    std::vector<Automation> sent = automations();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().index, kFreq0);
    EXPECT_NEAR(sent.back().value, 5.0f / 6.0f, 1e-6f);
    EXPECT_EQ(harness.getParameter(kFreq0), sent.back().value);

    forgetRequests();
    drag(262, 204, 275, 215); // fDelay_1: from above its centre to right of it
    sent = automations();
    ASSERT_FALSE(sent.empty());
    for (const Automation& automation : sent) {
        EXPECT_EQ(automation.index, kDelay1);
    }
    EXPECT_NEAR(sent.front().value, 0.5f, 1e-6f);
    EXPECT_NEAR(sent.back().value, 5.0f / 6.0f, 1e-6f);
    EXPECT_EQ(harness.getParameter(1002 + 1), 1666.0f); // whole milliseconds
    // Released: the pointer moves on without changing anything.
    const std::size_t count = sent.size();
    perform({{150, 215, false, false, 100}});
    EXPECT_EQ(automations().size(), count);
}

TEST_F(EditorInX11Window, AnAltClickOnAKnobSetsItsMiddle) {
    harness.setParameter(kFreq0, 0.1f);
    settle();
    forgetRequests();
    click(175, 153, true);
    EXPECT_EQ(automations(), (std::vector<Automation>{{kFreq0, 0.5f}}));
}

TEST_F(EditorInX11Window, PanicAboutAndWaveButtonsBehave) {
    settle();
    forgetRequests();
    click(530, 60);
    EXPECT_EQ(automations(), (std::vector<Automation>{{998, 1.0f}, {998, 0.0f}}));

    const software::Image editorShown = display.picture(editor);
    forgetRequests();
    click(600, 60);
    EXPECT_GT(differingPixels(display.picture(editor), editorShown), kWidth * kHeight / 2);
    click(107, 125); // anywhere: closes it, and reaches no knob
    EXPECT_EQ(automations(), (std::vector<Automation>{{999, 1.0f}, {999, 0.0f}}));
    EXPECT_EQ(differingPixels(display.picture(editor), editorShown), 0);

    forgetRequests();
    click(615 + 4 * 25 + 8, 113 + 8); // LFO 1, Saw down
    EXPECT_EQ(automations(), (std::vector<Automation>{{53, 1.0f}}));
    EXPECT_NE(differingPixels(display.picture(editor), editorShown), 0);
}

TEST_F(EditorInX11Window, AHundredOpenAndCloseCyclesLeaveServerResourcesAndMemoryFlat) {
    harness.dispatch(effEditClose);
    const auto cycle = [this] {
        ASSERT_EQ(harness.dispatch(effEditOpen, 0, 0, handleOf(host)), 1);
        idle();
        harness.dispatch(effEditClose);
    };
    // The allocator's caches fill in the first cycles.
    for (int warmUp = 0; warmUp < 10; ++warmUp) {
        cycle();
    }
    const X11Session::Resources resources = display.serverResources();
    const std::size_t bytes = heapInUse();
    const int descriptors = openFileDescriptors();
    const int segments = sharedMemorySegments();
    for (int count = 0; count < 100; ++count) {
        cycle();
    }
    const X11Session::Resources after = display.serverResources();
    EXPECT_EQ(after.clients, resources.clients);
    EXPECT_EQ(after.resources, resources.resources);
    EXPECT_TRUE(display.children(host).empty());
    EXPECT_EQ(openFileDescriptors(), descriptors);
    EXPECT_EQ(sharedMemorySegments(), segments);
    // One editor's window alone holds 1.5 MB of pixels; a cycle's leak would show.
    EXPECT_LT(heapInUse(), bytes + 64 * 1024);
}

TEST_F(EditorInX11Window, TheHostDestroyingItsWindowFirstLeavesTheHostRunning) {
    settle();
    display.destroyWindow(host);
    idle();
    harness.dispatch(effEditClose);
    // Gone before the editor heard of it: closed straight after the destruction.
    host = display.createHostWindow(kWidth, kHeight);
    openEditor();
    display.destroyWindow(host);
    harness.dispatch(effEditClose);
    // The effect goes on working, and opens again in a new window.
    host = display.createHostWindow(kWidth, kHeight);
    openEditor();
    settle();
    forgetRequests();
    click(175, 153);
    EXPECT_FALSE(automations().empty());
}

TEST_F(EditorInX11Window, APointerThatIsNoWindowOfTheDisplayOpensNothingAndLeavesNothing) {
    harness.dispatch(effEditClose);
    const X11Session::Resources resources = display.serverResources();
    const int descriptors = openFileDescriptors();
    int local = 0;
    for (void* bogus : {static_cast<void*>(&local), handleOf(0x1234567), handleOf(1)}) {
        EXPECT_EQ(harness.dispatch(effEditOpen, 0, 0, bogus), 0);
        harness.dispatch(effEditIdle);
        harness.dispatch(effEditClose);
    }
    EXPECT_EQ(display.serverResources().clients, resources.clients);
    EXPECT_EQ(display.serverResources().resources, resources.resources);
    EXPECT_EQ(openFileDescriptors(), descriptors);
    openEditor();
}

#if defined(VELTRANE_HOST_EXECUTABLE)
// veltrane-host --editor-window, as a person uses it: the editor opens in the tool's window,
// a click on a knob is printed as automation, and closing the window ends the tool.
TEST(EditorWindowOfTheCommandLineHost, ShowsTheEditorPrintsItsAutomationAndEndsWhenClosed) {
    X11Session display;
    ASSERT_TRUE(display.connected());
    std::FILE* tool = popen("exec " VELTRANE_HOST_EXECUTABLE " --editor-window", "r");
    ASSERT_NE(tool, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, tool), nullptr);
    unsigned long window = 0;
    ASSERT_EQ(std::sscanf(line, "editor open in window %lx", &window), 1) << line;
    EXPECT_EQ(display.children(window).size(), 1u);
    EXPECT_TRUE(display.perform(
        [](X11Hand& hand) {
            hand.pause(200); // the window sits at (0, 0): no window manager moves it
            hand.moveTo(175, 153);
            hand.button(true);
            hand.pause(200);
            hand.button(false);
        },
        [] {}));
    ASSERT_NE(std::fgets(line, sizeof line, tool), nullptr);
    EXPECT_STREQ(line, "automate 8 0.833333\n");
    display.askToClose(window);
    EXPECT_EQ(pclose(tool), 0);
}
#endif

TEST(EditorWithoutDisplay, TheModuleProcessesAudioAndOpensNoEditor) {
    const std::string saved = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    PluginHarness harness;
    ASSERT_NE(harness.open(), nullptr);
    harness.start(48000.0f, 64);
    std::vector<float> left(64, 0.5f), right(64, 0.5f), outLeft(64), outRight(64);
    harness.processReplacing(left, right, outLeft, outRight);
    EXPECT_NE(outLeft[10], 0.0f);
    int parent = 0;
    EXPECT_EQ(harness.dispatch(effEditOpen, 0, 0, &parent), 0);
    harness.dispatch(effEditIdle);
    harness.dispatch(effEditClose);
    harness.close();
    setenv("DISPLAY", saved.c_str(), 1);
}

} // namespace
