// SPDX-License-Identifier: MIT
// Immediate mode: the current attributes, glBegin/glEnd gathering corners, and their assembly
// into triangles, lines or points (quads and polygons split, flat shading applied) for the
// batch or the list being compiled. Client-side arrays feed the same road.
#include <algorithm>
#include <array>
#include <cstring>

#include "gl_context.h"

namespace vxgl {
namespace {

struct Primitive {
    bool active = false;
    GLenum mode = GL_POINTS;
    Vertex work;            // the attributes the next corner takes
    uint8_t setInside = 0;  // attributes given between glBegin and glEnd
    uint8_t perVertex = 0;  // ... or known to the list: the corners carry them
    std::vector<Vertex> corners;
    std::vector<Vertex> assembled;
};

Primitive& primitive()
{
    static Primitive p;
    return p;
}

bool validMode(GLenum mode) { return mode <= GL_POLYGON; }

// The corners in drawing order, as triangles, line pairs or points. With flat shading each
// primitive takes the colour and normal of its provoking corner: the last, or a polygon's first.
Kind assemble(GLenum mode, const std::vector<Vertex>& v, std::vector<Vertex>& out)
{
    out.clear();
    const size_t n = v.size();
    const bool flat = ctx().state.lighting.shadeModel == GL_FLAT;
    auto emit = [&](std::initializer_list<size_t> corners, size_t provoking) {
        for (size_t i : corners) {
            out.push_back(v[i]);
            if (flat) {
                std::memcpy(out.back().colour, v[provoking].colour, sizeof(float) * 4);
                std::memcpy(out.back().normal, v[provoking].normal, sizeof(float) * 3);
            }
        }
    };
    switch (mode) {
    case GL_POINTS:
        for (size_t i = 0; i < n; ++i)
            emit({i}, i);
        return Kind::Points;
    case GL_LINES:
        for (size_t i = 0; i + 1 < n; i += 2)
            emit({i, i + 1}, i + 1);
        return Kind::Lines;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (size_t i = 0; i + 1 < n; ++i)
            emit({i, i + 1}, i + 1);
        if (mode == GL_LINE_LOOP && n > 1)
            emit({n - 1, 0}, 0);
        return Kind::Lines;
    case GL_TRIANGLES:
        for (size_t i = 0; i + 2 < n; i += 3)
            emit({i, i + 1, i + 2}, i + 2);
        return Kind::Triangles;
    case GL_TRIANGLE_STRIP:
        for (size_t i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0)
                emit({i, i + 1, i + 2}, i + 2);
            else
                emit({i + 1, i, i + 2}, i + 2);
        }
        return Kind::Triangles;
    case GL_TRIANGLE_FAN:
        for (size_t i = 1; i + 1 < n; ++i)
            emit({0, i, i + 1}, i + 1);
        return Kind::Triangles;
    case GL_QUADS:
        for (size_t i = 0; i + 3 < n; i += 4) {
            emit({i, i + 1, i + 3}, i + 3);
            emit({i + 1, i + 2, i + 3}, i + 3);
        }
        return Kind::Triangles;
    case GL_QUAD_STRIP:
        // the quad (2i, 2i+1, 2i+3, 2i+2)
        for (size_t i = 0; i + 3 < n; i += 2) {
            emit({i, i + 1, i + 2}, i + 3);
            emit({i + 1, i + 3, i + 2}, i + 3);
        }
        return Kind::Triangles;
    default:  // GL_POLYGON, as a fan from the first corner
        for (size_t i = 2; i < n; ++i)
            emit({i - 1, i, 0}, 0);
        return Kind::Triangles;
    }
}

}  // namespace

bool insideBeginEnd() { return primitive().active; }

}  // namespace vxgl

using namespace vxgl;

namespace {

// an attribute as a corner carries it: a texture coordinate divided by its q
void toCorner(Vertex& v, Attribute which, const float* given)
{
    if (which == kNormal)
        std::memcpy(v.normal, given, sizeof v.normal);
    else if (which == kColour)
        std::memcpy(v.colour, given, sizeof v.colour);
    else
        v.tex[0] = given[0] / given[3], v.tex[1] = given[1] / given[3];
}

void setCurrent(Attribute which, const float* given)
{
    State::Current& c = ctx().state.current;
    if (which == kNormal)
        std::memcpy(c.normal, given, sizeof c.normal);
    else if (which == kColour)
        setCurrentColour(given);
    else
        std::memcpy(c.tex, given, sizeof c.tex);
}

// An attribute call (four values, the unused ones any): inside glBegin/glEnd it goes to the next
// corner (and, unless only compiling, to the current value); outside, to the current value or
// the list being compiled.
void attribute(Attribute which, const float* given)
{
    Primitive& p = primitive();
    if (p.active) {
        toCorner(p.work, which, given);
        p.setInside |= which;
        if (!compileOnly())
            setCurrent(which, given);
        return;
    }
    if (compiling()) {
        const std::array<float, 4> v{given[0], given[1], given[2], given[3]};
        const bool only = recordCall([=] { attribute(which, v.data()); });
        Vertex known{};
        toCorner(known, which, given);
        listKnows(which, which == kNormal   ? known.normal
                         : which == kColour ? known.colour
                                            : known.tex);
        if (only)
            return;
    }
    setCurrent(which, given);
}

void colour(float r, float g, float b, float a)
{
    const float c[4] = {r, g, b, a};
    attribute(kColour, c);
}

void normal(float x, float y, float z)
{
    const float n[4] = {x, y, z, 0};
    attribute(kNormal, n);
}

void texCoord(float s, float t, float r, float q)
{
    const float tex[4] = {s, t, r, q};
    attribute(kTexCoord, tex);
}

void vertex(float x, float y, float z)
{
    Primitive& p = primitive();
    if (!p.active)
        return;  // a corner outside glBegin/glEnd draws nothing
    p.work.pos[0] = x, p.work.pos[1] = y, p.work.pos[2] = z;
    p.perVertex |= p.setInside;
    p.corners.push_back(p.work);
}

float unsignedByte(GLubyte v) { return float(v) / 255.0f; }

// element i of a client array as up to n floats; what it leaves out of out stays
void fetch(const ClientArray& a, int i, float* out, int n)
{
    const uint8_t* base = static_cast<const uint8_t*>(a.pointer);
    if (a.type == GL_UNSIGNED_BYTE) {
        const uint8_t* e = base + size_t(i) * size_t(a.stride ? a.stride : a.size);
        for (int k = 0; k < std::min(a.size, n); ++k)
            out[k] = unsignedByte(e[k]);
        return;
    }
    const size_t elementSize = a.type == GL_DOUBLE ? sizeof(double) : sizeof(float);
    const uint8_t* e = base + size_t(i) * (a.stride ? size_t(a.stride) : a.size * elementSize);
    const int size = std::min(a.size, n);
    for (int k = 0; k < size; ++k)
        out[k] = a.type == GL_DOUBLE ? float(reinterpret_cast<const double*>(e)[k])
                                     : reinterpret_cast<const float*>(e)[k];
}

void setArray(ClientArray& a, GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    if (stride < 0 || size < 1 || size > 4)
        return setError(GL_INVALID_VALUE);
    if (type != GL_FLOAT && type != GL_DOUBLE && type != GL_UNSIGNED_BYTE)
        return setError(GL_INVALID_ENUM);
    a.size = size;
    a.type = type;
    a.stride = stride;
    a.pointer = pointer;
}

ClientArray* clientArray(GLenum array)
{
    Client& c = ctx().client;
    switch (array) {
    case GL_VERTEX_ARRAY:
        return &c.vertex;
    case GL_NORMAL_ARRAY:
        return &c.normal;
    case GL_COLOR_ARRAY:
        return &c.colour;
    case GL_TEXTURE_COORD_ARRAY:
        return &c.texCoord;
    default:
        setError(GL_INVALID_ENUM);
        return nullptr;
    }
}

}  // namespace

extern "C" {

void glBegin(GLenum mode)
{
    Primitive& p = primitive();
    if (p.active)
        return setError(GL_INVALID_OPERATION);
    if (!validMode(mode))
        return setError(GL_INVALID_ENUM);
    p.active = true;
    p.mode = mode;
    p.corners.clear();
    p.setInside = 0;
    p.perVertex = 0;
    const State::Current& c = ctx().state.current;
    std::memcpy(p.work.colour, c.colour, sizeof c.colour);
    std::memcpy(p.work.normal, c.normal, sizeof c.normal);
    p.work.tex[0] = c.tex[0] / c.tex[3];
    p.work.tex[1] = c.tex[1] / c.tex[3];
    if (compiling())
        p.perVertex = listKnown(p.work);
    else
        p.perVertex = kAllAttributes;
}

void glEnd(void)
{
    Primitive& p = primitive();
    if (!p.active)
        return setError(GL_INVALID_OPERATION);
    p.active = false;
    const Kind kind = assemble(p.mode, p.corners, p.assembled);
    if (p.assembled.empty() && !compiling())
        return;
    if (compiling())
        listAppend(kind, p.assembled.data(), p.assembled.size(), p.perVertex, p.work, p.setInside);
    if (!compileOnly())
        batchAppend(kind, p.assembled.data(), p.assembled.size());
}

void glVertex2f(GLfloat x, GLfloat y) { vertex(x, y, 0); }
void glVertex2i(GLint x, GLint y) { vertex(float(x), float(y), 0); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { vertex(x, y, z); }
void glVertex3fv(const GLfloat* v) { vertex(v[0], v[1], v[2]); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { vertex(float(x), float(y), float(z)); }

void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) { normal(nx, ny, nz); }
void glNormal3fv(const GLfloat* v) { normal(v[0], v[1], v[2]); }
void glNormal3d(GLdouble nx, GLdouble ny, GLdouble nz) { normal(float(nx), float(ny), float(nz)); }

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { colour(r, g, b, 1); }
void glColor3fv(const GLfloat* v) { colour(v[0], v[1], v[2], 1); }
void glColor3d(GLdouble r, GLdouble g, GLdouble b) { colour(float(r), float(g), float(b), 1); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { colour(r, g, b, a); }
void glColor4fv(const GLfloat* v) { colour(v[0], v[1], v[2], v[3]); }
void glColor3ub(GLubyte r, GLubyte g, GLubyte b)
{
    colour(unsignedByte(r), unsignedByte(g), unsignedByte(b), 1);
}
void glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a)
{
    colour(unsignedByte(r), unsignedByte(g), unsignedByte(b), unsignedByte(a));
}

void glTexCoord2f(GLfloat s, GLfloat t) { texCoord(s, t, 0, 1); }
void glTexCoord2fv(const GLfloat* v) { texCoord(v[0], v[1], 0, 1); }
void glTexCoord4f(GLfloat s, GLfloat t, GLfloat r, GLfloat q) { texCoord(s, t, r, q); }
void glTexCoord4fv(const GLfloat* v) { texCoord(v[0], v[1], v[2], v[3]); }

void glEnableClientState(GLenum array)
{
    if (ClientArray* a = clientArray(array))
        a->enabled = true;
}

void glDisableClientState(GLenum array)
{
    if (ClientArray* a = clientArray(array))
        a->enabled = false;
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    setArray(ctx().client.vertex, size, type, stride, pointer);
}

void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer)
{
    setArray(ctx().client.normal, 3, type, stride, pointer);
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    setArray(ctx().client.colour, size, type, stride, pointer);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    setArray(ctx().client.texCoord, size, type, stride, pointer);
}

// the arrays are read now, as corners between glBegin and glEnd (in a list too)
void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    if (count < 0 || first < 0)
        return setError(GL_INVALID_VALUE);
    const Client& c = ctx().client;
    if (!c.vertex.enabled)
        return;
    glBegin(mode);
    for (GLint i = first; i < first + count; ++i) {
        if (c.normal.enabled) {
            float n[3];
            fetch(c.normal, i, n, 3);
            normal(n[0], n[1], n[2]);
        }
        if (c.colour.enabled) {
            float rgba[4] = {0, 0, 0, 1};
            fetch(c.colour, i, rgba, 4);
            colour(rgba[0], rgba[1], rgba[2], rgba[3]);
        }
        if (c.texCoord.enabled) {
            float st[2] = {0, 0};
            fetch(c.texCoord, i, st, 2);
            texCoord(st[0], st[1], 0, 1);
        }
        float p[3] = {0, 0, 0};
        fetch(c.vertex, i, p, 3);
        vertex(p[0], p[1], p[2]);
    }
    glEnd();
}

}  // extern "C"
