// SPDX-License-Identifier: GPL-3.0-or-later
// The options: one row for each page of settings.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows OptionsPage()
{
    struct Entry {
        const char* label;
        MenuPage page;
    };
    static constexpr Entry kEntries[] = {
        {N_("Ton"), MenuPage::Sound},
        {N_("Steuerung"), MenuPage::Controls},
        {N_("Bildschirm"), MenuPage::Screen},
        {N_("Grafik"), MenuPage::Graphics},
        {N_("Sprache"), MenuPage::Language},
    };
    MenuPageRows page{N_("Optionen"), {}};
    for (const Entry& e : kEntries) {
        MenuRow row;
        row.kind = MenuRow::Kind::Open;
        row.label = e.label;
        row.page = e.page;
        page.rows.push_back(row);
    }
    page.rows.push_back(BackRow());
    return page;
}
