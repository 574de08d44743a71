// SPDX-License-Identifier: MIT
// terrain: the seeded height field of the yard and the binary triangle tree over it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/vec.h"

struct Ball;
struct Shadows;
class ViewFrustum;

constexpr int kGridSide = 513;
constexpr int kGridSamples = kGridSide * kGridSide;
constexpr int kGridLast = kGridSide - 1;

constexpr float kUnsetHeight = 50.0f;  // a sample still waiting for its height
constexpr int32_t kMaxDepth = 17;      // no node this deep is split
constexpr int32_t kDrawLevel = 12;     // legs of 8 cells
constexpr int32_t kNodesPerRoot = (1 << (kMaxDepth + 1)) - 1;
constexpr int32_t kTreeNodes = 2 * kNodesPerRoot;

// the ground's own pseudo-random sequence; nothing else draws from it, and each build starts it
// afresh so the yard comes out the same every time
struct TerrainRandom {
    uint32_t state = 1;
    int32_t draws = 0;

    int32_t nextValue();    // 0..32767
    double randomOffset();  // uniform in [-0.5, 0.5)
};

// One triangle of the tree. Every node lives in one TriNodePool, so a link is the distance in
// nodes from this node to the other (0 for none: no node links to itself), and the grid indices
// fit in 16 bits; a node takes 32 bytes. The two children are taken from the pool together, the
// right one just after the left, so one link reaches both.
class TriNode {
public:
    int16_t apexI, apexJ;
    int16_t corner1I, corner1J;
    int16_t corner2I, corner2J;
    int16_t depth;

    TriNode(int32_t ai, int32_t aj, int32_t c1i, int32_t c1j, int32_t c2i, int32_t c2j,
            int32_t nodeDepth);
    // a copy would carry links that point away from it
    TriNode(const TriNode&) = delete;
    TriNode& operator=(const TriNode&) = delete;

    TriNode* leftNeighbour() { return follow(this, leftLink); }
    TriNode* rightNeighbour() { return follow(this, rightLink); }
    TriNode* baseNeighbour() { return follow(this, baseLink); }
    TriNode* leftChild() { return follow(this, childLink); }
    TriNode* rightChild() { return childLink ? this + childLink + 1 : nullptr; }
    const TriNode* leftNeighbour() const { return follow(this, leftLink); }
    const TriNode* rightNeighbour() const { return follow(this, rightLink); }
    const TriNode* baseNeighbour() const { return follow(this, baseLink); }
    const TriNode* leftChild() const { return follow(this, childLink); }
    const TriNode* rightChild() const { return childLink ? this + childLink + 1 : nullptr; }
    void setLeftNeighbour(TriNode* node) { leftLink = linkTo(node); }
    void setRightNeighbour(TriNode* node) { rightLink = linkTo(node); }

    // takes the children from the active pool (throws std::bad_alloc without room there)
    void makeChildren();
    void split();
    void forceSplit();
    void setBaseNeighbour(TriNode* node);
    // draws the triangles of the given level below and including this node; returns their number
    int32_t draw(int32_t level, const Vec3* grid) const;

    // calls visit(node) for every node of the given level below and including this one, in
    // drawing order; returns their number
    template <class Visit>
    int32_t forEachAt(int32_t level, Visit&& visit) const
    {
        if (level == depth) {
            visit(*this);
            return 1;
        }
        if (level < depth || !childLink)
            return 0;
        return leftChild()->forEachAt(level, visit) + rightChild()->forEachAt(level, visit);
    }

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

private:
    template <class Node>
    static Node* follow(Node* node, int32_t link) { return link ? node + link : nullptr; }
    int32_t linkTo(const TriNode* node) const { return node ? int32_t(node - this) : 0; }

    int32_t leftLink = 0;
    int32_t rightLink = 0;
    int32_t baseLink = 0;
    int32_t childLink = 0;  // the left child; the right one follows it
};
static_assert(sizeof(TriNode) == 32, "two nodes to a cache line");

// the nodes of one tree, in one block; makeChildren takes nodes from the active pool
class TriNodePool {
public:
    explicit TriNodePool(size_t capacity);  // throws std::bad_alloc without the memory
    ~TriNodePool();
    TriNodePool(const TriNodePool&) = delete;
    TriNodePool& operator=(const TriNodePool&) = delete;

    // room for count nodes side by side, null once full; the caller constructs them
    void* take(size_t count);
    size_t used() const { return next; }
    size_t bytes() const { return capacity * sizeof(TriNode); }

    // makes this the pool that makeChildren draws from on this thread, until deactivate
    void activate();
    static void deactivate();

private:
    TriNode* nodes;
    size_t capacity;
    size_t next = 0;
};

// what one tree triangle sends to GL: its normal (y turned upwards), and its three vertices in
// drawing order, each with its texture coordinate
struct TerrainTriangle {
    Vec3 normal;
    Vec3 vertex[3];
    float s[3], t[3];
};
TerrainTriangle terrainTriangle(const TriNode& node, const Vec3* grid);

// The drawing-level triangles under one node of the tile depth: a run of the drawing order,
// drawn or left out as a whole depending on the view.
constexpr int32_t kTileDepth = 8;  // 512 tiles of 16 triangles, legs of 3.2 yard units
static_assert(kTileDepth <= kDrawLevel, "a tile holds whole drawing-level triangles");
struct TerrainTile {
    Vec3 low, high;  // the bounds of its triangles' vertices, in grid units
    int32_t first;   // its first triangle's place in the drawing order
    int32_t count;
};
// the tiles of both roots in drawing order; together they hold every drawing-level triangle once
std::vector<TerrainTile> terrainTiles(const TriNode& root1, const TriNode& root2, const Vec3* grid);

class Terrain {
public:
    Terrain();
    ~Terrain();
    Terrain(const Terrain&) = delete;
    Terrain& operator=(const Terrain&) = delete;
    // the grid lives in huge pages where the system offers them: faulting in 3 MB page by page
    // costs more than filling it
    static void* operator new(size_t bytes);
    static void operator delete(void* memory);

    // fills the grid, then builds the tree; touches no GL
    void build();
    // the height of sample (i, j); outside the grid, that of the nearest border sample
    float heightAt(int32_t i, int32_t j) const;
    // both roots at the drawing level in one texture bind, replayed from one display list per
    // tile, made on the first call (a GL context must be current). The tiles wholly outside the
    // current view volume are left out; the rest keep their order, so the picture is the same as
    // with every triangle drawn (TriNode::draw).
    // With onlyNear (grid units), the tiles wholly outside that ball are left out as well, and
    // with behind (grid units) those wholly behind one of its solids: the caller knows them
    // hidden.
    void draw(const Ball* onlyNear = nullptr, const Shadows* behind = nullptr) const;
    // the same, leaving out the tiles wholly outside the given view volume
    void drawInView(const ViewFrustum& view, const Ball* onlyNear = nullptr,
                    const Shadows* behind = nullptr) const;
    // drops the display lists of draw(); the next draw makes them again
    void releaseDrawBatch() const;
    // Makes the tiles' lists now (a GL context must be current), then gives back the tree: from
    // then on the drawing replays the lists and the heights come from the grid. Nothing can
    // draw triangle by triangle or make the lists again until the next build.
    void releaseTree();
    // the first root, or after releaseTree a lone node of the same shape (the material presets
    // are node operations that read no node)
    TriNode* firstRoot() const;

    // the two phases of build
    void fillGrid();
    void buildTree();

    const Vec3* samples() const { return grid; }
    size_t treeBytes() const;

    TriNode* root1 = nullptr;  // apex (0, 0)
    TriNode* root2 = nullptr;  // apex (512, 512)
    TerrainRandom random;      // the sequence of the last build
    mutable int32_t drawnTriangles = 0;  // by the last draw()
    Vec3 grid[kGridSamples];

private:
    void fillSquare(int32_t i0, int32_t j0, int32_t i1, int32_t j1);
    Vec3& at(int32_t i, int32_t j) { return grid[i * kGridSide + j]; }

    TriNodePool* pool = nullptr;
    void compileTiles() const;

    mutable std::vector<TerrainTile> tiles;
    mutable unsigned tileLists = 0;  // the first of tiles.size() consecutive lists
    mutable TerrainTriangle lastTriangle{};  // the last drawn, whose normal and texture
                                             // coordinate the drawing leaves current
    mutable bool drawListStale = true;  // the tree changed since the lists were compiled
};
