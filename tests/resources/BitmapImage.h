// Reads the bitmaps of the module's resources for tests: an 8-bit palette image as stored in a
// .bmp file (after its 14-byte file header) and in a Windows bitmap resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;   // palette indices, top row first, no padding

    std::uint32_t color(int x, int y) const { return palette[pixels[y * width + x]]; }
    // Whether the two frames of the given height, counted from the top, differ in any pixel.
    bool framesDiffer(int frameHeight, int first, int second) const;
};

// Parses an uncompressed 8 bits per pixel image that starts with its 40-byte information
// header. Any other format, or data too short for what the header says, gives an explanation.
std::optional<BitmapImage> readBitmapInfo(const unsigned char* data, std::size_t size,
                                          std::string& error);

// Parses a whole .bmp file, file header included.
std::optional<BitmapImage> readBitmapFile(const unsigned char* data, std::size_t size,
                                          std::string& error);

// What the editor expects of each bitmap: its size and how many frames are stacked in it.
struct ExpectedBitmap {
    int id;
    int width;
    int height;
    int frames;
};
extern const ExpectedBitmap expectedBitmaps[20];
