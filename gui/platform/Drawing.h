// What the toolkit asks of the platform's 2-D graphics: device contexts with a selected pen,
// brush, font and bitmap, the primitives, memory contexts and bitmap copies. Exactly one
// backend implements these functions; handles are opaque to the toolkit.
// Called from the host's GUI thread only.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace platform {

struct DeviceContext;  // a device context (window, paint or memory)
struct GraphicsObject; // a pen, brush, font or bitmap

// red | green << 8 | blue << 16
using ColorValue = std::uint32_t;

enum class ObjectKind { Pen, Brush, Font, Bitmap };
enum class PenStyle { Solid, Dotted };
enum class BackgroundMode { Transparent, Opaque };
enum class TextAlignment { Left, Centre, Right };
// Bitmap copies: destination = source, destination AND source, destination OR source.
enum class RasterOperation { SourceCopy, SourceAnd, SourcePaint };

// The fields of a logical font the toolkit sets; everything else is zero.
struct FontDescription {
    std::int32_t height = 0; // negative: character height in pixels
    std::int32_t weight = 0;
    std::uint8_t outputPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t characterSet = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = {};
};

// Objects. Creation results may be null; selecting null leaves the current object in place.
GraphicsObject* currentObject(DeviceContext* context, ObjectKind kind);
GraphicsObject* selectObject(DeviceContext* context, GraphicsObject* object); // previous one
void deleteObject(GraphicsObject* object);
GraphicsObject* createPen(PenStyle style, std::int32_t width, ColorValue color);
GraphicsObject* createSolidBrush(ColorValue color);
GraphicsObject* createFont(const FontDescription& description);
GraphicsObject* nullPen(); // stock object, never deleted

// Device context state.
void setBackgroundMode(DeviceContext* context, BackgroundMode mode);
void setBackgroundColor(DeviceContext* context, ColorValue color);
void setTextColor(DeviceContext* context, ColorValue color);

// Primitives, with the platform's own rasterisation rules: lineTo leaves the end pixel out,
// fillRectangle leaves the right and bottom edges out, the ellipse family draws inside the box
// without its right and bottom edges.
void moveTo(DeviceContext* context, Point point);
void lineTo(DeviceContext* context, Point point);
void polyline(DeviceContext* context, const Point* points, std::int32_t count);
void polygon(DeviceContext* context, const Point* points, std::int32_t count);
void fillRectangle(DeviceContext* context, const Rect& rect, GraphicsObject* brush);
void arc(DeviceContext* context, const Rect& box, Point from, Point to);
void ellipse(DeviceContext* context, const Rect& box);
void pie(DeviceContext* context, const Rect& box, Point from, Point to);
void setPixel(DeviceContext* context, Point point, ColorValue color);
// One line, vertically centred in rect, clipped to it.
void drawText(DeviceContext* context, const char* text, std::int32_t length, const Rect& rect,
              TextAlignment alignment);
// The width in pixels of one line of text in the selected font.
std::int32_t textWidth(DeviceContext* context, const char* text, std::int32_t length);

// Memory contexts and bitmaps.
DeviceContext* createMemoryContext(DeviceContext* compatibleWith);
void deleteMemoryContext(DeviceContext* context);
GraphicsObject* createCompatibleBitmap(DeviceContext* context, std::int32_t width,
                                       std::int32_t height);
GraphicsObject* createMonochromeBitmap(std::int32_t width, std::int32_t height);
// Colour to monochrome: pixels of the source context's background colour become 1, others 0.
// Monochrome to colour: 0 becomes the destination's text colour, 1 its background colour.
void copyBits(DeviceContext* destination, Point destinationOrigin, std::int32_t width,
              std::int32_t height, DeviceContext* source, Point sourceOrigin,
              RasterOperation operation);
void copyMappingMode(DeviceContext* destination, DeviceContext* source);
Point deviceToLogical(DeviceContext* context, Point point);

// The module's bitmap resource with the given id (low 16 bits), or null.
GraphicsObject* loadBitmap(std::int32_t resourceId);
// Width and height of a bitmap; false (and both 0) when the object is not a bitmap.
bool bitmapSize(GraphicsObject* bitmap, std::int32_t& width, std::int32_t& height);

} // namespace platform
