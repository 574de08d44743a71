// SPDX-License-Identifier: MIT
// player: drawing of the rolls in flight, the eggs and their splats, and the owner's figure.
#include "player/projectile_draw.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "common/view_frustum.h"
#include "player/throwing.h"

int32_t gRollsOutOfSight = 0;
int32_t gEggsOutOfSight = 0;

namespace {

constexpr GLuint kOwnerTexture = 5;
constexpr GLuint kSplatTexture = 8;

constexpr float kRollRadius = 0.2f;
constexpr float kRollLength = 0.3f;
constexpr float kRollCapOffset = 0.15f;
constexpr float kRollCapRadius = 0.2f;
constexpr float kSplatSize = 0.5f;
constexpr float kOwnerScale = 5.0f;


GLUquadric* rollQuadric()
{
    // made once and kept for the whole run
    static GLUquadric* quadric = gluNewQuadric();
    return quadric;
}

// Rolls and eggs that cannot reach the screen are left out (a roll rises out of sight soon after
// the throw). Each shape fits in a box this far round its position: the roll with its caps
// reaches 0.2 from its axis and 0.15 along it, the egg 0.14.
constexpr float kProjectileReach = 0.3f;
constexpr double kProjectileCullMargin = 0.5;

ViewFrustum currentView()
{
    double projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    return ViewFrustum(projection, modelview, kProjectileCullMargin);
}

bool mayShowAt(const ViewFrustum& view, Vec3 at)
{
    const Vec3 reach{kProjectileReach, kProjectileReach, kProjectileReach};
    return view.mayShow(vecSub(at, reach), vecAdd(at, reach));
}

// calls the list holding what draw sends, compiling it on the first call
void replay(GLuint& list, void (*draw)())
{
    if (!list) {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        draw();
        glEndList();
    }
    glCallList(list);
}

GLuint sEggList = 0;
GLuint sRollList = 0;

// a textured square drawn additively, unlit, with its lower left corner at the local origin
void drawGlowQuad(GLuint texture, float width, float height)
{
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_POLYGON);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, height, 0);
    glTexCoord2f(1, 1);
    glVertex3f(width, height, 0);
    glTexCoord2f(1, 0);
    glVertex3f(width, 0, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

void drawRollCap(float z)
{
    glPushMatrix();
    glTranslatef(0, 0, z);
    glScalef(1, 1, 0.001f);  // a sphere flattened to a disc
    glutSolidSphere(kRollCapRadius, 10, 10);
    glPopMatrix();
}

}  // namespace

void drawRolls(int32_t level)
{
    const ViewFrustum view = currentView();
    gRollsOutOfSight = 0;
    for (const RollRecord& roll : gRollsInFlight) {
        if (!roll.active)
            continue;
        if (!mayShowAt(view, roll.position)) {
            glColor3f(0.9f, 0.9f, 0.9f);  // what the roll leaves current, drawn or not
            ++gRollsOutOfSight;
            continue;
        }
        glPushMatrix();
        placeRoll(roll, level);
        replay(sRollList, drawRollShape);
        glPopMatrix();
    }
}

void placeRoll(const RollRecord& roll, int32_t level)
{
    double angle = rollHeadingDegrees(roll.direction, level);
    glColor3f(0.9f, 0.9f, 0.9f);
    glTranslatef(roll.position.x, roll.position.y, roll.position.z);
    glRotatef(float(angle), 0, 1, 0);
}

void drawRollShape() { drawRollModel(kRollRadius, kRollLength); }

void drawRollModel(float radius, float length)
{
    // the cylinder runs along local z, centred when its length is 0.3; the caps stay put
    GLUquadric* quadric = rollQuadric();
    glPushMatrix();
    gluQuadricDrawStyle(quadric, GLU_FILL);
    glTranslatef(0, 0, -kRollCapOffset);
    gluCylinder(quadric, radius, radius, length, 10, 2);
    glPopMatrix();
    drawRollCap(-kRollCapOffset);
    drawRollCap(kRollCapOffset);
}

void drawEggs()
{
    const ViewFrustum view = currentView();
    gEggsOutOfSight = 0;
    for (const EggRecord& egg : gEggsInFlight) {
        if (egg.active) {
            if (!mayShowAt(view, egg.position)) {
                glColor3f(1, 1, 1);  // what the egg leaves current, drawn or not
                ++gEggsOutOfSight;
                continue;
            }
            glPushMatrix();
            placeEgg(egg);
            replay(sEggList, drawEggShape);
            glPopMatrix();
        } else if (egg.struck && !egg.struckPlant) {
            // a plant struck leaves nothing, an egg on the ground neither
            drawSplat(egg);
        }
    }
}

void placeEgg(const EggRecord& egg)
{
    glTranslatef(egg.position.x, egg.position.y, egg.position.z);
    glScalef(1, 1.5f, 1);
    glScalef(0.3f, 0.3f, 0.3f);
    glColor3f(1, 1, 1);
}

void drawEggShape() { glutSolidSphere(0.3, 8, 9); }

void drawSplat(const EggRecord& egg)
{
    SplatPlacement place = splatPlacement(egg);
    glPushMatrix();
    if (place.translated)
        glTranslatef(place.corner.x, place.corner.y, place.corner.z);
    if (place.facesX)
        glRotatef(90, 0, 1, 0);
    drawGlowQuad(kSplatTexture, kSplatSize, kSplatSize);
    glPopMatrix();
}

void drawOwner(float walkAngle, int32_t walkStep, float walkRadius)
{
    // she walks the circle but always faces the same way: the second turn undoes the first
    float heading = float(walkStep) * walkAngle;
    glPushMatrix();
    glRotatef(heading, 0, 1, 0);
    glTranslatef(walkRadius, 0, 0);
    glRotatef(-heading, 0, 1, 0);
    glScalef(kOwnerScale, kOwnerScale, kOwnerScale);
    drawGlowQuad(kOwnerTexture, 0.1f, 0.3f);
    glPopMatrix();
}

void drawLandingMarker(Vec3 at)
{
    // unlit and bright, so it reads the same on the dark lawn and on a lit wall; seen through
    // the wall or roof a strip stops the roll just inside of
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 0.85f, 0.1f);
    glPushMatrix();
    glTranslatef(at.x, at.y, at.z);
    glutSolidSphere(0.15, 8, 6);
    glLineWidth(2.0f);
    glBegin(GL_LINE_LOOP);
    constexpr int kRingPoints = 16;
    for (int i = 0; i < kRingPoints; ++i) {
        const float angle = 6.2831853f * float(i) / float(kRingPoints);
        glVertex3f(0.5f * std::cos(angle), 0.02f, 0.5f * std::sin(angle));
    }
    glEnd();
    glPopMatrix();
    glPopAttrib();
}
