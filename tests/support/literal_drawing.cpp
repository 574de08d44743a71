// SPDX-License-Identifier: MIT
// tests: the literal twins of the game's batched drawing.
#include "tests/support/literal_drawing.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "app/app.h"
#include "player/camera_placement.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/rules.h"
#include "platform/clock.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/projectile_draw.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "streamer/streamer_draw.h"
#include "terrain/terrain.h"

namespace {

void vertex(Vec3 p) { glVertex3f(p.x, p.y, p.z); }

void drawSolidEachPolygon(const PaperStreamer* s)
{
    Vec3 normals[kStreamerTriangles];
    streamerTriangleNormals(s, normals);
    for (int c = 0; c + 1 < kStreamerColumns; ++c) {
        const Vec3 a0 = s->at(0, c).position, a1 = s->at(1, c).position;
        const Vec3 b0 = s->at(0, c + 1).position, b1 = s->at(1, c + 1).position;
        glColor3f(kStreamerBlue.x, kStreamerBlue.y, kStreamerBlue.z);
        const Vec3 first = normals[2 * c], second = normals[2 * c + 1];
        glNormal3f(first.x, first.y, first.z);
        glBegin(GL_POLYGON);
        vertex(a0);
        vertex(a1);
        vertex(b0);
        glEnd();
        glNormal3f(second.x, second.y, second.z);
        glBegin(GL_POLYGON);
        vertex(a1);
        vertex(b1);
        vertex(b0);
        glEnd();
    }
}

}  // namespace

int32_t drawTerrainEachTriangle(const Terrain& terrain)
{
    if (!terrain.root1 || !terrain.root2)
        return 0;
    return terrain.root1->draw(kDrawLevel, terrain.samples()) +
           terrain.root2->draw(kDrawLevel, terrain.samples());
}

void drawStreamersEachPolygon(const PaperStreamer* const* streamers, size_t count, bool wireframe)
{
    if (wireframe || count == 0) {
        drawStreamers(streamers, count, wireframe);
        return;
    }
    glPointSize(3.0f);
    for (size_t i = 0; i < count; ++i)
        drawSolidEachPolygon(streamers[i]);
}

void drawRollsAfresh(int32_t level)
{
    for (const RollRecord& roll : gRollsInFlight) {
        if (!roll.active)
            continue;
        glPushMatrix();
        placeRoll(roll, level);
        drawRollShape();
        glPopMatrix();
    }
}

void drawEggsAfresh()
{
    for (const EggRecord& egg : gEggsInFlight) {
        if (egg.active) {
            glPushMatrix();
            placeEgg(egg);
            drawEggShape();
            glPopMatrix();
        } else if (egg.struck && !egg.struckPlant) {
            drawSplat(egg);
        }
    }
}

void drawWorldAfresh(World& world, bool ownerSeesPlayer, int32_t level, int32_t hideLeft,
                     int32_t hideRight, bool withSky)
{
    world.forEachPlacementShown(level, hideLeft, hideRight, [&](int i) {
        const Placement& p = *world.placements[i];
        world.enterPlacement(i);
        if (p.model->swapYZ)
            world.drawModel(*p.model, p.name);
        else
            world.drawHouseGroupMember(i, ownerSeesPlayer);
        world.leavePlacement();
    });
    world.enterTerrain();
    drawTerrainEachTriangle(*world.terrain);
    world.leaveTerrain();
    if (withSky)
        world.drawSkyAndMoon();
    glDisable(GL_TEXTURE_2D);
}

void drawLiteralFrame()
{
    drawFrame(SceneParts{drawRollsAfresh, drawStreamersEachPolygon, drawWorldAfresh,
                         drawEggsAfresh});
}
