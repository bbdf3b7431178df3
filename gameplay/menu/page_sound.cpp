// SPDX-License-Identifier: GPL-3.0-or-later
// The sound page: the effects' and the music's volume, and the sound on or off.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows SoundPage()
{
    MenuPageRows page{N_("Ton"), SettingRows(MenuPage::Sound)};
    MenuRow mute;
    mute.kind = MenuRow::Kind::Mute;
    mute.label = N_("Stumm");
    page.rows.push_back(mute);
    page.rows.push_back(BackRow());
    return page;
}
