// assetgen: writes every picture, sound and level table of the game into
// the assets folder given as its argument, the same bytes on every run, the
// assembler file that embeds them, and the application icons.
//
//   assetgen ASSETS_DIR [--preview DIR]
//
// With --preview it also writes pictures to look at into DIR: contact sheets
// of every picture, the whole map (map.png) and a frame of play as the game
// would draw it (scene.png).
#include "art.h"
#include "catalogue.h"
#include "embedding.h"
#include "icons.h"
#include "level.h"
#include "preview.h"
#include "sounds.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR [--preview DIR]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::optional<std::string> preview = argc == 4 ? std::optional<std::string>(argv[3]) : std::nullopt;
    try {
        for (const char* folder : {"level", "pictures", "sounds", "lettering"})
            std::filesystem::create_directories(dir + "/" + folder);
        if (preview)
            std::filesystem::create_directories(*preview);
        const LevelMap map = designLevelMap();
        writeFile(dir + "/level/map.bin", encodeLevelMap(map));
        writeFile(dir + "/level/bosses.bin", encodeBossTable());

        std::map<int, Picture> pictures;
        for (const PictureEntry& entry : Pictures) {
            Picture picture = drawPicture(entry.sprite);
            if (picture.width() != entry.width || picture.height() != entry.height)
                throw std::logic_error("picture " + std::to_string(entry.sprite) + " has the wrong size");
            writeFile(dir + "/" + pictureFileName(entry), encodeBmp(picture));
            pictures.emplace(entry.sprite, std::move(picture));
        }
        if (preview) {
            writeContactSheets(pictures, *preview);
            writeMapOverview(pictures, map, *preview + "/map.png");
        }

        const auto waves = designWaves(map);
        writeFile(dir + "/level/waves.bin", encodeWaveStream(waves));
        if (preview)
            writeScene(pictures, map, *preview + "/scene.png");

        for (const SoundEntry& entry : Sounds)
            writeFile(dir + "/" + soundFileName(entry), encodeWave(synthesizeSound(entry), entry));
        for (const int sprite : GlyphSheets)
            writeFile(dir + "/" + glyphMeasuresFileName(sprite), encodeGlyphMeasures(sprite));

        writeIcons(dir);

        const std::string source = dataImageSource();
        writeFile(dir + "/data_image.S", std::vector<uint8_t>(source.begin(), source.end()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
