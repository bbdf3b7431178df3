// SPDX-License-Identifier: GPL-3.0-or-later
// Particle birth, respawn and the per-frame step.
#include "gameplay/particles.h"

#include "engine/clock.h"
#include "engine/pause.h"
#include "engine/random.h"

namespace {
constexpr float kSlowdown = 2.0f;
constexpr float kGravityZ = -0.8f;
constexpr float kBurstSpreadXY = 5.0f;
constexpr float kBurstSpreadZ = 15.0f;

// -25 ... 24 units of speed.
float RandomSpeed() { return static_cast<float>(CRandom::Next() % 50 - 25); }
}  // namespace

ParticleSystem::ParticleSystem(float x, float y, float z, bool burst) : slowdown(kSlowdown), origin{x, y, z}
{
    CRandom::Seed(CClock::GetTicks());
    const float spreadXY = burst ? kBurstSpreadXY : 1.0f;
    const float spreadZ = burst ? kBurstSpreadZ : 1.0f;
    for (Particle& p : particles) {
        p.active = true;
        p.fade = static_cast<float>(CRandom::Next() % 100) / 1000.0f + 0.003f;
        Launch(p, spreadXY, spreadZ);
    }
}

void ParticleSystem::Launch(Particle& p, float spreadXY, float spreadZ)
{
    p.life = 1.0f;
    p.r = 1.0f;
    p.g = 0.0f;
    p.b = 0.0f;
    p.x = origin[0];
    p.y = origin[1];
    p.z = origin[2];
    // Three draws in axis order: the order decides which number lands on which axis.
    p.vx = RandomSpeed() * spreadXY;
    p.vy = RandomSpeed() * spreadXY;
    p.vz = RandomSpeed() * spreadZ;
    p.gx = 0.0f;
    p.gy = 0.0f;
    p.gz = kGravityZ;
}

void ParticleSystem::Step(Particle& p, bool respawn)
{
    const float scale = slowdown * 1000.0f;
    p.x += p.vx / scale;
    p.y += p.vy / scale;
    p.z += p.vz / scale;
    p.vx += p.gx;
    p.vy += p.gy;
    p.vz += p.gz;
    p.life -= p.fade;
    if (p.life < 0.0f) {
        if (respawn)
            Launch(p, 1.0f, 1.0f);  // a respawned particle never bursts
        else
            p.active = false;
    }
}

void ParticleSystem::Advance(bool respawn)
{
    if (CPause::IsOn())
        return;
    for (Particle& p : particles) {
        if (p.active)
            Step(p, respawn);
    }
}

void ParticleSystem::SetOrigin(float x, float y, float z)
{
    origin[0] = x;
    origin[1] = y;
    origin[2] = z;
}

int ParticleSystem::CountActive() const
{
    int n = 0;
    for (const Particle& p : particles)
        n += p.active ? 1 : 0;
    return n;
}
