// The 63 map tiles. Each is described by the ground at its four corners
// (a corner is shared by the four tiles that meet there, so tiles chosen
// from a grid of corners always join) and an optional feature drawn on top.
#pragma once

#include "picture.h"

#include <array>
#include <cstdint>
#include <optional>

enum class Ground : uint8_t { Grass, Sand, Water, Jungle };

enum class Feature : uint8_t {
    None,
    Flowers,
    Tufts,
    Rocks,
    Dunes,
    Stones,
    DryShrub,
    Waves,
    Reeds,
    Tree,
    TreePair,
    TreeRowLeft,
    TreeRowMiddle,
    TreeRowRight,
    Crater,
    Hut,
    Islet,
    Field,
    Orchard,
    Palm,
    Ruins,
};

struct TileKind {
    Ground topLeft, topRight, bottomLeft, bottomRight;
    Feature feature;
};

constexpr int TileSize = 32;
constexpr int TileCount = 63;

// Indexed by tile number - 1: tile number v is drawn at x = (v - 1) * 32 of
// the strip.
extern const std::array<TileKind, TileCount> TileKinds;

// The tile number of the kind with these corners and feature, if there is one.
std::optional<int32_t> tileNumber(Ground topLeft, Ground topRight, Ground bottomLeft, Ground bottomRight,
                                  Feature feature = Feature::None);

// The 2016 x 32 strip of all tiles, drawn opaque.
Picture drawTileStrip();
