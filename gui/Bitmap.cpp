#include "gui/Bitmap.h"

#include "gui/Color.h"
#include "gui/DrawContext.h"
#include "gui/platform/Drawing.h"

namespace {

// A memory context with one bitmap selected for its lifetime.
class SelectedBitmap {
public:
    SelectedBitmap(platform::DeviceContext* compatibleWith, platform::GraphicsObject* bitmap)
        : context(platform::createMemoryContext(compatibleWith)) {
        if (context != nullptr) {
            previous = platform::selectObject(context, bitmap);
        }
    }
    ~SelectedBitmap() {
        if (context != nullptr) {
            platform::selectObject(context, previous);
            platform::deleteMemoryContext(context);
        }
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;

    platform::DeviceContext* get() const { return context; }

private:
    platform::DeviceContext* context;
    platform::GraphicsObject* previous = nullptr;
};

// A bitmap deleted at the end of the scope.
class TemporaryBitmap {
public:
    explicit TemporaryBitmap(platform::GraphicsObject* bitmap) : bitmap(bitmap) {}
    ~TemporaryBitmap() {
        if (bitmap != nullptr) {
            platform::deleteObject(bitmap);
        }
    }
    TemporaryBitmap(const TemporaryBitmap&) = delete;
    TemporaryBitmap& operator=(const TemporaryBitmap&) = delete;

    platform::GraphicsObject* get() const { return bitmap; }

private:
    platform::GraphicsObject* bitmap;
};

constexpr std::uint32_t whiteValue = 0xFFFFFF;
constexpr std::uint32_t blackValue = 0;

} // namespace

Bitmap::Bitmap(std::int32_t resourceId) : resourceId(resourceId) {
    handle = platform::loadBitmap(resourceId & 0xFFFF);
    if (handle != nullptr && !platform::bitmapSize(handle, width, height)) {
        width = 0;
        height = 0;
    }
}

Bitmap::~Bitmap() {
    if (handle != nullptr) {
        platform::deleteObject(handle);
    }
    if (mask != nullptr) {
        platform::deleteObject(mask);
    }
}

void Bitmap::remember() {
    ++referenceCount;
}

void Bitmap::forget() {
    if (--referenceCount <= 0) {
        delete this;
    }
}

void Bitmap::draw(DrawContext* context, const Rect& rect, const Point& offset) {
    if (handle == nullptr || context == nullptr || context->getDeviceContext() == nullptr) {
        return;
    }
    const SelectedBitmap image(context->getDeviceContext(), handle);
    if (image.get() == nullptr) {
        return;
    }
    platform::copyBits(context->getDeviceContext(), Point(rect.left, rect.top), rect.width(),
                       rect.height(), image.get(), offset, platform::RasterOperation::SourceCopy);
}

bool Bitmap::makeMask(DrawContext* context) {
    platform::DeviceContext* target = context->getDeviceContext();
    const SelectedBitmap image(target, handle);
    if (image.get() == nullptr) {
        return false;
    }
    platform::copyMappingMode(image.get(), target);
    const Point size = platform::deviceToLogical(image.get(), Point(width, height));
    platform::GraphicsObject* made = platform::createMonochromeBitmap(size.h, size.v);
    if (made == nullptr) {
        return false;
    }
    {
        const SelectedBitmap maskContext(target, made);
        if (maskContext.get() == nullptr) {
            platform::deleteObject(made);
            return false;
        }
        // Pixels of the source's background colour become 1 in the mask.
        platform::setBackgroundColor(image.get(), ColorTransparent.colorValue());
        platform::copyBits(maskContext.get(), Point(), size.h, size.v, image.get(), Point(),
                           platform::RasterOperation::SourceCopy);
    }
    mask = made;
    return true;
}

void Bitmap::drawTransparent(DrawContext* context, const Rect& rect, const Point& offset) {
    if (handle == nullptr || context == nullptr || context->getDeviceContext() == nullptr) {
        return;
    }
    platform::DeviceContext* target = context->getDeviceContext();
    if (mask == nullptr && !makeMask(context)) {
        return;
    }
    const SelectedBitmap image(target, handle);
    const SelectedBitmap maskContext(target, mask);
    if (image.get() == nullptr || maskContext.get() == nullptr) {
        return;
    }
    const Point size = platform::deviceToLogical(image.get(), Point(width, height));

    // The work bitmap holds the background under the whole image, placed so that the image's
    // pixel at offset lands on rect's top-left.
    const TemporaryBitmap work(platform::createCompatibleBitmap(target, size.h, size.v));
    const TemporaryBitmap blackened(platform::createCompatibleBitmap(target, size.h, size.v));
    if (work.get() == nullptr || blackened.get() == nullptr) {
        return;
    }
    const SelectedBitmap workContext(target, work.get());
    const SelectedBitmap blackenedContext(target, blackened.get());
    if (workContext.get() == nullptr || blackenedContext.get() == nullptr) {
        return;
    }
    const Point origin(rect.left - offset.h, rect.top - offset.v);
    platform::copyBits(workContext.get(), Point(), size.h, size.v, target, origin,
                       platform::RasterOperation::SourceCopy);

    // Mask 1 (transparent) keeps the background, 0 clears it to black.
    platform::setTextColor(workContext.get(), blackValue);
    platform::setBackgroundColor(workContext.get(), whiteValue);
    platform::copyBits(workContext.get(), Point(), size.h, size.v, maskContext.get(), Point(),
                       platform::RasterOperation::SourceAnd);

    // A copy of the image with its transparent pixels black; the image itself stays untouched.
    platform::copyBits(blackenedContext.get(), Point(), size.h, size.v, image.get(), Point(),
                       platform::RasterOperation::SourceCopy);
    platform::setTextColor(blackenedContext.get(), whiteValue);
    platform::setBackgroundColor(blackenedContext.get(), blackValue);
    platform::copyBits(blackenedContext.get(), Point(), size.h, size.v, maskContext.get(), Point(),
                       platform::RasterOperation::SourceAnd);

    platform::copyBits(workContext.get(), Point(), size.h, size.v, blackenedContext.get(), Point(),
                       platform::RasterOperation::SourcePaint);
    platform::copyBits(target, Point(rect.left, rect.top), rect.width(), rect.height(),
                       workContext.get(), offset, platform::RasterOperation::SourceCopy);
}
