// The benchmark groups, registered by main once the inputs they read are in place.
#pragma once

#include <cstddef>
#include <string>

void registerLoaderBenchmarks();    // pack, TGA, head and 3DS reading, ours beside the peers
void registerPrepareBenchmarks();   // 3DS normals (ours beside lib3ds) and GL preparation
void registerPokeBenchmarks();      // one poke at each second of scenes 1 and 2
void registerParticleBenchmarks();  // particle update and draw
void registerFrameBenchmarks();     // each scene's frame and its parts, drawn and finished

// The faces of every object of a 3DS set in the inputs folder, as our reader counts them.
size_t setFaceCount(const std::string& setName);
