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

// Where particles are drawn. The game draws OpenGL quads; a run without a picture
// installs none, and a test its own.
class IParticleDrawer {
public:
    virtual ~IParticleDrawer() {}
    // Once per system and frame, around its quads.
    virtual void Begin() = 0;
    virtual void Quad(const Particle& p) = 0;
    virtual void End() = 0;
};

class ParticleSystem {
public:
    static constexpr int kParticleCount = 100;

    // Every particle starts at the origin; a burst flies out five times as fast across
    // the ground and fifteen times as fast upwards. Reseeds the game's generator from
    // the clock.
    ParticleSystem(float x, float y, float z, bool burst);

    // Draws each active particle, then moves it one step: the advance goes with the
    // picture, one step per drawn frame whatever the frame time.
    void DrawAndAdvance(bool respawn);
    // One step of every active particle without drawing. A spent particle starts again
    // at the origin with respawn, else it goes out.
    void Advance(bool respawn);

    void SetOrigin(float x, float y, float z);
    float GetOriginX() const { return origin[0]; }
    float GetOriginY() const { return origin[1]; }
    float GetOriginZ() const { return origin[2]; }
    const Particle& GetParticle(int index) const { return particles[index]; }
    int CountActive() const;

    // The OpenGL drawer by default; null draws nothing (the advance still happens).
    static IParticleDrawer* drawer;

private:
    void Step(Particle& p, bool respawn);
    // Life, place, colour, speed and gravity of a particle that starts (again).
    void Launch(Particle& p, float spreadXY, float spreadZ);

    float slowdown;
    float origin[3];
    Particle particles[kParticleCount];
};
