// SPDX-License-Identifier: GPL-3.0-or-later
// What the player's keys, mouse buttons and controller do. Every action of the game
// takes one or two keys (or mouse buttons) and one or two controller inputs: the
// game's own, a keyboard layout's ready set (layout=azerty), or the player's own
// (key.fire=f, pad.fire=joy1) from the settings. The controller's sticks walk and aim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CSettingsManager;

enum class Action : int {
    Forward, Back, Left, Right, Fire, Weapon, Tower, Ring, Orbit,
    CameraForward, CameraBack, CameraHigher, CameraLower, CameraOut, CameraIn,
    Sound, Help, Scenegraph, Fps, Reflections, Skybox, Boxes, Paths, Shadowmap, Wireframe, Displaylists,
    Level1, Level2, Level3, Level4, Quit, Screenshot, Pause,
    Count
};

class CBindings {
public:
    static constexpr int kActions = static_cast<int>(Action::Count);
    static constexpr int kSlots = 2;  // keys per action, and controller inputs per action
    enum Device { kKeys, kPad, kDevices };

    // On any of the action's inputs: held in this frame and the last (moves, fire,
    // camera), or gone down in this frame (everything else). Quit is on Escape too,
    // whatever it is bound to, so the game can always be left.
    static bool Held(Action a);
    static bool Pressed(Action a);

    // A stick as a direction on the ground (x right, y up the screen) of length 0 to
    // 1: 0 within the dead zone (a share of full travel in percent), from there
    // growing to 1 at full travel. The axes run from -32768 to 32767, y downwards.
    struct Stick {
        float x, y;
    };
    static Stick StickFrom(int16_t axisX, int16_t axisY, int deadZone);
    // The controller's left (walk) and right (aim) sticks, with the padDeadZone setting.
    static Stick LeftStick();
    static Stick RightStick();

    // Registers layout, padDeadZone and key.NAME and pad.NAME for every action.
    static void Register(CSettingsManager& settings);
    // The game's own bindings again: the first layout, no binding of the player's.
    static void Reset();
    // The layout's own keys and pad inputs for every action; the layout and dead zone stay.
    static void ResetKeys();
    // The setting of an action's keys or pad inputs ("key.fire"), and every such name.
    static std::string SettingName(Action a, Device d);
    static std::vector<std::string> SettingNames();
    // The input (CInputTask's numbering) is one of the action's.
    static bool IsBound(Action a, Device d, int input);
    // One line for each input that two actions share where the player bound one of
    // them ("tab: key.fire and key.weapon both act on it").
    static std::vector<std::string> Clashes();
    // The bindings in force as settings lines (key.forward=w,up ... padDeadZone=20),
    // which a recording keeps so that its replay acts the same.
    static std::vector<std::string> SettingsLines();

    // The action's setting name ("forward") and its words for --help and the manual
    // page, in German (the catalogs' key: show them through Tr).
    static const char* Name(Action a);
    static const char* Words(Action a);
    // The action's inputs as a setting writes them ("w,up"; "none" when it has none).
    static std::string Names(Action a, Device d);
};
