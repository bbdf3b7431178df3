// SPDX-License-Identifier: GPL-3.0-or-later
// The hash of the game state that recorded games keep per frame and at the end.
#pragma once

#include <cstdint>

class GameWorld;

// Level, result, enemy count, the countdown's elapsed time at now, the toggles, the
// random generator's state, and for every object in order its type, position, look
// direction and size, for movers also their move direction, speed and health, and
// whether the flag is carried.
uint64_t GameStateHash(const GameWorld& world, uint32_t now);
