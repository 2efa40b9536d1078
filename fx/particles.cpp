// The particle step (cull, move, refill) and the fan drawing. The step is plain CPU work on the
// list so that it runs without a GL context; only draw() talks to GL.
#include "fx/particles.h"

#include <cmath>
#include <new>

#include "gfx/gl.h"

namespace {

void freeChain(ParticleNode* node) {
  while (node) {
    ParticleNode* next = node->next;
    delete node;
    node = next;
  }
}

}  // namespace

ParticleSystem::~ParticleSystem() {
  freeChain(particleList);
  particleList = nullptr;
  count = 0;
}

void ParticleSystem::update() {
  ParticleNode* first = particleList;

  // Cull. A removal never turns another node into the first or the last one, so a single pass
  // removes the same set as restarting from the front after each removal. Culled nodes are kept
  // aside for the refill: in the steady state as many are born as die, and nothing is allocated.
  ParticleNode* spare = nullptr;
  if (first) {
    ParticleNode* prev = first;
    ParticleNode* node = first->next;
    while (node) {
      if (node->next && node->particle.age > maxAge) {
        prev->next = node->next;
        node->next = spare;
        spare = node;
        --count;
        node = prev->next;
      } else {
        prev = node;
        node = node->next;
      }
    }
  }

  // Move: the position takes the velocity from before this step's acceleration.
  for (ParticleNode* node = first; node; node = node->next) {
    Particle& p = node->particle;
    p.position = p.position + p.velocity * p.step;
    p.velocity = p.velocity + acceleration;
    p.age = p.age + 1;
  }

  // Refill: new particles go in front, so this step's move has not touched them.
  if (count < maxCount && emitting != 0) {
    const uint32_t missing = maxCount - count;
    for (uint32_t i = 0; i < missing; ++i) {
      ParticleNode* node = spare;
      if (node) {
        spare = node->next;
      } else {
        node = new (std::nothrow) ParticleNode;
        if (!node) break;  // out of memory: keep the particles there are
      }
      node->next = particleList;
      particleList = node;
      ++count;
      emit();
    }
  }
  freeChain(spare);
}

// Fills the particle of the front node, which update() has just linked in.
void ParticleSystem::emit() {
  Vec3 direction;
  direction.z = float(random.next() % 2000 - 1000);
  direction.y = float(random.next() % 2000 - 1000);
  direction.x = float(random.next() % 2000 - 1000);
  direction.normalize();

  // The fourth draw is taken even without an age range, so that the sequence stays the same.
  const uint32_t draw = uint32_t(random.next());
  Particle& p = particleList->particle;
  p.position = position;
  p.step = step;
  p.age = maxAge != 0 ? draw % maxAge : 0;
  p.velocity = direction * speed + baseVelocity;
}

void ParticleSystem::draw() const {
  // The angle runs on from one disc to the next, so each rim starts somewhere else.
  float angle = 0.0f;
  for (const ParticleNode* node = particleList; node; node = node->next) {
    const Vec3& centre = node->particle.position;
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    glVertex3f(centre.x, centre.y, centre.z);
    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 9; ++i) {
      const float sx = float(std::sin(double(angle)) * size);
      const float sy = float(std::cos(double(angle)) * size);
      glVertex3f(centre.x + sx, centre.y + sy, centre.z);
      angle = angle + 0.785375f;
    }
    glEnd();
  }
}
