// SPDX-License-Identifier: MIT
// scene: drawing the World: the light, the display lists, the house group, the yard models, the
// terrain, the sky dome and the moon.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "assets/texture_loader.h"
#include "common/house.h"
#include "common/solid_box.h"
#include "common/view_frustum.h"
#include "scene/enclosure.h"
#include "scene/house_solids.h"
#include "scene/materials.h"
#include "scene/world.h"
#include "terrain/terrain.h"

static_assert(kPrimitiveTriangles == GL_TRIANGLES && kPrimitiveLineStrip == GL_LINE_STRIP,
              "the World's primitive constants are GL's");

namespace {

// list set s holds the objects of model kListSetModel[s]
constexpr int kListSetCount = 6;
constexpr int kListSetModel[kListSetCount] = {kModelBush, kModelBbq, kModelPool, kModelBench,
                                              kModelCoyote, kModelPlant};
constexpr int kBushLists = 0;

// preset codes as the objects carry them, and the white that goes under textures
constexpr int32_t kPresetBlack = 7;
constexpr int32_t kPresetWhite = 9;

constexpr float kBushStretch = 2.5f;
constexpr float kHouseGroupHeight = 0.5f;  // the house group is half as tall as it is wide

// the walls (objects 0..4 of the house) get the stucco projected onto their planes, one repeat
// every 15 model units
constexpr int kLastWall = 4;
constexpr int kLastWallAlongX = 2;
constexpr float kStuccoRepeat = 0.06666667f;
constexpr float kStuccoOffsetX = 30.0f;
constexpr float kStuccoOffsetZ = 40.0f;

constexpr float kYardCentre = float(kYardOffset);
constexpr double kSkyRadius = 36.2;
constexpr double kMoonRadius = 3.0;
constexpr int kSphereSlices = 5;
constexpr int kSphereStacks = 10;

constexpr float kTerrainScale = 0.1f;
constexpr float kTerrainShift = -15.0f;

// in yard units: what lies farther than this outside the wall is surely behind it in the depth
// buffer
constexpr double kWallMargin = 0.05;

// a point of the World in the ground's grid units (enterTerrain's transform undone)
Vec3 inTerrainUnits(const Vec3& p)
{
    return Vec3{p.x / kTerrainScale, p.y / kTerrainScale - kTerrainShift, p.z / kTerrainScale};
}

// the ball round all of a model's objects as placed
Ball modelBall(const Model& model, const float toWorld[16])
{
    std::vector<Ball> parts;
    Vec3 sum{0, 0, 0};
    for (const MeshObject& object : model.objects) {
        Ball b = objectBall(object, toWorld);
        if (b.radius < 0)
            continue;
        parts.push_back(b);
        sum = vecAdd(sum, b.centre);
    }
    if (parts.empty())
        return Ball{Vec3{0, 0, 0}, -1.0};
    Ball all{vecScale(sum, 1.0f / float(parts.size())), 0.0};
    for (const Ball& b : parts)
        all.radius = std::max(all.radius, vecLength(vecSub(b.centre, all.centre)) + b.radius);
    all.radius += 1e-5 * (1.0 + all.radius);
    return all;
}

// One begin/end pair per triangle, so a line strip shows two of its three edges. texCoord gives
// each corner its texture coordinate (or none); a template, so no model pays a test per corner.
template <class TexCoord>
void emitFaces(const MeshObject& object, int32_t primitiveMode, TexCoord texCoord)
{
    for (int f = 0; f < object.faceCount; ++f) {
        const MeshFace& face = object.faces[f];
        if (!validFace(object, face))
            continue;
        glBegin(GLenum(primitiveMode));
        for (int32_t v : face.vertexIndex) {
            const Vec3& n = object.normals[v];
            const Vec3& p = object.vertices[v];
            glNormal3f(n.x, n.y, n.z);
            texCoord(p);
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
}

// the object's 3DS material colour, when the model is drawn in those and the object has no preset
const MeshMaterial* materialColour(const Model& model, const MeshObject& object,
                                   bool materialColours)
{
    if (model.materialCount <= 0 || object.materialIndex < 0 || !materialColours ||
        object.presetCode != 0)
        return nullptr;
    if (object.materialIndex >= int32_t(model.materials.size()))
        return nullptr;
    return &model.materials[object.materialIndex];
}

int objectCount(const Model& model)
{
    return std::min<int>(model.objectCount, int(model.objects.size()));
}

}  // namespace

void World::startDrawing()
{
    setupLight();
    buildDisplayLists();
    glEnable(GL_LIGHTING);
}

// The light is given under an identity modelview, so it stays fixed relative to the eye.
void World::setupLight()
{
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glShadeModel(GL_SMOOTH);
}

// Compiled while primitiveMode is still triangles: the yard models never go wireframe.
void World::buildDisplayLists()
{
    for (int s = 0; s < kListSetCount; ++s) {
        const Model& m = models[kListSetModel[s]];
        int count = objectCount(m);
        listBase[s] = glGenLists(count);
        for (int k = 0; k < count; ++k) {
            glNewList(listBase[s] + k, GL_COMPILE);
            drawMeshObject(m.objects[k], m.texturedLists);
            glEndList();
        }
    }
}

void World::drawMeshObject(const MeshObject& object, bool withTexCoords)
{
    if (withTexCoords)  // ground-plane projection, one repeat per model unit
        emitFaces(object, primitiveMode, [](const Vec3& p) { glTexCoord2f(p.x, p.z); });
    else
        emitFaces(object, primitiveMode, [](const Vec3&) {});
}

void World::drawHouse(Model& house)
{
    int count = objectCount(house);
    for (int k = 0; k < count; ++k) {
        const MeshObject& object = house.objects[k];
        if (k > kLastWall) {
            glDisable(GL_TEXTURE_2D);
            glColor3ub(255, 255, 255);
            const MeshMaterial* material = materialColour(house, object, house.useMaterialColours);
            if (material) {
                glEnable(GL_COLOR_MATERIAL);
                glColor3ub(material->colour[0], material->colour[1], material->colour[2]);
            }
            drawMeshObject(object, false);
            continue;
        }
        glDisable(GL_COLOR_MATERIAL);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, kTextureStucco);
        applyPreset(kPresetWhite);
        bool alongX = k <= kLastWallAlongX;
        emitFaces(object, primitiveMode, [alongX](const Vec3& p) {
            float s = alongX ? (p.x + kStuccoOffsetX) * kStuccoRepeat
                             : (p.z + kStuccoOffsetZ) * kStuccoRepeat;
            glTexCoord2f(s, p.y * kStuccoRepeat);
        });
    }
}

void World::drawModel(Model& model, const char* name)
{
    drawModel(model, name, model.useMaterialColours);
}

void World::drawModel(Model& model, const char* name, bool materialColours)
{
    int set = -1;
    if (std::strcmp(name, "plant") == 0) set = 5;
    else if (std::strcmp(name, "coyote") == 0) set = 4;
    else if (std::strcmp(name, "bench") == 0) set = 3;
    else if (std::strcmp(name, "pool") == 0) set = 2;
    else if (std::strcmp(name, "bbq") == 0) set = 1;

    int count = objectCount(model);
    for (int k = 0; k < count; ++k) {
        const MeshObject& object = model.objects[k];
        if (model.texturedLists) {
            glEnable(GL_TEXTURE_2D);
            applyPreset(kPresetWhite);
            glBindTexture(GL_TEXTURE_2D, kTextureGrass);
            glCallList(listBase[kBushLists] + k);
            continue;
        }
        if (const MeshMaterial* material = materialColour(model, object, materialColours)) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
            glColor3ub(material->colour[0], material->colour[1], material->colour[2]);
        } else if (model.swapYZ) {
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_COLOR_MATERIAL);
            // with no preset the material of the object before stays
            if (object.presetCode >= 1 && object.presetCode <= 8)
                applyPreset(object.presetCode);
        }
        if (set >= 0)
            glCallList(listBase[set] + k);
        else
            drawMeshObject(object, false);
    }
}

// code 1..8 as the objects' presetCode, kPresetWhite under textures
void World::applyPreset(int32_t code)
{
    const TriNode* node = terrain->firstRoot();
    switch (code) {
    case 1: node->applyMaterialMint(); break;
    case 2: node->applyMaterialLeafGreen(); break;
    case 3: node->applyMaterialBrown(); break;
    case 4: node->applyMaterialGrey(); break;
    case 5: node->applyMaterialChrome(); break;
    case 6: node->applyMaterialCream(); break;
    case 7: node->applyMaterialBlack(); break;
    case 8: node->applyMaterialWater(); break;
    default: node->applyMaterialWhite(); break;
    }
}

// Hidden inside the bush, the eye can stand within one of its lumps, which then fills the whole
// view in front of everything outside it: the placements, the tiles of the ground and the sky
// wholly outside that lump are left out, and the state they would have left is set instead.
void World::draw(bool ownerSeesPlayer, int32_t level, int32_t hideLeft, int32_t hideRight,
                 bool withSky)
{
    Ball wall{};
    const int cover = coverPlacement(level, hideLeft, hideRight);
    const bool walledIn = coverWallsEyeIn(cover, wall);
    const std::vector<int> order =
        placementsToDraw(level, hideLeft, hideRight, walledIn ? &wall : nullptr);
    // The bush the player hides behind stands nearest and covers most of the view: drawn first,
    // what lies behind it fails the depth test untextured. Its states are put back after it, and
    // at its own place in the order the states it would have left are set instead.
    const bool coverFirst = cover >= 0 && placements[cover]->model->texturedLists &&
                            order.size() > 1 && order.front() != cover &&
                            std::find(order.begin(), order.end(), cover) != order.end();
    float coverNormal[3] = {}, coverTexCoord[4] = {};
    if (coverFirst) {
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
        drawPlacement(cover, ownerSeesPlayer);
        glGetFloatv(GL_CURRENT_NORMAL, coverNormal);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coverTexCoord);
        glPopAttrib();
    }
    for (int i : order) {
        if (!coverFirst || i != cover) {
            drawPlacement(i, ownerSeesPlayer);
            continue;
        }
        glDisable(GL_CULL_FACE);
        glDisable(GL_COLOR_MATERIAL);
        glEnable(GL_TEXTURE_2D);
        applyPreset(kPresetWhite);
        glBindTexture(GL_TEXTURE_2D, kTextureGrass);
        glNormal3fv(coverNormal);
        glTexCoord4fv(coverTexCoord);
    }
    // the ground wholly behind the house, drawn before it, would fail the depth test
    Shadows behindHouse;
    const Shadows* behind = houseShadowsOnGround(order, behindHouse) ? &behindHouse : nullptr;
    enterTerrain();
    if (walledIn) {
        Ball near{inTerrainUnits(wall.centre), (wall.radius + kWallMargin) / kTerrainScale};
        terrain->draw(&near, behind);
    } else {
        terrain->draw(nullptr, behind);
    }
    leaveTerrain();
    if (withSky) {
        const Ball moon{Vec3{kYardCentre, float(kSkyRadius), kYardCentre}, kMoonRadius};
        if (walledIn && skyList &&
            ballInsideTessellatedSphere(wall, Vec3{kYardCentre, 0.0f, kYardCentre}, kSkyRadius,
                                        kSphereSlices, kSphereStacks, kWallMargin) &&
            ballsApart(wall, moon, kWallMargin)) {
            glBindTexture(GL_TEXTURE_2D, kTextureMoon);
            glNormal3fv(skyEndNormal);
            glTexCoord4fv(skyEndTexCoord);
        } else {
            replaySkyAndMoon();
        }
    }
    glDisable(GL_TEXTURE_2D);
}

bool World::houseShadowsOnGround(const std::vector<int>& drawn, Shadows& shadows)
{
    // the walls hide only when drawn filled, and only the house's own drawing puts them there
    if (primitiveMode != kPrimitiveTriangles ||
        std::find(drawn.begin(), drawn.end(), kPlacementHouse) == drawn.end() ||
        placements[kPlacementHouse]->model->swapYZ)
        return false;
    const Vec3 houseCentre{kYardCentre, 0.0f, kYardCentre};  // the house frame's origin
    if (houseWallsClosed < 0) {
        placementToWorld(kPlacementHouse, houseToWorld);
        float toHouse[16];
        std::copy(houseToWorld, houseToWorld + 16, toHouse);
        toHouse[12] -= houseCentre.x;
        toHouse[13] -= houseCentre.y;
        toHouse[14] -= houseCentre.z;
        houseWallsClosed = wallsCloseHouseBlocks(*placements[kPlacementHouse]->model, toHouse);
    }
    double modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    Vec3 eye;
    if (!houseWallsClosed || !eyeInModel(modelview, eye) ||
        !eyeSeesHouseBlocksFromOutside(vecSub(eye, houseCentre)))
        return false;
    shadows.eye = inTerrainUnits(eye);
    shadows.solids.clear();
    for (const SolidBox& block : houseBlocks())
        shadows.solids.push_back(SolidBox{inTerrainUnits(vecAdd(block.low, houseCentre)),
                                          inTerrainUnits(vecAdd(block.high, houseCentre))});
    return true;
}

void World::placementToWorld(int i, float toWorld[16])
{
    // enterPlacement's states and the material they touch are put back
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    enterPlacement(i);
    glGetFloatv(GL_MODELVIEW_MATRIX, toWorld);
    leavePlacement();
    glPopMatrix();
    glPopAttrib();
}

bool World::coverWallsEyeIn(int cover, Ball& wall)
{
    // only a model whose drawing sets every state it reads may be drawn with what came before
    // it left out
    if (cover < 0 || !placements[cover]->model->texturedLists)
        return false;
    double projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    Vec3 view[5];
    if (!viewCorners(projection, modelview, view))
        return false;
    float toWorld[16];
    placementToWorld(cover, toWorld);
    for (const MeshObject& object : placements[cover]->model->objects)
        if (objectWallsEyeIn(object, toWorld, view, 5, kWallMargin, wall))
            return true;
    return false;
}

std::vector<int> World::placementsToDraw(int32_t level, int32_t hideLeft, int32_t hideRight,
                                         const Ball* wall)
{
    std::vector<int> shown;
    forEachPlacementShown(level, hideLeft, hideRight, [&](int i) { shown.push_back(i); });
    if (!wall)
        return shown;
    // from the last: one left out before a drawn placement that reads the state it leaves would
    // change that placement's colours
    std::vector<int> drawn;
    bool laterReadsState = false;
    for (size_t k = shown.size(); k-- > 0;) {
        const int i = shown[k];
        float toWorld[16];
        placementToWorld(i, toWorld);
        if (!laterReadsState && ballsApart(*wall, modelBall(*placements[i]->model, toWorld),
                                           kWallMargin))
            continue;
        drawn.push_back(i);
        laterReadsState = laterReadsState || !placements[i]->model->texturedLists;
    }
    std::reverse(drawn.begin(), drawn.end());
    return drawn;
}

// Hidden behind the bush, its lumps cover the view several times over: drawn nearest first, the
// depth test turns away the farther ones before they are textured. Each lump is drawn in the
// same states as drawModel's, so only which of two equally deep fragments wins could differ, and
// the frames are compared pixel for pixel in every hidden view.
void World::drawTexturedNearestFirst(const Model& model)
{
    float toEye[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, toEye);
    std::vector<std::pair<double, int>> order;
    for (int k = 0; k < objectCount(model); ++k) {
        Ball b = objectBall(model.objects[k], toEye);
        order.push_back({vecLength(b.centre) - b.radius, k});
    }
    std::stable_sort(order.begin(), order.end());
    for (const auto& [distance, k] : order) {
        glEnable(GL_TEXTURE_2D);
        applyPreset(kPresetWhite);
        glBindTexture(GL_TEXTURE_2D, kTextureGrass);
        glCallList(listBase[kBushLists] + k);
    }
    // the current normal and texture coordinate end as after the last object's last corner
    for (int k = objectCount(model); k-- > 0;) {
        const MeshObject& object = model.objects[k];
        for (int f = object.faceCount; f-- > 0;)
            if (validFace(object, object.faces[f])) {
                int32_t v = object.faces[f].vertexIndex[2];
                glNormal3f(object.normals[v].x, object.normals[v].y, object.normals[v].z);
                glTexCoord2f(object.vertices[v].x, object.vertices[v].z);
                return;
            }
    }
}

void World::drawPlacement(int i, bool ownerSeesPlayer)
{
    enterPlacement(i);
    const Placement& p = *placements[i];
    if (p.model->texturedLists)
        drawTexturedNearestFirst(*p.model);
    else if (p.model->swapYZ)
        drawModel(*p.model, p.name);
    else
        replayHouseGroupMember(i, ownerSeesPlayer);
    leavePlacement();
}

void World::enterPlacement(int i)
{
    const Placement& p = *placements[i];
    Model& model = *p.model;
    glPushMatrix();
    if (!model.swapYZ) {
        glEnable(GL_CULL_FACE);
        glEnable(GL_COLOR_MATERIAL);
        glTranslatef(p.position.x, p.position.y, p.position.z);
        glScalef(model.scale, model.scale * kHouseGroupHeight, model.scale);
        // the three house models share the house's size so they stay in register; without the
        // house file there is nothing to measure, so they are drawn at their file size
        float unit = houseSize != 0.0f ? 1.0f / houseSize : 1.0f;
        glScalef(unit, unit, unit);
    } else {
        glDisable(GL_CULL_FACE);
        glDisable(GL_COLOR_MATERIAL);
        // a model wholly above zero measures 0; it is drawn at its file size rather than blown up
        float size = model.size != 0.0f ? model.size : 1.0f;
        glTranslatef(p.position.x, p.position.y, p.position.z);
        // the lift that sets the lowest point on the ground ignores the bush's stretch
        glTranslatef(0.0f, -model.minCorner.y * model.scale / size, 0.0f);
        float stretch = std::strcmp(p.name, "bush") == 0 ? kBushStretch : 1.0f;
        glScalef(model.scale, model.scale * stretch, model.scale);
        glScalef(1.0f / size, 1.0f / size, 1.0f / size);
        glRotatef(p.rotation, 0.0f, 1.0f, 0.0f);
    }
}

void World::leavePlacement()
{
    glDisable(GL_COLOR_MATERIAL);
    glPopMatrix();
}

// The house, the frames and the panes look the same every frame for a given primitive mode and
// pane lighting, so each of the 12 is compiled on first use and replayed.
void World::replayHouseGroupMember(int i, bool ownerSeesPlayer)
{
    if (i > kPlacementWindowPanes) {
        drawHouseGroupMember(i, ownerSeesPlayer);
        return;
    }
    int slot = i * 4 + (primitiveMode == kPrimitiveLineStrip ? 2 : 0) +
               (i == kPlacementWindowPanes && ownerSeesPlayer ? 1 : 0);
    if (!houseGroupLists)
        houseGroupLists = glGenLists(12);
    if (houseGroupCompiled[slot]) {
        glCallList(houseGroupLists + slot);
        return;
    }
    glNewList(houseGroupLists + slot, GL_COMPILE_AND_EXECUTE);
    drawHouseGroupMember(i, ownerSeesPlayer);
    glEndList();
    houseGroupCompiled[slot] = true;
}

// The house, the frames and the panes; the panes are dark unless the owner sees the player, then
// they light up in their 3DS colours.
void World::drawHouseGroupMember(int i, bool ownerSeesPlayer)
{
    const Placement& p = *placements[i];
    if (i == kPlacementWindowPanes) {
        // the owner's sight, not the model's own setting, decides the panes' colours
        if (!ownerSeesPlayer) {
            glDisable(GL_COLOR_MATERIAL);
            applyPreset(kPresetBlack);
        }
        drawModel(*p.model, p.name, ownerSeesPlayer);
    } else if (i == kPlacementHouse) {
        drawHouse(*p.model);
    } else {
        drawModel(*p.model, p.name);
    }
}

void World::enterTerrain()
{
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    applyPreset(kPresetWhite);
    glPushMatrix();
    glScalef(kTerrainScale, kTerrainScale, kTerrainScale);
    glTranslatef(0.0f, kTerrainShift, 0.0f);
}

void World::leaveTerrain()
{
    glPopMatrix();
}

void World::replaySkyAndMoon()
{
    if (skyList) {
        glCallList(skyList);
        return;
    }
    skyList = glGenLists(1);
    glNewList(skyList, GL_COMPILE_AND_EXECUTE);
    drawSkyAndMoon();
    glEndList();
    glGetFloatv(GL_CURRENT_NORMAL, skyEndNormal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, skyEndTexCoord);
}

// The dome is seen from inside; the moon sits on its top. Both are lit under the white preset
// the terrain left.
void World::drawSkyAndMoon()
{
    if (!skyQuadric) {
        skyQuadric = gluNewQuadric();
        gluQuadricDrawStyle(skyQuadric, GLU_FILL);
        gluQuadricTexture(skyQuadric, GL_TRUE);
        gluQuadricOrientation(skyQuadric, GLU_INSIDE);
        moonQuadric = gluNewQuadric();
        gluQuadricDrawStyle(moonQuadric, GLU_FILL);
        gluQuadricTexture(moonQuadric, GL_TRUE);
        gluQuadricOrientation(moonQuadric, GLU_OUTSIDE);
    }
    glBindTexture(GL_TEXTURE_2D, kTextureSky);
    glPushMatrix();
    glTranslatef(kYardCentre, 0.0f, kYardCentre);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // the sphere's axis upright
    gluSphere(skyQuadric, kSkyRadius, kSphereSlices, kSphereStacks);
    glPopMatrix();

    glBindTexture(GL_TEXTURE_2D, kTextureMoon);
    glPushMatrix();
    glTranslatef(kYardCentre, float(kSkyRadius), kYardCentre);
    gluSphere(moonQuadric, kMoonRadius, kSphereSlices, kSphereStacks);
    glPopMatrix();
}
