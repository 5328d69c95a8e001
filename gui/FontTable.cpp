#include "gui/FontTable.h"

#include "gui/DrawContext.h"

#include <cstring>

namespace {

struct FontTableEntry {
    const char* face;
    std::int32_t defaultHeight;
};

constexpr FontTableEntry fontTable[] = {
    {"Arial", 12}, {"Arial", 18},      {"Arial", 14},  {"Arial", 12},
    {"Arial", 11}, {"Small Fonts", 9}, {"Symbol", 13},
};
constexpr std::int32_t fontCount = sizeof(fontTable) / sizeof(fontTable[0]);

constexpr std::int32_t weightNormal = 400;
constexpr std::int32_t weightBold = 700;
constexpr std::uint8_t variablePitchSwiss = 34;
constexpr std::uint8_t defaultPitchDecorative = 80;
constexpr std::uint8_t stringPrecision = 1;
constexpr std::uint8_t strokePrecision = 2;

} // namespace

std::int32_t validFontId(std::int32_t fontId) {
    return fontId >= 0 && fontId < fontCount ? fontId : FontSystemBold;
}

std::int32_t defaultFontHeight(std::int32_t fontId) {
    return fontTable[validFontId(fontId)].defaultHeight;
}

platform::FontDescription plainFontDescription(std::int32_t fontId, std::int32_t pixelHeight) {
    platform::FontDescription description;
    description.height = -pixelHeight;
    description.weight = weightNormal;
    description.pitchAndFamily = variablePitchSwiss;
    description.outputPrecision = stringPrecision;
    description.clipPrecision = strokePrecision;
    std::strncpy(description.faceName, fontTable[validFontId(fontId)].face,
                 sizeof(description.faceName) - 1);
    return description;
}

platform::FontDescription fontDescription(std::int32_t fontId, std::int32_t pixelHeight) {
    fontId = validFontId(fontId);
    platform::FontDescription description = plainFontDescription(fontId, pixelHeight);
    if (fontId == FontSystemBold) {
        description.weight = weightBold;
    }
    if (fontId == FontSymbol) {
        description.pitchAndFamily = defaultPitchDecorative;
    }
    return description;
}
