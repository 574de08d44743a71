// SPDX-License-Identifier: MIT
// terrain: the height field by seeded midpoint displacement, and the triangle tree over it.
#include "terrain/terrain.h"

#include <sys/mman.h>

#include <cmath>
#include <cstdlib>
#include <new>

// ---------------------------------------------------------------- random sequence

int32_t TerrainRandom::nextValue()
{
    state = state * 214013u + 2531011u;
    ++draws;
    return int32_t((state >> 16) & 0x7FFF);
}

double TerrainRandom::randomOffset()
{
    double v = nextValue() * 0.001;
    return v - double(int32_t(v)) - 0.5;
}

// ---------------------------------------------------------------- memory

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t roundToHugePages(size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// the kernel backs the block with 2 MB pages when it can; otherwise it is ordinary memory
void* allocateHugePages(size_t bytes)
{
    size_t rounded = roundToHugePages(bytes);
    void* memory = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
    if (memory)
        madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return memory;
}

}  // namespace

// ---------------------------------------------------------------- height field

namespace {

struct Seed {
    int32_t i, j;
    float height;
};

// the heights the yard is grown from: a level rim, the hill under the house, two hollows
constexpr Seed kSeeds[] = {
    {0, 0, 10.0f},     {512, 0, 10.0f},   {0, 512, 10.0f},   {512, 512, 10.0f},
    {64, 64, 10.0f},   {448, 64, 8.0f},   {448, 448, 5.0f},  {64, 448, 3.0f},
    {128, 128, 15.0f}, {128, 256, 15.0f}, {128, 384, 15.0f}, {256, 128, 15.0f},
    {256, 256, 15.0f}, {256, 384, 15.0f}, {384, 128, 15.0f}, {384, 256, 15.0f},
    {384, 384, 15.0f},
};

// a point still unset takes the mean of its two parents, moved by up to half their difference
inline void settle(Vec3& point, const Vec3& u, const Vec3& w, TerrainRandom& random)
{
    if (point.y != kUnsetHeight)
        return;
    float mean = float((u.y + w.y) * 0.5);
    float spread = float(std::fabs(u.y - w.y));
    point.y = float(mean + random.randomOffset() * spread);
}

}  // namespace

Terrain::Terrain() {}

void* Terrain::operator new(size_t bytes)
{
    void* memory = allocateHugePages(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void Terrain::operator delete(void* memory)
{
    std::free(memory);
}

// The display lists of the drawing belong to the GL context; the drawing side gives them back
// (releaseDrawBatch) while its context is current, so a terrain built without GL is freed
// without it.
Terrain::~Terrain()
{
    delete pool;
}

void Terrain::build()
{
    fillGrid();
    buildTree();
}

void Terrain::fillGrid()
{
    random = TerrainRandom{};
    for (int32_t i = 0; i < kGridSide; ++i)
        for (int32_t j = 0; j < kGridSide; ++j)
            at(i, j) = Vec3{float(i), kUnsetHeight, float(j)};
    for (const Seed& seed : kSeeds)
        at(seed.i, seed.j).y = seed.height;
    fillSquare(0, 0, kGridLast, kGridLast);
}

// corners P (i0, j0), Q (i1, j0), R (i0, j1), S (i1, j1); the first square to reach a shared
// edge point fixes it. The last quarter loops instead of recursing.
void Terrain::fillSquare(int32_t i0, int32_t j0, int32_t i1, int32_t j1)
{
    while (i0 != i1 - 1) {
        int32_t half = (i1 - i0) / 2;
        int32_t midI = i0 + half;
        int32_t midJ = j1 - half;
        const Vec3& p = at(i0, j0);
        const Vec3& q = at(i1, j0);
        const Vec3& r = at(i0, j1);
        const Vec3& s = at(i1, j1);
        settle(at(midI, midJ), q, r, random);  // centre, from the anti-diagonal only
        settle(at(midI, j0), p, q, random);
        settle(at(i1, midJ), q, s, random);
        settle(at(midI, j1), r, s, random);
        settle(at(i0, midJ), p, r, random);
        if (half == 1)
            return;  // the four quarters are single cells

        fillSquare(i0, j0, midI, midJ);
        fillSquare(midI, j0, i1, midJ);
        fillSquare(i0, midJ, midI, j1);
        i0 = midI;
        j0 = midJ;
    }
}

float Terrain::heightAt(int32_t i, int32_t j) const
{
    i = i < 0 ? 0 : (i > kGridLast ? kGridLast : i);
    j = j < 0 ? 0 : (j > kGridLast ? kGridLast : j);
    return grid[i * kGridSide + j].y;
}

TriNode* Terrain::firstRoot() const
{
    static TriNode lone(0, 0, kGridLast, 0, 0, kGridLast, 0);
    return root1 ? root1 : &lone;
}

size_t Terrain::treeBytes() const
{
    return pool ? pool->bytes() : 0;
}

// ---------------------------------------------------------------- node pool

namespace {

thread_local TriNodePool* tActivePool = nullptr;

}  // namespace

TriNodePool::TriNodePool(size_t count) : capacity(count)
{
    // the tree is 16 MB touched once; faulting it in 4 KB at a time would cost several times
    // the build itself
    nodes = static_cast<TriNode*>(allocateHugePages(count * sizeof(TriNode)));
    if (!nodes)
        throw std::bad_alloc();
}

TriNodePool::~TriNodePool()
{
    if (tActivePool == this)
        deactivate();
    std::free(nodes);
}

void* TriNodePool::take(size_t count)
{
    if (count > capacity - next)
        return nullptr;
    TriNode* first = nodes + next;
    next += count;
    return first;
}

void TriNodePool::activate()
{
    tActivePool = this;
}

void TriNodePool::deactivate()
{
    tActivePool = nullptr;
}

// ---------------------------------------------------------------- triangle tree

TriNode::TriNode(int32_t ai, int32_t aj, int32_t c1i, int32_t c1j, int32_t c2i, int32_t c2j,
                 int32_t nodeDepth)
    : apexI(int16_t(ai)), apexJ(int16_t(aj)), corner1I(int16_t(c1i)), corner1J(int16_t(c1j)),
      corner2I(int16_t(c2i)), corner2J(int16_t(c2j)), depth(int16_t(nodeDepth))
{
}

void TriNode::makeChildren()
{
    void* room = tActivePool ? tActivePool->take(2) : nullptr;
    if (!room)
        throw std::bad_alloc();
    TriNode* pair = static_cast<TriNode*>(room);
    int32_t midI = (corner1I + corner2I) / 2;
    int32_t midJ = (corner1J + corner2J) / 2;
    int32_t s = (corner1I - apexI) * (corner2J - apexJ) - (corner1J - apexJ) * (corner2I - apexI);
    // seen from the apex towards the midpoint, the left child is the half on the left
    int32_t leftI = s > 0 ? corner2I : corner1I, leftJ = s > 0 ? corner2J : corner1J;
    int32_t rightI = s > 0 ? corner1I : corner2I, rightJ = s > 0 ? corner1J : corner2J;
    new (pair) TriNode(midI, midJ, leftI, leftJ, apexI, apexJ, depth + 1);
    new (pair + 1) TriNode(midI, midJ, rightI, rightJ, apexI, apexJ, depth + 1);
    childLink = linkTo(pair);
}

void TriNode::split()
{
    if (!childLink)
        makeChildren();
    TriNode* left = leftChild();
    TriNode* right = rightChild();
    left->setLeftNeighbour(right);
    right->setRightNeighbour(left);

    // the neighbours across the legs now face a child instead of this node
    left->setBaseNeighbour(leftNeighbour());
    if (TriNode* n = leftNeighbour()) {
        if (n->baseNeighbour() == this)
            n->setBaseNeighbour(left);
        else if (n->leftNeighbour() == this)
            n->setLeftNeighbour(left);
        else
            n->setRightNeighbour(left);
    }
    right->setBaseNeighbour(rightNeighbour());
    if (TriNode* n = rightNeighbour()) {
        if (n->baseNeighbour() == this)
            n->setBaseNeighbour(right);
        else if (n->rightNeighbour() == this)
            n->setRightNeighbour(right);
        else
            n->setLeftNeighbour(right);
    }

    if (left->depth >= kMaxDepth)
        return;
    left->forceSplit();
    right->forceSplit();
}

// a node splits only together with the one across its hypotenuse, so no T-junction is left
void TriNode::forceSplit()
{
    if (!baseLink) {
        if (!childLink)
            split();
        return;
    }
    if (baseNeighbour()->baseNeighbour() != this)
        baseNeighbour()->forceSplit();  // may hand this node one of its children as base
    if (!childLink)
        split();
    TriNode* base = baseNeighbour();
    if (!base->childLink)
        base->split();
    leftChild()->setRightNeighbour(base->rightChild());
    rightChild()->setLeftNeighbour(base->leftChild());
    base->leftChild()->setRightNeighbour(rightChild());
    base->rightChild()->setLeftNeighbour(leftChild());
}

void TriNode::setBaseNeighbour(TriNode* node)
{
    baseLink = linkTo(node);
}

void Terrain::buildTree()
{
    delete pool;
    pool = nullptr;
    root1 = root2 = nullptr;
    pool = new TriNodePool(size_t(kTreeNodes));
    pool->activate();
    TriNode* roots = static_cast<TriNode*>(pool->take(2));
    root1 = new (roots) TriNode(0, 0, kGridLast, 0, 0, kGridLast, 0);
    root2 = new (roots + 1) TriNode(kGridLast, kGridLast, kGridLast, 0, 0, kGridLast, 0);
    root1->setBaseNeighbour(root2);
    root2->setBaseNeighbour(root1);
    root1->forceSplit();
    TriNodePool::deactivate();
    drawListStale = true;
}

// ---------------------------------------------------------------- triangle geometry

namespace {

constexpr double kTextureRepeats = 10.0;
constexpr double kInverseGridSide = 0.0019493178;  // 1/513 as an f32

Vec3 unitNormal(Vec3 v)
{
    double inverse = 1.0 / std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    return Vec3{float(v.x * inverse), float(v.y * inverse), float(v.z * inverse)};
}

}  // namespace

TerrainTriangle terrainTriangle(const TriNode& node, const Vec3* grid)
{
    const Vec3& apex = grid[node.apexI * kGridSide + node.apexJ];
    const Vec3& corner1 = grid[node.corner1I * kGridSide + node.corner1J];
    const Vec3& corner2 = grid[node.corner2I * kGridSide + node.corner2J];

    TerrainTriangle t;
    t.normal = unitNormal(vecCross(vecSub(corner1, apex), vecSub(corner2, apex)));
    // the normal faces up; the corners swap so the triangle still winds counter-clockwise
    // seen from above
    bool flipped = t.normal.y < 0.0f;
    if (flipped)
        t.normal.y = -t.normal.y;
    t.vertex[0] = apex;
    t.vertex[1] = flipped ? corner2 : corner1;
    t.vertex[2] = flipped ? corner1 : corner2;
    for (int k = 0; k < 3; ++k) {
        t.s[k] = float(t.vertex[k].x * kTextureRepeats * kInverseGridSide);
        t.t[k] = float(t.vertex[k].z * kTextureRepeats * -kInverseGridSide);
    }
    return t;
}

// ---------------------------------------------------------------- tiles

std::vector<TerrainTile> terrainTiles(const TriNode& root1, const TriNode& root2, const Vec3* grid)
{
    std::vector<TerrainTile> tiles;
    int32_t drawn = 0;
    auto addTile = [&](const TriNode& tileNode) {
        TerrainTile tile{grid[tileNode.apexI * kGridSide + tileNode.apexJ],
                         grid[tileNode.apexI * kGridSide + tileNode.apexJ], drawn, 0};
        tile.count = tileNode.forEachAt(kDrawLevel, [&](const TriNode& node) {
            for (int32_t index : {node.apexI * kGridSide + node.apexJ,
                                  node.corner1I * kGridSide + node.corner1J,
                                  node.corner2I * kGridSide + node.corner2J}) {
                const Vec3& v = grid[index];
                tile.low = Vec3{std::fmin(tile.low.x, v.x), std::fmin(tile.low.y, v.y),
                                std::fmin(tile.low.z, v.z)};
                tile.high = Vec3{std::fmax(tile.high.x, v.x), std::fmax(tile.high.y, v.y),
                                 std::fmax(tile.high.z, v.z)};
            }
        });
        drawn += tile.count;
        tiles.push_back(tile);
    };
    root1.forEachAt(kTileDepth, addTile);
    root2.forEachAt(kTileDepth, addTile);
    return tiles;
}
