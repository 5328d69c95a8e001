// Memory contexts, bitmaps, bitmap copies and BMP decoding of the software backend.
#include "gui/software/SoftwareObjects.h"
#include "gui/software/SoftwarePlatform.h"

#include "resources/BitmapResources.h"

#include <algorithm>
#include <map>

namespace software {

namespace {

std::int32_t liveContexts = 0;
std::map<std::int32_t, Image> installedBitmaps;

std::uint32_t readLittleEndian(const unsigned char* data, int bytes) {
    std::uint32_t value = 0;
    for (int index = bytes - 1; index >= 0; --index) {
        value = value << 8 | data[index];
    }
    return value;
}

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t minimumInfoHeaderSize = 40;
constexpr std::uint32_t uncompressed = 0;

platform::ColorValue fromBlueGreenRed(const unsigned char* bytes) {
    return static_cast<platform::ColorValue>(bytes[2]) |
           static_cast<platform::ColorValue>(bytes[1]) << 8 |
           static_cast<platform::ColorValue>(bytes[0]) << 16;
}

// The colour a pixel of source becomes on destination's kind of surface.
std::uint32_t convertPixel(std::uint32_t pixel, const platform::DeviceContext* source,
                           const platform::DeviceContext* destination) {
    const bool sourceMono = source->bitmap->monochrome;
    const bool destinationMono = destination->bitmap->monochrome;
    if (sourceMono == destinationMono) {
        return pixel;
    }
    if (destinationMono) {
        return pixel == source->backgroundColor ? 1 : 0;
    }
    return pixel != 0 ? destination->backgroundColor : destination->textColor;
}

} // namespace

bool decodeBmp(const unsigned char* data, std::size_t size, Image& image) {
    if (data == nullptr || size < fileHeaderSize + minimumInfoHeaderSize || data[0] != 'B' ||
        data[1] != 'M') {
        return false;
    }
    const std::uint32_t pixelOffset = readLittleEndian(data + 10, 4);
    const unsigned char* info = data + fileHeaderSize;
    const std::uint32_t infoSize = readLittleEndian(info, 4);
    const auto width = static_cast<std::int32_t>(readLittleEndian(info + 4, 4));
    const auto rawHeight = static_cast<std::int32_t>(readLittleEndian(info + 8, 4));
    const std::uint32_t bitsPerPixel = readLittleEndian(info + 14, 2);
    const std::uint32_t compression = readLittleEndian(info + 16, 4);
    std::uint32_t paletteCount = readLittleEndian(info + 32, 4);
    if (infoSize < minimumInfoHeaderSize || width <= 0 || rawHeight == 0 ||
        rawHeight == INT32_MIN || width > 32768 || compression != uncompressed ||
        (bitsPerPixel != 8 && bitsPerPixel != 24)) {
        return false;
    }
    const bool bottomUp = rawHeight > 0;
    const std::int32_t height = bottomUp ? rawHeight : -rawHeight;
    if (height > 32768) {
        return false;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitsPerPixel / 8 + 3) / 4 * 4;
    if (pixelOffset > size || (size - pixelOffset) / rowBytes < static_cast<std::size_t>(height)) {
        return false;
    }
    const unsigned char* palette = info + infoSize;
    if (bitsPerPixel == 8) {
        if (paletteCount == 0 || paletteCount > 256) {
            paletteCount = 256;
        }
        if (fileHeaderSize + infoSize + paletteCount * 4 > pixelOffset) {
            return false;
        }
    }
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = bottomUp ? height - 1 - row : row;
        const unsigned char* line = data + pixelOffset + static_cast<std::size_t>(row) * rowBytes;
        for (std::int32_t x = 0; x < width; ++x) {
            platform::ColorValue color = 0;
            if (bitsPerPixel == 24) {
                color = fromBlueGreenRed(line + 3 * x);
            } else if (line[x] < paletteCount) {
                color = fromBlueGreenRed(palette + 4 * line[x]);
            }
            image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)] = color;
        }
    }
    return true;
}

void installBitmapFile(std::int32_t resourceId, const std::vector<unsigned char>& file) {
    Image image;
    if (decodeBmp(file.data(), file.size(), image)) {
        installedBitmaps[resourceId] = image;
    }
}

void installBitmapPixels(std::int32_t resourceId, std::int32_t width, std::int32_t height,
                         const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    installedBitmaps[resourceId] = Image{width, height, pixels};
}

void forgetInstalledBitmaps() {
    installedBitmaps.clear();
}

platform::DeviceContext* createCanvas(std::int32_t width, std::int32_t height,
                                      platform::ColorValue color) {
    platform::GraphicsObject* bitmap = newBitmap(width, height, false);
    if (bitmap == nullptr) {
        return nullptr;
    }
    std::fill(bitmap->pixels.begin(), bitmap->pixels.end(), color & 0xFFFFFF);
    platform::DeviceContext* canvas = platform::createMemoryContext(nullptr);
    platform::selectObject(canvas, bitmap);
    return canvas;
}

void deleteCanvas(platform::DeviceContext* canvas) {
    if (canvas == nullptr) {
        return;
    }
    platform::GraphicsObject* bitmap = platform::selectObject(canvas, stockMonochromeBitmap());
    platform::deleteMemoryContext(canvas);
    platform::deleteObject(bitmap);
}

Image contextPixels(platform::DeviceContext* context) {
    Image image;
    if (context == nullptr || context->bitmap == nullptr) {
        return image;
    }
    const platform::GraphicsObject& surface = *context->bitmap;
    image.width = surface.width;
    image.height = surface.height;
    image.pixels = surface.pixels;
    if (surface.monochrome) {
        for (std::uint32_t& pixel : image.pixels) {
            pixel = pixel != 0 ? 0xFFFFFF : 0;
        }
    }
    return image;
}

std::int32_t liveContextCount() {
    return liveContexts;
}

platform::DeviceContext* newContext() {
    ++liveContexts;
    auto* context = new platform::DeviceContext;
    context->pen = stockBlackPen();
    context->brush = stockWhiteBrush();
    context->font = stockSystemFont();
    return context;
}

void freeContext(platform::DeviceContext* context) {
    --liveContexts;
    delete context;
}

} // namespace software

namespace platform {

DeviceContext* createMemoryContext(DeviceContext* compatibleWith) {
    (void)compatibleWith; // every surface of ours is 32-bit
    DeviceContext* context = software::newContext();
    context->memory = true;
    context->bitmap = software::stockMonochromeBitmap();
    return context;
}

void deleteMemoryContext(DeviceContext* context) {
    if (context != nullptr && context->memory) {
        software::freeContext(context);
    }
}

GraphicsObject* createCompatibleBitmap(DeviceContext* context, std::int32_t width,
                                       std::int32_t height) {
    // As on the platform: a memory context still holding its initial monochrome bitmap makes
    // monochrome bitmaps.
    const bool monochrome =
        context != nullptr && context->bitmap != nullptr && context->bitmap->monochrome;
    return software::newBitmap(width, height, monochrome);
}

GraphicsObject* createMonochromeBitmap(std::int32_t width, std::int32_t height) {
    return software::newBitmap(width, height, true);
}

void copyBits(DeviceContext* destination, Point destinationOrigin, std::int32_t width,
              std::int32_t height, DeviceContext* source, Point sourceOrigin,
              RasterOperation operation) {
    if (destination == nullptr || source == nullptr || destination->bitmap == nullptr ||
        source->bitmap == nullptr || width <= 0 || height <= 0) {
        return;
    }
    GraphicsObject& target = *destination->bitmap;
    const GraphicsObject& origin = *source->bitmap;
    // Clip against both surfaces once; pixels from outside the source are not copied.
    std::int32_t dx = destinationOrigin.h;
    std::int32_t dy = destinationOrigin.v;
    std::int32_t sx = sourceOrigin.h;
    std::int32_t sy = sourceOrigin.v;
    std::int64_t w = width;
    std::int64_t h = height;
    const std::int32_t shiftX = std::max({0, -dx, -sx});
    const std::int32_t shiftY = std::max({0, -dy, -sy});
    dx += shiftX;
    sx += shiftX;
    w -= shiftX;
    dy += shiftY;
    sy += shiftY;
    h -= shiftY;
    w = std::min<std::int64_t>({w, static_cast<std::int64_t>(target.width) - dx,
                                static_cast<std::int64_t>(origin.width) - sx});
    h = std::min<std::int64_t>({h, static_cast<std::int64_t>(target.height) - dy,
                                static_cast<std::int64_t>(origin.height) - sy});
    if (w <= 0 || h <= 0) {
        return;
    }
    // Source and destination may be the same surface: read the source rows first.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
    for (std::int64_t y = 0; y < h; ++y) {
        const std::size_t sourceRow = static_cast<std::size_t>(sy + y) * origin.width;
        for (std::int64_t x = 0; x < w; ++x) {
            row[static_cast<std::size_t>(x)] = software::convertPixel(
                origin.pixels[sourceRow + static_cast<std::size_t>(sx + x)], source, destination);
        }
        const std::size_t targetRow = static_cast<std::size_t>(dy + y) * target.width;
        for (std::int64_t x = 0; x < w; ++x) {
            std::uint32_t& pixel = target.pixels[targetRow + static_cast<std::size_t>(dx + x)];
            const std::uint32_t value = row[static_cast<std::size_t>(x)];
            switch (operation) {
            case RasterOperation::SourceCopy:
                pixel = value;
                break;
            case RasterOperation::SourceAnd:
                pixel &= value;
                break;
            case RasterOperation::SourcePaint:
                pixel |= value;
                break;
            }
        }
    }
}

void copyMappingMode(DeviceContext* destination, DeviceContext* source) {
    (void)destination; // one mapping mode only: pixels
    (void)source;
}

Point deviceToLogical(DeviceContext* context, Point point) {
    (void)context;
    return point;
}

GraphicsObject* loadBitmap(std::int32_t resourceId) {
    software::Image image;
    const auto installed = software::installedBitmaps.find(resourceId);
    if (installed != software::installedBitmaps.end()) {
        image = installed->second;
    } else {
        const BitmapResource resource = findBitmapResource(resourceId);
        if (!software::decodeBmp(resource.data, resource.size, image)) {
            return nullptr;
        }
    }
    GraphicsObject* bitmap = software::newBitmap(image.width, image.height, false);
    if (bitmap != nullptr) {
        bitmap->pixels = image.pixels;
    }
    return bitmap;
}

bool bitmapSize(GraphicsObject* bitmap, std::int32_t& width, std::int32_t& height) {
    if (bitmap == nullptr || bitmap->kind != ObjectKind::Bitmap) {
        width = 0;
        height = 0;
        return false;
    }
    width = bitmap->width;
    height = bitmap->height;
    return true;
}

} // namespace platform
