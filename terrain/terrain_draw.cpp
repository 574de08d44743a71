// SPDX-License-Identifier: MIT
// terrain: drawing the tree's triangles at the drawing level, grass-textured, one normal each.
#include <GL/gl.h>

#include <vector>

#include "assets/texture_loader.h"
#include "common/ball.h"
#include "common/solid_box.h"
#include "common/view_frustum.h"
#include "terrain/terrain.h"

namespace {

// in grid units (a tenth of the yard's), a tile nearer the view volume than this is kept
constexpr double kCullMargin = 4.0;

void emitVertices(const TerrainTriangle& t)
{
    glNormal3f(t.normal.x, t.normal.y, t.normal.z);
    for (int k = 0; k < 3; ++k) {
        glTexCoord2f(t.s[k], t.t[k]);
        glVertex3f(t.vertex[k].x, t.vertex[k].y, t.vertex[k].z);
    }
}

}  // namespace

int32_t TriNode::draw(int32_t level, const Vec3* grid) const
{
    return forEachAt(level, [grid](const TriNode& node) {
        TerrainTriangle t = terrainTriangle(node, grid);
        glBindTexture(GL_TEXTURE_2D, kTextureGrass);
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        emitVertices(t);
        glEnd();
    });
}

namespace {

int32_t drawEveryTriangle(const TriNode* root1, const TriNode* root2, const Vec3* grid)
{
    return root1->draw(kDrawLevel, grid) + root2->draw(kDrawLevel, grid);
}

}  // namespace

// the same triangles, normals, texture coordinates and order as TriNode::draw, each tile in
// its own list: the per-triangle binds and begin/end pairs cost more than the triangles
void Terrain::compileTiles() const
{
    releaseDrawBatch();
    tiles = terrainTiles(*root1, *root2, grid);
    tileLists = glGenLists(GLsizei(tiles.size()));
    if (!tileLists)
        return;  // no list names to be had: draw() sends the triangles themselves
    std::vector<TerrainTriangle> triangles;
    auto collect = [&](const TriNode& node) { triangles.push_back(terrainTriangle(node, grid)); };
    root1->forEachAt(kDrawLevel, collect);
    root2->forEachAt(kDrawLevel, collect);
    for (size_t k = 0; k < tiles.size(); ++k) {
        glNewList(tileLists + GLuint(k), GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (int32_t n = 0; n < tiles[k].count; ++n)
            emitVertices(triangles[size_t(tiles[k].first + n)]);
        glEnd();
        glEndList();
    }
    lastTriangle = triangles.back();
    drawListStale = false;
}

void Terrain::draw(const Ball* onlyNear, const Shadows* behind) const
{
    double projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    drawInView(ViewFrustum(projection, modelview, kCullMargin), onlyNear, behind);
}

void Terrain::drawInView(const ViewFrustum& view, const Ball* onlyNear,
                         const Shadows* behind) const
{
    const bool tree = root1 && root2;
    if (!tree && !tileLists)
        return;
    GLint compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    if (compiling && tree) {
        // lists do not nest, and a list may be replayed from anywhere: whoever is compiling
        // gets every triangle itself
        drawnTriangles = drawEveryTriangle(root1, root2, grid);
        return;
    }
    if (tree && (!tileLists || drawListStale))
        compileTiles();
    if (!tileLists) {
        drawnTriangles = drawEveryTriangle(root1, root2, grid);
        return;
    }

    glBindTexture(GL_TEXTURE_2D, kTextureGrass);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawnTriangles = 0;
    for (size_t k = 0; k < tiles.size(); ++k) {
        // without the tree, a list being compiled calls every tile's (it may be replayed from
        // anywhere)
        const TerrainTile& tile = tiles[k];
        if (!compiling && (!view.mayShow(tile.low, tile.high) ||
                           (onlyNear && boxOutsideBall(tile.low, tile.high, *onlyNear)) ||
                           (behind && behind->hide(tile.low, tile.high))))
            continue;
        glCallList(tileLists + GLuint(k));
        drawnTriangles += tiles[k].count;
    }
    // whatever was left out, GL's current normal and texture coordinate end as after every
    // triangle
    glNormal3f(lastTriangle.normal.x, lastTriangle.normal.y, lastTriangle.normal.z);
    glTexCoord2f(lastTriangle.s[2], lastTriangle.t[2]);
}

void Terrain::releaseTree()
{
    if (!root1 || !root2)
        return;
    if (!tileLists || drawListStale)
        compileTiles();
    if (!tileLists)
        return;  // no list names to be had: the tree still draws the ground
    delete pool;
    pool = nullptr;
    root1 = root2 = nullptr;
}

void Terrain::releaseDrawBatch() const
{
    if (tileLists)
        glDeleteLists(tileLists, GLsizei(tiles.size()));
    tileLists = 0;
    drawListStale = true;
}
