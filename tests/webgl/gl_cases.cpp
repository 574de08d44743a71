// SPDX-License-Identifier: MIT
// The GL library's cases: each row draws with a GL 1.x call sequence into a 64x64 canvas and
// names the colours expected at a few pixels. Expected lit colours are worked out here from the
// lighting equation, not from the library. Each failure is a console line; the last line is
// "webgl cases: N passed, M failed", and the page's title then says it is done.
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/vxgl_internal.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;

struct Probe {
    int x, y;           // window pixel, from the bottom left
    float r, g, b;      // 0..1
    int tolerance = 3;  // in steps of 1/255
};

struct Case {
    const char* name;
    std::function<std::vector<Probe>()> draw;  // draws, then names what the pixels should be
};

std::vector<std::string> sFailures;  // of the case running

void check(bool ok, const std::string& what)
{
    if (!ok)
        sFailures.push_back(what);
}

int toByte(float v) { return int(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f)); }

void pixelAt(int x, int y, GLubyte rgb[3])
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

// the probes, now
void expectPixels(const std::vector<Probe>& probes)
{
    for (const Probe& p : probes) {
        GLubyte rgb[3];
        pixelAt(p.x, p.y, rgb);
        const int want[3] = {toByte(p.r), toByte(p.g), toByte(p.b)};
        bool ok = true;
        for (int k = 0; k < 3; ++k)
            ok = ok && std::abs(int(rgb[k]) - want[k]) <= p.tolerance;
        char line[160];
        std::snprintf(line, sizeof line, "at (%d,%d) saw (%d,%d,%d), expected (%d,%d,%d)", p.x, p.y,
                      rgb[0], rgb[1], rgb[2], want[0], want[1], want[2]);
        check(ok, line);
    }
}

// GL's initial state, as far as the cases change it
void reset()
{
    while (glGetError() != GL_NO_ERROR) {
    }
    glViewport(0, 0, kSize, kSize);
    for (GLenum cap : {GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_COLOR_MATERIAL, GL_NORMALIZE,
                       GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE})
        glDisable(cap);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glPointSize(1);
    glLineWidth(1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const float modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, z[4] = {0, 0, 1, 0};
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_POSITION, z);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// an axis-aligned square in the z plane, corners counter-clockwise seen from +z
void square(GLenum mode, float x0, float y0, float x1, float y1, float z = 0)
{
    glBegin(mode);
    glVertex3f(x0, y0, z);
    glVertex3f(x1, y0, z);
    glVertex3f(x1, y1, z);
    glVertex3f(x0, y1, z);
    glEnd();
}

void textured(float s1, float t1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(s1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(s1, t1);
    glVertex2f(1, 1);
    glTexCoord2f(0, t1);
    glVertex2f(-1, 1);
    glEnd();
}

// the lit colour of one channel under one directional light: the scene's ambient, the light's
// ambient, diffuse by n.l and specular by (n.h)^shininess
float litChannel(float sceneAmbient, float matAmbient, float lightAmbient, float matDiffuse,
                 float lightDiffuse, float nl, float matSpecular = 0, float lightSpecular = 0,
                 float nh = 0, float shininess = 0)
{
    float c = sceneAmbient * matAmbient + matAmbient * lightAmbient;
    if (nl > 0)
        c += nl * matDiffuse * lightDiffuse +
             (shininess == 0 ? 1.0f : std::pow(nh, shininess)) * matSpecular * lightSpecular;
    return c;
}

void lightZ()
{
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

const std::vector<Case> kCases = {
    {"clear colour",
     [] {
         glClearColor(0.2f, 0.4f, 0.6f, 1);
         glClear(GL_COLOR_BUFFER_BIT);
         return std::vector<Probe>{{2, 2, 0.2f, 0.4f, 0.6f}, {61, 61, 0.2f, 0.4f, 0.6f}};
     }},
    {"flat colour triangle",
     [] {
         glColor3f(1, 0, 0);
         glBegin(GL_TRIANGLES);
         glVertex2f(-1, -1);
         glVertex2f(1, -1);
         glVertex2f(-1, 1);
         glEnd();
         return std::vector<Probe>{{10, 10, 1, 0, 0}, {54, 54, 0, 0, 0}};
     }},
    {"quad: both halves",
     [] {
         glColor3f(0, 1, 0);
         square(GL_QUADS, -0.5f, -0.5f, 0.5f, 0.5f);
         return std::vector<Probe>{{20, 20, 0, 1, 0}, {44, 44, 0, 1, 0}, {20, 44, 0, 1, 0},
                                   {44, 20, 0, 1, 0}, {5, 5, 0, 0, 0},   {58, 32, 0, 0, 0}};
     }},
    {"polygon of five corners",
     [] {
         glColor3f(0, 0, 1);
         glBegin(GL_POLYGON);
         glVertex2f(-0.5f, -0.5f);
         glVertex2f(0.5f, -0.5f);
         glVertex2f(0.75f, 0);
         glVertex2f(0.5f, 0.5f);
         glVertex2f(-0.5f, 0.5f);
         glEnd();
         return std::vector<Probe>{
             {20, 44, 0, 0, 1}, {54, 32, 0, 0, 1}, {44, 20, 0, 0, 1}, {60, 32, 0, 0, 0}};
     }},
    {"colours given per corner interpolate; one colour holds for the corners after it",
     [] {
         glBegin(GL_QUADS);
         glColor3f(1, 0, 0);
         glVertex2f(-1, -1);
         glColor3f(0, 0, 1);
         glVertex2f(1, -1);
         glVertex2f(1, 1);
         glColor3f(1, 0, 0);
         glVertex2f(-1, 1);
         glEnd();
         const float t = 16.5f / 64;  // pixel 16's centre across the square
         return std::vector<Probe>{{16, 10, 1 - t, 0, t}, {16, 50, 1 - t, 0, t}, {63, 32, 0, 0, 1}};
     }},
    {"flat shading: the last corner's colour, a polygon's first",
     [] {
         glShadeModel(GL_FLAT);
         glBegin(GL_TRIANGLES);
         glColor3f(1, 0, 0);
         glVertex2f(-1, -1);
         glColor3f(0, 1, 0);
         glVertex2f(0, -1);
         glColor3f(0, 0, 1);
         glVertex2f(-1, 0);
         glEnd();
         glBegin(GL_POLYGON);
         glColor3f(1, 1, 0);
         glVertex2f(0, 0);
         glColor3f(0, 1, 1);
         glVertex2f(1, 0);
         glVertex2f(1, 1);
         glVertex2f(0, 1);
         glEnd();
         return std::vector<Probe>{
             {4, 4, 0, 0, 1}, {20, 4, 0, 0, 1}, {40, 40, 1, 1, 0}, {60, 60, 1, 1, 0}};
     }},
    {"strips and fans keep their corners' winding under cull face",
     [] {
         glEnable(GL_CULL_FACE);
         glColor3f(1, 0, 0);
         glBegin(GL_TRIANGLE_STRIP);  // the bottom band but its last lower right half
         glVertex2f(-1, -0.5f);
         glVertex2f(-1, -1);
         glVertex2f(0, -0.5f);
         glVertex2f(0, -1);
         glVertex2f(1, -0.5f);
         glEnd();
         glColor3f(0, 1, 0);
         glBegin(GL_TRIANGLE_FAN);  // a square round its centre, in four
         glVertex2f(0, 0.5f);
         glVertex2f(-0.5f, 0);
         glVertex2f(0.5f, 0);
         glVertex2f(0.5f, 1);
         glVertex2f(-0.5f, 1);
         glVertex2f(-0.5f, 0);
         glEnd();
         glColor3f(0, 0, 1);
         glBegin(GL_QUAD_STRIP);  // the top left corner, in two quads
         glVertex2f(-1, 1);
         glVertex2f(-1, 0.75f);
         glVertex2f(-0.875f, 1);
         glVertex2f(-0.875f, 0.75f);
         glVertex2f(-0.75f, 1);
         glVertex2f(-0.75f, 0.75f);
         glEnd();
         return std::vector<Probe>{{4, 12, 1, 0, 0},  {28, 12, 1, 0, 0}, {36, 14, 1, 0, 0},
                                   {60, 4, 0, 0, 0},  {60, 20, 0, 0, 0}, {32, 36, 0, 1, 0},
                                   {20, 52, 0, 1, 0}, {44, 52, 0, 1, 0}, {2, 62, 0, 0, 1},
                                   {6, 58, 0, 0, 1}};
     }},
    {"depth test keeps the nearest whatever the order",
     [] {
         glEnable(GL_DEPTH_TEST);
         glColor3f(1, 0, 0);
         square(GL_QUADS, -1, -1, 1, 1, 0.5f);
         glColor3f(0, 1, 0);
         square(GL_QUADS, -1, -1, 0, 1, -0.5f);
         glColor3f(0, 0, 1);
         square(GL_QUADS, -1, -1, 1, 1, 0.8f);
         glDepthMask(GL_FALSE);  // drawn, but the depth stays the red's
         glColor3f(1, 1, 0);
         square(GL_QUADS, 0, -1, 1, 0, -0.9f);
         glDepthMask(GL_TRUE);
         glColor3f(0, 1, 1);
         square(GL_QUADS, 0, -1, 1, 1, 0);
         return std::vector<Probe>{{10, 32, 0, 1, 0}, {50, 16, 0, 1, 1}, {50, 48, 0, 1, 1}};
     }},
    {"cull face drops the clockwise triangle",
     [] {
         glEnable(GL_CULL_FACE);
         glColor3f(1, 1, 1);
         glBegin(GL_TRIANGLES);
         glVertex2f(-1, -1);  // counter-clockwise: kept
         glVertex2f(0, -1);
         glVertex2f(-1, 0);
         glVertex2f(0, 0);  // clockwise: dropped
         glVertex2f(0, 1);
         glVertex2f(1, 0);
         glEnd();
         glCullFace(GL_FRONT);
         glColor3f(1, 0, 0);
         glBegin(GL_TRIANGLES);
         glVertex2f(-1, 0);  // clockwise: kept now
         glVertex2f(-1, 1);
         glVertex2f(0, 0);
         glEnd();
         return std::vector<Probe>{{8, 8, 1, 1, 1}, {40, 40, 0, 0, 0}, {8, 40, 1, 0, 0}};
     }},
    {"blending by source alpha, and added",
     [] {
         glColor3f(1, 0, 0);
         square(GL_QUADS, -1, -1, 1, 1);
         glEnable(GL_BLEND);
         glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
         glColor4f(0, 0, 0.1f, 0.75f);
         square(GL_QUADS, -1, -1, 0, 1);
         glBlendFunc(GL_SRC_ALPHA, GL_ONE);
         glColor4f(0, 1, 0, 0.5f);
         square(GL_QUADS, 0, -1, 1, 1);
         return std::vector<Probe>{{16, 32, 0.25f, 0, 0.075f}, {48, 32, 1, 0.5f, 0}};
     }},
    {"texture: nearest, repeating, modulated by the colour",
     [] {
         const GLubyte texels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};  // 2x2
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glBindTexture(GL_TEXTURE_2D, 3);
         glTexImage2D(GL_TEXTURE_2D, 0, 3, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
         glEnable(GL_TEXTURE_2D);
         glColor3f(1, 0.5f, 1);
         textured(2, 2);  // 16 pixels a texel
         glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
         glBegin(GL_QUADS);  // the texel (1, 1) over the top right quarter
         glTexCoord2f(0.75f, 0.75f);
         glVertex2f(0, 0);
         glVertex2f(1, 0);
         glVertex2f(1, 1);
         glVertex2f(0, 1);
         glEnd();
         glTexCoord2f(0.25f, 0.75f);  // the texel (0, 1) for corners that give none
         square(GL_QUADS, -1, 0.5f, -0.5f, 1);
         return std::vector<Probe>{{8, 8, 1, 0, 0},      {24, 8, 0, 0.5f, 0}, {8, 24, 0, 0, 1},
                                   {24, 24, 1, 0.5f, 1}, {40, 8, 1, 0, 0},    {56, 56, 1, 1, 1},
                                   {8, 56, 0, 0, 1}};
     }},
    {"texture of three texels stretched to a power of two",
     [] {
         const GLubyte texels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glBindTexture(GL_TEXTURE_2D, 4);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 3, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
         glEnable(GL_TEXTURE_2D);
         textured(1, 1);
         return std::vector<Probe>{{4, 32, 1, 0, 0}, {60, 32, 0, 0, 1}};
     }},
    {"mipmaps: the level that fits; a level missing draws untextured",
     [] {
         const GLubyte red[4 * 4 * 3] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0,
                                         255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0,
                                         255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0,
                                         255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};
         const GLubyte green[2 * 2 * 3] = {0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0};
         const GLubyte blue[3] = {0, 0, 255};
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glBindTexture(GL_TEXTURE_2D, 5);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, red);
         glTexImage2D(GL_TEXTURE_2D, 1, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, green);
         glEnable(GL_TEXTURE_2D);
         glColor3f(1, 1, 0);
         glPushMatrix();
         glTranslatef(-0.5f, 0, 0);
         glScalef(0.5f, 1, 1);
         textured(64, 64);  // not complete yet: the plain colour
         glPopMatrix();
         glTexImage2D(GL_TEXTURE_2D, 2, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
         glColor3f(1, 1, 1);
         glTranslatef(0.5f, 0, 0);
         glScalef(0.5f, 1, 1);
         textured(32, 32);  // 4 texels a pixel: level 2
         return std::vector<Probe>{{16, 32, 1, 1, 0}, {48, 32, 0, 0, 1}};
     }},
    {"lighting: diffuse from the first light on a tilted normal",
     [] {
         const float d[4] = {0.8f, 0.6f, 0.4f, 1};
         glMaterialfv(GL_FRONT, GL_DIFFUSE, d);
         lightZ();
         glNormal3f(0, 0.6f, 0.8f);
         square(GL_QUADS, -1, -1, 1, 1);
         const float nl = 0.8f;
         return std::vector<Probe>{{32, 32, litChannel(0.2f, 0.2f, 0, 0.8f, 1, nl),
                                    litChannel(0.2f, 0.2f, 0, 0.6f, 1, nl),
                                    litChannel(0.2f, 0.2f, 0, 0.4f, 1, nl)}};
     }},
    {"lighting: a light's direction is fixed by the modelview at glLightfv",
     [] {
         const float ambient[4] = {0.1f, 0.2f, 0.3f, 1};
         glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
         glPushMatrix();
         glRotatef(90, 0, 1, 0);  // +z turns to +x
         const float z[4] = {0, 0, 1, 0};
         glLightfv(GL_LIGHT0, GL_POSITION, z);
         glPopMatrix();
         lightZ();
         glNormal3f(1, 0, 0);
         square(GL_QUADS, -1, -1, 0, 1);
         glNormal3f(0, 0, 1);
         square(GL_QUADS, 0, -1, 1, 1);
         auto lit = [&](float nl, int k) {
             return litChannel(0.2f, 0.2f, ambient[k], 0.8f, 1, nl);
         };
         return std::vector<Probe>{{16, 32, lit(1, 0), lit(1, 1), lit(1, 2)},
                                   {48, 32, lit(0, 0), lit(0, 1), lit(0, 2)}};
     }},
    {"lighting: a positional light's distance and attenuation, the colour material",
     [] {
         const float above[4] = {0, 0, 1, 1};  // one unit over the square's centre
         glLightfv(GL_LIGHT0, GL_POSITION, above);
         glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.5f);
         lightZ();
         glEnable(GL_COLOR_MATERIAL);
         glColor3f(0.5f, 0.25f, 0.125f);
         square(GL_QUADS, -1, -1, 1, 1);
         // lit at the corners, each sqrt(3) from the light, and the same colour between
         const float nl = 1 / std::sqrt(3.0f), attenuation = 1 / (1 + 0.5f * std::sqrt(3.0f));
         auto lit = [&](float c) { return litChannel(0.2f, c, 0, c, attenuation, nl); };
         return std::vector<Probe>{{48, 32, lit(0.5f), lit(0.25f), lit(0.125f)},
                                   {10, 50, lit(0.5f), lit(0.25f), lit(0.125f)}};
     }},
    {"colour material: the colour on enabling, and the material keeps it after",
     [] {
         lightZ();
         glEnable(GL_COLOR_MATERIAL);
         glColor3f(0.5f, 1, 0.25f);
         const float grey[4] = {0.1f, 0.1f, 0.1f, 1};
         glMaterialfv(GL_FRONT, GL_DIFFUSE, grey);  // tracked: no effect
         square(GL_QUADS, -1, -1, 0, 1);
         glDisable(GL_COLOR_MATERIAL);
         glColor3f(0, 0, 0);
         square(GL_QUADS, 0, 0, 1, 1);
         glColor3f(0.25f, 0.25f, 1);   // not tracked yet
         glEnable(GL_COLOR_MATERIAL);  // the current colour goes to the material now
         glDisable(GL_COLOR_MATERIAL);
         glColor3f(0, 0, 0);
         square(GL_QUADS, 0, -1, 1, 0);
         auto lit = [](float c) { return litChannel(0.2f, c, 0, c, 1, 1); };
         return std::vector<Probe>{{16, 32, lit(0.5f), lit(1), lit(0.25f)},
                                   {48, 48, lit(0.5f), lit(1), lit(0.25f)},
                                   {48, 16, lit(0.25f), lit(0.25f), lit(1)}};
     }},
    {"lighting: specular and shininess",
     [] {
         const float none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
         glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
         glLightfv(GL_LIGHT0, GL_DIFFUSE, none);
         const float tilted[4] = {0, 0.6f, 0.8f, 0};
         glLightfv(GL_LIGHT0, GL_POSITION, tilted);
         glMaterialfv(GL_FRONT, GL_SPECULAR, white);
         glMaterialf(GL_FRONT, GL_SHININESS, 10);
         lightZ();
         square(GL_QUADS, -1, -1, 1, 1);
         const float nh = 1.8f / std::sqrt(0.36f + 3.24f);  // h is l + (0, 0, 1) made unit
         const float c = litChannel(0, 0.2f, 0, 0, 0, 0.8f, 1, 1, nh, 10);
         return std::vector<Probe>{{32, 32, c, c, c}};
     }},
    {"GL_NORMALIZE under a scaled modelview",
     [] {
         const float d[4] = {0.3f, 0.3f, 0.3f, 1};
         glMaterialfv(GL_FRONT, GL_DIFFUSE, d);
         lightZ();
         glScalef(0.5f, 0.5f, 0.5f);  // normals come out twice as long
         square(GL_QUADS, -2, -2, 0, 2);
         glEnable(GL_NORMALIZE);
         square(GL_QUADS, 0, -2, 2, 2);
         const float longer = litChannel(0.2f, 0.2f, 0, 0.3f, 1, 2);
         const float unit = litChannel(0.2f, 0.2f, 0, 0.3f, 1, 1);
         return std::vector<Probe>{{16, 32, longer, longer, longer}, {48, 32, unit, unit, unit}};
     }},
    {"matrix stack: push, translate, rotate, scale, pop",
     [] {
         glPushMatrix();
         glTranslatef(0.5f, 0.5f, 0);
         glScalef(0.25f, 0.25f, 1);
         glColor3f(1, 0, 0);
         square(GL_QUADS, -1, -1, 1, 1);  // (0.25..0.75)^2
         glPopMatrix();
         glPushMatrix();
         glRotatef(90, 0, 0, 1);  // (0.5, -0.5) turns to (0.5, 0.5)... on the left
         glColor3f(0, 1, 0);
         square(GL_QUADS, 0.25f, 0.25f, 0.75f, 0.75f);
         glPopMatrix();
         glColor3f(0, 0, 1);
         square(GL_QUADS, -0.75f, -0.75f, -0.25f, -0.25f);
         // about a slanted axis: half a turn about x = y swaps x and y and turns z round; a
         // third of a turn about (1, 1, 1) takes x to y, y to z and z to x
         const float halfTurn[16] = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
         const float thirdTurn[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
         for (const auto& [axis, want] :
              {std::make_pair(std::array<float, 4>{180, 1, 1, 0}, halfTurn),
               std::make_pair(std::array<float, 4>{120, 1, 1, 1}, thirdTurn)}) {
             glPushMatrix();
             glLoadIdentity();
             glRotatef(axis[0], axis[1], axis[2], axis[3]);
             float m[16];
             glGetFloatv(GL_MODELVIEW_MATRIX, m);
             glPopMatrix();
             for (int i = 0; i < 16; ++i)
                 check(std::fabs(m[i] - want[i]) < 1e-6f,
                       "turning " + std::to_string(axis[0]) + " degrees: element " +
                           std::to_string(i) + " is " + std::to_string(m[i]));
         }
         return std::vector<Probe>{{48, 48, 1, 0, 0},
                                   {16, 48, 0, 1, 0},
                                   {16, 16, 0, 0, 1},
                                   {48, 16, 0, 0, 0},
                                   {32, 60, 0, 0, 0}};
     }},
    {"gluPerspective and gluLookAt place a point where gluProject says",
     [] {
         glMatrixMode(GL_PROJECTION);
         gluPerspective(90, 1, 1, 10);
         glMatrixMode(GL_MODELVIEW);
         gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
         double model[16], projection[16], x, y, z;
         GLint view[4];
         glGetDoublev(GL_MODELVIEW_MATRIX, model);
         glGetDoublev(GL_PROJECTION_MATRIX, projection);
         glGetIntegerv(GL_VIEWPORT, view);
         const double wantModel[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};
         for (int i = 0; i < 16; ++i)
             check(model[i] == wantModel[i],
                   "modelview element " + std::to_string(i) + " is " + std::to_string(model[i]));
         // an up that is neither upright to the view nor of unit length makes the same view
         glPushMatrix();
         glLoadIdentity();
         gluLookAt(0, 0, 5, 0, 0, 0, 0, 2, 1);
         double slanted[16];
         glGetDoublev(GL_MODELVIEW_MATRIX, slanted);
         glPopMatrix();
         for (int i = 0; i < 16; ++i)
             check(std::fabs(slanted[i] - wantModel[i]) < 1e-6, "with a slanted up, element " +
                                                                    std::to_string(i) + " is " +
                                                                    std::to_string(slanted[i]));
         check(projection[11] == -1 && projection[15] == 0 && std::fabs(projection[0] - 1) < 1e-6 &&
                   std::fabs(projection[10] + 11.0 / 9) < 1e-6,
               "the perspective matrix");
         check(view[2] == kSize && view[3] == kSize, "the viewport");
         gluProject(1, 0.5, 0, model, projection, view, &x, &y, &z);
         check(std::fabs(x - 38.4) < 1e-4 && std::fabs(y - 35.2) < 1e-4, "gluProject");
         double back[3];
         gluUnProject(x, y, z, model, projection, view, &back[0], &back[1], &back[2]);
         check(std::fabs(back[0] - 1) < 1e-6 && std::fabs(back[1] - 0.5) < 1e-6 &&
                   std::fabs(back[2]) < 1e-6,
               "gluUnProject undoes gluProject");
         glPointSize(3);
         glColor3f(1, 0, 0);
         glBegin(GL_POINTS);
         glVertex3f(1, 0.5f, 0);
         glEnd();
         return std::vector<Probe>{{int(x), int(y), 1, 0, 0},
                                   {int(x) - 1, int(y), 1, 0, 0},
                                   {int(x) + 1, int(y) + 1, 1, 0, 0},
                                   {int(x) + 3, int(y), 0, 0, 0},
                                   {32, 32, 0, 0, 0}};
     }},
    {"gluOrtho2D over the window's fractions, in two viewports",
     [] {
         glMatrixMode(GL_PROJECTION);
         gluOrtho2D(0, 1, 0, 1);
         glMatrixMode(GL_MODELVIEW);
         glColor3f(1, 1, 0);
         square(GL_QUADS, 0.25f, 0.25f, 0.5f, 0.5f);
         glViewport(32, 32, 32, 32);  // the same fractions of the top right quarter
         glColor3f(0, 1, 1);
         square(GL_QUADS, 0.25f, 0.25f, 0.5f, 0.5f);
         return std::vector<Probe>{{16, 16, 1, 1, 0}, {31, 31, 1, 1, 0}, {15, 16, 0, 0, 0},
                                   {32, 32, 0, 0, 0}, {40, 40, 0, 1, 1}, {47, 47, 0, 1, 1},
                                   {48, 48, 0, 0, 0}};
     }},
    {"display list compiled, then called twice at two places",
     [] {
         const GLuint list = glGenLists(1);
         glNewList(list, GL_COMPILE);
         GLint index = 0;
         glGetIntegerv(GL_LIST_INDEX, &index);
         check(index == GLint(list), "GL_LIST_INDEX while compiling");
         glColor3f(0, 1, 0);
         square(GL_QUADS, -0.25f, -0.25f, 0.25f, 0.25f);
         glTranslatef(0, 0.5f, 0);
         glEndList();
         glGetIntegerv(GL_LIST_INDEX, &index);
         check(index == 0, "GL_LIST_INDEX after");
         float colour[4];
         glGetFloatv(GL_CURRENT_COLOR, colour);
         check(colour[0] == 1 && colour[1] == 1, "compiling left the current colour");
         expectPixels({{32, 32, 0, 0, 0}});  // nothing drawn yet
         glTranslatef(-0.5f, -0.5f, 0);
         glCallList(list);  // and moves up by half
         glTranslatef(1, 0, 0);
         glCallList(list);
         glGetFloatv(GL_CURRENT_COLOR, colour);
         check(colour[0] == 0 && colour[1] == 1, "calling set the current colour");
         return std::vector<Probe>{
             {16, 16, 0, 1, 0}, {48, 32, 0, 1, 0}, {48, 16, 0, 0, 0}, {32, 32, 0, 0, 0}};
     }},
    {"display list: GL_COMPILE_AND_EXECUTE draws as it compiles",
     [] {
         const GLuint list = glGenLists(1);
         glNewList(list, GL_COMPILE_AND_EXECUTE);
         glColor3f(1, 0, 1);
         square(GL_QUADS, -1, -1, 0, 0);
         glEndList();
         expectPixels({{16, 16, 1, 0, 1}});
         glColor3f(0, 0, 0);
         glTranslatef(1, 1, 0);
         glCallList(list);
         return std::vector<Probe>{{16, 16, 1, 0, 1}, {48, 48, 1, 0, 1}, {48, 16, 0, 0, 0}};
     }},
    {"display lists: a colour the list never gives is the caller's; nested lists",
     [] {
         const GLuint lists = glGenLists(2);
         glNewList(lists, GL_COMPILE);
         square(GL_TRIANGLES, -0.25f, -0.25f, 0.25f, 0.25f);  // the first three corners
         square(GL_QUADS, -0.25f, -0.25f, 0.25f, 0.25f);
         glEndList();
         glNewList(lists + 1, GL_COMPILE);
         glPushMatrix();
         glTranslatef(0, 0.5f, 0);
         glCallList(lists);
         glPopMatrix();
         glEndList();
         glTranslatef(-0.5f, -0.5f, 0);
         glColor3f(1, 0, 0);
         glCallList(lists);
         glColor3f(0, 0, 1);
         glCallList(lists + 1);
         glTranslatef(1, 0, 0);
         glColor3f(0, 1, 1);
         glCallList(lists + 1);
         // a primitive that gives no colour after one that did takes that one's last
         const GLuint after = glGenLists(1);
         glNewList(after, GL_COMPILE);
         glBegin(GL_TRIANGLES);
         glColor3f(1, 1, 0);
         glVertex2f(0, 0.5f);
         glVertex2f(0.5f, 0.5f);
         glVertex2f(0, 1);
         glEnd();
         square(GL_QUADS, 0.5f, 0.5f, 1, 1);
         glEndList();
         glLoadIdentity();
         glColor3f(0, 0, 1);
         glCallList(after);
         return std::vector<Probe>{{16, 16, 1, 0, 0}, {16, 32, 0, 0, 1}, {48, 32, 0, 1, 1},
                                   {48, 16, 0, 0, 0}, {36, 52, 1, 1, 0}, {56, 56, 1, 1, 0}};
     }},
    {"display list: a lit, textured model replayed under another material",
     [] {
         const GLubyte white[3] = {255, 255, 255};
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glBindTexture(GL_TEXTURE_2D, 6);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
         const GLuint list = glGenLists(1);
         glNewList(list, GL_COMPILE);
         glBegin(GL_TRIANGLES);
         glNormal3f(0, 0, 1);
         glTexCoord2f(0.5f, 0.5f);
         glVertex2f(-1, -1);
         glNormal3f(0, 0, 1);
         glVertex2f(0, -1);
         glNormal3f(0, 0, 1);
         glVertex2f(-1, 0);
         glEnd();
         glEndList();
         lightZ();
         glEnable(GL_TEXTURE_2D);
         const float d1[4] = {0.5f, 0.5f, 0.5f, 1}, d2[4] = {0.25f, 0.5f, 0.75f, 1};
         glMaterialfv(GL_FRONT, GL_DIFFUSE, d1);
         glCallList(list);
         glMaterialfv(GL_FRONT, GL_DIFFUSE, d2);
         glTranslatef(1, 1, 0);
         glNormal3f(0, 0, -1);  // the list's own normals win
         glCallList(list);
         float normal[3];
         glGetFloatv(GL_CURRENT_NORMAL, normal);
         check(normal[2] == 1, "the list left its last normal current");
         auto lit = [](float d) { return litChannel(0.2f, 0.2f, 0, d, 1, 1); };
         return std::vector<Probe>{{4, 4, lit(0.5f), lit(0.5f), lit(0.5f)},
                                   {36, 36, lit(0.25f), lit(0.5f), lit(0.75f)}};
     }},
    {"glPushAttrib and glPopAttrib put back enables, colour, material and texture",
     [] {
         const float red[4] = {1, 0, 0, 1};
         glBindTexture(GL_TEXTURE_2D, 3);
         glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT);
         glEnable(GL_BLEND);
         glEnable(GL_LIGHTING);
         glColor3f(1, 0, 0);
         glMaterialfv(GL_FRONT, GL_DIFFUSE, red);
         glBindTexture(GL_TEXTURE_2D, 4);
         glPopAttrib();
         check(!glIsEnabled(GL_BLEND) && !glIsEnabled(GL_LIGHTING), "enables put back");
         GLint bound = 0;
         glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
         check(bound == 3, "texture binding put back");
         glPushAttrib(GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT);
         glEnable(GL_LIGHTING);
         glDepthFunc(GL_ALWAYS);
         glPopAttrib();
         GLint func = 0;
         glGetIntegerv(GL_DEPTH_FUNC, &func);
         check(!glIsEnabled(GL_LIGHTING) && func == GL_LESS, "the lighting and depth groups");
         square(GL_QUADS, -1, -1, 0, 1);  // white
         lightZ();
         square(GL_QUADS, 0, -1, 1, 1);  // the material's grey diffuse
         const float lit = litChannel(0.2f, 0.2f, 0, 0.8f, 1, 1);
         return std::vector<Probe>{{16, 32, 1, 1, 1}, {48, 32, lit, lit, lit}};
     }},
    {"glRasterPos and glBitmap: the bits at the raster position in the raster colour",
     [] {
         // two rows, bottom first: the left half of the bottom row, the right half of the top
         const GLubyte bits[8] = {0xF0, 0, 0, 0, 0x0F, 0, 0, 0};  // rows of 4 bytes
         glColor3f(1, 1, 0);
         glRasterPos2f(0, 0);  // the window's centre, (32, 32)
         glColor3f(0, 0, 1);   // too late for the raster colour
         float raster[4];
         glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
         check(raster[0] == 32 && raster[1] == 32, "the raster position in the window");
         glBitmap(8, 2, 0, 0, 10, 1, bits);
         glBitmap(8, 2, 2, 0, 10, 0, bits);  // 10 to the right and 1 up, 2 back
         glRasterPos2f(2, 2);                // outside: nothing drawn
         glBitmap(8, 2, 0, 0, 10, 0, bits);
         GLboolean valid = GL_TRUE;
         glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
         check(!valid, "a raster position outside the view is invalid");
         return std::vector<Probe>{{32, 32, 1, 1, 0}, {35, 32, 1, 1, 0}, {36, 32, 0, 0, 0},
                                   {36, 33, 1, 1, 0}, {39, 33, 1, 1, 0}, {35, 33, 0, 0, 0},
                                   {40, 33, 1, 1, 0}, {43, 33, 1, 1, 0}, {44, 33, 0, 0, 0},
                                   {44, 34, 1, 1, 0}, {31, 32, 0, 0, 0}};
     }},
    {"bitmaps gathered before the atlas fills keep their pixels",
     [] {
         const GLubyte solid[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glColor3f(1, 0, 1);
         glRasterPos2f(-0.5f, -0.5f);  // (16, 16)
         glBitmap(8, 8, 0, 0, 0, 0, solid);
         // more distinct bitmaps than the atlas holds, their lower half blank
         glRasterPos2f(0.5f, 0.5f);
         GLubyte bits[8] = {0, 0, 0, 0, 0, 0, 0, 0};
         for (int i = 0; i < 4000; ++i) {
             bits[4] = GLubyte(i), bits[5] = GLubyte(i >> 8), bits[6] = 0x80;
             glBitmap(8, 8, 0, 0, 0, 0, bits);
         }
         return std::vector<Probe>{
             {16, 16, 1, 0, 1}, {23, 23, 1, 0, 1}, {48, 48, 0, 0, 0}, {48, 54, 1, 0, 1}};
     }},
    {"vertex arrays with normals through glDrawArrays, lit",
     [] {
         const float positions[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0};
         const float normals[] = {0, 0.6f, 0.8f, 0, 0.6f, 0.8f, 0, 0.6f, 0.8f};
         lightZ();
         glEnableClientState(GL_VERTEX_ARRAY);
         glEnableClientState(GL_NORMAL_ARRAY);
         glVertexPointer(3, GL_FLOAT, 0, positions);
         glNormalPointer(GL_FLOAT, 0, normals);
         glDrawArrays(GL_TRIANGLES, 0, 3);
         glDisableClientState(GL_NORMAL_ARRAY);
         glDisableClientState(GL_VERTEX_ARRAY);
         const float c = litChannel(0.2f, 0.2f, 0, 0.8f, 1, 0.8f);
         return std::vector<Probe>{{10, 10, c, c, c}, {54, 54, 0, 0, 0}};
     }},
    {"lines and points, after triangles of the same state",
     [] {
         glColor3f(1, 1, 1);
         square(GL_QUADS, 0.75f, -1, 1, -0.75f);
         glBegin(GL_LINE_STRIP);
         glVertex2f(-1, 0.5f / 32);  // along row 32
         glVertex2f(1, 0.5f / 32);
         glEnd();
         glColor3f(1, 0, 0);
         glBegin(GL_LINE_LOOP);  // the closing edge runs up column 8
         glVertex2f(-0.75f + 0.5f / 32, -0.25f);
         glVertex2f(-0.5f, -0.75f);
         glVertex2f(-0.75f + 0.5f / 32, -0.75f);
         glEnd();
         glPointSize(5);
         glColor3f(0, 1, 0);
         glBegin(GL_POINTS);
         glVertex2f(16.5f / 32, 16.5f / 32);  // pixel (48, 48)
         glEnd();
         return std::vector<Probe>{{5, 32, 1, 1, 1},  {60, 32, 1, 1, 1}, {5, 33, 0, 0, 0},
                                   {8, 16, 1, 0, 0},  {48, 48, 0, 1, 0}, {50, 50, 0, 1, 0},
                                   {51, 48, 0, 0, 0}, {60, 4, 1, 1, 1}};
     }},
    {"gluSphere, outside and inside, lit at the centre",
     [] {
         glMatrixMode(GL_PROJECTION);
         glOrtho(-2, 2, -2, 2, -10, 10);
         glMatrixMode(GL_MODELVIEW);
         lightZ();
         glEnable(GL_DEPTH_TEST);
         GLUquadric* outside = gluNewQuadric();
         GLUquadric* inside = gluNewQuadric();
         gluQuadricOrientation(inside, GLU_INSIDE);
         glPushMatrix();
         glTranslatef(-1, 0, 0);
         glRotatef(180, 1, 0, 0);  // the last stack, round -z, faces the view
         gluSphere(outside, 0.9, 32, 16);
         glPopMatrix();
         glTranslatef(1, 0, 0);
         gluSphere(inside, 0.9, 32, 16);
         gluDeleteQuadric(outside);
         gluDeleteQuadric(inside);
         const float front = litChannel(0.2f, 0.2f, 0, 0.8f, 1, 1);
         const float back = litChannel(0.2f, 0.2f, 0, 0.8f, 1, -1);
         // between the corners the colour is interpolated from normals a little off the view
         return std::vector<Probe>{
             {16, 32, front, front, front, 8}, {48, 32, back, back, back}, {32, 62, 0, 0, 0}};
     }},
    {"gluCylinder: its outer side faces out, with its texture coordinates",
     [] {
         const GLubyte texels[] = {255, 0, 0, 0, 255, 0};  // s < 0.5 red, else green
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glBindTexture(GL_TEXTURE_2D, 7);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
         glEnable(GL_TEXTURE_2D);
         glEnable(GL_CULL_FACE);  // the outer side faces out: the near side stays
         glMatrixMode(GL_PROJECTION);
         glOrtho(-2, 2, -2, 2, -10, 10);
         glMatrixMode(GL_MODELVIEW);
         GLUquadric* q = gluNewQuadric();
         gluQuadricTexture(q, GL_TRUE);
         glRotatef(-90, 1, 0, 0);  // the axis upright; +y of the quadric faces the viewer
         glTranslatef(0, 0, -1);
         gluCylinder(q, 1, 1, 2, 16, 2);
         gluDeleteQuadric(q);
         // facing the viewer s is near 0 (+y), left of it (toward -x) near 1
         return std::vector<Probe>{{36, 32, 1, 0, 0}, {22, 32, 0, 1, 0}, {32, 60, 0, 0, 0}};
     }},
    {"errors; texture names made and deleted",
     [] {
         glPopMatrix();
         check(glGetError() == GL_STACK_UNDERFLOW, "popping the last matrix");
         check(glGetError() == GL_NO_ERROR, "the error is cleared once read");
         glEnable(0x1234);
         check(glGetError() == GL_INVALID_ENUM, "an unknown capability");
         GLint unknown[4];
         glGetIntegerv(0x1234, unknown);
         check(glGetError() == GL_INVALID_ENUM, "an unknown query");
         glPopMatrix();
         glGetIntegerv(0x1234, unknown);
         check(glGetError() == GL_STACK_UNDERFLOW, "the first error is the one kept");
         check(glGenLists(-1) == 0 && glGetError() == GL_INVALID_VALUE,
               "a negative count of lists");
         const GLuint list = glGenLists(2);
         glNewList(list, GL_COMPILE);
         glNewList(list + 1, GL_COMPILE);
         check(glGetError() == GL_INVALID_OPERATION, "a list started inside another");
         glEndList();
         GLint depth = 0;
         glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
         check(depth == 1, "the stack depth");
         GLint size = 0;
         glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
         check(size >= 1024, "the largest texture");
         glMaterialf(GL_FRONT, GL_SHININESS, 129);
         check(glGetError() == GL_INVALID_VALUE, "shininess over 128");
         GLuint names[2] = {0, 0};
         glGenTextures(2, names);
         auto unused = [](GLuint n) { return n != 0 && (n < 3 || n > 7); };  // 3..7 are bound above
         check(unused(names[0]) && unused(names[1]) && names[0] != names[1],
               "two new texture names");
         const GLubyte red[3] = {255, 0, 0};
         glBindTexture(GL_TEXTURE_2D, names[0]);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, red);
         glEnable(GL_TEXTURE_2D);
         glColor3f(0, 1, 0);
         square(GL_QUADS, -1, -1, 0, 1);  // red
         glDeleteTextures(1, names);
         glBindTexture(GL_TEXTURE_2D, names[0]);  // a name with no image: untextured
         square(GL_QUADS, 0, -1, 1, 1);
         return std::vector<Probe>{{16, 32, 0, 0, 0}, {48, 32, 0, 1, 0}};
     }},
};

}  // namespace

int main()
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = true;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = true;
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0) {
        std::printf("webgl cases: no WebGL context\n");
        std::printf("webgl cases: 0 passed, 1 failed\n");
        EM_ASM(document.title = 'webgl cases: done');
        return 1;
    }
    emscripten_webgl_make_context_current(context);
    vxglInitContext();
    // a single case by its number, to look at its picture: ?case=N
    const int only = EM_ASM_INT({
        const m = /[?&]case=([0-9]+)/.exec(location.search);
        return m ? Number(m[1]) : -1;
    });
    int passed = 0, failed = 0;
    for (size_t i = 0; i < kCases.size(); ++i) {
        if (only >= 0 && size_t(only) != i)
            continue;
        reset();
        sFailures.clear();
        expectPixels(kCases[i].draw());
        if (glGetError() != GL_NO_ERROR && std::string(kCases[i].name).rfind("errors", 0) != 0)
            sFailures.push_back("GL reported an error");
        if (sFailures.empty()) {
            ++passed;
            continue;
        }
        ++failed;
        for (const std::string& f : sFailures)
            std::printf("FAIL %zu %s: %s\n", i, kCases[i].name, f.c_str());
    }
    vxglFlush();
    std::printf("webgl cases: %d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    EM_ASM(document.title = 'webgl cases: done');
    return 0;
}
