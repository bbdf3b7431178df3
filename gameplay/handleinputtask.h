// SPDX-License-Identifier: GPL-3.0-or-later
// The player's controls: aim, moves, fire, weapons, towers, camera, and the game-wide
// switches (sound, display toggles, level choice, quit), each on the keys, buttons and
// sticks bound to it.
#pragma once

#include "engine/kernel.h"

class CSettingsManager;
class Player;

class CHandleInputTask : public ITask {
public:
    bool Start() override;
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    // The mixer's volume controls; a test puts its own in place of SDL_mixer's. Null
    // when the game plays silently.
    struct Mixer {
        int (*channelVolume)(int channel, int volume);  // channel -1: the mean of all
        int (*musicVolume)(int volume);                 // volume -1: only asks
    };
    static Mixer mixer;
    // The effects' and the music's volume in percent (settings volumeFX, volumeMusic):
    // set at start, and what the sound key returns to after muting.
    static int volumeFX, volumeMusic;
    // Sets the mixer to them; before any sound plays.
    static void ApplyVolumes();
    // The volumes and every binding (CBindings) as settings.
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
    // The pause key, or the window losing the keyboard or being minimised, stops the
    // game's clock; the pause key again, or a click into the window, lets it go on.
    // True while the game stands still, the frame it goes on included.
    bool Paused();
    static void SwitchSound();
    static void GameKeys();

    Player* player = nullptr;  // not owning: actor slot 1 keeps it alive
    bool stickAims = false;
    float stickX = 0.0f, stickY = 0.0f;  // the right stick's last direction, of length 1
    int lastMouseX = 0, lastMouseY = 0;
    bool fireReleased = true;  // false after a click ended the pause, until fire is let go
};
