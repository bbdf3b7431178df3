// SPDX-License-Identifier: GPL-3.0-or-later
// A linear congruential generator with a 15-bit output, as desktop C libraries of old
// had it: the game's numbers were tuned against that range.
#include "engine/random.h"

#include "engine/recording.h"

uint32_t CRandom::state = 1;

// A recorded game notes every seed; a replayed one takes the recorded seed instead.
void CRandom::Seed(uint32_t seed) { state = CGameRecording::Seed(seed); }

int CRandom::Next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}
