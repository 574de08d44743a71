// SPDX-License-Identifier: MIT
// terrain: the seeded height field and the triangle tree over it.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tests/support/loose_tree.h"
#include "terrain/terrain.h"

namespace {

// one build shared by the read-only tests: it takes ~19 MB and a few milliseconds
const Terrain& builtTerrain()
{
    static std::unique_ptr<Terrain> terrain = [] {
        auto t = std::make_unique<Terrain>();
        t->build();
        return t;
    }();
    return *terrain;
}

// the nodes of the level below and including node, walked as the drawing walks them
int32_t countAt(const TriNode& node, int32_t level)
{
    return node.forEachAt(level, [](const TriNode&) {});
}

std::vector<const TriNode*> allNodes(const TriNode* root)
{
    std::vector<const TriNode*> nodes;
    std::vector<const TriNode*> stack{root};
    while (!stack.empty()) {
        const TriNode* node = stack.back();
        stack.pop_back();
        nodes.push_back(node);
        if (node->rightChild())
            stack.push_back(node->rightChild());
        if (node->leftChild())
            stack.push_back(node->leftChild());
    }
    return nodes;
}

using Vertex = std::pair<int32_t, int32_t>;

std::set<Vertex> verticesOf(const TriNode& n)
{
    return {{n.apexI, n.apexJ}, {n.corner1I, n.corner1J}, {n.corner2I, n.corner2J}};
}

int sharedVertices(const TriNode& a, const TriNode& b)
{
    int shared = 0;
    std::set<Vertex> bs = verticesOf(b);
    for (const Vertex& v : verticesOf(a))
        shared += int(bs.count(v));
    return shared;
}

}  // namespace

// ---------------------------------------------------------------- random sequence

TEST(TerrainRandom, StartsFromStateOneAndNeverRepeatsTheFirstDraws)
{
    TerrainRandom random;
    EXPECT_EQ(random.nextValue(), 41);
    random = TerrainRandom{};
    EXPECT_DOUBLE_EQ(random.randomOffset(), -0.459);
    for (int k = 2; k < 8; ++k)
        random.randomOffset();
    // the eighth draw is the one that sets sample (128, 64)
    EXPECT_NEAR(random.randomOffset(), -0.142, 1e-12);
    EXPECT_EQ(random.draws, 8);
}

TEST(TerrainRandom, OffsetsStayInHalfOpenUnitInterval)
{
    TerrainRandom random;
    for (int k = 0; k < 100000; ++k) {
        double r = random.randomOffset();
        ASSERT_GE(r, -0.5);
        ASSERT_LT(r, 0.5);
    }
}

// ---------------------------------------------------------------- height field

TEST(TerrainGrid, BorderIsLevelAtTen)
{
    const Terrain& t = builtTerrain();
    for (int32_t k = 0; k < kGridSide; ++k) {
        ASSERT_EQ(t.heightAt(k, 0), 10.0f) << k;
        ASSERT_EQ(t.heightAt(k, kGridLast), 10.0f) << k;
        ASSERT_EQ(t.heightAt(0, k), 10.0f) << k;
        ASSERT_EQ(t.heightAt(kGridLast, k), 10.0f) << k;
    }
}

TEST(TerrainGrid, SeedsKeepTheirHeights)
{
    const Terrain& t = builtTerrain();
    EXPECT_EQ(t.heightAt(256, 256), 15.0f);
    EXPECT_EQ(t.heightAt(448, 448), 5.0f);
    EXPECT_EQ(t.heightAt(64, 448), 3.0f);
    EXPECT_EQ(t.heightAt(448, 64), 8.0f);
    EXPECT_EQ(t.heightAt(64, 64), 10.0f);
    EXPECT_EQ(t.heightAt(384, 128), 15.0f);
}

TEST(TerrainGrid, EighthDrawSetsTheSampleBetweenRimAndHill)
{
    // from (128, 0) at 10.0 and (128, 128) at 15.0: 12.5 - 0.142 x 5
    EXPECT_EQ(builtTerrain().heightAt(128, 64), 11.79f);
}

TEST(TerrainGrid, EverySampleButTheSeedsDrawsOnce)
{
    EXPECT_EQ(builtTerrain().random.draws, kGridSamples - 17);
    EXPECT_EQ(builtTerrain().random.draws, 263152);
}

TEST(TerrainGrid, HeightsStayWithinTheSeedsRangeAndSamplesSitOnTheirIndices)
{
    const Terrain& t = builtTerrain();
    for (int32_t i = 0; i < kGridSide; ++i)
        for (int32_t j = 0; j < kGridSide; ++j) {
            const Vec3& v = t.samples()[i * kGridSide + j];
            ASSERT_GE(v.y, 3.0f) << i << "," << j;
            ASSERT_LE(v.y, 15.0f) << i << "," << j;
            ASSERT_EQ(v.x, float(i));
            ASSERT_EQ(v.z, float(j));
        }
}

TEST(TerrainGrid, EveryBuildMakesTheSameGrid)
{
    auto again = std::make_unique<Terrain>();
    again->build();
    EXPECT_EQ(std::memcmp(again->samples(), builtTerrain().samples(), sizeof(Vec3) * kGridSamples), 0);
    again->fillGrid();
    EXPECT_EQ(std::memcmp(again->samples(), builtTerrain().samples(), sizeof(Vec3) * kGridSamples), 0);
    EXPECT_EQ(again->random.draws, 263152);
}

TEST(TerrainGrid, OutsideTheGridReadsTheNearestBorderSample)
{
    const Terrain& t = builtTerrain();
    EXPECT_EQ(t.heightAt(-1, 200), t.heightAt(0, 200));
    EXPECT_EQ(t.heightAt(513, 200), t.heightAt(512, 200));
    EXPECT_EQ(t.heightAt(200, -1), 10.0f);
    EXPECT_EQ(t.heightAt(200, 513), 10.0f);
    EXPECT_EQ(t.heightAt(-1, -1), 10.0f);
    EXPECT_EQ(t.heightAt(100000, -100000), 10.0f);
    EXPECT_EQ(t.heightAt(INT32_MIN, INT32_MAX), 10.0f);
}

// ---------------------------------------------------------------- triangle tree

TEST(TerrainTree, RootsShareTheHypotenuse)
{
    const Terrain& t = builtTerrain();
    ASSERT_EQ(t.firstRoot(), t.root1);
    EXPECT_EQ(verticesOf(*t.root1), (std::set<Vertex>{{0, 0}, {512, 0}, {0, 512}}));
    EXPECT_EQ(verticesOf(*t.root2), (std::set<Vertex>{{512, 512}, {512, 0}, {0, 512}}));
    EXPECT_EQ(t.root1->apexI, 0);
    EXPECT_EQ(t.root2->apexI, 512);
    EXPECT_EQ(t.root1->baseNeighbour(), t.root2);
    EXPECT_EQ(t.root2->baseNeighbour(), t.root1);
}

TEST(TerrainTree, SplitUniformlyToDepthSeventeen)
{
    const Terrain& t = builtTerrain();
    for (const TriNode* root : {t.root1, t.root2}) {
        std::vector<const TriNode*> nodes = allNodes(root);
        ASSERT_EQ(nodes.size(), size_t(kNodesPerRoot));
        for (const TriNode* n : nodes) {
            if (n->depth == kMaxDepth) {
                ASSERT_EQ(n->leftChild(), nullptr);
                ASSERT_EQ(n->rightChild(), nullptr);
                continue;
            }
            ASSERT_LT(n->depth, kMaxDepth);
            ASSERT_NE(n->leftChild(), nullptr);
            ASSERT_NE(n->rightChild(), nullptr);
            ASSERT_EQ(n->leftChild()->depth, n->depth + 1);
            ASSERT_EQ(n->rightChild()->depth, n->depth + 1);
        }
    }
}

TEST(TerrainTree, ChildrenHalveTheirParentAtTheHypotenuseMidpoint)
{
    for (const TriNode* n : allNodes(builtTerrain().root1)) {
        if (!n->leftChild())
            continue;
        int32_t midI = (n->corner1I + n->corner2I) / 2, midJ = (n->corner1J + n->corner2J) / 2;
        for (const TriNode* child : {n->leftChild(), n->rightChild()}) {
            ASSERT_EQ(child->apexI, midI);
            ASSERT_EQ(child->apexJ, midJ);
            ASSERT_EQ(child->corner2I, n->apexI);
            ASSERT_EQ(child->corner2J, n->apexJ);
        }
        // seen from the apex towards the midpoint (i right, j up) the left child lies left
        const TriNode& l = *n->leftChild();
        int32_t side = (midI - n->apexI) * (l.corner1J - n->apexJ) - (midJ - n->apexJ) * (l.corner1I - n->apexI);
        ASSERT_GT(side, 0);
    }
}

TEST(TerrainTree, TriangleSizesFollowTheDepth)
{
    for (const TriNode* n : allNodes(builtTerrain().root2)) {
        int32_t legI = std::abs(n->corner1I - n->apexI), legJ = std::abs(n->corner1J - n->apexJ);
        if (n->depth % 2 == 0) {
            // legs along the grid axes
            ASSERT_EQ(legI + legJ, 512 >> (n->depth / 2));
            ASSERT_EQ(legI * legJ, 0);
        } else {
            ASSERT_EQ(legI, legJ);
        }
        if (n->depth == kDrawLevel) {
            ASSERT_EQ(legI + legJ, 8);
        }
        if (n->depth == kMaxDepth) {
            ASSERT_EQ(std::abs(n->corner1I - n->corner2I) + std::abs(n->corner1J - n->corner2J), 2);
        }
    }
}

TEST(TerrainTree, DrawingLevelWalkCounts)
{
    const Terrain& t = builtTerrain();
    EXPECT_EQ(countAt(*t.root1, kDrawLevel), 4096);
    EXPECT_EQ(countAt(*t.root2, kDrawLevel), 4096);
    EXPECT_EQ(countAt(*t.root1, kMaxDepth), 131072);
    EXPECT_EQ(countAt(*t.root1, kMaxDepth + 1), 0);
    EXPECT_EQ(countAt(*t.root1, 40), 0);
    EXPECT_EQ(countAt(*t.root1->leftChild(), 0), 0);
    EXPECT_EQ(countAt(*t.root1->leftChild(), 1), 1);
}

// children are split before the links across their parent's hypotenuse are made, so many
// links stay null; those that are set join triangles with a common edge
TEST(TerrainTree, NeighbourLinksJoinTrianglesWithACommonEdge)
{
    const Terrain& t = builtTerrain();
    for (const TriNode* root : {t.root1, t.root2})
        for (const TriNode* n : allNodes(root))
            for (const TriNode* other : {n->leftNeighbour(), n->rightNeighbour(), n->baseNeighbour()}) {
                if (other) {
                    ASSERT_EQ(sharedVertices(*n, *other), 2);
                }
            }
}

TEST(TerrainTree, ChildrenAcrossTheRootsHypotenuseAreMutualNeighbours)
{
    const Terrain& t = builtTerrain();
    const TriNode* a = t.root1;
    const TriNode* b = t.root2;
    EXPECT_EQ(a->leftChild()->rightNeighbour(), b->rightChild());
    EXPECT_EQ(a->rightChild()->leftNeighbour(), b->leftChild());
    EXPECT_EQ(b->leftChild()->rightNeighbour(), a->rightChild());
    EXPECT_EQ(b->rightChild()->leftNeighbour(), a->leftChild());
    EXPECT_EQ(sharedVertices(*a->leftChild(), *b->rightChild()), 2);
    EXPECT_EQ(sharedVertices(*a->rightChild(), *b->leftChild()), 2);
}

// the pooled tree, with its 32-byte nodes and relative links, has the shape and links of the
// tree grown one allocation per node
TEST(TerrainTree, PooledTreeMatchesOneAllocatedNodeByNode)
{
    const Terrain& t = builtTerrain();
    LooseTree loose;

    // both trees walked in the same order; links compared by their targets' places in the walk
    std::vector<const TriNode*> pooled = allNodes(t.root1);
    for (const TriNode* n : allNodes(t.root2))
        pooled.push_back(n);
    std::vector<const LooseTriNode*> plain;
    for (const LooseTriNode* root : {loose.root1, loose.root2}) {
        std::vector<const LooseTriNode*> stack{root};
        while (!stack.empty()) {
            const LooseTriNode* n = stack.back();
            stack.pop_back();
            plain.push_back(n);
            if (n->rightChild)
                stack.push_back(n->rightChild);
            if (n->leftChild)
                stack.push_back(n->leftChild);
        }
    }
    ASSERT_EQ(pooled.size(), plain.size());
    std::unordered_map<const void*, long> pooledIndex, plainIndex;
    for (size_t k = 0; k < pooled.size(); ++k) {
        pooledIndex[pooled[k]] = long(k);
        plainIndex[plain[k]] = long(k);
    }
    auto indexIn = [](const std::unordered_map<const void*, long>& index, const void* n) {
        return n ? index.at(n) : -1L;
    };
    int links = 0;
    for (size_t k = 0; k < pooled.size(); ++k) {
        const TriNode& p = *pooled[k];
        const LooseTriNode& l = *plain[k];
        ASSERT_EQ(p.apexI, l.apexI);
        ASSERT_EQ(p.apexJ, l.apexJ);
        ASSERT_EQ(p.corner1I, l.corner1I);
        ASSERT_EQ(p.corner1J, l.corner1J);
        ASSERT_EQ(p.corner2I, l.corner2I);
        ASSERT_EQ(p.corner2J, l.corner2J);
        ASSERT_EQ(p.depth, l.depth);
        ASSERT_EQ(indexIn(pooledIndex, p.leftNeighbour()), indexIn(plainIndex, l.leftNeighbour)) << k;
        ASSERT_EQ(indexIn(pooledIndex, p.rightNeighbour()), indexIn(plainIndex, l.rightNeighbour)) << k;
        ASSERT_EQ(indexIn(pooledIndex, p.baseNeighbour()), indexIn(plainIndex, l.baseNeighbour)) << k;
        ASSERT_EQ(indexIn(pooledIndex, p.leftChild()), indexIn(plainIndex, l.leftChild)) << k;
        ASSERT_EQ(indexIn(pooledIndex, p.rightChild()), indexIn(plainIndex, l.rightChild)) << k;
        links += (p.leftNeighbour() != nullptr) + (p.rightNeighbour() != nullptr) +
                 (p.baseNeighbour() != nullptr);
    }
    EXPECT_GT(links, kTreeNodes);  // the comparison saw real links, not two empty trees
}

// a node is 32 bytes and the pool holds the tree exactly: 16 MB
TEST(TerrainTree, PoolHoldsTheTreeInThirtyTwoBytesANode)
{
    EXPECT_EQ(sizeof(TriNode), 32u);
    EXPECT_EQ(builtTerrain().treeBytes(), size_t(kTreeNodes) * 32);
}

// children come only from a pool with room; an exhausted one fails loudly rather than leaving
// a half-split node
TEST(TerrainTree, MakeChildrenNeedsRoomInTheActivePool)
{
    TriNodePool pool(3);
    TriNode* node = new (pool.take(1)) TriNode(0, 0, 512, 0, 0, 512, 0);
    EXPECT_THROW(node->makeChildren(), std::bad_alloc);  // no pool active
    pool.activate();
    node->makeChildren();
    EXPECT_EQ(node->leftChild()->depth, 1);
    EXPECT_EQ(node->rightChild(), node->leftChild() + 1);
    EXPECT_EQ(pool.used(), 3u);
    EXPECT_THROW(node->leftChild()->makeChildren(), std::bad_alloc);  // full
    EXPECT_EQ(node->leftChild()->leftChild(), nullptr);
    TriNodePool::deactivate();
}

// the build recurses along the tree's depth, not along its size
TEST(TerrainTree, BuildsInASmallStack)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    bool built = false;
    auto run = [](void* flag) -> void* {
        auto terrain = std::make_unique<Terrain>();
        terrain->build();
        *static_cast<bool*>(flag) = countAt(*terrain->root2, kMaxDepth) == 131072;
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &built), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(built);
}

// ---------------------------------------------------------------- drawn triangles

TEST(TerrainTriangles, FaceUpAndWindCounterClockwiseSeenFromAbove)
{
    const Terrain& t = builtTerrain();
    int count = 0;
    auto check = [&](const TriNode& node) {
        TerrainTriangle tri = terrainTriangle(node, t.samples());
        ++count;
        Vec3 n = tri.normal;
        ASSERT_GE(n.y, 0.0f);
        ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-6);
        Vec3 winding = vecCross(vecSub(tri.vertex[1], tri.vertex[0]), vecSub(tri.vertex[2], tri.vertex[0]));
        ASSERT_GT(winding.y, 0.0f);
        // the normal is the face's own, up to the direction of y
        double len = std::sqrt(double(winding.x) * winding.x + double(winding.y) * winding.y +
                               double(winding.z) * winding.z);
        ASSERT_NEAR(std::fabs(winding.x / len), std::fabs(n.x), 1e-6);
        ASSERT_NEAR(winding.y / len, n.y, 1e-6);
        ASSERT_NEAR(std::fabs(winding.z / len), std::fabs(n.z), 1e-6);
        ASSERT_EQ(tri.vertex[0].x, float(node.apexI));
        ASSERT_EQ(tri.vertex[0].z, float(node.apexJ));
    };
    t.root1->forEachAt(kDrawLevel, check);
    t.root2->forEachAt(kDrawLevel, check);
    EXPECT_EQ(count, 8192);
}

TEST(TerrainTriangles, TextureRepeatsTenTimesAcrossTheGrid)
{
    const Terrain& t = builtTerrain();
    const TriNode* n = t.root2;  // apex (512, 512)
    TerrainTriangle tri = terrainTriangle(*n, t.samples());
    EXPECT_FLOAT_EQ(tri.s[0], 512 * 10.0 * 0.0019493178);
    EXPECT_FLOAT_EQ(tri.t[0], -512 * 10.0 * 0.0019493178);
    EXPECT_NEAR(tri.s[0], 10.0 * 512 / 513, 1e-5);
    tri = terrainTriangle(*t.root1, t.samples());
    EXPECT_EQ(tri.s[0], 0.0f);
    EXPECT_EQ(tri.t[0], 0.0f);
}

// ---------------------------------------------------------------- tiles and the view volume

TEST(TerrainTiles, RunsOfTheDrawingOrderThatBoundTheirTriangles)
{
    const Terrain& t = builtTerrain();
    std::vector<TerrainTile> tiles = terrainTiles(*t.root1, *t.root2, t.samples());
    ASSERT_EQ(tiles.size(), size_t(2) << kTileDepth);
    int32_t next = 0;
    for (const TerrainTile& tile : tiles) {
        ASSERT_EQ(tile.first, next);
        ASSERT_EQ(tile.count, 1 << (kDrawLevel - kTileDepth));
        next += tile.count;
    }
    EXPECT_EQ(next, 8192);

    // the k-th triangle in drawing order lies in the box of the tile that holds place k
    int32_t place = 0;
    auto check = [&](const TriNode& node) {
        const TerrainTile& tile = tiles[size_t(place / tiles[0].count)];
        TerrainTriangle tri = terrainTriangle(node, t.samples());
        for (const Vec3& v : tri.vertex) {
            ASSERT_TRUE(v.x >= tile.low.x && v.x <= tile.high.x) << place;
            ASSERT_TRUE(v.y >= tile.low.y && v.y <= tile.high.y) << place;
            ASSERT_TRUE(v.z >= tile.low.z && v.z <= tile.high.z) << place;
        }
        ++place;
    };
    t.root1->forEachAt(kDrawLevel, check);
    t.root2->forEachAt(kDrawLevel, check);
    // a tile at even depth is half a square of the grid, halved on a side every second level
    static_assert(kTileDepth % 2 == 0, "the bounds below are those of an even depth");
    const float side = float(kGridLast >> (kTileDepth / 2));
    EXPECT_EQ(tiles[0].high.x - tiles[0].low.x, side);
    EXPECT_EQ(tiles[0].high.z - tiles[0].low.z, side);
}

