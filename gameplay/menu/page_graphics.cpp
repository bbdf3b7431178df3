// SPDX-License-Identifier: GPL-3.0-or-later
// The graphics page: the display toggles a player keeps, and the effects' quality.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows GraphicsPage()
{
    MenuPageRows page{N_("Grafik"), SettingRows(MenuPage::Graphics)};
    page.rows.push_back(BackRow());
    return page;
}
