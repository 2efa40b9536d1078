// The ids of the 3DS chunks this system reads or writes: the reader takes a few of them, the
// generator writes all of them, and the tests build files with them. Each chunk is a 16-bit id and
// a 32-bit length that counts the whole chunk, its 6-byte header included.
#pragma once

#include <cstdint>

namespace chunk3ds {

// Colours and amounts inside material chunks.
constexpr uint16_t kColorF = 0x0010;
constexpr uint16_t kColor24 = 0x0011;
constexpr uint16_t kIntPercentage = 0x0030;

// The file and its editor data.
constexpr uint16_t kMain = 0x4D4D;  // M3DMAGIC: every file starts with it
constexpr uint16_t kM3dVersion = 0x0002;
constexpr uint16_t kMdata = 0x3D3D;
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kMasterScale = 0x0100;

// Named objects and their triangle meshes.
constexpr uint16_t kNamedObject = 0x4000;
constexpr uint16_t kTriObject = 0x4100;
constexpr uint16_t kPointArray = 0x4110;
constexpr uint16_t kFaceArray = 0x4120;
constexpr uint16_t kMatGroup = 0x4130;
constexpr uint16_t kTexVerts = 0x4140;
constexpr uint16_t kSmoothGroup = 0x4150;
constexpr uint16_t kMeshMatrix = 0x4160;
constexpr uint16_t kDirectLight = 0x4600;
constexpr uint16_t kCamera = 0x4700;

// Materials and their texture maps.
constexpr uint16_t kMatEntry = 0xAFFF;
constexpr uint16_t kMatName = 0xA000;
constexpr uint16_t kMatAmbient = 0xA010;
constexpr uint16_t kMatDiffuse = 0xA020;
constexpr uint16_t kMatSpecular = 0xA030;
constexpr uint16_t kMatTexmap = 0xA200;
constexpr uint16_t kMatBumpmap = 0xA230;
constexpr uint16_t kMatMapname = 0xA300;
constexpr uint16_t kMatMapUScale = 0xA354;
constexpr uint16_t kMatMapVScale = 0xA356;
constexpr uint16_t kMatMapUOffset = 0xA358;
constexpr uint16_t kMatMapVOffset = 0xA35A;
constexpr uint16_t kMatMapAng = 0xA35C;

// The keyframer section.
constexpr uint16_t kKfData = 0xB000;
constexpr uint16_t kObjectNodeTag = 0xB002;
constexpr uint16_t kCameraNodeTag = 0xB003;
constexpr uint16_t kTargetNodeTag = 0xB004;
constexpr uint16_t kLightNodeTag = 0xB005;
constexpr uint16_t kKfSeg = 0xB008;
constexpr uint16_t kKfCurTime = 0xB009;
constexpr uint16_t kKfHdr = 0xB00A;
constexpr uint16_t kNodeHdr = 0xB010;
constexpr uint16_t kPivot = 0xB013;
constexpr uint16_t kPosTrack = 0xB020;
constexpr uint16_t kRotTrack = 0xB021;
constexpr uint16_t kSclTrack = 0xB022;
constexpr uint16_t kFovTrack = 0xB023;
constexpr uint16_t kRollTrack = 0xB024;
constexpr uint16_t kColTrack = 0xB025;
constexpr uint16_t kNodeId = 0xB030;

}  // namespace chunk3ds
