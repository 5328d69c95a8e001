#include "tools/EditorPicture.h"

#include "gui/DrawContext.h"
#include "host/EntryPoint.h"
#include "tools/EffectHost.h"
#include "tools/HostError.h"

#include <vector>

namespace {

// A drag moves in this many steps, each this far apart in time: the throttled idle redraws
// on the way, as under a hand.
constexpr int dragSteps = 4;
constexpr std::uint32_t stepMilliseconds = 20;

std::vector<software::PointerStep> gestureScript(const EditorGesture& gesture, std::int32_t held) {
    std::vector<software::PointerStep> steps;
    const Point to(gesture.toX, gesture.toY);
    if (gesture.kind == EditorGesture::Kind::Drag) {
        for (int step = 1; step <= dragSteps; ++step) {
            const Point at(gesture.fromX + (gesture.toX - gesture.fromX) * step / dragSteps,
                           gesture.fromY + (gesture.toY - gesture.fromY) * step / dragSteps);
            steps.push_back({at, held, stepMilliseconds});
        }
    }
    steps.push_back({to, 0, stepMilliseconds}); // released where it ends
    return steps;
}

// Forgets the backend's windows and pointer however the picture ends.
class SoftwareSession {
public:
    SoftwareSession() { software::reset(); }
    ~SoftwareSession() { software::reset(); }
    SoftwareSession(const SoftwareSession&) = delete;
    SoftwareSession& operator=(const SoftwareSession&) = delete;
};

} // namespace

AEffect* VSTCALLBACK linkedEffectEntryPoint(audioMasterCallback host) {
    return openEffect(host, &createEffectInstance);
}

software::Image drawEditor(EffectHost& host, const EditorGesture& gesture) {
    if ((host.effect().flags & effFlagsHasEditor) == 0) {
        throw HostError("the effect has no editor");
    }
    ERect* rect = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        throw HostError("the editor gives no size");
    }
    const SoftwareSession session;
    platform::Window* window =
        software::createHostWindow(rect->right - rect->left, rect->bottom - rect->top);
    if (host.dispatch(effEditOpen, 0, 0, window) == 0 || software::childWindows(window).empty()) {
        host.dispatch(effEditClose);
        throw HostError("the editor did not open");
    }
    platform::Window* editorWindow = software::childWindows(window).back();
    software::paint(editorWindow);
    host.dispatch(effEditIdle);
    if (gesture.kind != EditorGesture::Kind::None) {
        const std::int32_t held =
            MouseLeft | (gesture.alt ? KeyAlt : 0) | (gesture.shift ? KeyShift : 0);
        software::setKeyState(held);
        software::scriptPointer(gestureScript(gesture, held));
        software::sendMessage(editorWindow, platform::WindowMessage::LeftButtonDown,
                              Point(gesture.fromX, gesture.fromY));
        software::scriptPointer({});
        software::setKeyState(0);
        host.dispatch(effEditIdle);
    }
    software::Image image = software::windowPixels(editorWindow);
    host.dispatch(effEditClose);
    return image;
}
