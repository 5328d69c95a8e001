// The bitmaps that non-Windows builds embed: the editor's sizes and frame counts, frames that
// can be told apart, and the very files the Windows resource script links.
#include "BitmapImage.h"
#include "resources/BitmapResources.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

BitmapImage embeddedImage(int id) {
    const BitmapResource resource = findBitmapResource(id);
    std::string error;
    const std::optional<BitmapImage> image = readBitmapFile(resource.data, resource.size, error);
    EXPECT_TRUE(image) << "bitmap " << id << ": " << error;
    return image.value_or(BitmapImage{});
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Resource id to file, as listed in the Windows resource script.
std::map<int, std::string> resourceScriptBitmaps() {
    const std::string resourceFolder = VELTRANE_SOURCE_DIR "/resources/";
    std::ifstream script(resourceFolder + "veltrane.rc");
    EXPECT_TRUE(script) << "cannot read " << resourceFolder << "veltrane.rc";
    const std::regex entry(R"(^\s*(\d+)\s+BITMAP\s+"([^"]+)\"\s*$)");
    std::map<int, std::string> files;
    std::string line;
    while (std::getline(script, line)) {
        std::smatch match;
        if (std::regex_match(line, match, entry)) {
            const int id = std::stoi(match[1]);
            EXPECT_EQ(files.count(id), 0u) << "bitmap " << id << " listed twice";
            files[id] = resourceFolder + match[2].str();
        }
    }
    return files;
}

} // namespace

TEST(EmbeddedBitmaps, EveryIdTheEditorUsesIsAnEightBitImageOfItsListedSize) {
    for (const ExpectedBitmap& expected : expectedBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        const BitmapImage image = embeddedImage(expected.id);
        EXPECT_EQ(image.width, expected.width);
        EXPECT_EQ(image.height, expected.height);
        EXPECT_EQ(expected.height % expected.frames, 0);
    }
}

TEST(EmbeddedBitmaps, IdsWithoutArtworkGiveAnEmptyRecord) {
    for (const int id : {INT_MIN, -1, 0, 1, 127, 148, 998, 1000, INT_MAX}) {
        const BitmapResource resource = findBitmapResource(id);
        EXPECT_EQ(resource.data, nullptr) << "id " << id;
        EXPECT_EQ(resource.size, 0u) << "id " << id;
    }
}

// A strip whose neighbouring frames look alike would hide a control that picks the wrong frame.
TEST(EmbeddedBitmaps, NeighbouringFramesOfEveryStripDiffer) {
    for (const ExpectedBitmap& expected : expectedBitmaps) {
        if (expected.frames < 2) {
            continue;
        }
        const BitmapImage image = embeddedImage(expected.id);
        const int frameHeight = expected.height / expected.frames;
        for (int frame = 0; frame + 1 < expected.frames; ++frame) {
            EXPECT_TRUE(image.framesDiffer(frameHeight, frame, frame + 1))
                << "bitmap " << expected.id << ", frames " << frame << " and " << frame + 1;
        }
    }
}

TEST(EmbeddedBitmaps, EveryWaveIconDiffersFromItsOtherStateAndFromTheOtherWaves) {
    std::vector<BitmapImage> icons;
    for (int id = 135; id <= 144; ++id) {
        icons.push_back(embeddedImage(id));
    }
    for (std::size_t a = 0; a < icons.size(); ++a) {
        for (std::size_t b = a + 1; b < icons.size(); ++b) {
            bool differ = false;
            for (int y = 0; y < 16 && !differ; ++y) {
                for (int x = 0; x < 16 && !differ; ++x) {
                    differ = icons[a].color(x, y) != icons[b].color(x, y);
                }
            }
            EXPECT_TRUE(differ) << "icons " << 135 + a << " and " << 135 + b << " look alike";
        }
    }
}

// Knobs, icons and lights are drawn as plain rectangles over the background: unless every
// frame's corners are the panel face around them, the square shows on the panel.
TEST(EmbeddedBitmaps, PiecesMeetTheirPanelWithoutASeam) {
    struct Placed {
        const char* what;
        int id;
        int x;
        int y;
        int size;
    };
    const Placed pieces[] = {
        {"mix knob", 129, 8, 6, 28},
        {"mode knob", 130, 108, 6, 28},
        {"line 1 to effect knob", 131, 148, 77, 28},
        {"line 1 feedback #4 knob", 132, 148, 313, 28},
        {"LFO1 sine icon off", 135, 615, 113, 16},
        {"LFO1 sine icon on", 136, 615, 113, 16},
        {"first step light", 134, 237, 424, 7},
    };
    const BitmapImage background = embeddedImage(128);
    for (const Placed& piece : pieces) {
        SCOPED_TRACE(piece.what);
        const BitmapImage image = embeddedImage(piece.id);
        const int last = piece.size - 1;
        for (int top = 0; top + last < image.height; top += piece.size) {
            for (const int dx : {0, last}) {
                for (const int dy : {0, last}) {
                    const int outsideX = piece.x + (dx == 0 ? -1 : piece.size);
                    const int outsideY = piece.y + (dy == 0 ? -1 : piece.size);
                    EXPECT_EQ(image.color(dx, top + dy), background.color(outsideX, outsideY))
                        << "frame " << top / piece.size << ", corner " << dx << ", " << dy;
                }
            }
        }
    }
}

// The Windows DLL links the files of the resource script; the embedded copies must be the same
// files, so that both platforms show the same artwork.
TEST(EmbeddedBitmaps, AreByteForByteTheFilesTheResourceScriptLinks) {
    const std::map<int, std::string> files = resourceScriptBitmaps();
    ASSERT_EQ(files.size(), std::size(expectedBitmaps));
    for (const ExpectedBitmap& expected : expectedBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        ASSERT_EQ(files.count(expected.id), 1u);
        const std::string contents = readFile(files.at(expected.id));
        const BitmapResource resource = findBitmapResource(expected.id);
        ASSERT_FALSE(contents.empty()) << "cannot read " << files.at(expected.id);
        EXPECT_EQ(contents,
                  std::string(reinterpret_cast<const char*>(resource.data), resource.size));
    }
}

struct DamagedFile {
    const char* what;
    std::size_t offset; // byte to change, counted from the start of the file
    unsigned char value;
    std::size_t keep; // bytes kept of the file; 0 keeps all
};

// The reader guards the checks above: a damaged image must be refused, never read past its end.
TEST(BitmapReader, RefusesDamagedFiles) {
    const BitmapResource resource = findBitmapResource(134);
    const std::vector<DamagedFile> cases = {
        {"wrong signature", 0, 'X', 0},
        {"wrong file size", 2, 0xff, 0},
        {"24 bits per pixel", 28, 24, 0},
        {"run-length compression", 30, 1, 0},
        {"info header of another size", 14, 12, 0},
        {"header only", 0, 'B', 20},
    };
    for (const DamagedFile& damage : cases) {
        std::vector<unsigned char> data(resource.data, resource.data + resource.size);
        data[damage.offset] = damage.value;
        if (damage.keep != 0) {
            data.resize(damage.keep);
        }
        std::string error;
        EXPECT_FALSE(readBitmapFile(data.data(), data.size(), error)) << damage.what;
        EXPECT_FALSE(error.empty()) << damage.what;
    }
    std::string error;
    EXPECT_FALSE(readBitmapFile(nullptr, 0, error));
    // As a resource, without the file header: one byte short of the last row.
    EXPECT_FALSE(readBitmapInfo(resource.data + 14, resource.size - 15, error));
    EXPECT_TRUE(readBitmapInfo(resource.data + 14, resource.size - 14, error)) << error;
}
