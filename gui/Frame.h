// The editor's child window inside the host's window and the flat list of views it shows.
// Owns its views and one reference to its background bitmap. Called from the host's GUI thread.
#pragma once

#include "gui/View.h"
#include "gui/platform/Windowing.h"

#include <cstdint>

class Bitmap;
class EditorBase;

class Frame : public View {
public:
    // Creates the child window of parentWindow (none when it is null).
    Frame(const Rect& size, platform::Window* parentWindow, EditorBase* editor);
    ~Frame() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    void update(DrawContext* context) override;
    // Appends the view and takes ownership; false (ownership stays with the caller) when the
    // list cannot grow.
    virtual bool addView(View* view);
    // Takes the view out of the list without deleting or telling it; true even if absent.
    virtual bool removeView(View* view);

    void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const { return background; }
    // Refused (false) while another modal view is set; null clears.
    bool setModalView(View* view);
    View* getModalView() const { return modalView; }
    void setFocusView(View* view) { focusView = view; }
    View* getFocusView() const { return focusView; }
    // Draws the view now, or the whole frame when it is null or not in the list.
    void drawView(View* view);
    // Takes the window's waiting messages, then draws the views whose value changed, once the
    // first paint has happened.
    void idle();
    // Paints the window at once if it needs it: hosts that idle the editor late, or never,
    // still see it whole.
    void paintNow();

    platform::Window* getSystemWindow() const { return window; }
    EditorBase* getEditor() const { return editor; }
    bool isOpen() const { return open; }
    std::int32_t getViewCount() const { return viewCount; }
    View* getView(std::int32_t index) const;

    // The window class shared by all frames of the module and how many frames use it.
    static const char* windowClassName();
    static std::int32_t windowClassUseCount();

private:
    static void windowProcedure(platform::Window* window, platform::WindowMessage message,
                                Point point);
    void createWindow();
    void destroyWindow();

    EditorBase* editor;
    platform::Window* parentWindow;
    Bitmap* background = nullptr;
    std::int32_t viewCount = 0;
    std::int32_t viewCapacity = 0;
    View** views = nullptr;
    View* modalView = nullptr;
    View* focusView = nullptr;
    bool firstDrawPending = true;
    bool open = true;
    platform::Window* window = nullptr;
};
