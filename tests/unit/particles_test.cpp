// The particle step without GL: refill, cull rules, the move and the emitter's random directions.
#include "fx/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<Particle*> listOf(ParticleSystem& system) {
  std::vector<Particle*> out;
  for (ParticleNode* n = system.particleList; n; n = n->next) out.push_back(&n->particle);
  return out;
}

// Replaces the list by particles of the given ages, front first, all at the origin and at rest.
void makeList(ParticleSystem& system, const std::vector<uint32_t>& ages) {
  for (auto it = ages.rbegin(); it != ages.rend(); ++it) {
    ParticleNode* node = new ParticleNode;
    node->particle.age = *it;
    node->particle.step = 0.01f;
    node->next = system.particleList;
    system.particleList = node;
    ++system.count;
  }
}

std::vector<uint32_t> agesOf(ParticleSystem& system) {
  std::vector<uint32_t> ages;
  for (Particle* p : listOf(system)) ages.push_back(p->age);
  return ages;
}

}  // namespace

TEST(ParticleSystem, FirstUpdateFillsToMaxCountAtTheEmitter) {
  ParticleSystem system;
  system.setMaxCount(600);
  system.setPosition(0.0f, -10.0f, 10.0f);
  system.update();
  EXPECT_EQ(system.count, 600u);
  const auto all = listOf(system);
  ASSERT_EQ(all.size(), 600u);
  for (Particle* p : all) {
    EXPECT_EQ(p->position.x, 0.0f);
    EXPECT_EQ(p->position.y, -10.0f);
    EXPECT_EQ(p->position.z, 10.0f);
    EXPECT_EQ(p->step, 0.01f);
    EXPECT_LT(p->age, 500u);
  }
  // The configured population holds in every later step, deaths refilled by births.
  system.setAcceleration(0.0f, 0.08f, 0.0f);
  for (int frame = 0; frame < 1500; ++frame) {
    system.update();
    ASSERT_EQ(system.count, 600u);
    ASSERT_EQ(listOf(system).size(), 600u);
  }
}

TEST(ParticleSystem, FirstParticleFollowsTheGeneratorAndTheStepRule) {
  ParticleSystem system;
  system.setMaxCount(1);
  system.update();
  ASSERT_EQ(system.count, 1u);
  Particle& p = system.particleList->particle;
  // Draws 41, 18467, 6334 give z = -959, y = -533, x = -666; the fourth, 26500, the age.
  const double len = std::sqrt(666.0 * 666.0 + 533.0 * 533.0 + 959.0 * 959.0);
  const double v0[3] = {-666.0 / len * 5.0, -533.0 / len * 5.0, -959.0 / len * 5.0};
  EXPECT_EQ(p.age, 26500u % 500u);
  EXPECT_NEAR(p.velocity.x, v0[0], 1e-6);
  EXPECT_NEAR(p.velocity.y, v0[1], 1e-6);
  EXPECT_NEAR(p.velocity.z, v0[2], 1e-6);

  // After k moves: position = k v0 step + a step k (k - 1) / 2, with a = (0, -0.01, 0).
  const int moves = 4;
  for (int i = 0; i < moves; ++i) system.update();
  ASSERT_EQ(system.count, 1u);  // a lone particle is both first and last
  const double k = moves, step = 0.01;
  EXPECT_NEAR(p.position.x, k * v0[0] * step, 1e-5);
  EXPECT_NEAR(p.position.y, k * v0[1] * step - 0.01 * step * k * (k - 1) / 2, 1e-5);
  EXPECT_NEAR(p.position.z, k * v0[2] * step, 1e-5);
  EXPECT_NEAR(p.velocity.y, v0[1] - 0.01 * k, 1e-5);
  EXPECT_EQ(p.age, 26500u % 500u + moves);
}

TEST(ParticleSystem, CullKeepsFirstAndLastAndWaitsForAgeAboveMaxAge) {
  ParticleSystem system;
  system.emitting = 0;
  system.setMaxAge(10);
  makeList(system, {99, 11, 10, 99, 12, 99});
  system.update();
  // 11, 99 and 12 in the middle go (walked in one pass, two of them neighbours); 10 survives.
  EXPECT_EQ(system.count, 3u);
  EXPECT_EQ(agesOf(system), (std::vector<uint32_t>{100, 11, 100}));
  system.update();
  EXPECT_EQ(agesOf(system), (std::vector<uint32_t>{101, 101}));

  ParticleSystem lone;
  lone.emitting = 0;
  lone.setMaxAge(0);
  makeList(lone, {5});
  for (int i = 0; i < 3; ++i) lone.update();
  EXPECT_EQ(agesOf(lone), (std::vector<uint32_t>{8}));
}

TEST(ParticleSystem, RefillPutsUnmovedParticlesInFront) {
  ParticleSystem system;
  system.setMaxCount(3);
  system.setMaxAge(10);
  system.setPosition(1.0f, 2.0f, 3.0f);
  makeList(system, {0, 50, 0});
  system.particleList->particle.velocity.set(100.0f, 0.0f, 0.0f);
  system.update();
  const auto all = listOf(system);
  ASSERT_EQ(all.size(), 3u);
  ASSERT_EQ(system.count, 3u);
  // The newborn sits at the emitter; the survivors moved by their old velocity times step.
  EXPECT_EQ(all[0]->position.x, 1.0f);
  EXPECT_EQ(all[0]->position.y, 2.0f);
  EXPECT_EQ(all[0]->position.z, 3.0f);
  EXPECT_FLOAT_EQ(all[1]->position.x, 1.0f);
  EXPECT_FLOAT_EQ(all[1]->velocity.y, -0.01f);
  EXPECT_EQ(all[1]->position.y, 0.0f);
  EXPECT_EQ(all[1]->age, 1u);
  EXPECT_EQ(all[2]->age, 1u);
}

TEST(ParticleSystem, NoRefillWhenFullWhenNotEmittingOrAfterLoweringMaxCount) {
  ParticleSystem system;
  system.setMaxCount(10);
  system.update();
  const uint32_t stateAfterFill = system.random.state;
  system.update();  // full: nothing drawn from the generator
  EXPECT_EQ(system.random.state, stateAfterFill);

  system.setMaxCount(4);
  system.update();
  EXPECT_EQ(system.count, 10u);  // only ageing shrinks the population

  ParticleSystem idle;
  idle.emitting = 0;
  idle.update();
  EXPECT_EQ(idle.count, 0u);
  EXPECT_EQ(idle.particleList, nullptr);
}

TEST(ParticleSystem, MaxAgeZeroGivesAgeZeroAndKeepsTheSequence) {
  ParticleSystem system;
  system.setMaxAge(0);
  system.setMaxCount(3);
  system.update();
  for (Particle* p : listOf(system)) EXPECT_EQ(p->age, 0u);
  // Four draws per particle, as with an age range.
  RandomGenerator reference;
  for (int i = 0; i < 12; ++i) reference.next();
  EXPECT_EQ(system.random.state, reference.state);
  system.update();  // culled before the move, at age 0: all stay
  EXPECT_EQ(agesOf(system), (std::vector<uint32_t>{1, 1, 1}));
  system.update();  // now above 0: the middle one goes and is replaced
  EXPECT_EQ(system.count, 3u);
  EXPECT_EQ(agesOf(system), (std::vector<uint32_t>{0, 2, 2}));
}
