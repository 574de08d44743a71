// SPDX-License-Identifier: MIT
// tests: the reference terrain tree, one allocation per node.
#include "tests/support/loose_tree.h"

#include <vector>

#include "terrain/terrain.h"

void LooseTriNode::makeChildren()
{
    int32_t midI = (corner1I + corner2I) / 2;
    int32_t midJ = (corner1J + corner2J) / 2;
    int32_t s = (corner1I - apexI) * (corner2J - apexJ) - (corner1J - apexJ) * (corner2I - apexI);
    if (s > 0) {
        leftChild = new LooseTriNode(midI, midJ, corner2I, corner2J, apexI, apexJ, depth + 1);
        rightChild = new LooseTriNode(midI, midJ, corner1I, corner1J, apexI, apexJ, depth + 1);
    } else {
        leftChild = new LooseTriNode(midI, midJ, corner1I, corner1J, apexI, apexJ, depth + 1);
        rightChild = new LooseTriNode(midI, midJ, corner2I, corner2J, apexI, apexJ, depth + 1);
    }
}

void LooseTriNode::split()
{
    if (!leftChild)
        makeChildren();
    leftChild->leftNeighbour = rightChild;
    rightChild->rightNeighbour = leftChild;
    leftChild->baseNeighbour = leftNeighbour;
    if (LooseTriNode* n = leftNeighbour) {
        if (n->baseNeighbour == this)
            n->baseNeighbour = leftChild;
        else if (n->leftNeighbour == this)
            n->leftNeighbour = leftChild;
        else
            n->rightNeighbour = leftChild;
    }
    rightChild->baseNeighbour = rightNeighbour;
    if (LooseTriNode* n = rightNeighbour) {
        if (n->baseNeighbour == this)
            n->baseNeighbour = rightChild;
        else if (n->rightNeighbour == this)
            n->rightNeighbour = rightChild;
        else
            n->leftNeighbour = rightChild;
    }
    if (leftChild->depth >= kMaxDepth)
        return;
    leftChild->forceSplit();
    rightChild->forceSplit();
}

void LooseTriNode::forceSplit()
{
    if (baseNeighbour) {
        if (baseNeighbour->baseNeighbour != this)
            baseNeighbour->forceSplit();
        if (!leftChild)
            split();
        LooseTriNode* base = baseNeighbour;
        if (!base->leftChild)
            base->split();
        leftChild->rightNeighbour = base->rightChild;
        rightChild->leftNeighbour = base->leftChild;
        base->leftChild->rightNeighbour = rightChild;
        base->rightChild->leftNeighbour = leftChild;
    } else if (!leftChild) {
        split();
    }
}

LooseTree::LooseTree()
{
    root1 = new LooseTriNode(0, 0, kGridLast, 0, 0, kGridLast, 0);
    root2 = new LooseTriNode(kGridLast, kGridLast, kGridLast, 0, 0, kGridLast, 0);
    root1->setBaseNeighbour(root2);
    root2->setBaseNeighbour(root1);
    root1->forceSplit();
}

LooseTree::~LooseTree()
{
    std::vector<LooseTriNode*> stack{root1, root2};
    while (!stack.empty()) {
        LooseTriNode* node = stack.back();
        stack.pop_back();
        if (node->leftChild)
            stack.push_back(node->leftChild);
        if (node->rightChild)
            stack.push_back(node->rightChild);
        delete node;
    }
}
