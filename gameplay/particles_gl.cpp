// The particles' OpenGL quads, the one drawing corner of the gameplay layer.
#include <GL/gl.h>

#include "gameplay/particles.h"

namespace {

class GLParticleDrawer : public IParticleDrawer {
public:
    void Begin() override
    {
        // Additive: overlapping particles glow brighter, black adds nothing. Unlit, so
        // they keep their own colour and fade with their life; and they leave the depth
        // buffer alone, or their squares would hide what a later pass draws behind them.
        lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
        glDisable(GL_LIGHTING);
        glDepthMask(GL_FALSE);
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

    void End() override
    {
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
        if (lit)
            glEnable(GL_LIGHTING);
    }

private:
    bool lit = false;
};

GLParticleDrawer glDrawer;

}  // namespace

IParticleDrawer* ParticleSystem::drawer = &glDrawer;
