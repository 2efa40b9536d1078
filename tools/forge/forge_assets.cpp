// Which maker produces which pack entry, and how each result is encoded and summarised.
#include "tools/forge/forge_assets.h"

#include "tools/forge/head.h"
#include "tools/forge/music.h"
#include "tools/forge/pictures.h"
#include "tools/forge/sets.h"
#include "tools/forge/tga_writer.h"

namespace assetgen {

namespace {

AssetMaker picture(const char* name, Picture (*paint)()) {
  return {name, [name, paint](ForgedFile& out, std::string& error) {
            out.name = name;
            out.preview = paint();
            out.bytes = encodeTga(out.preview);
            out.summary =
                std::to_string(out.preview.width) + "x" + std::to_string(out.preview.height);
            if (out.bytes.empty()) error = std::string("cannot encode ") + name;
            return !out.bytes.empty();
          }};
}

AssetMaker scene(const char* name, SceneSpec (*build)()) {
  return {name, [name, build](ForgedFile& out, std::string& error) {
            const SceneSpec desc = build();
            out.name = name;
            out.bytes = encodeScene3ds(desc, error);
            out.summary = std::to_string(desc.objects.size()) + " objects, " +
                          std::to_string(triangleCount(desc)) + " triangles";
            if (out.bytes.empty()) error = std::string(name) + ": " + error;
            return !out.bytes.empty();
          }};
}

Picture frameLeft() {
  return paintFrameSide(false);
}
Picture frameRight() {
  return paintFrameSide(true);
}
Picture frameTop() {
  return paintFrameBar(false);
}
Picture frameDown() {
  return paintFrameBar(true);
}

bool makeHead(ForgedFile& out, std::string& error) {
  const Mesh head = sculptHead();
  out.name = "ex_glowa_new.3ds";
  out.bytes = encodeHeadMesh(head, error);
  out.summary = std::to_string(head.positions.size()) + " vertices, " +
                std::to_string(head.triangles.size()) + " triangles";
  return !out.bytes.empty();
}

bool makeMusic(ForgedFile& out, std::string& error) {
  std::string reason;
  out.name = "muza_final.mp3";
  out.bytes = makeMusicMp3(reason);
  out.summary = std::to_string(out.bytes.size()) + " bytes";
  if (out.bytes.empty()) error = "music: " + (reason.empty() ? "no bytes" : reason);
  return !out.bytes.empty();
}

}  // namespace

std::vector<AssetMaker> assetMakers() {
  return {
      scene("c00.3ds", makeRibSet),           scene("c01.3ds", makeCageSet),
      scene("c02.3ds", makeCoreSet),          scene("c05.3ds", makeThroatSet),
      {"ex_glowa_new.3ds", makeHead},         {"muza_final.mp3", makeMusic},
      picture("back01.tga", paintBackground), picture("czacha.tga", paintBone),
      picture("loading.tga", paintLoading),   picture("mozg.tga", paintFlesh),
      picture("s_down.tga", frameDown),       picture("s_end.tga", paintEnd),
      picture("s_l.tga", paintStrip),         picture("s_left.tga", frameLeft),
      picture("s_p.tga", paintMetal),         picture("s_right.tga", frameRight),
      picture("s_top.tga", frameTop),         picture("skora.tga", paintSkin),
  };
}

}  // namespace assetgen
