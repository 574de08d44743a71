// SPDX-License-Identifier: MIT
// GLU's quadrics: the sphere and the cylinder as grids of corners drawn filled, as quad strips,
// through GL's immediate mode (so a list being compiled keeps them), with smooth normals. Around
// the z axis s runs from 0 at +y through 0.25 at +x; a sphere's t runs from 0 at -z to 1 at +z, a
// cylinder's from 0 at its base to 1 at its top.
#include <GL/glu.h>

#include <cmath>
#include <functional>

struct GLUquadric {
    GLenum orientation = GLU_OUTSIDE;
    bool texture = false;
};

namespace {

struct Corner {
    double pos[3];
    double normal[3];
    double tex[2];
};

// around the z axis, slice i of slices, the last one closing on the first exactly
void around(int i, int slices, double& s, double& c)
{
    const double angle = i == slices ? 0.0 : 2 * M_PI * i / slices;
    s = std::sin(angle);
    c = std::cos(angle);
}

void emit(const GLUquadric* q, const Corner& c)
{
    const double sign = q->orientation == GLU_INSIDE ? -1 : 1;
    glNormal3f(float(sign * c.normal[0]), float(sign * c.normal[1]), float(sign * c.normal[2]));
    if (q->texture)
        glTexCoord2f(float(c.tex[0]), float(c.tex[1]));
    glVertex3f(float(c.pos[0]), float(c.pos[1]), float(c.pos[2]));
}

// rows x columns corners; each band between two rows is a quad strip whose pairs are ordered
// so its outer side faces out (nextRowFirst: the pair starts on the next row)
void drawGrid(const GLUquadric* q, int rows, int columns, bool nextRowFirst,
              const std::function<Corner(int row, int column)>& at)
{
    const bool next = nextRowFirst != (q->orientation == GLU_INSIDE);
    for (int r = 0; r + 1 < rows; ++r) {
        glBegin(GL_QUAD_STRIP);
        for (int c = 0; c < columns; ++c) {
            emit(q, at(next ? r + 1 : r, c));
            emit(q, at(next ? r : r + 1, c));
        }
        glEnd();
    }
}

}  // namespace

extern "C" {

GLUquadric* gluNewQuadric(void) { return new GLUquadric; }

void gluDeleteQuadric(GLUquadric* quad) { delete quad; }

// quadrics are drawn filled only
void gluQuadricDrawStyle(GLUquadric*, GLenum) {}

void gluQuadricOrientation(GLUquadric* quad, GLenum orientation)
{
    quad->orientation = orientation;
}

void gluQuadricTexture(GLUquadric* quad, GLboolean texture) { quad->texture = texture; }

// rows are stacks from +z down to -z
void gluSphere(GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks)
{
    if (slices < 2 || stacks < 1 || radius < 0)
        return;
    drawGrid(quad, stacks + 1, slices + 1, true, [&](int row, int column) {
        const double rho = M_PI * row / stacks;
        double s, c;
        around(column, slices, s, c);
        const double n[3] = {s * std::sin(rho), c * std::sin(rho), std::cos(rho)};
        return Corner{{radius * n[0], radius * n[1], radius * n[2]},
                      {n[0], n[1], n[2]},
                      {double(column) / slices, 1 - double(row) / stacks}};
    });
}

// rows are stacks from the base at z = 0 up to the top at z = height
void gluCylinder(GLUquadric* quad, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                 GLint stacks)
{
    if (slices < 2 || stacks < 1 || base < 0 || top < 0 || height < 0)
        return;
    const double slope = height > 0 ? (base - top) / height : 0;
    const double length = std::sqrt(1 + slope * slope);
    drawGrid(quad, stacks + 1, slices + 1, false, [&](int row, int column) {
        const double z = height * row / stacks;
        const double r = base + (top - base) * row / stacks;
        double s, c;
        around(column, slices, s, c);
        return Corner{{r * s, r * c, z},
                      {s / length, c / length, slope / length},
                      {double(column) / slices, double(row) / stacks}};
    });
}

}  // extern "C"
