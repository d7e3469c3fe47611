#include "embedding.h"

#include "catalogue.h"

#include "assets/data_image.h"

namespace {

const char* Header = R"(/* The data image: every file of this folder back to back in the order the
   game stores them, with a table of where each one lies and what it is
   (data_image.h): its kind (0 level, 1 picture, 2 sound, 3 glyph measures)
   and its number.
   Written by tools/assetgen (make assets) with the files themselves. */

        .section .rodata.BuiltInBlocks, "a"
        .balign 4
        .globl  BuiltInBlocks
        .type   BuiltInBlocks, @object
BuiltInBlocks:

        .section .rodata
        .balign 16
        .globl  BuiltInData
        .type   BuiltInData, @object
BuiltInData:

/* Embeds one file and adds its offset, size, kind and number to the table. */
.macro block file, kind, number
.Lstart\@:
        .incbin "\file"
.Lend\@:
        .pushsection .rodata.BuiltInBlocks, "a"
        .long   .Lstart\@ - BuiltInData, .Lend\@ - .Lstart\@, \kind, \number
        .popsection
.endm
)";

const char* Footer = R"(
.LdataEnd:
        .size   BuiltInData, .LdataEnd - BuiltInData

        .section .rodata.BuiltInBlocks, "a"
.LblocksEnd:
        .size   BuiltInBlocks, .LblocksEnd - BuiltInBlocks
        .balign 4
        .globl  BuiltInBlockCount
        .type   BuiltInBlockCount, @object
BuiltInBlockCount:
        .long   (.LblocksEnd - BuiltInBlocks) / 16
        .size   BuiltInBlockCount, 4

        .section .note.GNU-stack, "", @progbits
)";

std::string blockLine(const std::string& file, BuiltInBlockKind kind, int number)
{
    return "        block \"" + file + "\", " + std::to_string(kind) + ", " + std::to_string(number) + "\n";
}

}  // namespace

std::string dataImageSource()
{
    std::string text = Header;
    text += "\n/* The level: map, bosses, waves. */\n";
    text += blockLine("level/map.bin", LevelBlock, LevelMapBlock);
    text += blockLine("level/bosses.bin", LevelBlock, BossTableBlock);
    text += blockLine("level/waves.bin", LevelBlock, WaveStreamBlock);
    text += "\n/* The pictures, each with its sprite number. */\n";
    for (const PictureEntry& entry : Pictures)
        text += blockLine(pictureFileName(entry), PictureBlock, entry.sprite);
    text += "\n/* The sounds, each with its sound number. */\n";
    for (const SoundEntry& entry : Sounds)
        text += blockLine(soundFileName(entry), SoundBlock, entry.number);
    text += "\n/* The measures of the glyph sheets, each with its sheet's sprite number. */\n";
    for (const int sprite : GlyphSheets)
        text += blockLine(glyphMeasuresFileName(sprite), GlyphBlock, sprite);
    return text + Footer;
}
