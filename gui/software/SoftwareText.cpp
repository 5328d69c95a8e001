// Text of the software backend through FreeType, monochrome glyphs, in the metric-compatible
// fonts the program carries (resources/FontResources.h), so no font file is ever read.
#include "gui/software/SoftwareObjects.h"
#include "resources/FontResources.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::int32_t boldWeight = 600; // from here on the bold face is used
constexpr std::int32_t stockHeight = 16;
constexpr std::size_t faceCount = 3; // the EmbeddedFont values

// One FreeType library and the embedded faces opened so far, for the life of the process (or
// of the module, when it is unloaded).
class EmbeddedFaces {
public:
    EmbeddedFaces() = default;
    EmbeddedFaces(const EmbeddedFaces&) = delete;
    EmbeddedFaces& operator=(const EmbeddedFaces&) = delete;
    ~EmbeddedFaces() {
        for (FT_Face face : faces) {
            if (face != nullptr) {
                FT_Done_Face(face);
            }
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }

    // Null when FreeType cannot start or the font cannot be read; the text is then not drawn.
    FT_Face open(EmbeddedFont font) {
        const auto index = static_cast<std::size_t>(font);
        if (faces[index] != nullptr || failed[index]) {
            return faces[index];
        }
        if (library == nullptr && FT_Init_FreeType(&library) != 0) {
            library = nullptr;
        }
        const FontFile file = embeddedFont(font);
        FT_Face face = nullptr;
        if (library == nullptr || file.data == nullptr ||
            FT_New_Memory_Face(library, file.data, static_cast<FT_Long>(file.size), 0, &face) !=
                0) {
            face = nullptr;
            failed[index] = true;
        }
        faces[index] = face;
        return face;
    }

private:
    FT_Library library = nullptr;
    std::array<FT_Face, faceCount> faces{};
    std::array<bool, faceCount> failed{};
};

EmbeddedFaces& embeddedFaces() {
    static EmbeddedFaces faces;
    return faces;
}

EmbeddedFont fontFor(const platform::FontDescription& font) {
    if (std::strcmp(font.faceName, "Symbol") == 0) {
        return EmbeddedFont::Symbol;
    }
    return font.weight >= boldWeight ? EmbeddedFont::Bold : EmbeddedFont::Regular;
}

struct LineMetrics {
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
};

std::int32_t roundedScale(std::int64_t units, std::int32_t pixelsPerEm, std::int32_t unitsPerEm) {
    return static_cast<std::int32_t>((units * pixelsPerEm + unitsPerEm / 2) / unitsPerEm);
}

// Ascent and descent as the platform reports them for TrueType: the OS/2 table's Windows
// ascent and descent scaled to the size.
LineMetrics lineMetrics(FT_Face face, std::int32_t pixelsPerEm) {
    LineMetrics metrics;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const std::int32_t unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    if (os2 != nullptr) {
        metrics.ascent = roundedScale(os2->usWinAscent, pixelsPerEm, unitsPerEm);
        metrics.descent = roundedScale(os2->usWinDescent, pixelsPerEm, unitsPerEm);
    } else {
        metrics.ascent = roundedScale(face->ascender, pixelsPerEm, unitsPerEm);
        metrics.descent = roundedScale(-face->descender, pixelsPerEm, unitsPerEm);
    }
    return metrics;
}

constexpr FT_Int32 glyphLoadFlags = FT_LOAD_TARGET_MONO;

std::int32_t advanceOf(FT_Face face, unsigned char character) {
    if (FT_Load_Char(face, character, glyphLoadFlags) != 0) {
        return 0;
    }
    return static_cast<std::int32_t>((face->glyph->advance.x + 32) >> 6);
}

// The face for font, sized; null when it cannot be opened.
FT_Face sizedFace(const platform::FontDescription& font, std::int32_t& pixelsPerEm) {
    FT_Face face = embeddedFaces().open(fontFor(font));
    if (face == nullptr) {
        return nullptr;
    }
    pixelsPerEm = font.height < 0 ? -font.height : font.height;
    if (pixelsPerEm == 0) {
        pixelsPerEm = stockHeight;
    }
    if (font.height > 0) {
        // A positive height is the cell height: ascent plus descent.
        const LineMetrics unit = lineMetrics(face, 1000);
        const std::int32_t cell = unit.ascent + unit.descent;
        pixelsPerEm = cell > 0 ? std::max(1, font.height * 1000 / cell) : font.height;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelsPerEm)) != 0) {
        return nullptr;
    }
    return face;
}

const platform::FontDescription& selectedFont(platform::DeviceContext* context) {
    return context->font != nullptr ? context->font->font : software::stockSystemFont()->font;
}

} // namespace

namespace software {

TextExtent measureText(const platform::FontDescription& font, const char* text,
                       std::int32_t length) {
    TextExtent extent;
    std::int32_t pixelsPerEm = 0;
    FT_Face face = sizedFace(font, pixelsPerEm);
    if (face == nullptr) {
        return extent;
    }
    const LineMetrics metrics = lineMetrics(face, pixelsPerEm);
    extent.height = metrics.ascent + metrics.descent;
    for (std::int32_t index = 0; index < length; ++index) {
        extent.width += advanceOf(face, static_cast<unsigned char>(text[index]));
    }
    return extent;
}

std::int32_t selectedFontWidth(platform::DeviceContext* context, const char* text,
                               std::int32_t length) {
    return measureText(selectedFont(context), text, length).width;
}

void renderText(platform::DeviceContext* context, const char* text, std::int32_t length,
                const Rect& rect, platform::TextAlignment alignment) {
    std::int32_t pixelsPerEm = 0;
    FT_Face face = sizedFace(selectedFont(context), pixelsPerEm);
    if (face == nullptr) {
        return;
    }
    const LineMetrics metrics = lineMetrics(face, pixelsPerEm);
    const std::int32_t textHeight = metrics.ascent + metrics.descent;
    std::int32_t textWidth = 0;
    for (std::int32_t index = 0; index < length; ++index) {
        textWidth += advanceOf(face, static_cast<unsigned char>(text[index]));
    }

    std::int32_t x = rect.left;
    if (alignment == platform::TextAlignment::Centre) {
        x = (rect.left + rect.right - textWidth) / 2;
    } else if (alignment == platform::TextAlignment::Right) {
        x = rect.right - textWidth;
    }
    const std::int32_t y = rect.top + (rect.height() - textHeight) / 2;

    auto inside = [&rect](std::int32_t px, std::int32_t py) {
        return px >= rect.left && px < rect.right && py >= rect.top && py < rect.bottom;
    };
    if (context->backgroundMode == platform::BackgroundMode::Opaque) {
        for (std::int32_t py = y; py < y + textHeight; ++py) {
            for (std::int32_t px = x; px < x + textWidth; ++px) {
                if (inside(px, py)) {
                    plot(context, px, py, context->backgroundColor);
                }
            }
        }
    }
    const std::int32_t baseline = y + metrics.ascent;
    std::int32_t penX = x;
    for (std::int32_t index = 0; index < length; ++index) {
        const auto character = static_cast<unsigned char>(text[index]);
        if (FT_Load_Char(face, character, glyphLoadFlags | FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (std::uint32_t row = 0; row < bitmap.rows; ++row) {
            const unsigned char* bits =
                bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (std::uint32_t column = 0; column < bitmap.width; ++column) {
                const bool set = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                     ? (bits[column >> 3] & (0x80 >> (column & 7))) != 0
                                     : bits[column] >= 128;
                const std::int32_t px =
                    penX + glyph->bitmap_left + static_cast<std::int32_t>(column);
                const std::int32_t py =
                    baseline - glyph->bitmap_top + static_cast<std::int32_t>(row);
                if (set && inside(px, py)) {
                    plot(context, px, py, context->textColor);
                }
            }
        }
        penX += static_cast<std::int32_t>((glyph->advance.x + 32) >> 6);
    }
}

} // namespace software
