// SPDX-License-Identifier: GPL-3.0-or-later
// The graphics page: the display toggles a player keeps, and the effects' quality.
#include "gameplay/menu/menu.h"

MenuPageRows GraphicsPage()
{
    MenuPageRows page{"Grafik", SettingRows(MenuPage::Graphics)};
    page.rows.push_back(BackRow());
    return page;
}
