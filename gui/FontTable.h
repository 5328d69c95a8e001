// The toolkit's seven fonts (FontId): face, default height and the logical fonts made of them.
#pragma once

#include "gui/platform/Drawing.h"

#include <cstdint>

// Ids outside 0..6 mean FontSystemBold.
std::int32_t validFontId(std::int32_t fontId);
std::int32_t defaultFontHeight(std::int32_t fontId);
// What setFont selects: bold for FontSystemBold, the decorative family for FontSymbol.
platform::FontDescription fontDescription(std::int32_t fontId, std::int32_t pixelHeight);
// The same face at normal weight in the Swiss family whatever the id, as a text entry's edit
// field uses it.
platform::FontDescription plainFontDescription(std::int32_t fontId, std::int32_t pixelHeight);
