// SPDX-License-Identifier: GPL-3.0-or-later
// The language page: the language the game's texts are shown in.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows LanguagePage()
{
    MenuPageRows page{N_("Sprache"), SettingRows(MenuPage::Language)};
    page.rows.push_back(BackRow());
    return page;
}
