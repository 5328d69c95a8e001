// The seam's drawing functions on GDI.
#include "gui/win32/Win32Platform.h"
#include "host/ModuleInstance.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <map>

namespace {

HDC toDc(platform::DeviceContext* context) {
    return reinterpret_cast<HDC>(context);
}
platform::DeviceContext* fromDc(HDC dc) {
    return reinterpret_cast<platform::DeviceContext*>(dc);
}
HGDIOBJ toObject(platform::GraphicsObject* object) {
    return reinterpret_cast<HGDIOBJ>(object);
}
platform::GraphicsObject* fromObject(HGDIOBJ object) {
    return reinterpret_cast<platform::GraphicsObject*>(object);
}

static_assert(sizeof(Point) == sizeof(POINT) && offsetof(Point, h) == offsetof(POINT, x) &&
                  offsetof(Point, v) == offsetof(POINT, y),
              "Points go to Polyline and Polygon as they are");

RECT toRect(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

DWORD rasterOperation(platform::RasterOperation operation) {
    switch (operation) {
    case platform::RasterOperation::SourceAnd:
        return SRCAND;
    case platform::RasterOperation::SourcePaint:
        return SRCPAINT;
    case platform::RasterOperation::SourceCopy:
        break;
    }
    return SRCCOPY;
}

// The DIB section of each canvas, whose bits are read back directly.
struct CanvasBits {
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits;
    std::int32_t width;
    std::int32_t height;
};
std::map<HDC, CanvasBits> canvases;

} // namespace

namespace platform {

GraphicsObject* currentObject(DeviceContext* context, ObjectKind kind) {
    UINT type = OBJ_PEN;
    switch (kind) {
    case ObjectKind::Pen:
        type = OBJ_PEN;
        break;
    case ObjectKind::Brush:
        type = OBJ_BRUSH;
        break;
    case ObjectKind::Font:
        type = OBJ_FONT;
        break;
    case ObjectKind::Bitmap:
        type = OBJ_BITMAP;
        break;
    }
    return context != nullptr ? fromObject(GetCurrentObject(toDc(context), type)) : nullptr;
}

GraphicsObject* selectObject(DeviceContext* context, GraphicsObject* object) {
    if (context == nullptr || object == nullptr) {
        return nullptr;
    }
    return fromObject(SelectObject(toDc(context), toObject(object)));
}

void deleteObject(GraphicsObject* object) {
    if (object != nullptr) {
        DeleteObject(toObject(object));
    }
}

GraphicsObject* createPen(PenStyle style, std::int32_t width, ColorValue color) {
    LOGPEN pen;
    pen.lopnStyle = style == PenStyle::Dotted ? PS_DOT : PS_SOLID;
    pen.lopnWidth.x = width;
    pen.lopnWidth.y = width;
    pen.lopnColor = color;
    return fromObject(CreatePenIndirect(&pen));
}

GraphicsObject* createSolidBrush(ColorValue color) {
    LOGBRUSH brush;
    brush.lbStyle = BS_SOLID;
    brush.lbColor = color;
    brush.lbHatch = 0;
    return fromObject(CreateBrushIndirect(&brush));
}

GraphicsObject* createFont(const FontDescription& description) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = description.height;
    font.lfWeight = description.weight;
    font.lfOutPrecision = description.outputPrecision;
    font.lfClipPrecision = description.clipPrecision;
    font.lfQuality = description.quality;
    font.lfCharSet = description.characterSet;
    font.lfPitchAndFamily = description.pitchAndFamily;
    static_assert(sizeof(description.faceName) == LF_FACESIZE, "face names have one size");
    std::memcpy(font.lfFaceName, description.faceName, LF_FACESIZE);
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return fromObject(CreateFontIndirectA(&font));
}

GraphicsObject* nullPen() {
    return fromObject(GetStockObject(NULL_PEN));
}

void setBackgroundMode(DeviceContext* context, BackgroundMode mode) {
    SetBkMode(toDc(context), mode == BackgroundMode::Opaque ? OPAQUE : TRANSPARENT);
}

void setBackgroundColor(DeviceContext* context, ColorValue color) {
    SetBkColor(toDc(context), color);
}

void setTextColor(DeviceContext* context, ColorValue color) {
    SetTextColor(toDc(context), color);
}

void moveTo(DeviceContext* context, Point point) {
    MoveToEx(toDc(context), point.h, point.v, nullptr);
}

void lineTo(DeviceContext* context, Point point) {
    LineTo(toDc(context), point.h, point.v);
}

void polyline(DeviceContext* context, const Point* points, std::int32_t count) {
    Polyline(toDc(context), reinterpret_cast<const POINT*>(points), count);
}

void polygon(DeviceContext* context, const Point* points, std::int32_t count) {
    Polygon(toDc(context), reinterpret_cast<const POINT*>(points), count);
}

void fillRectangle(DeviceContext* context, const Rect& rect, GraphicsObject* brush) {
    const RECT area = toRect(rect);
    FillRect(toDc(context), &area, reinterpret_cast<HBRUSH>(brush));
}

void arc(DeviceContext* context, const Rect& box, Point from, Point to) {
    Arc(toDc(context), box.left, box.top, box.right, box.bottom, from.h, from.v, to.h, to.v);
}

void ellipse(DeviceContext* context, const Rect& box) {
    Ellipse(toDc(context), box.left, box.top, box.right, box.bottom);
}

void pie(DeviceContext* context, const Rect& box, Point from, Point to) {
    Pie(toDc(context), box.left, box.top, box.right, box.bottom, from.h, from.v, to.h, to.v);
}

void setPixel(DeviceContext* context, Point point, ColorValue color) {
    SetPixel(toDc(context), point.h, point.v, color & 0xFFFFFF);
}

void drawText(DeviceContext* context, const char* text, std::int32_t length, const Rect& rect,
              TextAlignment alignment) {
    RECT area = toRect(rect);
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (alignment == TextAlignment::Centre) {
        format |= DT_CENTER;
    } else if (alignment == TextAlignment::Right) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
    }
    DrawTextA(toDc(context), text, length, &area, format);
}

std::int32_t textWidth(DeviceContext* context, const char* text, std::int32_t length) {
    SIZE extent{};
    if (length <= 0 || !GetTextExtentPoint32A(toDc(context), text, length, &extent)) {
        return 0;
    }
    return extent.cx;
}

DeviceContext* createMemoryContext(DeviceContext* compatibleWith) {
    return fromDc(CreateCompatibleDC(toDc(compatibleWith)));
}

void deleteMemoryContext(DeviceContext* context) {
    if (context != nullptr) {
        DeleteDC(toDc(context));
    }
}

GraphicsObject* createCompatibleBitmap(DeviceContext* context, std::int32_t width,
                                       std::int32_t height) {
    return fromObject(CreateCompatibleBitmap(toDc(context), width, height));
}

GraphicsObject* createMonochromeBitmap(std::int32_t width, std::int32_t height) {
    return fromObject(CreateBitmap(width, height, 1, 1, nullptr));
}

void copyBits(DeviceContext* destination, Point destinationOrigin, std::int32_t width,
              std::int32_t height, DeviceContext* source, Point sourceOrigin,
              RasterOperation operation) {
    BitBlt(toDc(destination), destinationOrigin.h, destinationOrigin.v, width, height, toDc(source),
           sourceOrigin.h, sourceOrigin.v, rasterOperation(operation));
}

void copyMappingMode(DeviceContext* destination, DeviceContext* source) {
    SetMapMode(toDc(destination), GetMapMode(toDc(source)));
}

Point deviceToLogical(DeviceContext* context, Point point) {
    POINT converted{point.h, point.v};
    DPtoLP(toDc(context), &converted, 1);
    return Point(converted.x, converted.y);
}

GraphicsObject* loadBitmap(std::int32_t resourceId) {
    return fromObject(LoadBitmapA(static_cast<HINSTANCE>(moduleInstance()),
                                  MAKEINTRESOURCEA(resourceId & 0xFFFF)));
}

bool bitmapSize(GraphicsObject* bitmap, std::int32_t& width, std::int32_t& height) {
    BITMAP record;
    if (bitmap == nullptr || GetObjectA(toObject(bitmap), sizeof(record), &record) == 0) {
        width = 0;
        height = 0;
        return false;
    }
    width = record.bmWidth;
    height = record.bmHeight;
    return true;
}

} // namespace platform

namespace win32 {

platform::DeviceContext* createCanvas(std::int32_t width, std::int32_t height,
                                      platform::ColorValue color) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (bitmap == nullptr || dc == nullptr || bits == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (dc != nullptr) {
            DeleteDC(dc);
        }
        return nullptr;
    }
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    canvases[dc] = CanvasBits{bitmap, previous, bits, width, height};
    HBRUSH brush = CreateSolidBrush(color & 0xFFFFFF);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    return fromDc(dc);
}

void deleteCanvas(platform::DeviceContext* canvas) {
    const auto found = canvases.find(toDc(canvas));
    if (found == canvases.end()) {
        return;
    }
    SelectObject(found->first, found->second.previous);
    DeleteObject(found->second.bitmap);
    DeleteDC(found->first);
    canvases.erase(found);
}

std::vector<std::uint32_t> canvasPixels(platform::DeviceContext* canvas) {
    std::vector<std::uint32_t> pixels;
    const auto found = canvases.find(toDc(canvas));
    if (found == canvases.end()) {
        return pixels;
    }
    GdiFlush();
    const CanvasBits& canvasBits = found->second;
    const auto* source = static_cast<const std::uint32_t*>(canvasBits.bits);
    pixels.resize(static_cast<std::size_t>(canvasBits.width) * canvasBits.height);
    for (std::size_t index = 0; index < pixels.size(); ++index) {
        const std::uint32_t pixel = source[index]; // 0x00RRGGBB
        pixels[index] = (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16;
    }
    return pixels;
}

} // namespace win32
