// scene: the static scene. The terrain, the nine models, the 27 placements over the four levels,
// the light and the display lists; the hit test of thrown items against plants and house.
#pragma once
#include <cstdint>
#include <vector>

#include "assets/model.h"
#include "assets/model_loader.h"
#include "common/vec.h"

class Terrain;

constexpr int kModelCount = 9;
constexpr int kPlacementCount = 27;

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
    // builds everything; with withGL false the light and the display lists are left out, so the
    // layout and the queries can be used without a GL context
    explicit World(bool withGL = true);

    void loadModels();
    void layoutObjects();
    float groundHeight(float x, float z) const;
    // 0 nothing, 1 a plant of the level (knocked out unless probing), 2 the house
    int32_t hitTest(Vec3 point, int32_t level, bool probeOnly);

    void setupLight();
    void buildDisplayLists();
    void draw(bool ownerSeesPlayer, int32_t level, int32_t hideLeft, int32_t hideRight);
    void drawHouse(Model& house);
    void drawModel(Model& model, const char* name);
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
};

extern World* gWorld;
