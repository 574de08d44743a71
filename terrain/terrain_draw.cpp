// terrain: drawing the tree's triangles at the drawing level, grass-textured, one normal each.
#include <GL/gl.h>

#include "assets/texture_loader.h"
#include "terrain/terrain.h"

namespace {

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

int32_t Terrain::drawEachTriangle() const
{
    if (!root1 || !root2)
        return 0;
    return root1->draw(kDrawLevel, grid) + root2->draw(kDrawLevel, grid);
}

// the same triangles, normals, texture coordinates and order as drawEachTriangle, but replayed
// from one list: the per-triangle binds and begin/end pairs cost more than the triangles
void Terrain::draw() const
{
    if (!root1 || !root2)
        return;
    if (!drawList || drawListStale) {
        GLint compiling = 0;
        glGetIntegerv(GL_LIST_INDEX, &compiling);
        if (compiling) {
            // lists do not nest; whoever is compiling gets the triangles themselves
            drawEachTriangle();
            return;
        }
        if (!drawList)
            drawList = glGenLists(1);
        glNewList(drawList, GL_COMPILE);
        glBindTexture(GL_TEXTURE_2D, kTextureGrass);
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        auto emit = [this](const TriNode& node) { emitVertices(terrainTriangle(node, grid)); };
        root1->forEachAt(kDrawLevel, emit);
        root2->forEachAt(kDrawLevel, emit);
        glEnd();
        glEndList();
        drawListStale = false;
    }
    glCallList(drawList);
}

void Terrain::releaseDrawBatch() const
{
    if (drawList)
        glDeleteLists(drawList, 1);
    drawList = 0;
    drawListStale = true;
}
