// SPDX-License-Identifier: MIT
// tests: the game's drawing done the literal way, every triangle sent every frame, nothing
// replayed from a list and nothing left out of sight. The batched drawing the game ships is
// compared against it pixel for pixel and timed against it; both give the same pixels and leave
// the same current colour, normal and texture coordinate.
#pragma once
#include <cstddef>
#include <cstdint>

class PaperStreamer;
class Terrain;
class World;

// both roots at the drawing level, one bind and begin/end per triangle; returns their number
int32_t drawTerrainEachTriangle(const Terrain& terrain);
// the solid strips polygon by polygon (the wire lines have but the one drawing)
void drawStreamersEachPolygon(const PaperStreamer* const* streamers, size_t count,
                              bool wireframe);
// drawRolls and drawEggs with every shape drawn afresh and none left out
void drawRollsAfresh(int32_t level);
void drawEggsAfresh();
// World::draw with the house group, the terrain, the sky and the moon drawn afresh
void drawWorldAfresh(World& world, bool ownerSeesPlayer, int32_t level, int32_t hideLeft,
                     int32_t hideRight, bool withSky = true);
// the game's frame (drawFrame) with all of the above
void drawLiteralFrame();
