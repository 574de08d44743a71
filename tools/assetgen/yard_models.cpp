// SPDX-License-Identifier: MIT
// assetgen: the potted plant and the barbecue. Both are z-up; the game turns them y-up, stands
// them on their lowest point and sizes them by their longest reach below zero (0.5 for the plant,
// 0.75 for the barbecue), which is how far they are built to reach here.
#include <cmath>
#include <string>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr float kDegrees = 57.2957795f;

}  // namespace

// Twelve objects; the leaves at 0, 2, 4, 6, 8 and 11 take the game's leaf green, the rest draw in
// their own colours.
ModelData makePlant()
{
    ModelData plant;
    plant.material("terracotta", 176, 84, 46);
    plant.material("soil", 52, 36, 24);
    plant.material("stem", 70, 96, 34);
    plant.material("rim", 150, 70, 40);
    plant.material("leaf", 40, 120, 40);

    constexpr int kLeaves = 6;
    const float kAzimuth[kLeaves] = {15, 75, 140, 195, 255, 318};
    const float kHeight[kLeaves] = {0.66f, 0.52f, 0.74f, 0.55f, 0.62f, 0.48f};
    const float kLift[kLeaves] = {25, 5, 35, 10, 20, 0};  // degrees above horizontal
    const float kSoilTop = 0.225f;

    P3 tips[kLeaves];
    for (int i = 0; i < kLeaves; ++i) {
        float a = kAzimuth[i] / kDegrees;
        tips[i] = {0.07f * std::cos(a), 0.07f * std::sin(a), kHeight[i]};
    }
    auto leaf = [&](int i) {
        MeshPart& part = plant.object("leaf" + std::to_string(i + 1), "leaf");
        Xform at = Xform::translate(tips[i]) * Xform::rotateZ(kAzimuth[i]) * Xform::rotateY(-kLift[i]) *
                   Xform::translate({0.21f, 0, 0}) * Xform::scale({0.22f, 0.1f, 0.014f});
        addSphere(part, at, 12, 6);
    };
    auto stems = [&](int first, int count, const char* name) {
        MeshPart& part = plant.object(name, "stem");
        for (int i = first; i < first + count; ++i)
            addRod(part, {0.015f * std::cos(kAzimuth[i] / kDegrees), 0.015f * std::sin(kAzimuth[i] / kDegrees), kSoilTop - 0.01f},
                tips[i], 0.012f);
    };

    leaf(0);
    MeshPart& pot = plant.object("pot", "terracotta");
    addCylinder(pot, Xform(), 14, 0.11f, 0.15f, 0.22f);
    leaf(1);
    MeshPart& soil = plant.object("soil", "soil");
    addCylinder(soil, Xform::translate({0, 0, 0.2f}), 14, 0.145f, 0.145f, kSoilTop - 0.2f);
    leaf(2);
    stems(0, 2, "stemsA");
    leaf(3);
    stems(2, 2, "stemsB");
    leaf(4);
    stems(4, 2, "stemsC");
    MeshPart& rim = plant.object("rim", "rim");
    addCylinder(rim, Xform::translate({0, 0, 0.2f}), 14, 0.165f, 0.165f, 0.055f);
    leaf(5);
    return plant;
}

// A kettle barbecue on a cart with wooden side tables. The object order is the one the game's
// colour table expects: 0, 5, 13, 14 wood; 7, 9, 10, 11 grey; 15, 16 chrome; 6 cream; 3, 4 black;
// 1, 2, 8, 12 are drawn in the colour of the object before them.
ModelData makeBarbecue()
{
    ModelData bbq;
    bbq.material("metal", 120, 120, 120);
    const float kBowlCentre = 0.78f, kRadius = 0.36f, kTable = 0.74f, kEdge = 0.75f;

    auto table = [&](float side, const char* top, const char* rails) {
        float inner = 0.3f, outer = kEdge;
        float x0 = side < 0 ? -outer : inner, x1 = side < 0 ? -inner : outer;
        MeshPart& slats = bbq.object(top, "metal");
        for (int k = 0; k < 4; ++k) {
            float y = -0.24f + 0.125f * float(k);
            addBoxMinMax(slats, {x0, y, kTable}, {x1, y + 0.105f, kTable + 0.04f});
        }
        MeshPart& frame = bbq.object(rails, "metal");
        addBoxMinMax(frame, {x0 + 0.02f, -0.25f, kTable - 0.05f}, {x1 - 0.02f, -0.21f, kTable});
        addBoxMinMax(frame, {x0 + 0.02f, 0.21f, kTable - 0.05f}, {x1 - 0.02f, 0.25f, kTable});
    };

    table(-1, "tableLeft", "tableLeftRails");                 // 0, 1
    MeshPart& towelBar = bbq.object("towelBar", "metal");     // 2
    addRod(towelBar, {-kEdge + 0.04f, -0.266f, kTable - 0.035f}, {-0.34f, -0.266f, kTable - 0.035f}, 0.016f);
    MeshPart& bowl = bbq.object("bowl", "metal");             // 3
    addDome(bowl, Xform::translate({0, 0, kBowlCentre}) * Xform::scale({kRadius, kRadius, -0.3f}), 18, 6);
    MeshPart& lid = bbq.object("lid", "metal");               // 4
    addDome(lid, Xform::translate({0, 0, kBowlCentre + 0.03f}) * Xform::scale({kRadius, kRadius, 0.28f}), 18, 6);
    MeshPart& handle = bbq.object("lidHandle", "metal");      // 5
    addBoxMinMax(handle, {-0.14f, -0.03f, 1.18f}, {0.14f, 0.03f, 1.22f});
    addBoxMinMax(handle, {-0.12f, -0.015f, 1.08f}, {-0.1f, 0.015f, 1.19f});
    addBoxMinMax(handle, {0.1f, -0.015f, 1.08f}, {0.12f, 0.015f, 1.19f});
    MeshPart& shelf = bbq.object("shelf", "metal");           // 6
    addBoxMinMax(shelf, {-0.32f, -0.24f, 0.2f}, {0.32f, 0.24f, 0.23f});

    // four splayed legs from under the bowl to the ground
    const P3 kFeet[4] = {{-0.33f, -0.27f, 0}, {0.33f, -0.27f, 0}, {-0.33f, 0.27f, 0}, {0.33f, 0.27f, 0}};
    const char* kLegNames[4] = {"legFrontLeft", "legFrontRight", "legBackLeft", "legBackRight"};
    for (int i = 0; i < 4; ++i) {                             // 7, 8, 9, 10
        MeshPart& leg = bbq.object(kLegNames[i], "metal");
        P3 top{kFeet[i].x * 0.55f, kFeet[i].y * 0.55f, kBowlCentre - 0.2f};
        addRod(leg, {kFeet[i].x, kFeet[i].y, kFeet[i].x > 0 ? 0.08f : 0.0f  /* on the axle */}, top, 0.022f);
    }
    for (int side = 0; side < 2; ++side) {                    // 11, 12
        MeshPart& wheel = bbq.object(side ? "wheelBack" : "wheelFront", "metal");
        float y = side ? 0.3f : -0.3f;
        addCylinder(wheel, Xform::translate({0.33f, y - 0.025f, 0.08f}) * Xform::rotateX(-90), 12, 0.08f, 0.08f, 0.05f);
    }
    table(1, "tableRight", "tableRightRails");                // 13, 14
    MeshPart& vent = bbq.object("lidVent", "metal");          // 15
    addCylinder(vent, pointing({0.17f, 0.12f, 1.01f}, {1.31f, 0.93f, 2.91f}), 10, 0.06f, 0.06f, 0.05f);
    MeshPart& band = bbq.object("rimBand", "metal");          // 16
    addCylinder(band, Xform::translate({0, 0, kBowlCentre - 0.02f}), 18, kRadius + 0.012f, kRadius + 0.012f, 0.06f);
    return bbq;
}
