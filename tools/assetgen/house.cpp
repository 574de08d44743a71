// SPDX-License-Identifier: MIT
// assetgen: the house, its window frames and its window panes.
//
// Everything is laid out in the house frame the game uses (origin at the house's centre, y up,
// ground at 0) and written with y doubled, because the game draws the house group with its
// height halved. The game scales the group by 11.377778 / (the house's longest reach below zero);
// the back eave reaches exactly 11.377778 behind the centre, so the scale is 1 and the walls land
// where the game's fixed boxes expect them.
#include <cmath>
#include <string>

#include "common/house.h"
#include "tools/assetgen/assetgen.h"

namespace {

using namespace house::walls;
constexpr float kReach = 11.377778f;    // the back eave; sets the group's scale
constexpr float kEave = kReach + kBackZ;  // the same overhang all round
constexpr float kPorchRoofTop = 2.95f;  // the porch roof's planters stand on it
constexpr float kHeightStretch = 2.0f;  // undoes the game's halving of the house's height

P3 model(P3 house) { return {house.x, house.y * kHeightStretch, house.z}; }

void block(MeshPart& part, P3 lo, P3 hi) { addBoxMinMax(part, model(lo), model(hi)); }

// a flat polygon turned so that it faces `outward`
void facing(MeshPart& part, std::vector<P3> corners, P3 outward)
{
    for (P3& c : corners)
        c = model(c);
    P3 a = corners[1] - corners[0], b = corners[2] - corners[0];
    P3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    if (n.x * outward.x + n.y * outward.y + n.z * outward.z < 0)
        std::vector<P3>(corners.rbegin(), corners.rend()).swap(corners);
    addPolygon(part, corners);
}

// A wall seen from outside: u runs along it, d away from it.
struct Wall {
    enum Axis { alongX, alongZ } axis;
    float plane;
    float out;  // +1 or -1: the side the wall faces

    P3 at(float u, float y, float d) const
    {
        return axis == alongX ? P3{u, y, plane + out * d} : P3{plane + out * d, y, u};
    }
    P3 outward() const { return axis == alongX ? P3{0, 0, out} : P3{out, 0, 0}; }
    void box(MeshPart& part, float u0, float u1, float y0, float y1, float d0, float d1) const
    {
        P3 a = at(u0, y0, d0), b = at(u1, y1, d1);
        block(part, {std::fmin(a.x, b.x), y0, std::fmin(a.z, b.z)},
              {std::fmax(a.x, b.x), y1, std::fmax(a.z, b.z)});
    }
};

const Wall kBackWall{Wall::alongX, kBackZ, -1};
const Wall kFrontWall{Wall::alongX, kFrontZ, 1};
const Wall kPorchWall{Wall::alongX, kPorchZ, 1};
const Wall kLeftWall{Wall::alongZ, -kHalfWidth, -1};
const Wall kRightWall{Wall::alongZ, kHalfWidth, 1};

// One window: the opening from bottom to top, centred at u. The sill's top is the bottom of the
// opening; the plants on the upper floors stand on it. The ground-floor sills sit high enough, and
// the porch's windows far enough aside, to clear the plants on the ledges below.
struct Window {
    const Wall* wall;
    float u, bottom, top, width;
};

constexpr float kFrameBar = 0.12f;
constexpr float kFrameDepth = 0.08f;
constexpr float kPaneDepth = 0.03f;
constexpr float kSillDepth = 0.32f;

const Window kWindows[] = {
    // back: the level-1 and level-2 side
    {&kBackWall, -5.3f, 4.6f, 6.2f, 1.9f},
    {&kBackWall, -1.2f, 4.6f, 6.2f, 1.9f},
    {&kBackWall, 2.9f, 4.6f, 6.2f, 1.9f},
    {&kBackWall, -5.3f, 1.7f, 3.2f, 1.9f},
    {&kBackWall, -1.2f, 1.7f, 3.2f, 1.9f},
    {&kBackWall, 2.9f, 1.7f, 3.2f, 1.9f},
    // right (+x)
    {&kRightWall, -7.3f, 4.6f, 6.2f, 1.9f},
    {&kRightWall, -1.0f, 4.6f, 6.2f, 1.9f},
    {&kRightWall, -7.3f, 1.7f, 3.2f, 1.9f},
    {&kRightWall, -1.0f, 1.7f, 3.2f, 1.9f},
    // left (-x)
    {&kLeftWall, -6.6f, 4.5f, 6.1f, 1.9f},
    {&kLeftWall, 0.9f, 4.5f, 6.1f, 1.9f},
    {&kLeftWall, -6.6f, 1.7f, 3.2f, 1.9f},
    {&kLeftWall, 0.9f, 1.7f, 3.2f, 1.9f},
    // front: upper floor above the porch roof, and the porch itself
    {&kFrontWall, -3.4f, 4.55f, 6.15f, 1.9f},
    {&kFrontWall, 3.4f, 4.55f, 6.15f, 1.9f},
    {&kPorchWall, -5.9f, 1.1f, 2.2f, 1.5f},
    {&kPorchWall, 5.9f, 1.1f, 2.2f, 1.5f},
};

void addFrame(MeshPart& part, const Window& w)
{
    const Wall& wall = *w.wall;
    float l = w.u - w.width * 0.5f, r = w.u + w.width * 0.5f;
    wall.box(part, l - kFrameBar, l, w.bottom, w.top + kFrameBar, 0, kFrameDepth);
    wall.box(part, r, r + kFrameBar, w.bottom, w.top + kFrameBar, 0, kFrameDepth);
    wall.box(part, l, r, w.top, w.top + kFrameBar, 0, kFrameDepth);
    // mullion and transom, a little shallower than the frame
    float mid = w.bottom + (w.top - w.bottom) * 0.62f;
    wall.box(part, w.u - 0.04f, w.u + 0.04f, w.bottom, w.top, 0, kFrameDepth * 0.75f);
    wall.box(part, l, r, mid - 0.04f, mid + 0.04f, 0, kFrameDepth * 0.75f);
}

void addSill(MeshPart& part, const Window& w)
{
    float half = w.width * 0.5f + kFrameBar + 0.08f;
    w.wall->box(part, w.u - half, w.u + half, w.bottom - 0.12f, w.bottom, 0, kSillDepth);
}

void addPane(MeshPart& part, const Window& w)
{
    const Wall& wall = *w.wall;
    float l = w.u - w.width * 0.5f, r = w.u + w.width * 0.5f;
    facing(part,
           {wall.at(l, w.bottom, kPaneDepth), wall.at(r, w.bottom, kPaneDepth),
            wall.at(r, w.top, kPaneDepth), wall.at(l, w.top, kPaneDepth)},
           wall.outward());
}

// one object a wall, named prefix and side ("framesBack"), holding `add` of each of its windows
void addPerWall(ModelData& into, const std::string& prefix, const std::string& material,
                void (*add)(MeshPart&, const Window&))
{
    const Wall* walls[] = {&kBackWall, &kFrontWall, &kPorchWall, &kLeftWall, &kRightWall};
    const char* sides[] = {"Back", "Front", "Porch", "Left", "Right"};
    for (int i = 0; i < 5; ++i) {
        MeshPart& part = into.object(prefix + sides[i], material);
        for (const Window& w : kWindows)
            if (w.wall == walls[i])
                add(part, w);
    }
}

// the walls take the stucco texture; the game projects it from x on objects 0-2 and from z on 3-4
void addWalls(ModelData& house)
{
    facing(house.object("wallBack", "stucco"),
           {{-kHalfWidth, 0, kBackZ}, {kHalfWidth, 0, kBackZ}, {kHalfWidth, kMainHeight, kBackZ},
            {-kHalfWidth, kMainHeight, kBackZ}},
           {0, 0, -1});
    facing(house.object("wallFront", "stucco"),
           {{-kHalfWidth, kPorchHeight, kFrontZ}, {kHalfWidth, kPorchHeight, kFrontZ},
            {kHalfWidth, kMainHeight, kFrontZ}, {-kHalfWidth, kMainHeight, kFrontZ}},
           {0, 0, 1});
    facing(house.object("wallPorch", "stucco"),
           {{-kHalfWidth, 0, kPorchZ}, {kHalfWidth, 0, kPorchZ}, {kHalfWidth, kPorchHeight, kPorchZ},
            {-kHalfWidth, kPorchHeight, kPorchZ}},
           {0, 0, 1});
    for (float side : {-1.0f, 1.0f}) {
        MeshPart& wall = house.object(side < 0 ? "wallLeft" : "wallRight", "stucco");
        float x = side * kHalfWidth;
        facing(wall, {{x, 0, kBackZ}, {x, 0, kFrontZ}, {x, kMainHeight, kFrontZ}, {x, kMainHeight, kBackZ}},
               {side, 0, 0});
        facing(wall,
               {{x, 0, kFrontZ}, {x, 0, kPorchZ}, {x, kPorchHeight, kPorchZ}, {x, kPorchHeight, kFrontZ}},
               {side, 0, 0});
    }
}

void addRoofs(ModelData& house)
{
    float x = kHalfWidth + kEave;
    MeshPart& roof = house.object("roof", "roofing");
    block(roof, {-x, kMainHeight, -kReach}, {x, kMainRoofTop, kFrontZ + kEave});
    block(roof, {-x, kPorchHeight, kFrontZ}, {x, kPorchRoofTop, kPorchZ + kEave});

    // a band under each roof and boards up the corners
    MeshPart& trim = house.object("trim", "trim");
    const float proud = 0.06f;
    block(trim, {-kHalfWidth - proud, 6.55f, kBackZ - proud}, {kHalfWidth + proud, kMainHeight, kFrontZ + proud});
    block(trim, {-kHalfWidth - proud, 2.45f, kFrontZ}, {kHalfWidth + proud, kPorchHeight, kPorchZ + proud});
    for (float side : {-1.0f, 1.0f}) {
        float x0 = side * (kHalfWidth + proud), x1 = side * (kHalfWidth - 0.25f);
        block(trim, {std::fmin(x0, x1), 0.3f, kBackZ - proud}, {std::fmax(x0, x1), 6.55f, kBackZ + 0.25f});
        block(trim, {std::fmin(x0, x1), 0.3f, kPorchZ - 0.25f}, {std::fmax(x0, x1), 2.45f, kPorchZ + proud});
        block(trim, {std::fmin(x0, x1), kPorchRoofTop, kFrontZ - 0.25f}, {std::fmax(x0, x1), 6.55f, kFrontZ + proud});
    }

    MeshPart& chimney = house.object("chimney", "brick");
    block(chimney, {4.2f, kMainRoofTop, -7.0f}, {5.4f, 8.6f, -5.8f});
    MeshPart& cap = house.object("chimneyCap", "stone");
    block(cap, {4.05f, 8.6f, -7.15f}, {5.55f, 8.75f, -5.65f});
}

void addEntrance(ModelData& house)
{
    MeshPart& door = house.object("door", "door");
    kPorchWall.box(door, -0.85f, 0.85f, 0.18f, 2.2f, 0, 0.07f);
    MeshPart& doorFrame = house.object("doorFrame", "trim");
    kPorchWall.box(doorFrame, -1.0f, -0.85f, 0.18f, 2.35f, 0, 0.1f);
    kPorchWall.box(doorFrame, 0.85f, 1.0f, 0.18f, 2.35f, 0, 0.1f);
    kPorchWall.box(doorFrame, -0.85f, 0.85f, 2.2f, 2.35f, 0, 0.1f);
    MeshPart& knob = house.object("doorKnob", "brass");
    kPorchWall.box(knob, 0.55f, 0.68f, 1.05f, 1.15f, 0.07f, 0.15f);
    MeshPart& step = house.object("doorStep", "stone");
    kPorchWall.box(step, -1.3f, 1.3f, 0, 0.18f, 0, 0.6f);
}

// Brick planters along the walls where the level's plants stand, and a stone plinth that hides
// the join with uneven ground.
void addPlanters(ModelData& house)
{
    MeshPart& plinth = house.object("plinth", "stone");
    block(plinth, {-kHalfWidth - 0.05f, -1.0f, kBackZ - 0.05f}, {kHalfWidth + 0.05f, 0.3f, kPorchZ + 0.05f});

    MeshPart& planters = house.object("planters", "brick");
    kPorchWall.box(planters, -7.8f, -2.0f, 0, 0.6f, 0, 0.575f);
    kPorchWall.box(planters, 2.0f, 7.8f, 0, 0.6f, 0, 0.575f);
    kLeftWall.box(planters, -9.6f, -3.6f, 0, 0.6f, 0, 0.575f);
    kRightWall.box(planters, -8.6f, -3.6f, 0, 0.65f, 0, 0.575f);
    kRightWall.box(planters, 5.7f, 8.1f, 0, 0.65f, 0, 0.575f);

}

}  // namespace

ModelData makeHouse()
{
    ModelData house;
    house.material("stucco", 214, 196, 164);
    house.material("roofing", 78, 72, 70);
    house.material("trim", 236, 232, 220);
    house.material("brick", 150, 72, 52);
    house.material("stone", 150, 146, 138);
    house.material("door", 112, 38, 28);
    house.material("brass", 212, 170, 60);
    addWalls(house);
    addRoofs(house);
    addEntrance(house);
    addPlanters(house);
    return house;
}

ModelData makeWindowFrames()
{
    ModelData frames;
    frames.material("frame", 238, 236, 228);
    frames.material("sill", 176, 170, 158);
    frames.material("brick", 150, 72, 52);
    frames.material("soil", 58, 40, 28);
    addPerWall(frames, "frames", "frame", addFrame);
    MeshPart& sills = frames.object("sills", "sill");
    for (const Window& w : kWindows)
        addSill(sills, w);

    // The raised bed along the back wall stands out beyond the eave line. It lives here, not in
    // the house, so that the house's own reach (which sets the whole group's scale) stays the eave.
    MeshPart& bed = frames.object("backBed", "brick");
    kBackWall.box(bed, -6.2f, 5.8f, 0, 0.55f, 0, 0.9f);
    MeshPart& soil = frames.object("backBedSoil", "soil");
    kBackWall.box(soil, -6.1f, 5.7f, 0.5f, 0.6f, 0, 0.8f);
    return frames;
}

ModelData makeWindowPanes()
{
    ModelData panes;
    panes.material("lamplight", 255, 200, 92);
    addPerWall(panes, "panes", "lamplight", addPane);
    return panes;
}
