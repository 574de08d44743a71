// terrain: the seeded height field of the yard and the binary triangle tree over it.
#pragma once
#include <cstdint>

#include "common/vec.h"

constexpr int kGridSide = 513;
constexpr int kGridSamples = kGridSide * kGridSide;

class TriNode {
public:
    int32_t apexI, apexJ;
    int32_t corner1I, corner1J;
    int32_t corner2I, corner2J;
    int32_t depth;
    TriNode* leftNeighbour;
    TriNode* rightNeighbour;
    TriNode* baseNeighbour;
    TriNode* leftChild;
    TriNode* rightChild;

    void makeChildren();
    void split();
    void forceSplit();
    void setBaseNeighbour(TriNode* node);
    // draws the triangles of the given level below and including this node; returns their number
    int32_t draw(int32_t level, const Vec3* grid) const;

    // the scene's material presets; they read no node state
    void applyMaterialMint() const;
    void applyMaterialLeafGreen() const;
    void applyMaterialBrown() const;
    void applyMaterialGrey() const;
    void applyMaterialChrome() const;
    void applyMaterialCream() const;
    void applyMaterialBlack() const;
    void applyMaterialWater() const;
    void applyMaterialWhite() const;
};

class Terrain {
public:
    void build();
    float heightAt(int32_t i, int32_t j) const;
    void draw() const;
    TriNode* firstRoot() const;

    const Vec3* samples() const { return grid; }

    TriNode* root1 = nullptr;  // apex (0, 0)
    TriNode* root2 = nullptr;  // apex (512, 512)
    Vec3 grid[kGridSamples];
};
