// Which maker produces which pack entry, and how each result is encoded and summarised.
#include "tools/forge/forge_assets.h"

#include "assets/asset_names.h"
#include "tools/forge/formats/tga_writer.h"
#include "tools/forge/meshes/head.h"
#include "tools/forge/meshes/sets.h"
#include "tools/forge/music/music.h"
#include "tools/forge/pictures/pictures.h"

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
  out.name = assetname::kHead;
  out.bytes = encodeHeadMesh(head, error);
  out.summary = std::to_string(head.positions.size()) + " vertices, " +
                std::to_string(head.triangles.size()) + " triangles";
  return !out.bytes.empty();
}

bool makeMusic(ForgedFile& out, std::string& error) {
  std::string reason;
  out.name = assetname::kMusic;
  out.bytes = makeMusicMp3(reason);
  out.summary = std::to_string(out.bytes.size()) + " bytes";
  if (out.bytes.empty()) error = "music: " + (reason.empty() ? "no bytes" : reason);
  return !out.bytes.empty();
}

}  // namespace

std::vector<AssetMaker> assetMakers() {
  return {
      scene(assetname::kSceneC00, makeRibSet),
      scene(assetname::kSceneC01, makeCageSet),
      scene(assetname::kSceneC02, makeCoreSet),
      scene(assetname::kSceneC05, makeThroatSet),
      {assetname::kHead, makeHead},
      {assetname::kMusic, makeMusic},
      picture(assetname::kBackground, paintBackground),
      picture(assetname::kBone, paintBone),
      picture(assetname::kLoading, paintLoading),
      picture(assetname::kFlesh, paintFlesh),
      picture(assetname::kFrameDown, frameDown),
      picture(assetname::kEnd, paintEnd),
      picture(assetname::kStrip, paintStrip),
      picture(assetname::kFrameLeft, frameLeft),
      picture(assetname::kMetal, paintMetal),
      picture(assetname::kFrameRight, frameRight),
      picture(assetname::kFrameTop, frameTop),
      picture(assetname::kSkin, paintSkin),
  };
}

}  // namespace assetgen
