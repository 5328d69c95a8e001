// PNG files of images (8-bit RGB) through libpng's simplified interface.
#include "gui/software/SoftwarePlatform.h"

#include <png.h>

#include <cstring>

namespace software {

bool writePng(const Image& image, const std::string& path, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        error = "empty or inconsistent image";
        return false;
    }
    std::vector<unsigned char> bytes(image.pixels.size() * 3);
    for (std::size_t index = 0; index < image.pixels.size(); ++index) {
        const std::uint32_t pixel = image.pixels[index];
        bytes[3 * index] = static_cast<unsigned char>(pixel & 0xFF);
        bytes[3 * index + 1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);
        bytes[3 * index + 2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);
    }
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
        error = "cannot write " + path + ": " + png.message;
        return false;
    }
    return true;
}

bool readPng(const std::string& path, Image& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        error = "cannot read " + path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) {
        error = "cannot decode " + path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    image.width = static_cast<std::int32_t>(png.width);
    image.height = static_cast<std::int32_t>(png.height);
    image.pixels.resize(static_cast<std::size_t>(png.width) * png.height);
    for (std::size_t index = 0; index < image.pixels.size(); ++index) {
        image.pixels[index] = static_cast<std::uint32_t>(bytes[3 * index]) |
                              static_cast<std::uint32_t>(bytes[3 * index + 1]) << 8 |
                              static_cast<std::uint32_t>(bytes[3 * index + 2]) << 16;
    }
    return true;
}

} // namespace software
