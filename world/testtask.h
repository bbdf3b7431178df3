// SPDX-License-Identifier: GPL-3.0-or-later
// The game-flow task: loads the selection level at start, and each frame checks for a
// win and loads the level the player asked for.
#pragma once

#include <cstdint>

#include "engine/kernel.h"
#include "world/maploader.h"

class TestTask : public ITask {
public:
    static constexpr int kPriority = 100;
    static constexpr int kLevelCount = 5;
    // The cell map of each level number.
    static const char* const kLevelMaps[kLevelCount];

    TestTask();

    bool Start() override;
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    int32_t GetCurrentLevel() const { return currentLevel; }

private:
    // Commits every object of the level and inserts it into the scene graph.
    void PlaceLevelObjects();
    void ChangeLevel(int32_t level);

    MapLoader mapLoader;
    int32_t currentLevel;
};
