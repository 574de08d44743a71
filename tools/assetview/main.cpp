// SPDX-License-Identifier: MIT
// assetview: renders each of the game's models alone, through the game's own loader and drawing,
// and the yard from the first station, into PPM pictures for a person to look at.
// Usage (in a directory holding the assets, with a display): assetview <out-dir>
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/texture_loader.h"
#include "scene/world.h"

namespace {

constexpr int kSize = 600;

void noDisplay() {}

void savePpm(const std::string& path)
{
    std::vector<unsigned char> rgb(size_t(kSize) * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", kSize, kSize);
    for (int y = kSize - 1; y >= 0; --y)
        std::fwrite(&rgb[size_t(y) * kSize * 3], 1, size_t(kSize) * 3, f);
    std::fclose(f);
}

// a camera at the given distance, above and to one side of the point looked at
void beginView(float fov, float distance, float height, float azimuthDegrees, float targetY)
{
    glClearColor(0.16f, 0.18f, 0.24f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, 1.0, 0.1, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float a = azimuthDegrees * 3.14159265f / 180.0f;
    gluLookAt(distance * std::cos(a), height, distance * std::sin(a), 0, targetY, 0, 0, 1, 0);
}

// the transform the game gives a z-up model standing at the origin
void drawYardModel(World& world, Model& model, const char* name, float rotation)
{
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glDisable(GL_COLOR_MATERIAL);
    float size = model.size != 0.0f ? model.size : 1.0f;
    glTranslatef(0.0f, -model.minCorner.y * model.scale / size, 0.0f);
    float stretch = std::string(name) == "bush" ? 2.5f : 1.0f;
    glScalef(model.scale, model.scale * stretch, model.scale);
    glScalef(1.0f / size, 1.0f / size, 1.0f / size);
    glRotatef(rotation, 0.0f, 1.0f, 0.0f);
    world.drawModel(model, name);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void drawHouseGroup(World& world, bool lit)
{
    float unit = 1.0f / world.houseSize;
    for (int i = 0; i < 3; ++i) {
        Model& m = world.models[i];
        glPushMatrix();
        glEnable(GL_CULL_FACE);
        glEnable(GL_COLOR_MATERIAL);
        glScalef(m.scale, m.scale * 0.5f, m.scale);
        glScalef(unit, unit, unit);
        if (i == 0) {
            world.drawHouse(m);
        } else {
            m.useMaterialColours = i == 1 || lit;
            world.drawModel(m, i == 1 ? "windowFrames" : "windowPanes");
        }
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_TEXTURE_2D);
        glPopMatrix();
    }
}

struct YardView {
    int model;
    const char* name;
    const char* file;
    float distance, height, targetY;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetview <out-dir>\n");
        return 2;
    }
    std::string out = argv[1];
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kSize, kSize);
    glutCreateWindow("Mesh display");
    glutDisplayFunc(noDisplay);
    for (int i = 0; i < 3; ++i)
        glutMainLoopEvent();
    glEnable(GL_NORMALIZE);
    loadTextures();
    World world;

    const YardView views[] = {
        {kModelPlant, "plant", "plant", 2.2f, 1.3f, 0.35f},
        {kModelBbq, "bbq", "bbq", 2.8f, 1.7f, 0.55f},
        {kModelBush, "bush", "bush", 8.5f, 4.5f, 1.2f},
        {kModelBench, "bench", "bench", 6.5f, 3.0f, 0.8f},
        {kModelPool, "pool", "pool", 7.5f, 4.5f, 0.5f},
        {kModelCoyote, "coyote", "coyote", 5.5f, 2.2f, 0.7f},
    };
    for (const YardView& v : views) {
        beginView(40, v.distance, v.height, 60, v.targetY);
        drawYardModel(world, world.models[v.model], v.name, 0);
        savePpm(out + "/" + v.file + ".ppm");
    }
    for (float azimuth : {225.0f, 45.0f}) {
        beginView(40, 34, 14, azimuth, 2.5f);
        drawHouseGroup(world, true);
        savePpm(out + (azimuth < 100 ? "/house_front.ppm" : "/house_back.ppm"));
    }

    // the yard as the player first sees it: level 1, with the owner in sight and without
    for (bool lit : {false, true}) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.5, 73.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        float bx = float(std::cos(3.92699) * 25.6), bz = float(std::sin(3.92699) * 25.6);
        float ground = world.groundHeight(bx, bz);
        float look = 0.785398f;
        gluLookAt(bx, ground + 1.5, bz, bx + std::cos(look) * std::cos(look), ground + std::sin(look) + 1.0,
                  bz + std::sin(look) * std::cos(look), 0, 1, 0);
        glPushMatrix();
        glTranslatef(-25.6f, 0, -25.6f);
        world.draw(lit, 1, 0, 0);
        glPopMatrix();
        savePpm(out + (lit ? "/station1_lit.ppm" : "/station1.ppm"));
    }
    return 0;
}
