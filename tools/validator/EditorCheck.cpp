// editor: the host's editor requests in the orders hosts make them, in a window of the
// validator's own, with the GUI thread's messages pumped between them.
#include "tools/validator/BackgroundAudio.h"
#include "tools/validator/CallCounter.h"
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/ParentWindow.h"

#include <algorithm>

namespace {

constexpr int kBlockSize = 512;
constexpr int kIdlesPerOpening = 5;
constexpr int kCyclesWhileAudioRuns = 10;
constexpr int kMostWarmUpCycles = 10;
constexpr std::uint64_t kAudioSeedOffset = 0xED17;

void expectSaneRect(EffectUnderTest& effect, const std::string& when) {
    ERect* rect = nullptr;
    effect.dispatch(effEditGetRect, 0, 0, &rect);
    expect(rect != nullptr, "effEditGetRect " + when + " gives no rectangle");
    expect(rect->right > rect->left && rect->bottom > rect->top,
           "effEditGetRect " + when + " gives an empty rectangle (" + std::to_string(rect->left) +
               ", " + std::to_string(rect->top) + ", " + std::to_string(rect->right) + ", " +
               std::to_string(rect->bottom) + ")");
}

// Open, idle, close; `idles` idle calls with the messages pumped around each.
void openAndClose(EffectUnderTest& effect, ParentWindow& parent, int idles,
                  const std::string& when) {
    Progress::step("editor opened " + when);
    effect.dispatch(effEditOpen, 0, 0, parent.handle());
    parent.pumpEvents();
    for (int idle = 0; idle < idles; ++idle) {
        effect.dispatch(effEditIdle);
        parent.pumpEvents();
    }
    Progress::step("editor closed " + when);
    effect.dispatch(effEditClose);
    parent.pumpEvents();
    const int left = parent.childWindowCount();
    expect(left == 0, "after effEditClose " + when + ", " + std::to_string(left) +
                          " windows are still inside the host's window");
}

std::string signedCount(long count) {
    return (count >= 0 ? "+" : "") + std::to_string(count);
}

} // namespace

CheckResult checkEditor(const CheckContext& context) {
    EffectUnderTest effect(context.entryPoint);
    if (!effect.hasEditor()) {
        return CheckResult::skipped("the module reports no editor (effFlagsHasEditor not set)");
    }
    std::string whyNot;
    const std::unique_ptr<ParentWindow> parent = ParentWindow::create(whyNot);
    if (parent == nullptr) {
        return CheckResult::skipped(whyNot);
    }
    effect.start(48000.0f, kBlockSize);
    Progress::step("effEditGetRect before the first open");
    ERect* early = nullptr;
    effect.dispatch(effEditGetRect, 0, 0, &early); // may be null until the first open

    openAndClose(effect, *parent, kIdlesPerOpening, "cold");
    expectSaneRect(effect, "after the first open");
    openAndClose(effect, *parent, kIdlesPerOpening, "warm");
    {
        BackgroundAudio audio(effect, context.options.seed + kAudioSeedOffset, kBlockSize);
        audio.waitForBlocks(1);
        for (int cycle = 0; cycle < kCyclesWhileAudioRuns; ++cycle) {
            openAndClose(effect, *parent, kIdlesPerOpening,
                         "while audio runs (cycle " + std::to_string(cycle) + ")");
        }
        audio.stop();
    }

    const int cycles = context.options.editorCycles;
    const int warmUp = std::min(kMostWarmUpCycles, std::max(1, cycles / 10));
    long blocksBefore = 0;
    long objectsBefore = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == warmUp) {
            blocksBefore = CallCounter::liveHeapBlocks();
            objectsBefore = parent->guiObjectCount();
        }
        openAndClose(effect, *parent, 1, "in cycle " + std::to_string(cycle));
    }
    const long measured = cycles - warmUp;
    const long blocks = CallCounter::liveHeapBlocks() - blocksBefore;
    const long objects = parent->guiObjectCount() - objectsBefore;
    std::string detail = "cold, warm, while audio runs; " + std::to_string(cycles) +
                         " cycles: heap blocks " + signedCount(measured > 0 ? blocks : 0);
    if (objectsBefore >= 0) {
        detail += ", " + std::string(parent->guiObjectName()) + " " +
                  signedCount(measured > 0 ? objects : 0);
    }
    // Flat: less than one block or object left behind every ten cycles.
    expect(measured <= 0 || blocks * 10 < measured, detail + ": the heap grows");
    expect(measured <= 0 || objectsBefore < 0 || objects * 10 < measured,
           detail + ": " + parent->guiObjectName() + " accumulate");
    return CheckResult::passed(detail);
}
