// SPDX-License-Identifier: GPL-3.0-or-later
// The pause's state and rules; the clock keeps the time it stood still.
#include "engine/pause.h"

#include <iostream>

#include "engine/clock.h"

bool CPause::endedByClick = false;

bool CPause::IsOn() { return CClock::IsStandingStill(); }

void CPause::Set(bool pause)
{
    if (pause == IsOn())
        return;
    CClock::StandStill(pause);
    std::cout << (pause ? "Paused\n" : "Resumed\n");
}

bool CPause::Step(bool key, bool focusLost, bool clickIn)
{
    if (!IsOn()) {
        if (!key && !focusLost)
            return false;
        Set(true);
        return true;
    }
    if (key || clickIn) {
        endedByClick = clickIn && !key;
        Set(false);
    }
    return true;
}
