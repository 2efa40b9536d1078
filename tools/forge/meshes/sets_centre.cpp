// The centre piece of scenes 3 to 5 and the throat of scene 6, with the material looks and the
// spike part the sets share.
#include <cmath>

#include "tools/forge/meshes/sets.h"

namespace assetgen {

namespace {

Vec3 onCircle(float angle, float r, float y) {
  return Vec3(r * std::cos(angle), y, r * std::sin(angle));
}

TubeSpec ringTube(float radius, float thickness, int steps, bool square) {
  TubeSpec ring;
  for (int k = 0; k <= steps; ++k) {
    ring.path.push_back(onCircle(2.0f * kPi * float(k) / float(steps), radius, 0.0f));
    ring.radius.push_back(thickness);
  }
  ring.profile = square ? rectProfile(0.6f, 1.0f) : circleProfile(7);
  ring.hardEdges = square;
  ring.closedLoop = true;
  ring.tileSize = 4.0f;
  return ring;
}

// Turns a mesh part so that its y axis lies along `axis` and moves it to `centre`.
void place(Mesh& part, Vec3 centre, Vec3 axis) {
  const Vec3 y(0, 1, 0);
  const Vec3 k = cross(y, axis);
  const float s = k.length();
  for (Vec3& p : part.positions) {
    if (s > 1e-6f)
      p = rotate(p, k * (1.0f / s), std::atan2(s, y.dot(axis)));
    else if (y.dot(axis) < 0.0f)
      p = Vec3(p.x, -p.y, -p.z);
    p = p + centre;
  }
}

}  // namespace

MaterialSpec boneMaterial(const char* name, const char* mapName, float tile) {
  MaterialSpec m;
  m.name = name;
  m.ambient = {48, 42, 32};
  m.diffuse = {214, 198, 160};
  m.specular = {240, 236, 220};
  m.mapName = mapName;
  m.uScale = tile;
  m.vScale = tile;
  return m;
}

MaterialSpec fleshMaterial(const char* name, float tile) {
  MaterialSpec m;
  m.name = name;
  m.ambient = {40, 12, 10};
  m.diffuse = {158, 72, 60};
  m.specular = {200, 150, 140};
  m.mapName = "mozg.tga";
  m.uScale = tile;
  m.vScale = tile;
  return m;
}

MaterialSpec ironMaterial(const char* name) {
  MaterialSpec m;
  m.name = name;
  m.ambient = {20, 22, 26};
  m.diffuse = {120, 128, 140};
  m.specular = {255, 255, 255};
  m.mapName = "s_p.tga";
  return m;
}

void addSpike(Mesh& mesh, Vec3 base, Vec3 tip, float radius, int sides) {
  TubeSpec spike;
  const int steps = 3;
  for (int i = 0; i <= steps; ++i) {
    const float t = float(i) / float(steps);
    spike.path.push_back(base + (tip - base) * t);
    spike.radius.push_back(radius * (1.0f - 0.96f * t * t));
  }
  spike.profile = circleProfile(sides);
  spike.tileSize = kSpikeTileSize;
  addTube(mesh, spike);
}

SceneSpec makeCoreSet() {
  SceneSpec scene;
  scene.materials = {fleshMaterial("CORE", 2.0f), boneMaterial("CROWN", "czacha.tga", 1.0f),
                     ironMaterial("BLADE")};
  scene.cameraPosition = Vec3(0, 14, 14);
  Mesh core, ring, blades, gyro, spikes;
  // A ribbed core: sixteen ridges from pole to pole and grooves around.
  addBlob(
      core, Vec3(0, 0, 0), 30, 64,
      [](Vec3 d) {
        const float lon = std::atan2(d.z, d.x);
        const float lat = std::acos(d.y < -1.0f ? -1.0f : (d.y > 1.0f ? 1.0f : d.y));
        const float ridges = 0.22f * std::pow(std::fabs(std::cos(8.0f * lon)), 3.0f);
        const float grooves = -0.12f * std::pow(std::fabs(std::sin(5.0f * lat)), 8.0f);
        return 3.2f * (1.0f + ridges * std::sin(lat) + grooves) * (1.0f - 0.12f * d.y * d.y);
      },
      4.0f, 2.0f);
  addTube(ring, ringTube(5.0f, 0.55f, 48, true));
  Mesh innerRing;
  addTube(innerRing, ringTube(3.9f, 0.3f, 40, false));
  ring.append(innerRing);
  // Twelve blades leaning out of the ring, alternately up and down: a crown from either side.
  for (int i = 0; i < 12; ++i) {
    const float a = 2.0f * kPi * float(i) / 12.0f;
    const float lean = (i % 2 == 0) ? 0.55f : -0.55f;
    const Vec3 out = onCircle(a, 1.0f, 0.0f);
    const Vec3 tangent(-std::sin(a), 0.0f, std::cos(a));
    TubeSpec blade;
    for (int k = 0; k <= 6; ++k) {
      const float t = float(k) / 6.0f;
      const float r = 5.3f + 3.2f * t;
      blade.path.push_back(out * r + Vec3(0, lean * 3.2f * t * (0.6f + 0.4f * t), 0));
      blade.radius.push_back(0.9f * (1.0f - 0.85f * t));
    }
    blade.profile = rectProfile(0.12f, 1.0f);
    blade.hardEdges = true;
    blade.up = tangent;
    blade.tileSize = 4.0f;
    addTube(blades, blade);
  }
  // A gyroscope of two thin rings across the core.
  for (int i = 0; i < 2; ++i) {
    Mesh hoop;
    TubeSpec hoopTube = ringTube(6.3f, 0.18f, 48, false);
    hoopTube.tileSize = 3.0f;
    addTube(hoop, hoopTube);
    place(hoop, Vec3(0, 0, 0),
          i == 0 ? normalized(Vec3(1, 0, 0.3f)) : normalized(Vec3(-0.3f, 0, 1)));
    gyro.append(hoop);
  }
  addSpike(spikes, Vec3(0, 2.6f, 0), Vec3(0, 7.8f, 0), 0.7f, 10);
  addSpike(spikes, Vec3(0, -2.6f, 0), Vec3(0, -7.8f, 0), 0.7f, 10);
  for (int i = 0; i < 8; ++i) {
    const float a = 2.0f * kPi * (float(i) + 0.5f) / 8.0f;
    addSpike(spikes, onCircle(a, 2.6f, 1.6f), onCircle(a, 4.6f, 4.6f), 0.3f, 6);
    addSpike(spikes, onCircle(a, 2.6f, -1.6f), onCircle(a, 4.6f, -4.6f), 0.3f, 6);
  }
  scene.objects.push_back({"core", "CORE", core});
  scene.objects.push_back({"ring", "CROWN", ring});
  scene.objects.push_back({"blades", "BLADE", blades});
  scene.objects.push_back({"gyro", "BLADE", gyro});
  scene.objects.push_back({"spikes", "CROWN", spikes});
  return scene;
}

namespace {

const Vec3 kThroatAxis(0, 4, 0);  // the eye of scene 6 flies along this line

// Vertebra rings from the mouth (z = 2) into the distance, the throat narrowing as it goes, with
// teeth pointing in and processes pointing out.
void addThroatRings(Mesh& rings, Mesh& teeth) {
  const Vec3 axis = kThroatAxis;
  for (int i = 0; i < 11; ++i) {
    const float z = 2.0f - 3.0f * float(i);
    const float r = 4.6f - 0.11f * float(i);
    Mesh ring;
    addTube(ring, ringTube(r, i == 0 ? 0.6f : 0.42f, 32, true));
    place(ring, axis + Vec3(0, 0, z), Vec3(0, 0, 1));
    rings.append(ring);
    for (int k = 0; k < 8; ++k) {
      const float a = 2.0f * kPi * (float(k) + 0.5f * float(i % 2)) / 8.0f;
      const Vec3 dir(std::cos(a), std::sin(a), 0.0f);
      addSpike(teeth, axis + dir * (r - 0.2f) + Vec3(0, 0, z),
               axis + dir * (r - 1.4f) + Vec3(0, 0, z - 0.5f), 0.22f, 4);
      if (k % 2 == 0)
        addSpike(teeth, axis + dir * (r + 0.3f) + Vec3(0, 0, z),
                 axis + dir * (r + 1.8f) + Vec3(0, 0, z + 0.4f), 0.3f, 5);
    }
  }
}

// Tendons along the wall, waving between the rings.
void addTendons(Mesh& tendons) {
  for (int k = 0; k < 12; ++k) {
    const float a = 2.0f * kPi * (float(k) + 0.25f) / 12.0f;
    TubeSpec tendon;
    for (int s = 0; s <= 16; ++s) {
      const float z = 3.0f - 33.0f * float(s) / 16.0f;
      const float r = 4.6f - 0.11f * (2.0f - z) / 3.0f + 0.25f * std::sin(z * 1.3f + float(k));
      tendon.path.push_back(kThroatAxis + Vec3(r * std::cos(a), r * std::sin(a), z));
      tendon.radius.push_back(0.16f);
    }
    tendon.profile = circleProfile(5);
    tendon.tileSize = 2.0f;  // the flesh picture's riveted band clamps each tendon every 2 units
    addTube(tendons, tendon);
  }
}

// Where the flight ends (z = 0 to 2) strands of sinew cross close to the eye's path, all of them
// short of z = 1.1, where the eye stops.
void addStrands(Mesh& strands) {
  const float strandZ[4] = {0.4f, -0.5f, -1.4f, -2.6f};
  for (int i = 0; i < 4; ++i) {
    const float a = 0.7f + 1.3f * float(i);
    const Vec3 dir(std::cos(a), std::sin(a), 0.0f), side(-std::sin(a), std::cos(a), 0.0f);
    TubeSpec strand;
    for (int s = 0; s <= 20; ++s) {
      const float t = float(s) / 20.0f * 2.0f - 1.0f;
      const float sag = 0.35f + 0.25f * float(i) - 0.5f * (1.0f - t * t);
      strand.path.push_back(kThroatAxis + side * (4.3f * t) + dir * sag + Vec3(0, 0, strandZ[i]));
      strand.radius.push_back(0.07f + 0.05f * t * t);
    }
    strand.profile = circleProfile(8);
    strand.tileSize = 2.0f;
    addTube(strands, strand);
  }
}

}  // namespace

SceneSpec makeThroatSet() {
  SceneSpec scene;
  scene.materials = {boneMaterial("VERTEBRA", "czacha.tga", 1.0f), fleshMaterial("THROAT", 2.0f),
                     fleshMaterial("TENDON", 1.0f)};
  scene.cameraPosition = kThroatAxis + Vec3(0, 0, 16.7f);
  scene.cameraTarget = kThroatAxis;
  Mesh rings, teeth, tendons, strands, membrane;
  addThroatRings(rings, teeth);
  addTendons(tendons);
  addStrands(strands);
  // The far end closes in a ribbed membrane.
  addBlob(
      membrane, kThroatAxis + Vec3(0, 0, -31.5f), 16, 32,
      [](Vec3 d) {
        return 3.4f * (1.0f + 0.08f * std::cos(12.0f * std::atan2(d.y, d.x))) *
               (d.z > 0.0f ? 0.35f : 1.0f);
      },
      3.0f, 1.0f);
  scene.objects.push_back({"rings", "VERTEBRA", rings});
  scene.objects.push_back({"teeth", "VERTEBRA", teeth});
  scene.objects.push_back({"tendons", "TENDON", tendons});
  scene.objects.push_back({"strands", "THROAT", strands});
  scene.objects.push_back({"membrane", "THROAT", membrane});
  return scene;
}

}  // namespace assetgen
