// SPDX-License-Identifier: GPL-3.0-or-later
// The GL textures of the texture slots: one level-0 image each, no mipmaps.
#include <GL/gl.h>

#include "render/rendertask.h"

namespace {

void SetWrap(const TextureSlot& slot)
{
    if (slot.wrap == 0)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(slot.wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(slot.wrap));
}

void SetFilter(const TextureSlot& slot)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(slot.filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(slot.filter));
}

}  // namespace

bool CRenderTask::LoadTextures()
{
    // All files or no GL texture at all: after a failure every slot keeps name 0.
    if (!LoadTextureFiles(textures))
        return false;
    // The decoded rows follow each other without padding: a 24-bit row of an odd width
    // is no multiple of the default alignment of 4.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int index : kTextureCreateOrder) {
        const TextureSlot& slot = kTextureSlots[index];
        TextureImage& image = textures[index];
        glGenTextures(1, &image.glName);
        glBindTexture(GL_TEXTURE_2D, image.glName);
        if (slot.filterFirst) {
            SetFilter(slot);
            SetWrap(slot);
        } else {
            SetWrap(slot);
            SetFilter(slot);
        }
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(image.format), GLsizei(image.width), GLsizei(image.height), 0,
                     image.format, GL_UNSIGNED_BYTE, image.pixels.data());
    }
    return true;
}
