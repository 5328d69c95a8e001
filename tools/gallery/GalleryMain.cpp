// veltrane-gallery: writes one PNG picture of every control kind of the widget toolkit, drawn
// by the software backend. Exit status 0 on success, 1 on failure, 2 for a wrong command line.
#include "tools/gallery/Gallery.h"

#include <cstdio>
#include <string>

#ifndef VELTRANE_GALLERY_BITMAPS
#define VELTRANE_GALLERY_BITMAPS "resources/gallery"
#endif

int main(int argc, char** argv) {
    std::string bitmaps = VELTRANE_GALLERY_BITMAPS;
    std::string output;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--bitmaps" && index + 1 < argc) {
            bitmaps = argv[++index];
        } else if (!argument.empty() && argument[0] != '-' && output.empty()) {
            output = argument;
        } else {
            output.clear();
            break;
        }
    }
    if (output.empty()) {
        std::fprintf(stderr, "usage: veltrane-gallery [--bitmaps FOLDER] OUT.png\n");
        return 2;
    }
    software::Image picture;
    std::string error;
    if (!gallery::render(bitmaps, picture, error) || !software::writePng(picture, output, error)) {
        std::fprintf(stderr, "veltrane-gallery: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
