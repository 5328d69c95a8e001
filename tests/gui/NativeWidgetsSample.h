// The widgets with native parts that both platforms' tests place in a frame of 200 x 150: a text
// entry at (10, 10, 70, 24) and a choice menu at (10, 40, 70, 54), both telling `listener`, and
// a toggle button at (100, 100, 120, 120) telling `toggleListener`.
#pragma once

#include "TestEditor.h"

#include "gui/ChoiceMenu.h"
#include "gui/Frame.h"
#include "gui/TextEntry.h"
#include "gui/ToggleButton.h"

struct NativeWidgetsSample {
    void addTo(Frame& frame) {
        entry = new TextEntry(Rect(10, 10, 70, 24), &listener, 1, "hello", nullptr);
        frame.addView(entry);
        menu = new ChoiceMenu(Rect(10, 40, 70, 54), &listener, 2, nullptr, nullptr,
                              StyleMenuCheckCurrent);
        for (const char* text : {"one", "-", "three"}) {
            menu->addEntry(text);
        }
        frame.addView(menu);
        toggle = new ToggleButton(Rect(100, 100, 120, 120), &toggleListener, 3, nullptr);
        frame.addView(toggle);
    }

    RecordingListener listener;
    RecordingListener toggleListener;
    // Owned by the frame.
    TextEntry* entry = nullptr;
    ChoiceMenu* menu = nullptr;
    ToggleButton* toggle = nullptr;
};
