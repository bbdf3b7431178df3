// The GL textures of the loaded texture files.
#include <GL/gl.h>

#include "render/rendertask.h"

bool CRenderTask::LoadTextures()
{
    if (!LoadTextureFiles(textures))
        return false;
    static const int order[18] = {4, 5, 6, 7, 18, 8, 9, 10, 0, 1, 2, 3, 11, 12, 13, 14, 15, 16};
    for (int slot : order) {
        TextureImage& t = textures[slot];
        glGenTextures(1, &t.glName);
        glBindTexture(GL_TEXTURE_2D, t.glName);
        const bool sky = slot >= 11 && slot <= 16;
        if (!sky && slot != 9 && slot != 10) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        }
        const GLint filter = sky ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        if (sky) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        }
        glTexImage2D(GL_TEXTURE_2D, 0, t.format, t.width, t.height, 0, t.format, GL_UNSIGNED_BYTE, t.pixels.data());
    }
    return true;
}
