// SPDX-License-Identifier: MIT
// The modelview and projection stacks, kept in float and multiplied on the right as GL does.
#include <cmath>

#include "gl_context.h"

namespace vxgl {

Mat4 identity() { return Mat4{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat4 multiply(const Mat4& a, const Mat4& b)
{
    Mat4 r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            r[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] +
                               a[8 + row] * b[col * 4 + 2] + a[12 + row] * b[col * 4 + 3];
    return r;
}

void transformPoint(const Mat4& m, const float in[3], float out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row];
}

std::vector<Mat4>& currentStack()
{
    Context& c = ctx();
    return c.state.transform.matrixMode == GL_PROJECTION ? c.projection : c.modelview;
}

void beforeMatrixChange()
{
    flushBatch();
    ++ctx().matrixVersion;
}

namespace {

void load(const Mat4& m)
{
    beforeMatrixChange();
    currentStack().back() = m;
}

void multiplyBy(const Mat4& m)
{
    beforeMatrixChange();
    Mat4& top = currentStack().back();
    top = multiply(top, m);
}

template <class T>
Mat4 toMat4(const T* m)
{
    Mat4 r;
    for (int i = 0; i < 16; ++i)
        r[i] = float(m[i]);
    return r;
}

// a turn about a unit axis; one about a coordinate axis has exact zeros and ones
Mat4 rotation(double degrees, double x, double y, double z)
{
    const double radians = degrees * M_PI / 180.0;
    const float s = float(std::sin(radians)), c = float(std::cos(radians));
    Mat4 m = identity();
    if (x == 0 && y == 0 && z != 0) {
        const float sz = z < 0 ? -s : s;
        m[0] = c, m[1] = sz, m[4] = -sz, m[5] = c;
        return m;
    }
    if (x == 0 && z == 0 && y != 0) {
        const float sy = y < 0 ? -s : s;
        m[0] = c, m[2] = -sy, m[8] = sy, m[10] = c;
        return m;
    }
    if (y == 0 && z == 0 && x != 0) {
        const float sx = x < 0 ? -s : s;
        m[5] = c, m[6] = sx, m[9] = -sx, m[10] = c;
        return m;
    }
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return m;
    const float ux = float(x / length), uy = float(y / length), uz = float(z / length);
    const float t = 1 - c;
    m[0] = ux * ux * t + c, m[4] = ux * uy * t - uz * s, m[8] = ux * uz * t + uy * s;
    m[1] = uy * ux * t + uz * s, m[5] = uy * uy * t + c, m[9] = uy * uz * t - ux * s;
    m[2] = uz * ux * t - uy * s, m[6] = uz * uy * t + ux * s, m[10] = uz * uz * t + c;
    return m;
}

Mat4 translation(float x, float y, float z)
{
    Mat4 m = identity();
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

Mat4 scaling(float x, float y, float z)
{
    Mat4 m = identity();
    m[0] = x, m[5] = y, m[10] = z;
    return m;
}

}  // namespace
}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glMatrixMode(GLenum mode)
{
    if (recordCall([=] { glMatrixMode(mode); }))
        return;
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION)
        return setError(GL_INVALID_ENUM);
    ctx().state.transform.matrixMode = mode;
}

void glLoadIdentity(void)
{
    if (!recordCall([] { glLoadIdentity(); }))
        load(identity());
}

void glPushMatrix(void)
{
    if (recordCall([] { glPushMatrix(); }))
        return;
    std::vector<Mat4>& stack = currentStack();
    if (stack.size() >= size_t(kMaxStackDepth))
        return setError(GL_STACK_OVERFLOW);
    stack.push_back(stack.back());  // the matrix in force stays: nothing to draw first
}

void glPopMatrix(void)
{
    if (recordCall([] { glPopMatrix(); }))
        return;
    std::vector<Mat4>& stack = currentStack();
    if (stack.size() <= 1)
        return setError(GL_STACK_UNDERFLOW);
    beforeMatrixChange();
    stack.pop_back();
}

void glLoadMatrixf(const GLfloat* m)
{
    const Mat4 matrix = toMat4(m);
    if (!recordCall([=] { load(matrix); }))
        load(matrix);
}

void glLoadMatrixd(const GLdouble* m)
{
    const Mat4 matrix = toMat4(m);
    if (!recordCall([=] { load(matrix); }))
        load(matrix);
}

void glMultMatrixf(const GLfloat* m)
{
    const Mat4 matrix = toMat4(m);
    if (!recordCall([=] { multiplyBy(matrix); }))
        multiplyBy(matrix);
}

void glMultMatrixd(const GLdouble* m)
{
    const Mat4 matrix = toMat4(m);
    if (!recordCall([=] { multiplyBy(matrix); }))
        multiplyBy(matrix);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (!recordCall([=] { glTranslatef(x, y, z); }))
        multiplyBy(translation(x, y, z));
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    glTranslatef(float(x), float(y), float(z));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    if (!recordCall([=] { glRotatef(angle, x, y, z); }))
        multiplyBy(rotation(angle, x, y, z));
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z)
{
    glRotatef(float(angle), float(x), float(y), float(z));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    if (!recordCall([=] { glScalef(x, y, z); }))
        multiplyBy(scaling(x, y, z));
}

void glScaled(GLdouble x, GLdouble y, GLdouble z) { glScalef(float(x), float(y), float(z)); }

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar)
{
    if (left == right || bottom == top || zNear == zFar)
        return setError(GL_INVALID_VALUE);
    double m[16] = {};
    m[0] = 2 / (right - left);
    m[5] = 2 / (top - bottom);
    m[10] = -2 / (zFar - zNear);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(zFar + zNear) / (zFar - zNear);
    m[15] = 1;
    glMultMatrixd(m);
}

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar)
{
    if (zNear <= 0 || zFar <= 0 || left == right || bottom == top || zNear == zFar)
        return setError(GL_INVALID_VALUE);
    double m[16] = {};
    m[0] = 2 * zNear / (right - left);
    m[5] = 2 * zNear / (top - bottom);
    m[8] = (right + left) / (right - left);
    m[9] = (top + bottom) / (top - bottom);
    m[10] = -(zFar + zNear) / (zFar - zNear);
    m[11] = -1;
    m[14] = -2 * zFar * zNear / (zFar - zNear);
    glMultMatrixd(m);
}

}  // extern "C"
