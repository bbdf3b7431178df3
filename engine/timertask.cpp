// SPDX-License-Identifier: GPL-3.0-or-later
// Frame time from the engine clock; the unsigned difference survives a tick wrap.
#include "engine/timertask.h"

#include "engine/clock.h"

float CGlobalTimerTask::dT = 0;
uint32_t CGlobalTimerTask::lastFrameIndex = 0;
uint32_t CGlobalTimerTask::thisFrameIndex = 0;

bool CGlobalTimerTask::Start()
{
    thisFrameIndex = CClock::GetTicks();
    lastFrameIndex = thisFrameIndex;
    dT = 0;
    return true;
}

void CGlobalTimerTask::Update()
{
    lastFrameIndex = thisFrameIndex;
    thisFrameIndex = CClock::GetTicks();
    dT = static_cast<float>(static_cast<uint32_t>(thisFrameIndex - lastFrameIndex) / 1000.0);
}

void CGlobalTimerTask::Stop() {}
