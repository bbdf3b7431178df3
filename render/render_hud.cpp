// SPDX-License-Identifier: GPL-3.0-or-later
// The head-up display over the finished frame.
#include <GL/glew.h>

#include <cstdio>

#include "engine/text.h"
#include "render/font.h"
#include "render/glyphs.h"
#include "render/hud.h"
#include "gameplay/menu/menu.h"
#include "render/rendertask.h"
#include "world/actors.h"
#include "world/gameworld.h"

namespace {

// A box in the frame's pixels, in the current colour.
void DrawBackdropAt(int left, int bottom, int right, int top)
{
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, CScreen::FrameWidth(), 0, CRenderTask::kViewHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glVertex2i(left, top);
    glVertex2i(right, top);
    glVertex2i(right, bottom);
    glVertex2i(left, bottom);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

}  // namespace

void CRenderTask::DrawHud()
{
    GameWorld& world = GameWorld::GetSingleton();
    const Player& player = ThePlayer();
    std::snprintf(healthText, sizeof(healthText), "%d", player.GetHealth());

    HudInput in;
    in.frameWidth = frameWidth;
    in.level = world.GetLevel();
    in.result = world.GetResult();
    in.weapon = player.GetCurrentWeapon();
    in.fps = world.IsOn(Toggle::Fps);
    in.help = world.IsOn(Toggle::Help);
    for (int i = 0; i < kToggleCount; ++i) {
        in.toggleOn[i] = world.IsOn(static_cast<Toggle>(i));
        in.toggleShown[i] = world.IsToggleShown(static_cast<Toggle>(i));
    }
    in.healthText = healthText;
    if (in.help) {
        MakeHelpLines(helpLines);
        in.helpLines = helpLines;
    }
    in.rateText = rateText;
    in.timeText = timeText;
    in.slowHint = slowHint.Showing(nowTicks);
    LayoutHud(in, hudLayout);

    glEnable(GL_COLOR_MATERIAL);
    const GLuint font = TextureName(TextureId::Font);
    for (int i = 0; i < hudLayout.count; ++i) {
        const HudItem& item = hudLayout.items[i];
        if (item.colour)
            glColor3f(item.colour[0], item.colour[1], item.colour[2]);
        if (item.kind == HudItem::Kind::Backdrop) {
            glDisable(GL_TEXTURE_2D);
            DrawBackdropAt(item.x, item.y, item.x + item.width, item.y + item.height);
            continue;
        }
        // Every text with the font, also after an untextured backdrop.
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, font);
        if (item.scaleX != 1.0f || item.scaleY != 1.0f)
            PrintTextScaled(item.x, item.y, item.set, item.scaleX, item.scaleY, "%s", item.text);
        else
            PrintText(item.x, item.y, item.set, "%s", item.text);
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
}

void CRenderTask::DrawPause()
{
    // The frame stays as it stood, half as bright.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glDisable(GL_CULL_FACE);  // the box is wound clockwise
    DrawBackdropAt(0, 0, frameWidth, kViewHeight);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    if (CMenu::Exists() && CMenu::GetSingleton().IsOpen()) {
        DrawMenu();
        return;
    }
    // Centred, four times as large.
    constexpr float kScale = 4.0f;
    constexpr int kHeight = static_cast<int>(kGlyphSize * kScale);
    const char* text = Tr("PAUSE");
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureName(TextureId::Font));
    glColor3f(1.0f, 1.0f, 1.0f);
    const int left = (frameWidth - TextWidth(text, kScale)) / 2;
    PrintTextScaled(left, (kViewHeight - kHeight) / 2, 0, kScale, kScale, "%s", text);
    glDisable(GL_TEXTURE_2D);
}

void CRenderTask::DrawMenu()
{
    CMenu& menu = CMenu::GetSingleton();
    menu.Layout(frameWidth, kViewHeight, menuLayout);
    const GLuint font = TextureName(TextureId::Font);
    // Unit 1 keeps the shadow lookup for the next frame; the menu's boxes take none.
    glActiveTexture(GL_TEXTURE1);
    const bool lookup = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    for (const MenuItem& item : menuLayout.items) {
        // The boxes are wound clockwise; the text's printing turns culling back on.
        glDisable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        switch (item.kind) {
        case MenuItem::Kind::Panel:
            glColor4f(0.05f, 0.05f, 0.15f, 0.85f);
            DrawBackdropAt(item.x, item.y, item.x + item.width, item.y + item.height);
            break;
        case MenuItem::Kind::Highlight:
            glColor4f(0.25f, 0.3f, 0.6f, 0.9f);
            DrawBackdropAt(item.x, item.y, item.x + item.width, item.y + item.height);
            break;
        case MenuItem::Kind::Text:
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, font);
            if (item.bright)
                glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            else
                glColor4f(0.7f, 0.7f, 0.7f, 1.0f);
            if (item.scale != 1.0f)
                PrintTextScaled(item.x, item.y, 0, item.scale, item.scale, "%s", item.text.c_str());
            else
                PrintText(item.x, item.y, 0, "%s", item.text.c_str());
            glDisable(GL_TEXTURE_2D);
            break;
        }
    }
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    if (lookup) {
        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
    }
}
