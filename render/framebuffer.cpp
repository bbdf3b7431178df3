// SPDX-License-Identifier: GPL-3.0-or-later
// Framebuffer objects through EXT_framebuffer_object.
#include "render/framebuffer.h"

#include <GL/glew.h>

bool CanDrawOffscreen(bool depthStencil)
{
    return GLEW_EXT_framebuffer_object && GLEW_EXT_framebuffer_blit &&
           (!depthStencil || GLEW_EXT_packed_depth_stencil);
}

uint32_t NewRenderbuffer(uint32_t format, int width, int height)
{
    GLuint name = 0;
    glGenRenderbuffersEXT(1, &name);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, name);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, format, width, height);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    return name;
}

uint32_t MakeFramebuffer(std::initializer_list<Attachment> parts)
{
    GLuint framebuffer = 0;
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    bool colour = false;
    for (const Attachment& a : parts) {
        if (a.texture)
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, a.point, GL_TEXTURE_2D, a.name, 0);
        else
            glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, a.point, GL_RENDERBUFFER_EXT, a.name);
        colour = colour || a.point == GL_COLOR_ATTACHMENT0_EXT;
    }
    if (!colour) {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    const bool complete = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (complete)
        return framebuffer;
    glDeleteFramebuffersEXT(1, &framebuffer);
    for (const Attachment& a : parts) {
        GLuint name = a.name;
        if (a.kept)
            continue;
        if (a.texture)
            glDeleteTextures(1, &name);
        else
            glDeleteRenderbuffersEXT(1, &name);
    }
    return 0;
}
