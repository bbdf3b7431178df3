// SPDX-License-Identifier: GPL-3.0-or-later
// The display toggles: one row each, with the name its notice shows and whether it is
// on when the game starts. The order is the state hash's and the HUD's.
#pragma once

#include <cstddef>

enum class Toggle : int {
    Help, Scenegraph, Fps, Reflections, Skybox, Boxes, Paths, Shadowmap, Wireframe, Displaylists,
    Count
};
constexpr int kToggleCount = static_cast<int>(Toggle::Count);

struct ToggleRow {
    Toggle toggle;
    const char* name;  // as its notice shows it
    bool initial;
};
// clang-format off
constexpr ToggleRow kToggleTable[] = {
    // toggle                 name            initial
    {Toggle::Help,         "Hilfe",        false},
    {Toggle::Scenegraph,   "Scenegraph",   false},
    {Toggle::Fps,          "FPS",          true},
    {Toggle::Reflections,  "Reflexionen",  true},
    {Toggle::Skybox,       "Skybox",       false},
    {Toggle::Boxes,        "Boundingbox",  false},
    {Toggle::Paths,        "Pfade",        false},
    {Toggle::Shadowmap,    "Shadowmap",    false},
    {Toggle::Wireframe,    "Wireframe",    false},
    {Toggle::Displaylists, "Displaylists", true},
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
