// SPDX-License-Identifier: MIT
// tests: the terrain's triangle tree grown the plain way, every node allocated on its own with
// pointer links. The game uses the pooled tree; this one is the reference it is checked and timed
// against.
#pragma once
#include <cstdint>

struct LooseTriNode {
    int32_t apexI, apexJ;
    int32_t corner1I, corner1J;
    int32_t corner2I, corner2J;
    int32_t depth;
    LooseTriNode* leftNeighbour = nullptr;
    LooseTriNode* rightNeighbour = nullptr;
    LooseTriNode* baseNeighbour = nullptr;
    LooseTriNode* leftChild = nullptr;
    LooseTriNode* rightChild = nullptr;

    LooseTriNode(int32_t ai, int32_t aj, int32_t c1i, int32_t c1j, int32_t c2i, int32_t c2j,
                 int32_t nodeDepth)
        : apexI(ai), apexJ(aj), corner1I(c1i), corner1J(c1j), corner2I(c2i), corner2J(c2j),
          depth(nodeDepth)
    {
    }

    void makeChildren();
    void split();
    void forceSplit();
    void setBaseNeighbour(LooseTriNode* node) { baseNeighbour = node; }
};

// both roots, split down to the deepest level; frees every node when it goes
struct LooseTree {
    LooseTriNode* root1 = nullptr;
    LooseTriNode* root2 = nullptr;

    LooseTree();
    ~LooseTree();
    LooseTree(const LooseTree&) = delete;
    LooseTree& operator=(const LooseTree&) = delete;
};
