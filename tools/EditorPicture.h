// veltrane's editor as a picture: the effect with its editor linked into the tool, drawn by the
// software backend in a host window of its own, after an optional gesture of the user's.
// Single-threaded, like the rest of the tool.
#pragma once

#include "gui/software/SoftwarePlatform.h"
#include "host/VstInterface.h"
#include "tools/CommandLine.h"

class EffectHost;

// The entry point of the effect and editor linked into this program.
AEffect* VSTCALLBACK linkedEffectEntryPoint(audioMasterCallback host);

// Opens host's editor (effEditOpen) in a host window, lets it paint, makes the gesture with a
// scripted pointer, idles it (effEditIdle) and returns what its window shows, then closes it.
// Throws HostError when the effect has no editor or it does not open.
software::Image drawEditor(EffectHost& host, const EditorGesture& gesture);
