// SPDX-License-Identifier: GPL-3.0-or-later
// The particle layer: gathered squares, drawn small against the frame's depth and laid
// over the frame.
#include "render/particlelayer.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "render/framebuffer.h"
#include "render/viewvolume.h"

bool ParticleLayer::Init(int frameW, int frameH)
{
    frameWidth = frameW;
    frameHeight = frameH;
    width = frameW / divisor;
    height = frameH / divisor;
    if (width < 1 || height < 1 || !CanDrawOffscreen(true))
        return false;

    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGenTextures(1, &colourTexture);
    glBindTexture(GL_TEXTURE_2D, colourTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));

    // Depth and stencil as the window has them, so the frame's depth can be copied down.
    depthBuffer = NewRenderbuffer(GL_DEPTH24_STENCIL8_EXT, width, height);
    layerFramebuffer = MakeFramebuffer({{GL_COLOR_ATTACHMENT0_EXT, colourTexture, true},
                                        {GL_DEPTH_ATTACHMENT_EXT, depthBuffer, false},
                                        {GL_STENCIL_ATTACHMENT_EXT, depthBuffer, false}});
    if (layerFramebuffer == 0)
        depthBuffer = colourTexture = 0;
    return layerFramebuffer != 0;
}

void ParticleLayer::SetFrame(uint32_t framebuffer, int x, int y, int w, int h)
{
    frameFramebuffer = framebuffer, frameX = x, frameY = y;
    if (w == frameWidth && h == frameHeight)
        return;
    frameWidth = w, frameHeight = h;
    if (!IsReady())
        return;
    width = std::max(1, w / divisor), height = std::max(1, h / divisor);
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glBindTexture(GL_TEXTURE_2D, colourTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, width, height);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
}

void ParticleLayer::Gather(const ParticleSystem& system)
{
    const float strength = static_cast<float>(every);
    for (int i = 0; i < ParticleSystem::kParticleCount; i += every) {
        const Particle& p = system.GetParticle(i);
        if (p.active)
            Quad(p, strength);
    }
}

void ParticleLayer::SetDivisor(int d)
{
    if (d == divisor)
        return;
    divisor = d;
    frameWidth = frameHeight = 0;  // remade at the next frame's size
}

void ParticleLayer::Quad(const Particle& p, float strength)
{
    // Round the square: with the same corners and texture coordinates, any split into
    // triangles gives the same picture.
    const float z = p.z + lift;
    const float a = strength == 1.0f ? p.life : std::min(1.0f, p.life * strength);
    const Corner square[4] = {
        {{p.r, p.g, p.b, a}, {1, 1}, {p.x + 0.5f, p.y + 0.5f, z}},
        {{p.r, p.g, p.b, a}, {0, 1}, {p.x - 0.5f, p.y + 0.5f, z}},
        {{p.r, p.g, p.b, a}, {0, 0}, {p.x - 0.5f, p.y - 0.5f, z}},
        {{p.r, p.g, p.b, a}, {1, 0}, {p.x + 0.5f, p.y - 0.5f, z}},
    };
    if (corners.empty()) {
        lo[0] = hi[0] = p.x, lo[1] = hi[1] = p.y, lo[2] = hi[2] = z;
    }
    lo[0] = std::min(lo[0], p.x - 0.5f), hi[0] = std::max(hi[0], p.x + 0.5f);
    lo[1] = std::min(lo[1], p.y - 0.5f), hi[1] = std::max(hi[1], p.y + 0.5f);
    lo[2] = std::min(lo[2], z), hi[2] = std::max(hi[2], z);
    corners.insert(corners.end(), square, square + 4);
}

void ParticleLayer::Clear() { corners.clear(); }

bool ParticleLayer::Reach(int rect[4]) const
{
    // A square at no finite place leaves the box unknown: then it is the whole frame.
    for (int a = 0; a < 3; ++a) {
        if (!std::isfinite(lo[a]) || !std::isfinite(hi[a]))
            return false;
    }
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    float ndc[4];
    if (!ViewVolume::ProjectBox(projection, modelview, lo, hi, ndc))
        return false;
    // A frame pixel reads the layer's texels round it, each texel a few pixels wide.
    const int room = 3 * ((frameWidth + width - 1) / width + (frameHeight + height - 1) / height);
    const double x0 = std::floor((ndc[0] * 0.5 + 0.5) * frameWidth) - room;
    const double x1 = std::ceil((ndc[2] * 0.5 + 0.5) * frameWidth) + room;
    const double y0 = std::floor((ndc[1] * 0.5 + 0.5) * frameHeight) - room;
    const double y1 = std::ceil((ndc[3] * 0.5 + 0.5) * frameHeight) + room;
    rect[0] = static_cast<int>(std::clamp(x0, 0.0, static_cast<double>(frameWidth)));
    rect[1] = static_cast<int>(std::clamp(y0, 0.0, static_cast<double>(frameHeight)));
    rect[2] = static_cast<int>(std::clamp(x1, 0.0, static_cast<double>(frameWidth))) - rect[0];
    rect[3] = static_cast<int>(std::clamp(y1, 0.0, static_cast<double>(frameHeight))) - rect[1];
    return true;
}

void ParticleLayer::DrawSquares(uint32_t particleTexture)
{
    // Additive: overlapping particles glow brighter, black adds nothing. Unlit, and
    // they leave the depth buffer alone.
    const bool lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, particleTexture);

    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(Corner), corners[0].colour);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), corners[0].tex);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), corners[0].pos);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(corners.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    if (lit)
        glEnable(GL_LIGHTING);
}

void ParticleLayer::LayOver(int x, int y, int w, int h)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(frameX + x, frameY + y, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const bool lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE1);
    const bool shadowLookup = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, colourTexture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
    glDisable(GL_BLEND);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    if (shadowLookup) {
        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
    }
    glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}

void ParticleLayer::DrawGathered(uint32_t particleTexture, bool asLines)
{
    if (corners.empty())
        return;
    if (!IsReady() || asLines) {
        DrawSquares(particleTexture);
    } else {
        int reach[4] = {0, 0, frameWidth, frameHeight};
        if (!Reach(reach))
            reach[0] = reach[1] = 0, reach[2] = frameWidth, reach[3] = frameHeight;
        // The frame's depth, copied down, hides the particles behind what stands in front.
        glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, frameFramebuffer);
        glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, layerFramebuffer);
        glBlitFramebufferEXT(frameX, frameY, frameX + frameWidth, frameY + frameHeight, 0, 0, width, height,
                             GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, layerFramebuffer);
        glViewport(0, 0, width, height);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawSquares(particleTexture);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameFramebuffer);
        glViewport(frameX, frameY, frameWidth, frameHeight);
        if (reach[2] > 0 && reach[3] > 0)
            LayOver(reach[0], reach[1], reach[2], reach[3]);
    }
    // Later drawing takes on the colour the last particle left, as it did when the
    // particles were drawn one by one.
    const float* last = corners.back().colour;
    glColor4f(last[0], last[1], last[2], last[3]);
    glTexCoord2f(0.0f, 0.0f);
    corners.clear();
}
