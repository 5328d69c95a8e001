// Windows test program: draws every named drawing sequence through the Win32 backend on a
// 32-bit canvas and writes its pixels to <folder>/<name>.pixels, for comparison with the
// software backend (Win32AgreementTest). Format: width and height as 32-bit little-endian
// integers, then one 32-bit ColorValue per pixel, row by row.
// Usage: veltrane_gui_render_win32 <folder>
#include "DrawingSequences.h"

#include "gui/DrawContext.h"
#include "gui/ModuleInstance.h"
#include "gui/win32/Win32Platform.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool writeLittleEndian(std::FILE* file, std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return std::fwrite(bytes, 1, 4, file) == 4;
}

bool writePixels(const std::string& path, std::int32_t width, std::int32_t height,
                 const std::vector<std::uint32_t>& pixels) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = writeLittleEndian(file, static_cast<std::uint32_t>(width)) &&
                   writeLittleEndian(file, static_cast<std::uint32_t>(height));
    for (std::size_t index = 0; written && index < pixels.size(); ++index) {
        written = writeLittleEndian(file, pixels[index]);
    }
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: veltrane_gui_render_win32 <folder>\n");
        return 2;
    }
    const std::string folder = arguments[1];
    // The sequences' bitmaps are this program's own resources.
    setModuleInstance(GetModuleHandleA(nullptr));
    for (std::int32_t index = 0; index < drawingSequenceCount(); ++index) {
        const DrawingSequence& sequence = drawingSequences()[index];
        platform::DeviceContext* canvas = win32::createCanvas(sequence.width, sequence.height, 0);
        if (canvas == nullptr) {
            std::fprintf(stderr, "veltrane_gui_render_win32: no canvas for %s\n", sequence.name);
            return 1;
        }
        {
            DrawContext context(nullptr, canvas, nullptr);
            sequence.draw(&context);
        }
        const std::vector<std::uint32_t> pixels = win32::canvasPixels(canvas);
        win32::deleteCanvas(canvas);
        const std::string path = folder + "/" + sequence.name + ".pixels";
        if (!writePixels(path, sequence.width, sequence.height, pixels)) {
            std::fprintf(stderr, "veltrane_gui_render_win32: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", sequence.name);
    }
    return 0;
}
