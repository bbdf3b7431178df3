// SPDX-License-Identifier: GPL-3.0-or-later
// The screen page: full screen or a window, the frame's resolution, the frame cap.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows ScreenPage()
{
    MenuPageRows page{N_("Bildschirm"), SettingRows(MenuPage::Screen)};
    page.rows.push_back(BackRow());
    return page;
}
