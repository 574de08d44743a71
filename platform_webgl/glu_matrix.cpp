// SPDX-License-Identifier: MIT
// GLU's view matrices, and points taken to the window and back.
#include <GL/glu.h>

#include <cmath>

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    const double radians = fovy / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0)
        return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    glMultMatrixd(m);
}

// the turn is worked out in float, then the eye moved to the origin
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ)
{
    auto normalise = [](float v[3]) {
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length == 0)
            return;
        v[0] /= length, v[1] /= length, v[2] /= length;
    };
    auto cross = [](const float a[3], const float b[3], float out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    float forward[3] = {float(centerX - eyeX), float(centerY - eyeY), float(centerZ - eyeZ)};
    const float up[3] = {float(upX), float(upY), float(upZ)};
    normalise(forward);
    float side[3], upright[3];
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, upright);
    const float m[16] = {side[0], upright[0], -forward[0], 0, side[1], upright[1], -forward[1], 0,
                         side[2], upright[2], -forward[2], 0, 0,       0,          0,           1};
    glMultMatrixf(m);
    glTranslated(-eyeX, -eyeY, -eyeZ);
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top)
{
    glOrtho(left, right, bottom, top, -1, 1);
}

static void transform(const GLdouble m[16], const double in[4], double out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}

GLint gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model,
                 const GLdouble* proj, const GLint* view, GLdouble* winX, GLdouble* winY,
                 GLdouble* winZ)
{
    const double object[4] = {objX, objY, objZ, 1};
    double eye[4], clip[4];
    transform(model, object, eye);
    transform(proj, eye, clip);
    if (clip[3] == 0)
        return GL_FALSE;
    *winX = view[0] + view[2] * (clip[0] / clip[3] + 1) / 2;
    *winY = view[1] + view[3] * (clip[1] / clip[3] + 1) / 2;
    *winZ = (clip[2] / clip[3] + 1) / 2;
    return GL_TRUE;
}

// the inverse of a 4x4 matrix by cofactors; false when it has none
static bool invert(const double m[16], double inverse[16])
{
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0)
        return false;
    for (int i = 0; i < 16; ++i)
        inverse[i] = inv[i] / det;
    return true;
}

GLint gluUnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model,
                   const GLdouble* proj, const GLint* view, GLdouble* objX, GLdouble* objY,
                   GLdouble* objZ)
{
    double both[16], inverse[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            both[col * 4 + row] = proj[row] * model[col * 4] + proj[4 + row] * model[col * 4 + 1] +
                                  proj[8 + row] * model[col * 4 + 2] +
                                  proj[12 + row] * model[col * 4 + 3];
    if (!invert(both, inverse) || view[2] == 0 || view[3] == 0)
        return GL_FALSE;
    const double ndc[4] = {(winX - view[0]) / view[2] * 2 - 1, (winY - view[1]) / view[3] * 2 - 1,
                           winZ * 2 - 1, 1};
    double object[4];
    transform(inverse, ndc, object);
    if (object[3] == 0)
        return GL_FALSE;
    *objX = object[0] / object[3];
    *objY = object[1] / object[3];
    *objZ = object[2] / object[3];
    return GL_TRUE;
}

}  // extern "C"
