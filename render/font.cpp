// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph display lists and text output.
#include "render/font.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

#include "engine/screen.h"
#include "render/glyphs.h"
#include "render/tga.h"

namespace {

GLuint fontBase = 0;
constexpr int kGlyphs = 2 * kGlyphSetSize;

void Print(int x, int y, int set, bool scaled, float scaleX, float scaleY, const char* format, va_list args)
{
    if (!format)
        return;
    char text[1024];
    // Longer texts are cut to the buffer; the game's own are far shorter.
    std::vsnprintf(text, sizeof(text), format, args);
    unsigned char codes[sizeof(text)];
    const size_t count = ToGlyphCodes(text, codes, sizeof(codes));
    if (set > 1)
        set = 1;
    if (set < 0)
        set = 0;

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, CScreen::FrameWidth(), 0, CScreen::kFrameHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glTranslated(x, y, 0);
    glListBase(fontBase - kFirstGlyphCode + kGlyphSetSize * set);
    if (scaled)
        glScalef(scaleX, scaleY, 1.0f);
    glCallLists(static_cast<GLsizei>(count), GL_UNSIGNED_BYTE, codes);

    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
}

}  // namespace

void BuildFont(const TextureImage& font)
{
    fontBase = glGenLists(kGlyphs);
    glBindTexture(GL_TEXTURE_2D, font.glName);
    for (int k = 0; k < kGlyphs; ++k) {
        const float cx = static_cast<float>(k % 16) / 16.0f;
        const float cy = static_cast<float>(k / 16) / 16.0f;
        glNewList(fontBase + k, GL_COMPILE);
        glBegin(GL_QUADS);
        // The cell's top edge moves down a little so the row above cannot bleed in.
        glTexCoord2f(cx, 1.0f - cy - 0.001f);
        glVertex2d(0, kGlyphSize);
        glTexCoord2f(cx + 0.0625f, 1.0f - cy - 0.001f);
        glVertex2i(kGlyphSize, kGlyphSize);
        glTexCoord2f(cx + 0.0625f, 1.0f - cy - 0.0625f);
        glVertex2i(kGlyphSize, 0);
        glTexCoord2f(cx, 1.0f - cy - 0.0625f);
        glVertex2i(0, 0);
        glEnd();
        glTranslated(kGlyphAdvance, 0, 0);
        glEndList();
    }
}

void PrintText(int x, int y, int set, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Print(x, y, set, false, 1.0f, 1.0f, format, args);
    va_end(args);
}

void PrintTextScaled(int x, int y, int set, float scaleX, float scaleY, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Print(x, y, set, true, scaleX, scaleY, format, args);
    va_end(args);
}
