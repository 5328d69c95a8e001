// veltrane-host --editor-window: a top-level X11 window of the tool's own in which the plug-in
// opens its editor through its dispatcher, as a Linux host opens it, idled about 50 times a
// second until the window is closed. For people who want to try the editor without a host, and
// for the tests. Single-threaded, like the rest of the tool.
#pragma once

#include <ostream>

class EffectHost;

// Runs until the window is closed (by its window manager's close button or by its
// destruction). Each automation the effect reports is written to out as
// "automate INDEX VALUE". Throws HostError when there is no display, the effect has no editor
// or the editor does not open.
void runEditorWindow(EffectHost& host, std::ostream& out);
