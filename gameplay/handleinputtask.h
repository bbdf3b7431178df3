// SPDX-License-Identifier: GPL-3.0-or-later
// The player's controls: aim, moves, fire, weapons, towers, camera, and the game-wide
// switches (sound, display toggles, level choice, quit), each on the keys, buttons and
// sticks bound to it.
#pragma once

#include "engine/kernel.h"
#include "gameplay/menu/menu.h"

class CSettingsManager;
class Player;

class CHandleInputTask : public ITask {
public:
    bool Start() override;
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    // The volumes (SoundManager), every binding (CBindings) and the kept display toggles
    // as settings.
    static void RegisterSettings(CSettingsManager& settings);

    // Towers are placed this far behind the player.
    static constexpr float kTowerBehind = 4.0f;
    static constexpr int kRingTowers = 16;
    static constexpr float kRingHeight = 0.5f;
    // Camera keys move the offset by this many units per second.
    static constexpr float kCameraRate = 10.0f;
    // Before an orbit step each offset axis is brought back within this.
    static constexpr float kOrbitLimit = 70.0f;

private:
    // The player in actor slot 1 (a new level may have put a new one there), or null.
    static Player* TakePlayer();
    // Where the player aims: the cursor, or the right stick from when it is pushed
    // until the mouse moves again.
    void Aim(float& x, float& y);
    // The player's share of the frame, in this order: aim, camera keys, moves, the
    // left stick's walk, fire, orbit, tower behind, weapon change, ring of towers.
    void Steer(float cursorX, float cursorY);
    void MoveCamera(float dt);
    // One try-move by (dx, dy).
    void Move(float dx, float dy);
    // A tower at (x, y, z); false, and no tower, when the point lies off the field.
    static bool PlaceTower(float x, float y, float z);
    void PlaceRing();
    // The pause's rules on this frame's input (CPause), and the menu over the pause;
    // true while the game stands still.
    bool Paused();
    // What the menu does on the menu's own page (leave, quit, play on).
    void Obey(MenuCommand command);
    // This frame's keys, pointer and pad in the menu's terms.
    MenuInput ForMenu();
    static void SwitchSound();
    static void GameKeys();

    Player* player = nullptr;  // not owning: actor slot 1 keeps it alive
    bool stickAims = false;
    float stickX = 0.0f, stickY = 0.0f;  // the right stick's last direction, of length 1
    int lastMouseX = 0, lastMouseY = 0;
    int menuPointerX = -1, menuPointerY = -1;
    bool fireReleased = true;  // false after a click ended the pause, until fire is let go
};
