// SPDX-License-Identifier: GPL-3.0-or-later
// The rows every page shares: the settings table's rows of the page, and the way back.
#include "engine/text.h"
#include "gameplay/menu/menu.h"
#include "gameplay/settingstable.h"

namespace {

std::vector<std::string> Words(const char* joined)
{
    std::vector<std::string> words;
    std::string word;
    for (const char* c = joined; *c; ++c) {
        if (*c == '|') {
            words.push_back(word);
            word.clear();
        } else {
            word += *c;
        }
    }
    if (!word.empty() || !words.empty())
        words.push_back(word);
    return words;
}

}  // namespace

std::vector<MenuRow> SettingRows(MenuPage page)
{
    std::vector<MenuRow> rows;
    for (std::size_t i = 0; i < kSettingsCount; ++i) {
        const SettingInfo& info = kSettingsTable[i];
        if (!info.inMenu || info.page != page)
            continue;
        MenuRow row;
        row.label = info.label;
        row.setting = info.name;
        if (info.step > 0) {
            row.kind = MenuRow::Kind::Number;
            row.lowest = info.lowest, row.highest = info.highest, row.step = info.step;
            row.unit = info.unit;
        } else {
            row.kind = MenuRow::Kind::Choice;
            row.values = Words(info.values);
            row.shown = info.shown;  // looked up as one, so the words change with the language
        }
        rows.push_back(row);
    }
    return rows;
}

MenuRow BackRow()
{
    MenuRow row;
    row.kind = MenuRow::Kind::Back;
    row.label = N_("Zurück");
    return row;
}
