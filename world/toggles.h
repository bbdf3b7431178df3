// SPDX-License-Identifier: GPL-3.0-or-later
// The display toggles: one row each, with the name its notice shows and whether it is
// on when the game starts. The order is the state hash's and the HUD's.
#pragma once

#include <cstddef>

#include "engine/text.h"

enum class Toggle : int {
    Help, Scenegraph, Fps, Reflections, Skybox, Boxes, Paths, Shadowmap, Wireframe, Displaylists,
    Count
};
constexpr int kToggleCount = static_cast<int>(Toggle::Count);

struct ToggleRow {
    Toggle toggle;
    const char* name;  // as its notice shows it, in German: show it through Tr
    bool initial;
};
// clang-format off
constexpr ToggleRow kToggleTable[] = {
    // toggle                 name                initial
    // TRANSLATORS: the toggles' notices; ": ON" or ": OFF" follows 164 pixels from the
    // left, so a name of more than 12 letters runs into it.
    {Toggle::Help,         N_("Hilfe"),        false},
    {Toggle::Scenegraph,   N_("Scenegraph"),   false},
    {Toggle::Fps,          N_("FPS"),          true},
    {Toggle::Reflections,  N_("Reflexionen"),  true},
    {Toggle::Skybox,       N_("Skybox"),       false},
    {Toggle::Boxes,        N_("Boundingbox"),  false},
    {Toggle::Paths,        N_("Pfade"),        false},
    {Toggle::Shadowmap,    N_("Shadowmap"),    false},
    {Toggle::Wireframe,    N_("Wireframe"),    false},
    {Toggle::Displaylists, N_("Displaylists"), true},
};
// clang-format on
static_assert(sizeof kToggleTable / sizeof kToggleTable[0] == static_cast<std::size_t>(kToggleCount),
              "one row per toggle");
constexpr bool TogglesInOrder()
{
    for (int i = 0; i < kToggleCount; ++i)
        if (static_cast<int>(kToggleTable[i].toggle) != i)
            return false;
    return true;
}
static_assert(TogglesInOrder(), "the rows in the order of the toggles");

constexpr const char* ToggleName(Toggle t) { return kToggleTable[static_cast<int>(t)].name; }
