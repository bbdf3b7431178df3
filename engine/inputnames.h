// SPDX-License-Identifier: GPL-3.0-or-later
// The names of keys, mouse buttons and controller inputs as settings lines write them:
// the names SDL gives keys ("w", "space", "page up", "f1", "[+]", "world 73"), mouse1 to
// mouse8, joy0 to joy27, hatup, hatright, hatdown, hatleft, and axis0+ to axis7-.
#pragma once

#include <string>

// The input's name (an input number of CInputTask); "" for a number that names nothing.
std::string InputName(int input);

// The input of that name, or -1. Letters match in either case; a key SDL calls
// "world N" is also found by the letter it stands for, written in UTF-8 ("é" for
// world 73).
int FindInput(const std::string& name);
