// The point emitter of the red glow: keeps maxCount particles alive, moves them one fixed step per
// update under a constant acceleration and draws each as a small disc fading to a transparent rim.
#pragma once

#include <cstdint>

#include "fx/random.h"
#include "gfx/vec3.h"

struct Particle {
  Vec3 position;
  float step = 0.0f;  // the emitter's step at creation
  Vec3 velocity;
  uint32_t age = 0;  // updates survived, from a random start
};

struct ParticleNode {
  ParticleNode* next = nullptr;
  Particle particle;
};

class ParticleSystem {
 public:
  ParticleSystem() = default;
  ~ParticleSystem();
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  void setPosition(float x, float y, float z) { position.set(x, y, z); }
  void setColour(float r, float g, float b, float a) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
  }
  void setAcceleration(float x, float y, float z) { acceleration.set(x, y, z); }
  void setSpeed(float s) { speed = s; }
  void setSize(float s) { size = s; }
  void setMaxAge(uint32_t a) { maxAge = a; }
  void setMaxCount(uint32_t c) { maxCount = c; }

  // One simulation step: cull, move, refill.
  void update();
  // Draws every particle as a nine-vertex fan; the caller sets blending and the modelview matrix.
  void draw() const;

  ParticleNode* particleList = nullptr;  // newest first
  Vec3 position{0.0f, 0.0f, 0.0f};
  Vec3 acceleration{0.0f, -0.01f, 0.0f};
  Vec3 baseVelocity{0.0f, 0.0f, 0.0f};
  float colour[4] = {0.0f, 0.0f, 1.0f, 0.5f};
  float speed = 5.0f;
  float step = 0.01f;
  float size = 0.1f;  // disc radius
  int32_t emitting = 1;
  uint32_t maxCount = 1000;
  uint32_t maxAge = 500;  // updates
  uint32_t count = 0;
  RandomGenerator random;

 private:
  void emit();
};
