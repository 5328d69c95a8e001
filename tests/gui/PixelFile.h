// Test support: the pictures the Windows test programs write for comparison with the software
// backend. Format: width and height as 32-bit little-endian integers, then one 32-bit ColorValue
// (red | green << 8 | blue << 16) per pixel, row by row. Plain C files, for both platforms.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct PixelFile {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

inline bool writePixelFile(const std::string& path, const PixelFile& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    auto write = [file](std::uint32_t value) {
        const unsigned char bytes[4] = {
            static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        return std::fwrite(bytes, 1, 4, file) == 4;
    };
    bool written = write(static_cast<std::uint32_t>(picture.width)) &&
                   write(static_cast<std::uint32_t>(picture.height));
    for (std::size_t index = 0; written && index < picture.pixels.size(); ++index) {
        written = write(picture.pixels[index]);
    }
    return std::fclose(file) == 0 && written;
}

// False for a missing, short or implausible file (sides of 1 to 4096 pixels).
inline bool readPixelFile(const std::string& path, PixelFile& picture) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    auto read = [file](std::uint32_t& value) {
        unsigned char bytes[4];
        if (std::fread(bytes, 1, 4, file) != 4) {
            return false;
        }
        value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                static_cast<std::uint32_t>(bytes[2]) << 16 |
                static_cast<std::uint32_t>(bytes[3]) << 24;
        return true;
    };
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool ok =
        read(width) && read(height) && width > 0 && height > 0 && width <= 4096 && height <= 4096;
    if (ok) {
        picture.width = static_cast<std::int32_t>(width);
        picture.height = static_cast<std::int32_t>(height);
        picture.pixels.resize(static_cast<std::size_t>(width) * height);
        for (std::uint32_t& pixel : picture.pixels) {
            ok = ok && read(pixel);
        }
    }
    std::fclose(file);
    return ok;
}
