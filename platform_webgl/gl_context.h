// SPDX-License-Identifier: MIT
// The library's one context: GL's state as the calls left it, grouped as glPushAttrib saves it,
// the matrix stacks, and the entries the files share (batching, lists, drawing).
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace vxgl {

using Mat4 = std::array<float, 16>;  // column-major, as GL keeps them

constexpr int kMaxLights = 8;
constexpr int kMaxStackDepth = 32;

// One corner as drawn: position in object coordinates, then the attributes it carries.
struct Vertex {
    float pos[3];
    float normal[3];
    float colour[4];
    float tex[2];
};

// the attributes of a vertex that a display list may leave to the current values of the call
enum Attribute : uint8_t { kNormal = 1, kColour = 2, kTexCoord = 4, kAllAttributes = 7 };

// what a batch draws: a primitive after assembly, or bitmap pixels
enum class Kind : uint8_t { None, Triangles, Lines, Points, Bitmaps };

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float position[4] = {0, 0, 1, 0};  // in eye coordinates
    float attenuation[3] = {1, 0, 0};
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0;
};

// Each part is what one glPushAttrib bit saves (the enables of a group travel with it too).
struct State {
    struct Current {
        float colour[4] = {1, 1, 1, 1};
        float normal[3] = {0, 0, 1};
        float tex[4] = {0, 0, 0, 1};
        float rasterPos[4] = {0, 0, 0, 1};  // window coordinates, w the clip w
        float rasterColour[4] = {1, 1, 1, 1};
        bool rasterValid = true;
    } current;
    struct Enables {
        bool lighting = false;
        bool light[kMaxLights] = {};
        bool colourMaterial = false;
        bool normalize = false;
        bool texture2d = false;
        bool blend = false;
        bool depthTest = false;
        bool cullFace = false;
    } enables;
    struct Lighting {
        Lighting()
        {
            // the first light alone is white
            for (int k = 0; k < 3; ++k)
                light[0].diffuse[k] = light[0].specular[k] = 1;
        }
        Light light[kMaxLights];
        Material front, back;
        float modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
        GLenum colourMaterialFace = GL_FRONT_AND_BACK;
        GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
        GLenum shadeModel = GL_SMOOTH;
    } lighting;
    struct Texture {
        GLuint bound = 0;
        GLenum envMode = GL_MODULATE;
    } texture;
    struct ColourBuffer {
        GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
        float clear[4] = {0, 0, 0, 0};
    } colourBuffer;
    struct Depth {
        GLenum func = GL_LESS;
        bool mask = true;
        double clear = 1.0;
    } depth;
    struct Polygon {
        GLenum cullMode = GL_BACK, frontFace = GL_CCW;
    } polygon;
    struct Viewport {
        GLint box[4] = {0, 0, 0, 0};
    } viewport;
    struct Transform {
        GLenum matrixMode = GL_MODELVIEW;
    } transform;
    float pointSize = 1;
    float lineWidth = 1;
};

// Client state, outside glPushAttrib and display lists.
struct ClientArray {
    bool enabled = false;
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};
struct Client {
    ClientArray vertex, normal, colour, texCoord;
    GLint unpackAlignment = 4, packAlignment = 4;
};

struct Context {
    State state;
    Client client;
    std::vector<Mat4> modelview{1}, projection{1};
    GLenum error = GL_NO_ERROR;
    // bumped on each change of what a draw reads: the shaders' uniforms are sent again
    uint32_t stateVersion = 1, matrixVersion = 1;
};

Context& ctx();

// the first error since the last glGetError
void setError(GLenum error);

// current matrix stack, as glMatrixMode chose it
std::vector<Mat4>& currentStack();
Mat4 identity();
Mat4 multiply(const Mat4& a, const Mat4& b);
// (x, y, z, 1) through m
void transformPoint(const Mat4& m, const float in[3], float out[4]);

// Every state change goes through here first: what was gathered under the old state is drawn.
void beforeStateChange();
void beforeMatrixChange();

void setViewport(GLint x, GLint y, GLsizei width, GLsizei height);
int attribStackDepth();

// the current colour, with the material parameters glColorMaterial ties to it
void setCurrentColour(const float rgba[4]);

// --- batching (gl_batch.cpp) ---
// appends assembled vertices to the batch being gathered, drawing it first if its kind differs
void batchAppend(Kind kind, const Vertex* vertices, size_t count);
void flushBatch();
// sets WebGL's enables, blending, depth and culling as the state says for a draw of this kind
void applyFixedState(Kind kind);
// draws count vertices from a buffer: the attributes outside perVertex come from the current
// values
void drawBuffer(Kind kind, GLuint buffer, GLint first, GLsizei count, uint8_t perVertex);
// a texture as the draws see it (gl_texture.cpp): the WebGL object, or 0 when unusable
GLuint usableTexture(GLuint name);
void bindArrayBuffer(GLuint buffer);
void bindWebglTexture(GLuint texture);
void initDrawing();

// --- shaders (gl_shader.cpp) ---
// Makes current the program a draw of this kind needs under the state, with its uniforms up to
// date; texture is the WebGL texture to sample, or 0.
void useProgramFor(Kind kind, GLuint texture);
void initShaders();

// --- display lists (gl_lists.cpp) ---
bool compiling();    // a list is being compiled, and this call is not from a list's replay
bool compileOnly();  // ... with GL_COMPILE
bool recordFunction(std::function<void()> call);
// True when the call is only to be recorded in the list being compiled (GL_COMPILE); the
// recording is done then, and with GL_COMPILE_AND_EXECUTE the caller goes on to execute it.
template <class Call>
bool recordCall(Call&& call)
{
    return compiling() && recordFunction(std::forward<Call>(call));
}
bool compiling();    // a list is being compiled, and this call is not from a list's replay
bool compileOnly();  // ... with GL_COMPILE
// an attribute set while compiling outside glBegin/glEnd: the list knows it from here on
void listKnows(Attribute attribute, const float* value);
// the values the list set for its attributes so far (mask of the known ones)
uint8_t listKnown(Vertex& into);
// An assembled primitive for the list; perVertex as drawBuffer's. last holds the attributes as
// the primitive left them, setInside those it gave itself.
void listAppend(Kind kind, const Vertex* vertices, size_t count, uint8_t perVertex,
                const Vertex& last, uint8_t setInside);

GLuint listIndex();
GLenum listMode();

// --- immediate mode (gl_immediate.cpp) ---
bool insideBeginEnd();

// --- bitmaps (gl_bitmap.cpp) ---
void initBitmaps();
GLuint atlasTexture();

}  // namespace vxgl
