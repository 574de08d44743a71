// SPDX-License-Identifier: MIT
// The shaders: GL's transform and per-corner lighting (the enabled lights, the front material
// and the colour it tracks, the scene's ambient), texturing by modulation or replacement, and the
// bitmaps' pixels. A program is made for each mix of lighting, texturing and number of lights in
// use; each sends its uniforms again only when the state they come from has changed.
#include <webgl/webgl1.h>

#include <cstdio>
#include <string>
#include <unordered_map>

#include "gl_context.h"

namespace vxgl {
namespace {

enum Location : GLuint { kPosition = 0, kNormalAttribute = 1, kColourAttribute = 2, kTex = 3 };

const char* const kVertexShader = R"(
attribute vec3 aPos;
attribute vec3 aNormal;
attribute vec4 aColour;
attribute vec2 aTex;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform float uPointSize;
varying vec4 vColour;
varying vec2 vTex;
#ifdef LIT
uniform mat3 uNormalMatrix;
uniform bool uNormalize;
uniform vec4 uMatAmbient, uMatDiffuse, uMatSpecular, uMatEmission;
uniform float uShininess;
uniform vec4 uTrack;  // ambient, diffuse, specular, emission: 1 where the colour stands in
uniform vec4 uSceneAmbient;
#if LIGHTS > 0
uniform vec4 uLightPosition[LIGHTS];
uniform vec4 uLightAmbient[LIGHTS];
uniform vec4 uLightDiffuse[LIGHTS];
uniform vec4 uLightSpecular[LIGHTS];
uniform vec3 uLightAttenuation[LIGHTS];
#endif
#endif
void main() {
  vec4 eye = uModelview * vec4(aPos, 1.0);
  gl_Position = uProjection * eye;
  gl_PointSize = uPointSize;
  vTex = aTex;
#ifdef LIT
  vec3 n = uNormalMatrix * aNormal;
  if (uNormalize) {
    float len = length(n);
    if (len > 0.0) n /= len;
  }
  vec4 ambient = mix(uMatAmbient, aColour, uTrack.x);
  vec4 diffuse = mix(uMatDiffuse, aColour, uTrack.y);
  vec4 specular = mix(uMatSpecular, aColour, uTrack.z);
  vec4 emission = mix(uMatEmission, aColour, uTrack.w);
  vec3 c = emission.rgb + ambient.rgb * uSceneAmbient.rgb;
#if LIGHTS > 0
  vec3 v = eye.xyz / eye.w;
  for (int i = 0; i < LIGHTS; ++i) {
    vec3 l = uLightPosition[i].xyz;
    float attenuation = 1.0;
    if (uLightPosition[i].w != 0.0) {
      l = l / uLightPosition[i].w - v;
      float d = length(l);
      l /= d;
      vec3 k = uLightAttenuation[i];
      attenuation = 1.0 / (k.x + k.y * d + k.z * d * d);
    } else {
      l = normalize(l);
    }
    vec3 term = ambient.rgb * uLightAmbient[i].rgb;
    float nl = dot(n, l);
    if (nl > 0.0) {
      term += nl * diffuse.rgb * uLightDiffuse[i].rgb;
      float nh = max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0);
      float f = uShininess == 0.0 ? 1.0 : pow(nh, uShininess);
      term += f * specular.rgb * uLightSpecular[i].rgb;
    }
    c += attenuation * term;
  }
#endif
  vColour = vec4(clamp(c, 0.0, 1.0), clamp(diffuse.a, 0.0, 1.0));
#else
  vColour = aColour;
#endif
}
)";

const char* const kFragmentShader = R"(
varying vec4 vColour;
varying vec2 vTex;
#ifdef TEXTURED
uniform sampler2D uTexture;
uniform float uReplace;
#endif
void main() {
#ifdef TEXTURED
  vec4 t = texture2D(uTexture, vTex);
  gl_FragColor = uReplace > 0.5 ? t : vColour * t;
#else
  gl_FragColor = vColour;
#endif
}
)";

// bitmaps: corners already in clip coordinates, the atlas's alpha says which pixels are set
const char* const kBitmapVertexShader = R"(
attribute vec3 aPos;
attribute vec4 aColour;
attribute vec2 aTex;
varying vec4 vColour;
varying vec2 vTex;
void main() {
  gl_Position = vec4(aPos, 1.0);
  vColour = aColour;
  vTex = aTex;
}
)";

const char* const kBitmapFragmentShader = R"(
varying vec4 vColour;
varying vec2 vTex;
uniform sampler2D uTexture;
void main() {
  if (texture2D(uTexture, vTex).a < 0.5) discard;
  gl_FragColor = vColour;
}
)";

struct Program {
    GLuint id = 0;
    int lights = 0;
    uint32_t stateVersion = 0, matrixVersion = 0;
    GLint modelview, projection, pointSize, normalMatrix, normalize, matAmbient, matDiffuse,
        matSpecular, matEmission, shininess, track, sceneAmbient, lightPosition, lightAmbient,
        lightDiffuse, lightSpecular, lightAttenuation, texture, replace;
};

struct Programs {
    std::unordered_map<int, Program> byKey;
    Program bitmap;
    GLuint current = 0;
};

Programs& programs()
{
    static Programs p;
    return p;
}

GLuint compileShader(GLenum type, const std::string& source)
{
    const GLuint shader = emscripten_glCreateShader(type);
    const char* text = source.c_str();
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL: a shader did not compile: %s\n", log);
    }
    return shader;
}

// every fragment shader's floats: as precise as the device's fragments can be
const char* const kFragmentPrecision = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
)";

Program link(const std::string& defines, const char* vertex, const char* fragment)
{
    Program p;
    p.id = emscripten_glCreateProgram();
    const GLuint vs = compileShader(GL_VERTEX_SHADER, defines + vertex);
    const GLuint fs = compileShader(GL_FRAGMENT_SHADER, defines + kFragmentPrecision + fragment);
    emscripten_glAttachShader(p.id, vs);
    emscripten_glAttachShader(p.id, fs);
    emscripten_glBindAttribLocation(p.id, kPosition, "aPos");
    emscripten_glBindAttribLocation(p.id, kNormalAttribute, "aNormal");
    emscripten_glBindAttribLocation(p.id, kColourAttribute, "aColour");
    emscripten_glBindAttribLocation(p.id, kTex, "aTex");
    emscripten_glLinkProgram(p.id);
    emscripten_glDeleteShader(vs);
    emscripten_glDeleteShader(fs);
    GLint ok = 0;
    emscripten_glGetProgramiv(p.id, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        emscripten_glGetProgramInfoLog(p.id, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL: a program did not link: %s\n", log);
    }
    auto at = [&](const char* name) { return emscripten_glGetUniformLocation(p.id, name); };
    p.modelview = at("uModelview");
    p.projection = at("uProjection");
    p.pointSize = at("uPointSize");
    p.normalMatrix = at("uNormalMatrix");
    p.normalize = at("uNormalize");
    p.matAmbient = at("uMatAmbient");
    p.matDiffuse = at("uMatDiffuse");
    p.matSpecular = at("uMatSpecular");
    p.matEmission = at("uMatEmission");
    p.shininess = at("uShininess");
    p.track = at("uTrack");
    p.sceneAmbient = at("uSceneAmbient");
    p.lightPosition = at("uLightPosition");
    p.lightAmbient = at("uLightAmbient");
    p.lightDiffuse = at("uLightDiffuse");
    p.lightSpecular = at("uLightSpecular");
    p.lightAttenuation = at("uLightAttenuation");
    p.texture = at("uTexture");
    p.replace = at("uReplace");
    emscripten_glUseProgram(p.id);
    emscripten_glUniform1i(p.texture, 0);
    programs().current = p.id;
    return p;
}

// the inverse of the modelview's upper 3x3, transposed: what turns normals into eye space
void normalMatrix(const Mat4& m, float out[9])
{
    const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6],
                i = m[10];
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    const float k = det != 0 ? 1 / det : 0;
    // the inverse, row by row: read column-major, as the shader does, that is its transpose
    const float inverse[9] = {(e * i - f * h) * k, (c * h - b * i) * k, (b * f - c * e) * k,
                              (f * g - d * i) * k, (a * i - c * g) * k, (c * d - a * f) * k,
                              (d * h - e * g) * k, (b * g - a * h) * k, (a * e - b * d) * k};
    for (int n = 0; n < 9; ++n)
        out[n] = inverse[n];
}

void sendState(Program& p)
{
    const State& s = ctx().state;
    emscripten_glUniform1f(p.pointSize, s.pointSize);
    if (p.replace >= 0)
        emscripten_glUniform1f(p.replace, s.texture.envMode == GL_REPLACE ? 1.0f : 0.0f);
    if (p.matAmbient < 0)
        return;
    const Material& m = s.lighting.front;
    emscripten_glUniform1i(p.normalize, s.enables.normalize);
    emscripten_glUniform4fv(p.matAmbient, 1, m.ambient);
    emscripten_glUniform4fv(p.matDiffuse, 1, m.diffuse);
    emscripten_glUniform4fv(p.matSpecular, 1, m.specular);
    emscripten_glUniform4fv(p.matEmission, 1, m.emission);
    emscripten_glUniform1f(p.shininess, m.shininess);
    float track[4] = {0, 0, 0, 0};
    if (s.enables.colourMaterial && s.lighting.colourMaterialFace != GL_BACK) {
        switch (s.lighting.colourMaterialMode) {
        case GL_AMBIENT:
            track[0] = 1;
            break;
        case GL_DIFFUSE:
            track[1] = 1;
            break;
        case GL_SPECULAR:
            track[2] = 1;
            break;
        case GL_EMISSION:
            track[3] = 1;
            break;
        default:
            track[0] = track[1] = 1;
        }
    }
    emscripten_glUniform4fv(p.track, 1, track);
    emscripten_glUniform4fv(p.sceneAmbient, 1, s.lighting.modelAmbient);
    if (!p.lights)
        return;
    float position[4 * kMaxLights], ambient[4 * kMaxLights], diffuse[4 * kMaxLights],
        specular[4 * kMaxLights], attenuation[3 * kMaxLights];
    int slot = 0;
    for (int i = 0; i < kMaxLights; ++i) {
        if (!s.enables.light[i])
            continue;
        const Light& l = s.lighting.light[i];
        for (int k = 0; k < 4; ++k) {
            position[slot * 4 + k] = l.position[k];
            ambient[slot * 4 + k] = l.ambient[k];
            diffuse[slot * 4 + k] = l.diffuse[k];
            specular[slot * 4 + k] = l.specular[k];
        }
        for (int k = 0; k < 3; ++k)
            attenuation[slot * 3 + k] = l.attenuation[k];
        ++slot;
    }
    emscripten_glUniform4fv(p.lightPosition, p.lights, position);
    emscripten_glUniform4fv(p.lightAmbient, p.lights, ambient);
    emscripten_glUniform4fv(p.lightDiffuse, p.lights, diffuse);
    emscripten_glUniform4fv(p.lightSpecular, p.lights, specular);
    emscripten_glUniform3fv(p.lightAttenuation, p.lights, attenuation);
}

void sendMatrices(Program& p)
{
    const Context& c = ctx();
    emscripten_glUniformMatrix4fv(p.modelview, 1, GL_FALSE, c.modelview.back().data());
    emscripten_glUniformMatrix4fv(p.projection, 1, GL_FALSE, c.projection.back().data());
    if (p.normalMatrix >= 0) {
        float n[9];
        normalMatrix(c.modelview.back(), n);
        emscripten_glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, n);
    }
}

void use(const Program& p)
{
    if (programs().current != p.id) {
        emscripten_glUseProgram(p.id);
        programs().current = p.id;
    }
}

}  // namespace

void initShaders()
{
    programs() = Programs{};
    programs().bitmap = link("", kBitmapVertexShader, kBitmapFragmentShader);
}

void useProgramFor(Kind kind, GLuint texture)
{
    Programs& all = programs();
    if (kind == Kind::Bitmaps) {
        use(all.bitmap);
        return;
    }
    const State& s = ctx().state;
    int lights = 0;
    if (s.enables.lighting)
        for (bool on : s.enables.light)
            lights += on;
    const int key = (s.enables.lighting ? 1 : 0) | (texture ? 2 : 0) | lights << 2;
    auto found = all.byKey.find(key);
    if (found == all.byKey.end()) {
        std::string defines;
        if (s.enables.lighting)
            defines += "#define LIT\n#define LIGHTS " + std::to_string(lights) + "\n";
        if (texture)
            defines += "#define TEXTURED\n";
        Program p = link(defines, kVertexShader, kFragmentShader);
        p.lights = lights;
        found = all.byKey.emplace(key, p).first;
    }
    Program& p = found->second;
    use(p);
    const Context& c = ctx();
    if (p.stateVersion != c.stateVersion) {
        sendState(p);
        p.stateVersion = c.stateVersion;
    }
    if (p.matrixVersion != c.matrixVersion) {
        sendMatrices(p);
        p.matrixVersion = c.matrixVersion;
    }
}

}  // namespace vxgl
