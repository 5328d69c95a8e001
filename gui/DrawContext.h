// The drawing context every view draws through: a thin object over a platform device context
// with its own pen, brush and font. Lives for one drawing pass on the host's GUI thread; owns
// the pen, brush and font it makes, never the device context.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <cstdint>

namespace platform {
struct DeviceContext;
struct GraphicsObject;
struct Window;
} // namespace platform

class Frame;

enum FontId : std::int32_t {
    FontSystemBold = 0,
    FontHuge = 1,
    FontLarge = 2,
    FontNormal = 3,
    FontSmall = 4,
    FontTiny = 5,
    FontSymbol = 6,
};

enum LineStyle : std::int32_t { LineSolid = 0, LineDotted = 1 };

// Bits of the mouse and key state word.
enum MouseState : std::int32_t {
    MouseLeft = 1,
    MouseMiddle = 2,
    MouseRight = 4,
    KeyShift = 8,
    KeyControl = 16,
    KeyAlt = 32,
};

// drawString alignment codes; any other value aligns left.
constexpr std::int32_t AlignCentre = 1;
constexpr std::int32_t AlignRight = 2;

class DrawContext {
public:
    DrawContext(Frame* frame, platform::DeviceContext* deviceContext, platform::Window* window);
    virtual ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    void moveTo(const Point& point);
    void lineTo(const Point& point);
    void drawPolyline(const Point* points, std::int32_t count);
    void fillPolygon(const Point* points, std::int32_t count);
    void drawRect(const Rect& rect);
    void fillRect(const Rect& rect);
    void drawArc(const Rect& rect, const Point& from, const Point& to);
    void drawEllipse(const Rect& rect);
    void fillEllipse(const Rect& rect);
    void fillPie(const Rect& rect, const Point& from, const Point& to);
    void drawPoint(const Point& point, const Color& color);

    void setLineStyle(std::int32_t style);
    void setLineWidth(std::int32_t width);
    void setFrameColor(const Color& color);
    void setFillColor(const Color& color);
    void setFontColor(const Color& color);
    // Height 0: the font's default height. Ids outside 0..6 mean FontSystemBold.
    void setFont(std::int32_t fontId, std::int32_t height = 0);
    void drawString(const char* text, const Rect& rect, bool opaque = false,
                    std::int32_t alignment = AlignCentre);
    // Pixels the text takes in the current font.
    std::int32_t getStringWidth(const char* text) const;

    std::int32_t getMouseButtons() const;
    void getMouseLocation(Point& point) const;

    platform::DeviceContext* getDeviceContext() const { return deviceContext; }
    Frame* getFrame() const { return frame; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getLineWidth() const { return lineWidth; }
    std::int32_t getLineStyle() const { return lineStyle; }
    Color getFrameColor() const { return frameColor; }
    Color getFillColor() const { return fillColor; }
    Color getFontColor() const { return fontColor; }

protected:
    platform::DeviceContext* deviceContext;
    platform::Window* window;
    Frame* frame;

private:
    void rebuildPen();
    void rebuildBrush();

    std::int32_t fontSize = 0;
    Color fontColor = ColorWhite;
    std::int32_t lineWidth = 1;
    Color frameColor = ColorWhite;
    Color fillColor = ColorBlack;
    std::int32_t lineStyle = LineSolid;
    platform::GraphicsObject* brush = nullptr;
    platform::GraphicsObject* pen = nullptr;
    platform::GraphicsObject* font = nullptr;
    platform::GraphicsObject* oldBrush = nullptr;
    platform::GraphicsObject* oldPen = nullptr;
    platform::GraphicsObject* oldFont = nullptr;
};
