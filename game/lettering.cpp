#include "game/lettering.h"

#include "assets/data_image.h"
#include "game/assets.h"
#include "runtime/screen/sprites.h"

#include <algorithm>
#include <iterator>
#include <span>

namespace {

constexpr int32_t SubPixels = 64;  // the advances are in 64ths of a pixel

struct GlyphSheet {
    GlyphSheetHeader header{};
    std::span<const uint8_t> advances;  // glyphCount little-endian integers
};

GlyphSheet SheetOf(int32_t sprite)
{
    GlyphSheet sheet;
    GlyphSheetHeader& header = sheet.header;
    const BuiltInFile measures = GlyphMeasures(sprite);
    int32_t* const fields[] = {&header.firstCharacter, &header.glyphCount, &header.cellWidth, &header.rowHeight,
                               &header.rows,           &header.originX,    &header.baselineY};
    const size_t headerBytes = 4 * std::size(fields);
    if (measures.address == nullptr || size_t(measures.size) < headerBytes)
        return sheet;
    for (size_t field = 0; field < std::size(fields); ++field)
        *fields[field] = IntegerAt(measures.address + 4 * field);
    const size_t count = size_t(std::max(header.glyphCount, 0));
    if (size_t(measures.size) < headerBytes + 4 * count)
        header.glyphCount = 0;
    else
        sheet.advances = {measures.address + headerBytes, 4 * count};
    return sheet;
}

// The cell of a character: its own, or the question mark's.
int32_t CellOf(const GlyphSheet& sheet, char character)
{
    const int32_t cell = static_cast<unsigned char>(character) - sheet.header.firstCharacter;
    return cell >= 0 && cell < sheet.header.glyphCount ? cell : '?' - sheet.header.firstCharacter;
}

int32_t Advance(const GlyphSheet& sheet, int32_t cell)
{
    return IntegerAt(sheet.advances.data() + 4 * size_t(cell));
}

int32_t Pixels(int32_t subPixels)
{
    return (subPixels + SubPixels / 2) / SubPixels;
}

}  // namespace

int32_t LetteringWidth(int32_t sheet, const std::string& text)
{
    const GlyphSheet glyphs = SheetOf(sheet);
    if (glyphs.header.glyphCount == 0)
        return 0;
    int32_t width = 0;
    for (const char character : text)
        width += Advance(glyphs, CellOf(glyphs, character));
    return Pixels(width);
}

void DrawLettering(int32_t sheet, const std::string& text, int32_t x, int32_t baseline)
{
    const GlyphSheet glyphs = SheetOf(sheet);
    const GlyphSheetHeader& header = glyphs.header;
    if (header.glyphCount == 0)
        return;
    for (int32_t row = 0; row < header.rows; ++row) {
        int32_t pen = x * SubPixels;
        for (const char character : text) {
            const int32_t cell = CellOf(glyphs, character);
            QV_ClipSprite(sheet, cell * header.cellWidth, row * header.rowHeight, header.cellWidth, header.rowHeight);
            QV_DisplayTransparentSprite(sheet, Pixels(pen) - header.originX, baseline - header.baselineY);
            pen += Advance(glyphs, cell);
        }
    }
}
