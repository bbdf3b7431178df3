// The particles' OpenGL quads, the one drawing corner of the gameplay layer.
#include <GL/gl.h>

#include "gameplay/particles.h"

namespace {

class GLParticleDrawer : public IParticleDrawer {
public:
    void Begin() override
    {
        // Additive: overlapping particles glow brighter, black adds nothing.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    }

    void Quad(const Particle& p) override
    {
        // A 1 x 1 square in the ground plane, textured by whatever is bound.
        glColor4f(p.r, p.g, p.b, p.life);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2d(1, 1);
        glVertex3f(p.x + 0.5f, p.y + 0.5f, p.z);
        glTexCoord2d(0, 1);
        glVertex3f(p.x - 0.5f, p.y + 0.5f, p.z);
        glTexCoord2d(1, 0);
        glVertex3f(p.x + 0.5f, p.y - 0.5f, p.z);
        glTexCoord2d(0, 0);
        glVertex3f(p.x - 0.5f, p.y - 0.5f, p.z);
        glEnd();
    }

    void End() override { glDisable(GL_BLEND); }
};

GLParticleDrawer glDrawer;

}  // namespace

IParticleDrawer* ParticleSystem::drawer = &glDrawer;
