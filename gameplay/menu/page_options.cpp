// SPDX-License-Identifier: GPL-3.0-or-later
// The options: one row for each page of settings.
#include "gameplay/menu/menu.h"

MenuPageRows OptionsPage()
{
    struct Entry {
        const char* label;
        MenuPage page;
    };
    static constexpr Entry kEntries[] = {
        {"Ton", MenuPage::Sound},
        {"Steuerung", MenuPage::Controls},
        {"Bildschirm", MenuPage::Screen},
        {"Grafik", MenuPage::Graphics},
        {"Sprache", MenuPage::Language},
    };
    MenuPageRows page{"Optionen", {}};
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
