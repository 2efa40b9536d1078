// `demotool inspect tga|head|3ds FILE`: a file as the presentation's own reader sees it, as one
// line of JSON. A file the reader refuses gives one line saying why.
#include <openssl/evp.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "gfx/head_mesh.h"
#include "gfx/image_file.h"
#include "platform/files.h"
#include "tools/commands.h"
#include "tools/common/command_line.h"
#include "tools/common/json_util.h"
#include "tools/inspect/inspect_3ds.h"

namespace {

int fail(const char* kind, const std::string& text) {
  return cli::fail((std::string("inspect ") + kind).c_str(), text);
}

std::string sha256Hex(const uint8_t* data, size_t size) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  static const uint8_t kNothing = 0;
  if (!EVP_Digest(data ? data : &kNothing, size, digest, &length, EVP_sha256(), nullptr)) return "";
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < length; ++i) {
    out.push_back(kHex[digest[i] >> 4]);
    out.push_back(kHex[digest[i] & 15]);
  }
  return out;
}

int inspectTga(const char* path, const std::vector<uint8_t>& bytes) {
  ImageFile image;
  if (!image.parse(bytes.data(), bytes.size()))
    return fail("tga", std::string(path) + ": " + image.failure());
  Json out = Json::object();
  out["width"] = image.getWidth();
  out["height"] = image.getHeight();
  out["bitsPerPixel"] = image.getBitsPerPixel();
  out["imageType"] = image.getImageType();
  out["pixelsSha256"] = sha256Hex(image.getPixels(), image.getPixelBytes());
  printJson(out);
  return 0;
}

Json neighbourJson(const HeadVertex& v) {
  Json list = Json::array();
  for (const HeadNeighbour* n = v.neighbours; n; n = n->next)
    list.push_back(Json::array({n->index, n->restLength}));
  return list;
}

int inspectHead(const char* path, const std::vector<uint8_t>& bytes) {
  HeadMesh mesh;
  if (!mesh.parse(bytes.data(), bytes.size()))
    return fail("head", std::string(path) + ": " + mesh.failure());
  Json positions = Json::array(), uv = Json::array(), faces = Json::array();
  Json neighbours = Json::array();
  for (const HeadVertex& v : mesh.vertices) {
    positions.push_back(Json::array({v.position.x, v.position.y, v.position.z}));
    uv.push_back(Json::array({v.u, v.v}));
    neighbours.push_back(neighbourJson(v));
  }
  for (const HeadFace& f : mesh.faces) faces.push_back(Json::array({f.a, f.b, f.c}));
  Json out = Json::object();
  out["vertexCount"] = mesh.vertexCount;
  out["faceCount"] = mesh.faceCount;
  out["positions"] = std::move(positions);
  out["uv"] = std::move(uv);
  out["faces"] = std::move(faces);
  out["neighbours"] = std::move(neighbours);
  printJson(out);
  return 0;
}

}  // namespace

int runInspectCommand(const Command& self, int argc, char** argv) {
  const cli::CommandLine line{
      self.name,
      self.summary,
      {"tga FILE", "head FILE", "3ds FILE"},
      "\n"
      "tga   {\"width\",\"height\",\"bitsPerPixel\",\"imageType\",\"pixelsSha256\"}; the hash is "
      "of the\n"
      "      pixel bytes as stored (blue, green, red)\n"
      "head  {\"vertexCount\",\"faceCount\",\"positions\",\"uv\",\"faces\",\"neighbours\"}; each\n"
      "      neighbour list is [[index, restLength], ...] front first\n"
      "3ds   the objects and materials of a 3DS scene\n",
      {},
      2,
      2,
      "tga, head or 3ds and one FILE"};
  std::vector<std::string> args;
  const int parsed = cli::parse(argc, argv, line, args);
  if (parsed >= 0) return parsed;
  const std::string& kind = args[0];
  const char* path = args[1].c_str();
  try {
    if (kind == "3ds") return inspect3ds(path);
    if (kind != "tga" && kind != "head")
      return fail(kind.c_str(), "unknown kind (expects tga, head or 3ds)");
    // The bytes as read go to the reader, which says why it refuses them; its own load would also
    // write the presentation's report line.
    std::vector<uint8_t> bytes;
    if (!platform::readWholeFile(path, bytes))
      return fail(kind.c_str(), std::string("cannot read ") + path);
    return kind == "tga" ? inspectTga(path, bytes) : inspectHead(path, bytes);
  } catch (const std::exception& e) {
    return fail(kind.c_str(), e.what());
  }
}
