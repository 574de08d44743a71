// SPDX-License-Identifier: MIT
// Spheres about the origin, from the same points in the same order as the desktop toolkit's:
// the top (0, 0, r), `stacks - 1` rings of `slices` points running clockwise seen from above,
// and the bottom, each with its unit normal.
#include <cmath>
#include <vector>

#include "glut_internal.h"

namespace {

struct Sphere {
    std::vector<GLfloat> points;   // x, y, z of each
    std::vector<GLfloat> normals;
    int count = 0;
};

// n samples of a circle (half of one when `half`), the last repeating the first or ending at pi;
// a negative n turns the other way
void circle(int n, bool half, std::vector<GLfloat>* sines, std::vector<GLfloat>* cosines)
{
    const int size = std::abs(n);
    const GLfloat angle = (half ? 1 : 2) * GLfloat(M_PI) / GLfloat(n == 0 ? 1 : n);
    sines->assign(size_t(size) + 1, 0.0f);
    cosines->assign(size_t(size) + 1, 1.0f);
    for (int i = 1; i < size; ++i) {
        (*sines)[size_t(i)] = GLfloat(std::sin(double(angle * GLfloat(i))));
        (*cosines)[size_t(i)] = GLfloat(std::cos(double(angle * GLfloat(i))));
    }
    (*sines)[size_t(size)] = 0.0f;
    (*cosines)[size_t(size)] = half ? -1.0f : 1.0f;
}

Sphere makeSphere(GLfloat radius, int slices, int stacks)
{
    Sphere s;
    if (slices <= 0 || stacks < 2)
        return s;
    std::vector<GLfloat> sin1, cos1, sin2, cos2;
    circle(-slices, false, &sin1, &cos1);
    circle(stacks, true, &sin2, &cos2);
    auto add = [&s, radius](GLfloat x, GLfloat y, GLfloat z) {
        s.points.insert(s.points.end(), {x * radius, y * radius, z * radius});
        s.normals.insert(s.normals.end(), {x, y, z});
        ++s.count;
    };
    add(0.0f, 0.0f, 1.0f);
    for (int i = 1; i < stacks; ++i)
        for (int j = 0; j < slices; ++j)
            add(cos1[size_t(j)] * sin2[size_t(i)], sin1[size_t(j)] * sin2[size_t(i)], cos2[size_t(i)]);
    add(0.0f, 0.0f, -1.0f);
    return s;
}

void point(const Sphere& s, int index)
{
    glNormal3fv(&s.normals[size_t(index) * 3]);
    glVertex3fv(&s.points[size_t(index) * 3]);
}

}  // namespace

// a triangle strip for each stack, from the top down; each goes once round and closes
void glutSolidSphere(double radius, GLint slices, GLint stacks)
{
    const Sphere s = makeSphere(GLfloat(radius), slices, stacks);
    if (s.count == 0)
        return;
    const int bottom = s.count - 1;
    for (int stack = 0; stack < stacks; ++stack) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j <= slices; ++j) {
            const int k = j % slices;
            if (stack == 0) {
                point(s, 1 + k);
                point(s, 0);
            } else if (stack == stacks - 1) {
                point(s, bottom);
                point(s, 1 + (stack - 1) * slices + k);
            } else {
                point(s, 1 + stack * slices + k);
                point(s, 1 + (stack - 1) * slices + k);
            }
        }
        glEnd();
    }
}

// a line from top to bottom for each slice, then a loop round each ring
void glutWireSphere(double radius, GLint slices, GLint stacks)
{
    const Sphere s = makeSphere(GLfloat(radius), slices, stacks);
    if (s.count == 0)
        return;
    for (int j = 0; j < slices; ++j) {
        glBegin(GL_LINE_STRIP);
        point(s, 0);
        for (int ring = 0; ring < stacks - 1; ++ring)
            point(s, 1 + j + ring * slices);
        point(s, s.count - 1);
        glEnd();
    }
    for (int ring = 0; ring < stacks - 1; ++ring) {
        glBegin(GL_LINE_LOOP);
        for (int j = 0; j < slices; ++j)
            point(s, 1 + ring * slices + j);
        glEnd();
    }
}
