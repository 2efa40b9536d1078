// The sets that stand around the head in scenes 1 and 2. The eye is 25 units away on +z and the
// set turns by up to about 30 degrees either way, so nothing comes nearer the front than 80
// degrees from +z, and nothing reaches 20 units from the origin.
#include <cmath>

#include "tools/forge/meshes/sets.h"

namespace assetgen {

namespace {

float rad(float degrees) {
  return degrees * kPi / 180.0f;
}

// A point at `angle` degrees from +z around the y axis (positive towards +x), radius r, height y.
Vec3 around(float angle, float r, float y) {
  return Vec3(r * std::sin(rad(angle)), y, r * std::cos(rad(angle)));
}

void addVertebra(Mesh& body, Mesh& discs, Vec3 centre, float size) {
  const Vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  TubeSpec drum;
  drum.path = {centre - y * (0.55f * size), centre + y * (0.55f * size)};
  drum.radius = {1.0f * size, 1.0f * size};
  drum.profile = circleProfile(10);
  drum.up = Vec3(0, 0, 1);
  addTube(body, drum);
  addBox(body, centre - z * (1.7f * size), x, y, z, Vec3(0.25f, 0.45f, 1.0f) * size, 0.4f);
  addBox(body, centre + x * (1.6f * size), x, y, z, Vec3(0.9f, 0.25f, 0.3f) * size, 0.4f);
  addBox(body, centre - x * (1.6f * size), x, y, z, Vec3(0.9f, 0.25f, 0.3f) * size, 0.4f);
  TubeSpec disc = drum;
  disc.path = {centre + y * (0.55f * size), centre + y * (0.95f * size)};
  disc.radius = {0.85f * size, 0.85f * size};
  addTube(discs, disc);
}

// A rib from the spine round one side: back (180 degrees) to 80 degrees from the front, widening
// then falling as it comes forward, thinning to its tip.
void addRib(Mesh& mesh, float side, float y0, float reach) {
  TubeSpec rib;
  const int points = 15;
  for (int i = 0; i < points; ++i) {
    const float t = float(i) / float(points - 1);
    const float angle = 180.0f - (100.0f * t);
    const float r = 9.5f + reach * std::sin(t * kPi * 0.8f);
    const float y = y0 - 2.6f * t * t;
    Vec3 p = around(side * angle, r, y);
    rib.path.push_back(p);
    rib.radius.push_back(0.55f - 0.35f * t);
  }
  rib.profile = circleProfile(7);
  rib.uTile = 1.0f;
  rib.vTile = 2.0f;
  addTube(mesh, rib);
}

}  // namespace

SceneSpec makeRibSet() {
  SceneSpec scene;
  scene.materials = {boneMaterial("BONE", "czacha.tga", 1.0f), fleshMaterial("GRISTLE", 2.0f),
                     ironMaterial("IRON")};
  Mesh spine, discs, ribsLeft, ribsRight, clamps, pins;
  for (int i = 0; i < 11; ++i) {
    const float y = -12.0f + 2.4f * float(i);
    addVertebra(spine, discs, Vec3(0, y, -10.0f), 0.95f);
  }
  for (int i = 0; i < 9; ++i) {
    const float y = -6.5f + 2.0f * float(i);
    const float reach = 3.0f - std::fabs(float(i) - 4.5f) * 0.35f;
    addRib(ribsLeft, -1.0f, y, reach);
    addRib(ribsRight, 1.0f, y, reach);
    // Iron clamps where the ribs leave the spine, and a pin through each pair.
    for (float side : {-1.0f, 1.0f}) {
      const Vec3 at = around(side * 168.0f, 9.9f, y - 0.05f);
      const Vec3 tangent = normalized(around(side * 165.0f, 9.9f, y) - at);
      TubeSpec clamp;
      clamp.path = {at - tangent * 0.35f, at + tangent * 0.35f};
      clamp.radius = {0.8f, 0.8f};
      clamp.profile = rectProfile(1.0f, 1.0f);
      clamp.hardEdges = true;
      clamp.tileSize = 2.5f;
      addTube(clamps, clamp);
    }
    TubeSpec pin;
    pin.path = {around(-160.0f, 10.4f, y), around(160.0f, 10.4f, y)};
    pin.radius = {0.16f, 0.16f};
    pin.profile = circleProfile(6);
    pin.tileSize = 2.5f;
    addTube(pins, pin);
  }
  scene.objects.push_back({"spine", "BONE", spine});
  scene.objects.push_back({"discs", "GRISTLE", discs});
  scene.objects.push_back({"ribs_l", "BONE", ribsLeft});
  scene.objects.push_back({"ribs_r", "BONE", ribsRight});
  scene.objects.push_back({"clamps", "IRON", clamps});
  scene.objects.push_back({"pins", "IRON", pins});
  return scene;
}

SceneSpec makeCageSet() {
  SceneSpec scene;
  scene.materials = {boneMaterial("RUST", "CZACHA.TGA", 2.0f), fleshMaterial("SINEW", 1.0f),
                     ironMaterial("STEEL")};
  Mesh bars, rings, arches, spikes, studs;
  const int barCount = 13;
  for (int i = 0; i < barCount; ++i) {
    const float angle = 96.0f + 168.0f * float(i) / float(barCount - 1);
    TubeSpec bar;
    for (int k = 0; k <= 12; ++k) {
      const float y = -13.0f + 26.0f * float(k) / 12.0f;
      const float bow = 1.2f * std::cos(y / 13.0f * kPi * 0.5f);
      bar.path.push_back(around(angle, 13.0f + bow, y));
      bar.radius.push_back(0.42f);
    }
    bar.profile = rectProfile(1.0f, 0.55f);
    bar.hardEdges = true;
    bar.vTile = 2.0f;
    addTube(bars, bar);
    addSpike(spikes, around(angle, 13.4f, 0.0f), around(angle, 10.6f, 0.0f), 0.35f, 6);
    addSpike(spikes, around(angle, 13.4f, 6.0f), around(angle, 11.4f, 6.5f), 0.25f, 6);
  }
  for (float y : {-11.0f, 11.0f, -4.5f}) {
    TubeSpec ring;
    for (int k = 0; k <= 24; ++k) {
      ring.path.push_back(around(92.0f + 176.0f * float(k) / 24.0f, 13.3f, y));
      ring.radius.push_back(0.5f);
    }
    ring.profile = rectProfile(0.7f, 1.0f);
    ring.hardEdges = true;
    ring.up = Vec3(0, 1, 0);
    ring.tileSize = 3.0f;
    addTube(rings, ring);
    for (int k = 0; k < 24; ++k) {
      const float angle = 96.0f + 168.0f * float(k) / 23.0f;
      const Vec3 c = around(angle, 13.85f, y);
      const Vec3 out = normalized(around(angle, 1.0f, 0.0f));
      addBox(studs, c, out, Vec3(0, 1, 0), cross(out, Vec3(0, 1, 0)), Vec3(0.18f, 0.2f, 0.2f),
             1.0f);
    }
  }
  // Arches over the head, behind the face, leaning back.
  for (float z : {-3.0f, -7.0f, -10.5f}) {
    TubeSpec arch;
    const float halfSpan = std::sqrt(13.0f * 13.0f - z * z);
    for (int k = 0; k <= 18; ++k) {
      const float a = kPi * float(k) / 18.0f;
      arch.path.push_back(Vec3(halfSpan * std::cos(a), 9.0f + 6.0f * std::sin(a), z));
      arch.radius.push_back(0.35f + 0.15f * std::sin(a));
    }
    arch.profile = circleProfile(7);
    arch.vTile = 1.5f;
    addTube(arches, arch);
  }
  scene.objects.push_back({"bars", "RUST", bars});
  scene.objects.push_back({"rings", "STEEL", rings});
  scene.objects.push_back({"arches", "SINEW", arches});
  scene.objects.push_back({"spikes", "RUST", spikes});
  scene.objects.push_back({"studs", "STEEL", studs});
  return scene;
}

}  // namespace assetgen
