// streamer: drawing one paper strip, solid or as wire lines.
#include "streamer/streamer_draw.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>

#include "player/input.h"
#include "streamer/paper_streamer.h"

bool gStreamerArrayDrawing = true;

namespace {

const Vec3 kBlue{0.0f, 0.0f, 1.0f};
const Vec3 kRed{1.0f, 0.0f, 0.0f};
const Vec3 kUp{0.0f, 1.0f, 0.0f};

// normal of the triangle at corner by the right-hand rule through u then v; one with no area
// (or too large to measure) keeps the fallback
Vec3 faceNormal(Vec3 corner, Vec3 u, Vec3 v, Vec3 fallback)
{
    const Vec3 n = vecCross(vecSub(u, corner), vecSub(v, corner));
    const float lengthSquared = n.x * n.x + n.y * n.y + n.z * n.z;
    if (!(lengthSquared > 0.0f) || !std::isfinite(lengthSquared))
        return fallback;
    const Vec3 unit = vecScale(n, 1.0f / std::sqrt(lengthSquared));
    if (!std::isfinite(unit.x) || !std::isfinite(unit.y) || !std::isfinite(unit.z))
        return fallback;
    return unit;
}

void vertex(Vec3 p) { glVertex3f(p.x, p.y, p.z); }

void drawSolid(const PaperStreamer* s)
{
    Vec3 normals[kStreamerTriangles];
    streamerTriangleNormals(s, normals);
    for (int c = 0; c + 1 < kStreamerColumns; ++c) {
        const Vec3 a0 = s->at(0, c).position, a1 = s->at(1, c).position;
        const Vec3 b0 = s->at(0, c + 1).position, b1 = s->at(1, c + 1).position;
        // with lighting on and no colour material this does not colour the strip: it takes the
        // current material and looks like white paper
        glColor3f(kBlue.x, kBlue.y, kBlue.z);
        const Vec3 first = normals[2 * c], second = normals[2 * c + 1];
        glNormal3f(first.x, first.y, first.z);
        glBegin(GL_POLYGON);
        vertex(a0);
        vertex(a1);
        vertex(b0);
        glEnd();
        glNormal3f(second.x, second.y, second.z);
        glBegin(GL_POLYGON);
        vertex(a1);
        vertex(b1);
        vertex(b0);
        glEnd();
    }
}

// the same triangles, normals and colour as drawSolid in one call: a strip redrawn every frame
// costs more in begin/end pairs than in its 78 triangles
void drawSolidArray(const PaperStreamer* s)
{
    constexpr int kVertices = 3 * kStreamerTriangles;
    Vec3 normals[kStreamerTriangles];
    streamerTriangleNormals(s, normals);
    Vec3 vertexPositions[kVertices];
    Vec3 vertexNormals[kVertices];
    for (int c = 0; c + 1 < kStreamerColumns; ++c) {
        const Vec3 a0 = s->at(0, c).position, a1 = s->at(1, c).position;
        const Vec3 b0 = s->at(0, c + 1).position, b1 = s->at(1, c + 1).position;
        const Vec3 corners[6] = {a0, a1, b0, a1, b1, b0};
        for (int k = 0; k < 6; ++k) {
            vertexPositions[6 * c + k] = corners[k];
            vertexNormals[6 * c + k] = normals[2 * c + k / 3];
        }
    }
    static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 is three packed floats");
    glColor3f(kBlue.x, kBlue.y, kBlue.z);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertexPositions);
    glNormalPointer(GL_FLOAT, 0, vertexNormals);
    // polygons, as the triangle-by-triangle drawing sends them: GL splits a polygon into
    // triangles its own way, and only the same split gives the same pixels
    static GLint firsts[kStreamerTriangles];
    static GLsizei counts[kStreamerTriangles];
    for (int t = 0; t < kStreamerTriangles; ++t) {
        firsts[t] = 3 * t;
        counts[t] = 3;
    }
    glMultiDrawArrays(GL_POLYGON, firsts, counts, kStreamerTriangles);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // an array leaves the current normal undefined; the triangle-by-triangle drawing leaves the
    // last triangle's
    const Vec3 last = normals[kStreamerTriangles - 1];
    glNormal3f(last.x, last.y, last.z);
}

void wireVertex(const PaperStreamer* s, int r, int c)
{
    glColor3f(kBlue.x, kBlue.y, kBlue.z);
    if (streamerParticleMarked(r, c))
        glColor3f(kRed.x, kRed.y, kRed.z);
    vertex(s->at(r, c).position);
}

void drawWire(const PaperStreamer* s)
{
    for (int r = 0; r < kStreamerRows; ++r) {
        glBegin(GL_LINE_STRIP);
        for (int c = 0; c < kStreamerColumns; ++c)
            wireVertex(s, r, c);
        glEnd();
    }
    for (int c = 0; c < kStreamerColumns; ++c) {
        glBegin(GL_LINE_STRIP);
        for (int r = 0; r < kStreamerRows; ++r)
            wireVertex(s, r, c);
        glEnd();
    }
}

} // namespace

void streamerTriangleNormals(const PaperStreamer* s, Vec3 normals[kStreamerTriangles])
{
    Vec3 previous = kUp;
    for (int c = 0; c + 1 < kStreamerColumns; ++c) {
        const Vec3 a0 = s->at(0, c).position, a1 = s->at(1, c).position;
        const Vec3 b0 = s->at(0, c + 1).position, b1 = s->at(1, c + 1).position;
        previous = normals[2 * c] = faceNormal(a0, a1, b0, previous);
        previous = normals[2 * c + 1] = faceNormal(b1, b0, a1, previous);
    }
}

bool streamerParticleMarked(int r, int c)
{
    return (r == 0 && c <= 2) || (r == 1 && (c == 0 || c == 2));
}

Vec3 streamerWireColour(int r, int c)
{
    return streamerParticleMarked(r, c) ? kRed : kBlue;
}

void drawStreamer(const PaperStreamer* streamer)
{
    glPointSize(3.0f);
    if (gWireframe)
        drawWire(streamer);
    else if (gStreamerArrayDrawing)
        drawSolidArray(streamer);
    else
        drawSolid(streamer);
}
