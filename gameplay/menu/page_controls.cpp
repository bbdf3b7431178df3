// SPDX-License-Identifier: GPL-3.0-or-later
// The controls page: the keyboard's layout, the stick's dead zone, every action's keys
// and then its pad inputs, and the way back to the layout's own keys.
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "gameplay/menu/menu.h"

MenuPageRows ControlsPage()
{
    MenuPageRows page{N_("Steuerung"), SettingRows(MenuPage::Controls)};
    MenuRow defaults;
    defaults.kind = MenuRow::Kind::DefaultKeys;
    defaults.label = N_("Standardbelegung");
    page.rows.push_back(defaults);
    for (int d = 0; d < CBindings::kDevices; ++d) {
        for (int a = 0; a < CBindings::kActions; ++a) {
            MenuRow row;
            row.kind = MenuRow::Kind::Binding;
            row.label = CBindings::Words(static_cast<Action>(a));
            row.action = a;
            row.device = d;
            page.rows.push_back(row);
        }
    }
    page.rows.push_back(BackRow());
    return page;
}
