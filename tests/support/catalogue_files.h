// Writes a small but complete set of the files the asset catalogue loads into a test folder, and
// releases everything the catalogue filled so that the next test can load into a fresh context.
#pragma once

#include <cstdint>
#include <string>

#include "support/tga_writer.h"

struct CatalogueFileSet {
  Bgr background{40, 200, 0};  // back01.tga, 800 x 600 of one colour (file order B, G, R)
  uint16_t skinWidth = 8;      // skora.tga, a pattern of distinct bytes
  uint16_t skinHeight = 4;
  bool writeSkin = true;
  // c00, c01, c02 and c05 as one large cube around the eye, so that the model covers the whole
  // picture in every scene; otherwise the four 3DS files are left out.
  bool cubeScenes = false;
};

// The end picture "s_end.tga" is 64 x 32: its left half is kEndPictureColour, its right half black.
constexpr Bgr kEndPictureColour{30, 180, 60};
constexpr uint16_t kEndPictureWidth = 64;
constexpr uint16_t kEndPictureHeight = 32;

// The skin pattern: byte i of the file's pixel data is uint8_t(i * 7 + 1).
uint8_t skinFileByte(size_t index);

void writeCatalogueFiles(const std::string& folder, const CatalogueFileSet& set);

// Deletes the textures, display lists, mesh and particles that loadAssets and the scenes made.
// Needs the context they were made in to be current.
void unloadCatalogue();
