#include "fx/particles.h"

ParticleSystem::~ParticleSystem() {}
void ParticleSystem::update() {}
void ParticleSystem::draw() const {}
void ParticleSystem::emit() {}
