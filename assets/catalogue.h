// Everything the presentation loads before it starts, in a fixed order: the light, the head, the
// eight picture slots, the particle emitter's settings, the four 3DS scenes and the head's skin.
// Every step needs a current GL context; the steps are public so that each can be timed alone.
#pragma once

#include "model3ds/scene3ds.h"

class ParticleSystem;

// All the steps below, in this order.
void loadAssets();

// Told each step's name ("light", "head", "slots", "particles", "c00", "c01", "c02", "c05",
// "skin") just before loadAssets runs it and again, with `finished` set, just after, so that a tool
// can time the real start-up step by step. None by default; the steps run the same either way.
using LoadStepObserver = void (*)(const char* step, bool finished);
void setLoadStepObserver(LoadStepObserver observer);

// Light 0 at (0, 0, 2) in eye coordinates (the modelview matrix must be the identity), then
// lighting, light 0 and normal rescaling on.
void loadLight();
void loadHead();
void loadSlots();
// The emitter's settings only; no particle is created until the first update.
void configureParticles();
void configureParticles(ParticleSystem& system);
// One 3DS scene through the chunk reader; a missing file leaves the scene empty.
void loadScene(Scene3ds& scene, const char* fileName);
// A new texture name into skoraTexture, bound, with "skora.tga" as its single level. A picture that
// cannot be read uploads nothing: the name stays bound with no image.
void loadSkin();
