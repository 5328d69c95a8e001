#include "BitmapImage.h"

#include <cstring>

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;

std::uint32_t read32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t read16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

} // namespace

const ExpectedBitmap expectedBitmaps[20] = {
    {128, 752, 512, 1},  {129, 28, 1764, 63}, {130, 28, 1764, 63}, {131, 28, 1764, 63},
    {132, 28, 1764, 63}, {133, 48, 12, 1},    {134, 7, 14, 2},     {135, 16, 16, 1},
    {136, 16, 16, 1},    {137, 16, 16, 1},    {138, 16, 16, 1},    {139, 16, 16, 1},
    {140, 16, 16, 1},    {141, 16, 16, 1},    {142, 16, 16, 1},    {143, 16, 16, 1},
    {144, 16, 16, 1},    {145, 60, 80, 2},    {146, 60, 80, 2},    {147, 752, 512, 1},
};

bool BitmapImage::framesDiffer(int frameHeight, int first, int second) const {
    const std::size_t frameSize = std::size_t(frameHeight) * width;
    for (std::size_t i = 0; i < frameSize; ++i) {
        if (palette[pixels[first * frameSize + i]] != palette[pixels[second * frameSize + i]]) {
            return true;
        }
    }
    return false;
}

std::optional<BitmapImage> readBitmapInfo(const unsigned char* data, std::size_t size,
                                          std::string& error) {
    if (data == nullptr || size < infoHeaderSize || read32(data) != infoHeaderSize) {
        error = "no 40-byte information header";
        return std::nullopt;
    }
    const std::int32_t width = std::int32_t(read32(data + 4));
    const std::int32_t height = std::int32_t(read32(data + 8));
    const unsigned bitsPerPixel = read16(data + 14);
    const std::uint32_t compression = read32(data + 16);
    std::uint32_t colorsUsed = read32(data + 32);
    if (bitsPerPixel != 8 || compression != 0) {
        error = "not an uncompressed 8 bits per pixel image: " + std::to_string(bitsPerPixel) +
                " bits, compression " + std::to_string(compression);
        return std::nullopt;
    }
    // Bottom-up rows only: the artwork is never stored top-down.
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        error = "implausible size " + std::to_string(width) + " x " + std::to_string(height);
        return std::nullopt;
    }
    if (colorsUsed == 0) {
        colorsUsed = 256;
    }
    if (colorsUsed > 256) {
        error = "palette of " + std::to_string(colorsUsed) + " colours";
        return std::nullopt;
    }
    const std::size_t rowSize = (std::size_t(width) + 3) & ~std::size_t(3);
    const std::size_t pixelOffset = infoHeaderSize + 4 * std::size_t(colorsUsed);
    if (size < pixelOffset + rowSize * std::size_t(height)) {
        error = "pixel data cut short";
        return std::nullopt;
    }
    BitmapImage image;
    image.width = width;
    image.height = height;
    for (std::uint32_t i = 0; i < colorsUsed; ++i) {
        const unsigned char* entry = data + infoHeaderSize + 4 * i; // blue, green, red, unused
        image.palette.push_back(std::uint32_t(entry[2]) << 16 | std::uint32_t(entry[1]) << 8 |
                                entry[0]);
    }
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + pixelOffset + rowSize * std::size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            if (row[x] >= colorsUsed) {
                error = "pixel index beyond the palette";
                return std::nullopt;
            }
        }
        std::memcpy(&image.pixels[std::size_t(y) * width], row, std::size_t(width));
    }
    return image;
}

std::optional<BitmapImage> readBitmapFile(const unsigned char* data, std::size_t size,
                                          std::string& error) {
    if (data == nullptr || size < fileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        error = "no BM file header";
        return std::nullopt;
    }
    if (read32(data + 2) != size) {
        error = "file header gives " + std::to_string(read32(data + 2)) + " bytes, file has " +
                std::to_string(size);
        return std::nullopt;
    }
    const std::uint32_t pixelOffset = read32(data + 10);
    const std::uint32_t colorsUsed = size >= fileHeaderSize + 36 ? read32(data + 46) : 0;
    if (pixelOffset != fileHeaderSize + infoHeaderSize + 4 * (colorsUsed ? colorsUsed : 256)) {
        error = "pixel data does not follow the palette";
        return std::nullopt;
    }
    return readBitmapInfo(data + fileHeaderSize, size - fileHeaderSize, error);
}
