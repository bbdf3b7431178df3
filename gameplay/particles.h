// SPDX-License-Identifier: GPL-3.0-or-later
// A hundred red particles around an origin: the laser's trail and the rocket's blast.
#pragma once

struct Particle {
    bool active;
    float life;  // 1 when born; also the alpha it is drawn with
    float fade;  // life lost per step
    float r, g, b;
    float x, y, z;
    float vx, vy, vz;
    float gx, gy, gz;  // added to the velocity every step
};

class ParticleSystem {
public:
    static constexpr int kParticleCount = 100;

    // Every particle starts at the origin; a burst flies out five times as fast across
    // the ground and fifteen times as fast upwards. Reseeds the game's generator from
    // the clock.
    ParticleSystem(float x, float y, float z, bool burst);

    // One step of every active particle; the drawing takes one each time it passes the
    // system, whatever the frame time. A spent particle starts again at the origin with
    // respawn, else it goes out. Nothing moves while the game is paused.
    void Advance(bool respawn);

    void SetOrigin(float x, float y, float z);
    float GetOriginX() const { return origin[0]; }
    float GetOriginY() const { return origin[1]; }
    float GetOriginZ() const { return origin[2]; }
    const Particle& GetParticle(int index) const { return particles[index]; }
    int CountActive() const;

private:
    void Step(Particle& p, bool respawn);
    // Life, place, colour, speed and gravity of a particle that starts (again).
    void Launch(Particle& p, float spreadXY, float spreadZ);

    float slowdown;
    float origin[3];
    Particle particles[kParticleCount];
};
