// The four 3DS sets, each designed for the camera that shows it (all in the loaded space: y up,
// the eye of scenes 1 and 2 on +z):
// - "c00.3ds", scene 1: a spine behind the head with ribs curving round it, open at the front;
// - "c01.3ds", scene 2: a riveted cage of twisted bars and arches, open at the front;
// - "c02.3ds", scenes 3 to 5: a ribbed core in a ring with a crown of blades, radius under 9;
// - "c05.3ds", scene 6: a throat of vertebra rings along z at height 4, which the eye enters.
#pragma once

#include "tools/forge/formats/scene3ds_writer.h"

namespace assetgen {

SceneSpec makeRibSet();     // "c00.3ds"
SceneSpec makeCageSet();    // "c01.3ds"
SceneSpec makeCoreSet();    // "c02.3ds"
SceneSpec makeThroatSet();  // "c05.3ds"

// Shared material looks.
MaterialSpec boneMaterial(const char* name, const char* mapName, float tile);
MaterialSpec fleshMaterial(const char* name, float tile);
MaterialSpec ironMaterial(const char* name);  // the metal tile "s_p.tga"

// A tapered spike (a tube narrowing to a point) from `base` to `tip`, its texture repeating every
// kSpikeTileSize units so that it does not stretch along the point.
constexpr float kSpikeTileSize = 3.0f;
void addSpike(Mesh& mesh, Vec3 base, Vec3 tip, float radius, int sides);

}  // namespace assetgen
