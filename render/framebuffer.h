// SPDX-License-Identifier: GPL-3.0-or-later
// Off-screen buffers, made in one place: the textures and renderbuffers to draw into, a
// framebuffer that holds them, checked, and all of it deleted again when the GL cannot
// draw into it.
#pragma once

#include <cstdint>
#include <initializer_list>

// The GL draws into framebuffers and copies between them; with depthStencil also into a
// packed depth and stencil buffer.
bool CanDrawOffscreen(bool depthStencil);

// A renderbuffer of the internal format and size; left unbound.
uint32_t NewRenderbuffer(uint32_t format, int width, int height);

// One buffer of a framebuffer: where it is attached (GL_COLOR_ATTACHMENT0_EXT,
// GL_DEPTH_ATTACHMENT_EXT, GL_STENCIL_ATTACHMENT_EXT), its name, whether it is a 2-D
// texture or a renderbuffer, and whether it lives on without the framebuffer.
struct Attachment {
    uint32_t point;
    uint32_t name;
    bool texture;
    bool kept = false;
};

// A framebuffer of the attachments; one without a colour buffer neither draws nor reads
// colour. Returns 0 when the GL cannot draw into it, after deleting the framebuffer and
// every texture and renderbuffer attached but the kept ones. Leaves framebuffer 0 bound.
uint32_t MakeFramebuffer(std::initializer_list<Attachment> parts);
