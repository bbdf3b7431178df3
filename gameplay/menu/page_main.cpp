// SPDX-License-Identifier: GPL-3.0-or-later
// The pause's own page: play on, the options, and leaving the level or the game.
#include "engine/text.h"
#include "gameplay/menu/menu.h"

MenuPageRows MainPage(bool onLevel)
{
    MenuPageRows page{N_("PAUSE"), {}};
    MenuRow resume, options, leave;
    resume.label = N_("Weiter");
    resume.command = MenuCommand::Resume;
    options.kind = MenuRow::Kind::Open;
    options.label = N_("Optionen");
    options.page = MenuPage::Options;
    leave.label = onLevel ? N_("Level verlassen") : N_("Beenden");
    leave.command = onLevel ? MenuCommand::LeaveLevel : MenuCommand::Quit;
    page.rows = {resume, options, leave};
    return page;
}
