#include "gles/renderer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gles/es_table.h"
#include "gles/layer.h"

namespace gles {

namespace {

enum Attribute : GLuint { kPosition = 0, kColor = 1, kNormal = 2, kTexCoord = 3 };

// GL 1.1's defaults that the presentation never changes: the material (ambient 0.2, diffuse 0.8,
// no emission or specular) and the light model's ambient 0.2.
constexpr float kMaterialAmbient = 0.2f;
constexpr float kMaterialDiffuse = 0.8f;
constexpr float kModelAmbient = 0.2f;

const char* const kVertexShader = R"(
attribute vec3 a_position;
attribute vec4 a_color;
attribute vec3 a_normal;
attribute vec2 a_texCoord;
uniform mat4 u_modelviewProjection;
varying vec4 v_color;
#ifdef TEXTURED
varying vec2 v_texCoord;
#endif
#ifdef LIT
uniform mat4 u_modelview;
uniform mat3 u_normalMatrix;
uniform vec4 u_lightPosition;
uniform vec4 u_ambientTerm;
uniform vec4 u_diffuseTerm;
uniform int u_normalize;
#endif
void main() {
  vec4 position = vec4(a_position, 1.0);
  gl_Position = u_modelviewProjection * position;
#ifdef LIT
  vec3 normal = u_normalMatrix * a_normal;
  if (u_normalize != 0) normal = normalize(normal);
  vec3 toLight = u_lightPosition.w == 0.0 ? u_lightPosition.xyz
                                          : u_lightPosition.xyz - (u_modelview * position).xyz;
  float diffuse = max(dot(normal, normalize(toLight)), 0.0);
  v_color = clamp(u_ambientTerm + diffuse * u_diffuseTerm, 0.0, 1.0);
#else
  v_color = a_color;
#endif
#ifdef TEXTURED
  v_texCoord = a_texCoord;
#endif
}
)";

const char* const kFragmentShader = R"(
precision mediump float;
varying vec4 v_color;
#ifdef TEXTURED
varying vec2 v_texCoord;
uniform sampler2D u_texture;
#endif
void main() {
#ifdef TEXTURED
  gl_FragColor = v_color * texture2D(u_texture, v_texCoord);
#else
  gl_FragColor = v_color;
#endif
}
)";

struct Program {
  GLuint id = 0;
  GLint modelviewProjection = -1;
  GLint modelview = -1;
  GLint normalMatrix = -1;
  GLint lightPosition = -1;
  GLint ambientTerm = -1;
  GLint diffuseTerm = -1;
  GLint normalize = -1;
};

[[noreturn]] void fail(const char* what, const std::string& log) {
  std::fprintf(stderr, "gles: %s: %s\n", what, log.c_str());
  std::abort();
}

GLuint compile(GLenum kind, const std::string& defines, const char* body) {
  const EsTable& gl = es();
  const GLuint shader = gl.createShader(kind);
  const std::string source = defines + body;
  const GLchar* text = source.c_str();
  gl.shaderSource(shader, 1, &text, nullptr);
  gl.compileShader(shader);
  GLint ok = 0;
  gl.getShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl.getShaderInfoLog(shader, sizeof log, nullptr, log);
    fail("shader", log);
  }
  return shader;
}

Program link(bool lit, bool textured) {
  const EsTable& gl = es();
  std::string defines;
  if (lit) defines += "#define LIT\n";
  if (textured) defines += "#define TEXTURED\n";
  Program p;
  p.id = gl.createProgram();
  gl.attachShader(p.id, compile(GL_VERTEX_SHADER, defines, kVertexShader));
  gl.attachShader(p.id, compile(GL_FRAGMENT_SHADER, defines, kFragmentShader));
  gl.bindAttribLocation(p.id, kPosition, "a_position");
  gl.bindAttribLocation(p.id, kColor, "a_color");
  gl.bindAttribLocation(p.id, kNormal, "a_normal");
  gl.bindAttribLocation(p.id, kTexCoord, "a_texCoord");
  gl.linkProgram(p.id);
  GLint ok = 0;
  gl.getProgramiv(p.id, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl.getProgramInfoLog(p.id, sizeof log, nullptr, log);
    fail("program", log);
  }
  p.modelviewProjection = gl.getUniformLocation(p.id, "u_modelviewProjection");
  p.modelview = gl.getUniformLocation(p.id, "u_modelview");
  p.normalMatrix = gl.getUniformLocation(p.id, "u_normalMatrix");
  p.lightPosition = gl.getUniformLocation(p.id, "u_lightPosition");
  p.ambientTerm = gl.getUniformLocation(p.id, "u_ambientTerm");
  p.diffuseTerm = gl.getUniformLocation(p.id, "u_diffuseTerm");
  p.normalize = gl.getUniformLocation(p.id, "u_normalize");
  gl.useProgram(p.id);
  gl.uniform1i(gl.getUniformLocation(p.id, "u_texture"), 0);
  return p;
}

const Program& program(bool lit, bool textured) {
  static Program programs[4];
  Program& p = programs[(lit ? 2 : 0) + (textured ? 1 : 0)];
  if (!p.id) p = link(lit, textured);
  return p;
}

void setLighting(const Program& p, const Layer& state) {
  const EsTable& gl = es();
  const Mat4& modelview = state.modelview.top();
  float normals[9];
  normalMatrix(modelview, normals);
  gl.uniformMatrix4fv(p.modelview, 1, GL_FALSE, modelview.m);
  gl.uniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normals);
  gl.uniform1i(p.normalize, state.enabled.normalize ? 1 : 0);
  const Light& light = state.light0;
  const bool on = state.enabled.light0;
  float ambient[4], diffuse[4];
  for (int i = 0; i < 3; ++i) {
    ambient[i] = kModelAmbient * kMaterialAmbient + (on ? light.ambient[i] * kMaterialAmbient : 0);
    diffuse[i] = on ? light.diffuse[i] * kMaterialDiffuse : 0.0f;
  }
  // A lit vertex's alpha is the material's diffuse alpha.
  ambient[3] = 1.0f;
  diffuse[3] = 0.0f;
  gl.uniform4fv(p.lightPosition, 1, light.position);
  gl.uniform4fv(p.ambientTerm, 1, ambient);
  gl.uniform4fv(p.diffuseTerm, 1, diffuse);
}

void attribute(GLuint index, bool fromArray, GLint size, size_t offset, const float* constant) {
  const EsTable& gl = es();
  if (fromArray) {
    gl.enableVertexAttribArray(index);
    gl.vertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                           reinterpret_cast<const void*>(offset));
  } else {
    gl.disableVertexAttribArray(index);
    const float value[4] = {constant[0], size > 1 ? constant[1] : 0.0f,
                            size > 2 ? constant[2] : 0.0f, size > 3 ? constant[3] : 1.0f};
    gl.vertexAttrib4fv(index, value);
  }
}

// Points the attributes at the records from `first` on.
void attributes(const VertexSource& source, size_t first) {
  const CurrentAttributes& current = layer().current;
  const size_t base = first * sizeof(Vertex);
  attribute(kPosition, true, 3, base + offsetof(Vertex, position), nullptr);
  attribute(kColor, source.colorArray, 4, base + offsetof(Vertex, color), current.color);
  attribute(kNormal, source.normalArray, 3, base + offsetof(Vertex, normal), current.normal);
  attribute(kTexCoord, source.texCoordArray, 2, base + offsetof(Vertex, texCoord),
            current.texCoord);
}

void draw(const Program& p, const Mat4& modelviewProjection, const VertexSource& source) {
  const EsTable& gl = es();
  gl.uniformMatrix4fv(p.modelviewProjection, 1, GL_FALSE, modelviewProjection.m);
  gl.bindBuffer(GL_ARRAY_BUFFER, source.buffer);
  if (!source.indexBuffer) {
    attributes(source, 0);
    gl.drawArrays(GL_TRIANGLES, 0, source.count);
    return;
  }
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, source.indexBuffer);
  const std::vector<IndexRun>& runs = *source.runs;
  for (size_t i = 0; i < runs.size(); ++i) {
    const size_t end = i + 1 < runs.size() ? runs[i + 1].firstIndex : source.indexCount;
    if (end == runs[i].firstIndex) continue;
    attributes(source, runs[i].firstVertex);
    gl.drawElements(GL_TRIANGLES, GLsizei(end - runs[i].firstIndex), GL_UNSIGNED_SHORT,
                    reinterpret_cast<const void*>(runs[i].firstIndex * sizeof(GLushort)));
  }
}

}  // namespace

void drawTriangles(const VertexSource& source) {
  if (source.indexBuffer ? source.indexCount == 0 : source.count == 0) return;
  const Layer& state = layer();
  const bool lit = state.enabled.lighting;
  const Program& p = program(lit, state.enabled.texture2d);
  // Uniforms go to the program in use: it must be bound before the lighting is set.
  es().useProgram(p.id);
  if (lit) setLighting(p, state);
  draw(p, multiply(state.projection.top(), state.modelview.top()), source);
}

void drawWindowPicture(GLint x, GLint y, GLsizei width, GLsizei height, const void* rgb) {
  const EsTable& gl = es();
  Layer& state = layer();
  static GLuint texture = 0;
  static GLuint buffer = 0;
  if (!texture) {
    gl.genTextures(1, &texture);
    gl.bindTexture(GL_TEXTURE_2D, texture);
    // One texel per pixel: nearest, and clamped, as a texture of any size must be in ES 2.0.
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.genBuffers(1, &buffer);
    // Two triangles over the whole viewport, white, texture rows bottom first.
    const Vertex quad[6] = {{{-1, -1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {0, 0}},
                            {{1, -1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {1, 0}},
                            {{1, 1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {1, 1}},
                            {{-1, -1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {0, 0}},
                            {{1, 1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {1, 1}},
                            {{-1, 1, 0}, {1, 1, 1, 1}, {0, 0, 1}, {0, 1}}};
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer);
    gl.bufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
  }
  if (!state.viewportKnown) {
    gl.getIntegerv(GL_VIEWPORT, state.viewport);
    state.viewportKnown = true;
  }
  gl.bindTexture(GL_TEXTURE_2D, texture);
  gl.pixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.texImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  gl.pixelStorei(GL_UNPACK_ALIGNMENT, state.unpackAlignment);
  // The viewport placed on the picture maps the quad onto its pixels exactly.
  gl.viewport(x, y, width, height);
  VertexSource source;
  source.buffer = buffer;
  source.count = 6;
  const Program& p = program(false, true);
  gl.useProgram(p.id);
  draw(p, identityMatrix(), source);
  gl.viewport(state.viewport[0], state.viewport[1], state.viewport[2], state.viewport[3]);
  gl.bindTexture(GL_TEXTURE_2D, state.boundTexture);
}

}  // namespace gles
