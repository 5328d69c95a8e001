// Test support: a frame open in a host window of the software backend, whose controls are
// pressed through the frame's window as the platform delivers a click, with a scripted pointer.
#pragma once

#include "SoftwareCanvas.h"
#include "TestEditor.h"

#include "gui/Bitmap.h"

#include <vector>

// A strip of frameCount frames of width x frameHeight pixels; every pixel of frame n has the
// colour value n, so a pixel tells which frame was drawn.
inline Bitmap* numberedStrip(std::int32_t id, std::int32_t width, std::int32_t frameCount,
                             std::int32_t frameHeight) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t frame = 0; frame < frameCount; ++frame) {
        pixels.insert(pixels.end(), static_cast<std::size_t>(width * frameHeight),
                      static_cast<std::uint32_t>(frame));
    }
    software::installBitmapPixels(id, width, frameCount * frameHeight, pixels);
    return new Bitmap(id);
}

class FrameFixture : public SoftwareTest {
protected:
    static constexpr std::int32_t frameWidth = 120;
    static constexpr std::int32_t frameHeight = 100;

    void SetUp() override {
        SoftwareTest::SetUp();
        host = software::createHostWindow(frameWidth, frameHeight);
        frame = editor.openFrame(host, Rect(0, 0, frameWidth, frameHeight));
        software::paint(frame->getSystemWindow());
    }
    void TearDown() override {
        editor.closeFrame();
        SoftwareTest::TearDown();
    }

    // The frame takes ownership; the view is drawn, as the frame's paint would.
    template <typename View> View* add(View* view) {
        frame->addView(view);
        view->redraw();
        return view;
    }
    // A left-button press (state at the press) at where, then the pointer follows script.
    void press(Point where, std::int32_t state, const std::vector<software::PointerStep>& script) {
        software::setKeyState(state);
        software::scriptPointer(script);
        software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                              where);
        software::setKeyState(0);
    }
    // A click: pressed at where and released there.
    void click(Point where) { press(where, MouseLeft, {{where, 0, 0}}); }
    std::uint32_t pixel(std::int32_t x, std::int32_t y) const {
        return software::windowPixels(frame->getSystemWindow()).at(x, y);
    }

    RecordingListener listener;
    CountingEditor editor;
    platform::Window* host = nullptr;
    Frame* frame = nullptr;
};
