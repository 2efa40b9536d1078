#include "fx/program_objects.h"

FlashOverlay flash;
ParticleSystem particles;
Scene3ds sceneC00;
Scene3ds sceneC01;
Scene3ds sceneC02;
Scene3ds sceneC05;
HeadMesh headMesh;
Texture leftTexture;
Texture rightTexture;
Texture topTexture;
Texture downTexture;
Texture endTexture;
Texture stripTexture;
Texture spTexture;
Texture back01Texture;
uint32_t skoraTexture = 0;
