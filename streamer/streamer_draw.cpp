// SPDX-License-Identifier: MIT
// streamer: drawing one paper strip, solid or as wire lines.
#include "streamer/streamer_draw.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "streamer/paper_streamer.h"

namespace {

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

// Appends the strip's 78 triangles with their normals, corners in the order GL draws a
// three-corner polygon: a polygon (p0, p1, p2) is rasterised as the triangle (p1, p2, p0), and
// only the same corner order interpolates to the same pixels.
void appendSolid(const PaperStreamer* s, std::vector<Vec3>& positions, std::vector<Vec3>& normals,
                 Vec3& lastNormal)
{
    Vec3 faces[kStreamerTriangles];
    streamerTriangleNormals(s, faces);
    for (int c = 0; c + 1 < kStreamerColumns; ++c) {
        const Vec3 a0 = s->at(0, c).position, a1 = s->at(1, c).position;
        const Vec3 b0 = s->at(0, c + 1).position, b1 = s->at(1, c + 1).position;
        // the polygons (a0, a1, b0) and (a1, b1, b0)
        const Vec3 corners[6] = {a1, b0, a0, b1, b0, a1};
        for (int k = 0; k < 6; ++k) {
            positions.push_back(corners[k]);
            normals.push_back(faces[2 * c + k / 3]);
        }
    }
    lastNormal = faces[kStreamerTriangles - 1];
}

// Every solid strip in one array and one call, with the same triangles, normals and colour as
// each strip drawn polygon by polygon: strips redrawn every frame cost more in calls than in
// their triangles.
void drawSolidArrays(const PaperStreamer* const* streamers, size_t count)
{
    // kept between frames so the arrays are not reallocated each time
    static std::vector<Vec3> positions, normals;
    positions.clear();
    normals.clear();
    Vec3 lastNormal{};
    for (size_t i = 0; i < count; ++i)
        appendSolid(streamers[i], positions, normals, lastNormal);
    if (positions.empty())
        return;
    static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 is three packed floats");
    glColor3f(kStreamerBlue.x, kStreamerBlue.y, kStreamerBlue.z);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(positions.size()));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // an array leaves the current normal undefined; drawn polygon by polygon, the strip leaves
    // its last triangle's
    glNormal3f(lastNormal.x, lastNormal.y, lastNormal.z);
}

void wireVertex(const PaperStreamer* s, int r, int c)
{
    glColor3f(kStreamerBlue.x, kStreamerBlue.y, kStreamerBlue.z);
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

void drawStreamer(const PaperStreamer* streamer, bool wireframe)
{
    drawStreamers(&streamer, 1, wireframe);
}

void drawStreamers(const PaperStreamer* const* streamers, size_t count, bool wireframe)
{
    if (count == 0)
        return;
    glPointSize(3.0f);
    if (!wireframe) {
        drawSolidArrays(streamers, count);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        drawWire(streamers[i]);
}
