// SPDX-License-Identifier: MIT
// scene: the static scene. The terrain, the nine models, the 27 placements over the four levels,
// the light and the display lists; the hit test of thrown items against plants and house.
#pragma once
#include <cstdint>
#include <vector>

#include "assets/model.h"
#include "assets/model_loader.h"
#include "common/vec.h"

class Terrain;
struct Ball;
struct GLUquadric;
struct Shadows;

constexpr int kModelCount = 9;
constexpr int kPlacementCount = 27;

// the two primitives a model triangle is drawn with (GL_TRIANGLES, GL_LINE_STRIP)
constexpr int32_t kPrimitiveTriangles = 0x0004;
constexpr int32_t kPrimitiveLineStrip = 0x0003;

// models[] indices
enum ModelIndex {
    kModelHouse, kModelWindowFrames, kModelWindowPanes, kModelPlant, kModelBbq,
    kModelBush, kModelBench, kModelPool, kModelCoyote
};

// placements[] indices that the drawing and the hit test single out
constexpr int kPlacementHouse = 0;
constexpr int kPlacementWindowPanes = 2;
constexpr int kFirstPlant = 5;
constexpr int kLastPlant = 20;

struct Placement {
    Model* model;
    Vec3 position;      // world position
    float rotation;     // degrees about y
    int32_t group;      // 0: every level; 1..4: that level only
    bool visible;
    const char* name;
};

class World {
public:
    // builds the terrain, the models and the layout, without GL, so the layout and the queries
    // can be used without a GL context. A terrain already built (start-up builds it on a second
    // thread while the window opens) is taken over instead of built here.
    explicit World(Terrain* builtTerrain = nullptr);
    // the light, the display lists and lighting on: what drawing needs, with a GL context current
    void startDrawing();

    void loadModels();
    void layoutObjects();
    // every placement's shown flag as the layout gives it: the knocked-out plants stand again
    void restoreLayout();
    float groundHeight(float x, float z) const;
    // 0 nothing, 1 a plant of the level (knocked out unless probing), 2 the house
    int32_t hitTest(Vec3 point, int32_t level, bool probeOnly);

    void setupLight();
    void buildDisplayLists();
    // the scene at the level, the cover object shown on the side the player hides; withSky false
    // leaves out the dome and the moon (the bird's-eye camera stands outside the dome, just above
    // the moon, which would fill its view)
    void draw(bool ownerSeesPlayer, int32_t level, int32_t hideLeft, int32_t hideRight,
              bool withSky = true);
    void drawHouse(Model& house);
    // in the model's material colours when materialColours (the model's own setting unless given)
    void drawModel(Model& model, const char* name);
    void drawModel(Model& model, const char* name, bool materialColours);
    void drawMeshObject(const MeshObject& object, bool withTexCoords);
    void toggleWireframe();

    Terrain* terrain;
    ModelLoader loader;
    std::vector<Placement*> placements;
    Model models[kModelCount];
    const char* modelFiles[kModelCount];
    int32_t primitiveMode;
    uint32_t listBase[6];
    float lightPosition[4];
    float lightAmbient[4];
    float lightDiffuse[4];
    float lightSpecular[4];
    float houseSize;

    // Below, the pieces World::draw is made of, each drawn afresh; the game replays the house
    // group, the terrain, the sky and the moon from lists instead (they look the same every
    // frame). Public so that a comparison can draw the scene afresh from the same pieces.

    // the placement's cover-object index for this frame, -1 for none
    int coverPlacement(int32_t level, int32_t hideLeft, int32_t hideRight) const;
    // calls visit(i) for each placement shown at the level, in order, with the cover object
    // shown while the player hides behind it
    template <class Visit>
    void forEachPlacementShown(int32_t level, int32_t hideLeft, int32_t hideRight,
                               Visit&& visit) const;
    // pushes the matrix and sets the placement's transform and states; leavePlacement undoes
    void enterPlacement(int i);
    void leavePlacement();
    void drawHouseGroupMember(int i, bool ownerSeesPlayer);
    // the terrain's states and transform, pushed; leaveTerrain pops
    void enterTerrain();
    void leaveTerrain();
    void drawSkyAndMoon();

private:
    void drawPlacement(int i, bool ownerSeesPlayer);
    // drawModel for a model of textured lists, its objects nearest the eye first
    void drawTexturedNearestFirst(const Model& model);
    // the transform drawPlacement gives placement i, from the World's coordinates, column-major
    void placementToWorld(int i, float toWorld[16]);
    // the ball round the part of the cover object that walls the eye in (see scene/enclosure.h)
    bool coverWallsEyeIn(int cover, Ball& wall);
    // the placements of the frame the batched drawing draws: when the eye is walled in, those
    // wholly outside the wall are left out, unless a later one depends on the state they leave
    std::vector<int> placementsToDraw(int32_t level, int32_t hideLeft, int32_t hideRight,
                                      const Ball* wall);
    // what the house's blocks hide from the eye, in the ground's grid units, when the house is
    // among the placements drawn this frame in solid triangles (scene/house_solids.h)
    bool houseShadowsOnGround(const std::vector<int>& drawn, Shadows& shadows);
    void replayHouseGroupMember(int i, bool ownerSeesPlayer);
    void replaySkyAndMoon();
    void applyPreset(int32_t code);

    GLUquadric* skyQuadric = nullptr;
    GLUquadric* moonQuadric = nullptr;
    uint32_t houseGroupLists = 0;   // 3 members x 2 primitive modes x dark/lit panes
    bool houseGroupCompiled[12] = {};
    uint32_t skyList = 0;
    float skyEndNormal[3] = {};    // what the sky and moon leave current
    float skyEndTexCoord[4] = {};
    int houseWallsClosed = -1;  // whether the house's walls close its blocks, once measured
    float houseToWorld[16] = {};  // the house's placement, measured with it
};

extern World* gWorld;
// the run's World, built once by start-up (or the headless replay, without drawing) into gWorld;
// only the World's own functions change it afterwards
World& buildWorld(Terrain* builtTerrain = nullptr);

template <class Visit>
void World::forEachPlacementShown(int32_t level, int32_t hideLeft, int32_t hideRight,
                                  Visit&& visit) const
{
    // the cover object's flag is read the other way round while the player hides behind it
    const int cover = coverPlacement(level, hideLeft, hideRight);
    for (int i = 0; i < int(placements.size()); ++i) {
        const Placement& p = *placements[i];
        if (p.visible != (i == cover) && (p.group == 0 || p.group == level))
            visit(i);
    }
}
