// The catalogue the built-in assets must follow, and the files in assets/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace asset_test {

struct CataloguePicture {
    int32_t sprite, width, height;
    bool keyed;                // drawn with the colour key
    bool showsGround = false;  // glyphs, whose holes show what they are drawn on
};

// Every picture with its size; the frame, the panel, its marker, the
// digits and the credits page's controls are drawn opaque, everything else
// with the colour key.
inline const std::vector<CataloguePicture>& CataloguePictures()
{
    static const std::vector<CataloguePicture> specs = [] {
        std::vector<CataloguePicture> all = {
            {0, 2016, 32, false},       {1, 480, 32, false},       {2, 480, 32, false},   {3, 32, 416, false},
            {4, 32, 416, false},        {13, 6, 6, true},          {37, 6, 6, true},      {38, 6, 6, true},
            {49, 201, 40, true},        {50, 201, 40, true},       {51, 160, 480, false}, {52, 4, 25, false},
            {53, 346, 357, true},       {54, 340, 194, true},      {75, 340, 194, true},  {76, 420, 44, true},
            {77, 1820, 80, true, true}, {78, 650, 16, true, true}, {79, 326, 107, false},
        };
        for (int32_t s = 5; s <= 8; ++s)
            all.push_back({s, 60, 60, true});
        for (int32_t s = 9; s <= 12; ++s)
            all.push_back({s, 32, 32, true});
        for (int32_t type : {14, 17, 20, 23, 26}) {
            all.push_back({type, 32, 32, true});
            all.push_back({type + 1, 64, 64, true});
            all.push_back({type + 2, 64, 64, true});
        }
        for (int32_t s = 29; s <= 31; ++s)
            all.push_back({s, 64, 64, true});
        for (int32_t s = 32; s <= 36; ++s)
            all.push_back({s, 32, 32, true});
        for (int32_t s = 40; s <= 47; ++s)
            all.push_back({s, 64, 64, true});
        for (int32_t s = 55; s <= 57; ++s)
            all.push_back({s, 90, 98, true});
        for (int32_t s = 60; s <= 69; ++s)
            all.push_back({s, 16, 16, false});
        for (int32_t s = 70; s <= 72; ++s)
            all.push_back({s, 247, 61, true});
        return all;
    }();
    return specs;
}

struct CatalogueSound {
    int32_t sound, rate, channels, bits, dataBytes;
};

inline const std::vector<CatalogueSound>& CatalogueSounds()
{
    static const std::vector<CatalogueSound> specs = {
        {0, 11025, 1, 8, 6334},   {1, 11025, 1, 8, 5217},    {2, 11025, 1, 16, 11736},  {3, 22050, 1, 8, 9798},
        {4, 11025, 2, 16, 53720}, {5, 11025, 2, 16, 98836},  {6, 11025, 1, 16, 115820}, {7, 11025, 2, 16, 70432},
        {8, 8000, 1, 16, 180606}, {9, 22050, 2, 16, 195588},
    };
    return specs;
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The one file in assets/<folder> whose name starts with `prefix`.
inline std::filesystem::path FileStartingWith(const std::string& folder, const std::string& prefix)
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TERVANE_ASSETS_DIR) / folder))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            found.push_back(entry.path());
    if (found.size() != 1)
        throw std::runtime_error(std::to_string(found.size()) + " files start with " + folder + "/" + prefix);
    return found.front();
}

inline std::filesystem::path PictureFile(int32_t sprite)
{
    const std::string number = (sprite < 10 ? "0" : "") + std::to_string(sprite);
    return FileStartingWith("pictures", number + "_");
}

inline std::filesystem::path SoundFile(int32_t sound)
{
    return FileStartingWith("sounds", std::to_string(sound) + "_");
}

inline std::filesystem::path GlyphMeasuresFile(int32_t sheet)
{
    return std::filesystem::path(TERVANE_ASSETS_DIR) / "lettering" / (std::to_string(sheet) + "_glyphs.bin");
}

inline std::filesystem::path LevelFile(const std::string& name)
{
    return std::filesystem::path(TERVANE_ASSETS_DIR) / "level" / name;
}

inline int32_t Int32At(const uint8_t* p)
{
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

inline uint32_t Uint16At(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

}  // namespace asset_test
