// What the dispatcher asks of an effect's editor. The toolkit's editor base implements it and
// registers itself with the effect through EffectBase::setEditor.
//
// Every operation is called from the host's GUI thread, except postUpdate.
#pragma once

#include "host/VstInterface.h"

class EditorInterface {
public:
    virtual ~EditorInterface() = default;

    // Stores a pointer to the editor's own rectangle (owned by the editor) in *rect; false
    // when there is none to give.
    virtual bool getRect(ERect** rect) = 0;
    // Builds the editor inside parentWindow (HWND on Windows, an X11 Window id on Linux).
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    // The effect changed; the editor catches up at its next idle. May run on any thread that
    // sets parameters.
    virtual void postUpdate() = 0;
};
