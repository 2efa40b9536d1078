// Turns a read 3DS scene into something drawn with one call per object: material textures, texture
// map scale and offset, face and vertex normals, one display list per object; and the drawing.
#include <algorithm>
#include <string>
#include <vector>

#include "gfx/gl.h"
#include "gfx/image_file.h"
#include "gfx/load_failure.h"
#include "gfx/tight_rows.h"
#include "model3ds/scene3ds.h"
#include "platform/files.h"

namespace {

size_t usableVertexCount(const Object3ds& object) {
  return std::min<size_t>(object.vertexCount, object.vertices.size());
}

size_t usableFaceCount(const Object3ds& object) {
  return std::min<size_t>(object.faceCount, object.faces.size());
}

// The reader does not compare face indices with the vertex count; a face that points past the
// vertices is left out of the normals and the display list.
bool faceInRange(const Face3ds& face, size_t vertexCount) {
  return face.a < vertexCount && face.b < vertexCount && face.c < vertexCount;
}

// The texture file names of a scene are relative to the scene file's own folder.
void enterSceneDirectory(const char* path) {
  const std::string name(path);
  const size_t slash = name.find_last_of("\\/");
  if (slash == std::string::npos) return;
  platform::setCurrentDirectory(name.substr(0, slash + 1).c_str());
}

// A texture name comes from the scene file, which comes from a pack someone else made: it may
// only name a file in the scene's folder or below, never an absolute path or one that climbs out
// with "..". Either separator counts, as on the system the scenes were made for.
bool insideSceneFolder(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
  if (name.size() >= 2 && name[1] == ':') return false;  // a drive: absolute there
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("/\\", start);
    if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0)
      return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

void loadMaterialTextures(ElementList<Material3ds>& materials) {
  ImageFile image;
  for (auto* node = materials.first(); node; node = node->next) {
    Material3ds& material = *node->element;
    if (!material.textureMap || !insideSceneFolder(material.textureMap->fileName)) continue;
    if (!image.load(material.textureMap->fileName.c_str())) continue;
    image.swapRedBlue();
    material.createTexture(image.getWidth(), image.getHeight(), image.getBitsPerPixel(), GL_RGB,
                           image.getPixels());
  }
}

void emitCorner(const Object3ds& object, const Vertex3ds& vertex) {
  if (object.hasNormals == 1) glNormal3f(vertex.normal.x, vertex.normal.y, vertex.normal.z);
  if (object.hasTexCoords == 1) glTexCoord2f(vertex.texCoord.u, vertex.texCoord.v);
  glVertex3f(vertex.position.x, vertex.position.y, vertex.position.z);
}

}  // namespace

int Scene3ds::load(const char* path, uint8_t format) {
  std::vector<uint8_t> bytes;
  if (!platform::readWholeFile(path, bytes)) {
    failure_ = "cannot read the file";
    reportLoadFailure(path, failure_);
    return 0;
  }
  failure_.clear();
  if (format == 1) {
    ByteReader reader(bytes.data(), bytes.size());
    readChunks(reader);
  }
  if (!failure_.empty()) reportLoadFailure(path, failure_);
  resolveMaterials();
  // Kept afterwards: later relative names of the process resolve there too.
  enterSceneDirectory(path);
  loadMaterialTextures(materials);
  for (auto* node = objects.first(); node; node = node->next) {
    Object3ds& object = *node->element;
    object.applyTextureMap();
    object.computeNormals();
    object.buildDisplayList();
  }
  return 1;
}

void Scene3ds::draw() const {
  for (auto* node = objects.first(); node; node = node->next) node->element->draw();
}

void Material3ds::createTexture(uint16_t width, uint16_t height, uint8_t, uint32_t pixelFormat,
                                const uint8_t* pixels) {
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  {
    TightRows rows;
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GLenum(pixelFormat), GL_UNSIGNED_BYTE,
                 pixels);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void Object3ds::applyTextureMap() {
  if (!material || hasTexCoords != 1 || !material->textureMap) return;
  const TextureMap3ds& map = *material->textureMap;
  for (Vertex3ds& vertex : vertices) {
    TexCoord3ds& t = vertex.texCoord;
    t.u = float(double(t.u) * map.uScale);
    t.v = float(double(t.v) * map.vScale);
    t.u = float(double(t.u) + map.uOffset);
    t.v = float(double(t.v) + map.vOffset);
  }
}

void Object3ds::computeNormals() {
  const size_t usable = usableVertexCount(*this);
  for (Vertex3ds& vertex : vertices) vertex.normal.set(0.0f, 0.0f, 0.0f);
  // One pass over the faces in ascending order gives each vertex the same sum, added in the same
  // order, as a scan of all faces per vertex, in linear time.
  for (size_t i = 0; i < usableFaceCount(*this); ++i) {
    Face3ds& face = faces[i];
    face.normal.set(0.0f, 0.0f, 0.0f);
    if (!faceInRange(face, usable)) continue;
    const Vec3& pa = vertices[face.a].position;
    const Vec3& pb = vertices[face.b].position;
    const Vec3& pc = vertices[face.c].position;
    face.normal.setFaceNormal(pa.x, pa.y, pa.z, pb.x, pb.y, pb.z, pc.x, pc.y, pc.z);
    face.normal.normalize();
    // A face that names a vertex twice counts once for it.
    Vec3& na = vertices[face.a].normal;
    na = na + face.normal;
    if (face.b != face.a) {
      Vec3& nb = vertices[face.b].normal;
      nb = nb + face.normal;
    }
    if (face.c != face.a && face.c != face.b) {
      Vec3& nc = vertices[face.c].normal;
      nc = nc + face.normal;
    }
  }
  for (Vertex3ds& vertex : vertices) vertex.normal.normalize();
  hasNormals = 1;
}

void Object3ds::buildDisplayList() {
  displayList = glGenLists(1);
  if (!displayList) return;
  const size_t usable = usableVertexCount(*this);
  glNewList(displayList, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  for (size_t i = 0; i < usableFaceCount(*this); ++i) {
    const Face3ds& face = faces[i];
    if (!faceInRange(face, usable)) continue;
    emitCorner(*this, vertices[face.a]);
    emitCorner(*this, vertices[face.b]);
    emitCorner(*this, vertices[face.c]);
  }
  glEnd();
  glEndList();
}

void Object3ds::draw() const {
  if (!displayList) return;
  if (hasMaterial == 1 && material) {
    glEnable(GL_TEXTURE_2D);
    // Binds 0 when the material's picture could not be read.
    glBindTexture(GL_TEXTURE_2D, material->texture);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
  glCallList(displayList);
}
