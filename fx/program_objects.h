// The objects that live for the whole program, filled once by the asset catalogue at start-up and
// drawn by the scenes. They are defined in one place (program_objects.cpp) so that they are
// constructed in this order and destroyed in the reverse one. The frame timer, third in the
// start-up order, belongs to the program's loop (app/frame_timer.h): its construction only reads
// the counter frequency and it has no destructor, so where it is defined changes nothing.
#pragma once

#include <cstdint>

#include "fx/flash.h"
#include "fx/particles.h"
#include "gfx/head_mesh.h"
#include "gfx/texture.h"
#include "model3ds/scene3ds.h"

extern FlashOverlay flash;
extern ParticleSystem particles;
extern Scene3ds sceneC00;
extern Scene3ds sceneC01;
extern Scene3ds sceneC02;
extern Scene3ds sceneC05;
extern HeadMesh headMesh;
extern Texture leftTexture;
extern Texture rightTexture;
extern Texture topTexture;
extern Texture downTexture;
extern Texture endTexture;
extern Texture stripTexture;
extern Texture spTexture;
extern Texture back01Texture;
extern uint32_t skoraTexture;  // GL texture name of the head's skin; 0 until loaded
