#include "embedding.h"

#include "catalogue.h"

namespace {

const char* Header = R"(/* The data image: every file of this folder back to back in the order the
   game stores them, with a table of where each one lies (data_image.h).
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

/* Embeds one file and adds its offset and size to the table. */
.macro block file
.Lstart\@:
        .incbin "\file"
.Lend\@:
        .pushsection .rodata.BuiltInBlocks, "a"
        .long   .Lstart\@ - BuiltInData, .Lend\@ - .Lstart\@
        .popsection
.endm

/* The level: map, bosses, waves. */
        block "level/map.bin"
        block "level/bosses.bin"
        block "level/waves.bin"

/* The pictures, in the order start-up loads them. */
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
        .long   (.LblocksEnd - BuiltInBlocks) / 8
        .size   BuiltInBlockCount, 4

        .section .note.GNU-stack, "", @progbits
)";

}  // namespace

std::string dataImageSource()
{
    std::string text = Header;
    for (const PictureEntry& entry : Pictures)
        text += "        block \"" + pictureFileName(entry) + "\"\n";
    text += "\n/* The sounds, 0 to 9. */\n";
    for (const SoundEntry& entry : Sounds)
        text += "        block \"" + soundFileName(entry) + "\"\n";
    return text + Footer;
}
