// SPDX-License-Identifier: GPL-3.0-or-later
// The game's one pseudo-random generator: numbers 0 to 32767, reseeded where the game
// says, the same sequence on every C library, so tests and recorded games repeat.
#pragma once

#include <cstdint>

class CRandom {
public:
    static constexpr int kMax = 32767;

    static void Seed(uint32_t seed);
    // The next number, 0 to kMax.
    static int Next();
    // The next number scaled to 0 ... 1 (Next() / 32767.0).
    static double Unit() { return Next() / static_cast<double>(kMax); }

    // The generator's whole state, for a test or a recording to keep and restore.
    static uint32_t GetState() { return state; }
    static void SetState(uint32_t s) { state = s; }

private:
    static uint32_t state;
};
