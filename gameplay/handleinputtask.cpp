// SPDX-License-Identifier: GPL-3.0-or-later
// This frame's keys, mouse and controller turned into the player's actions and the
// game's switches.
#include "gameplay/handleinputtask.h"

#include <cmath>
#include <iostream>

#include "engine/inputnames.h"
#include "engine/inputtask.h"
#include "engine/pause.h"
#include "engine/screen.h"
#include "engine/settings.h"
#include "engine/timertask.h"
#include "gameplay/bindings.h"
#include "gameplay/displaytoggles.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"
#include "world/soundmanager.h"

namespace {

// The four moves, tried in this order, each as a share of forward and right.
struct MoveKey {
    Action action;
    float forward, right;
};
enum { kMoveBindings = 4 };
// clang-format off
constexpr MoveKey kMoveKeys[] = {
    // action          forward  right
    {Action::Forward,   1.0f,    0.0f},
    {Action::Back,     -1.0f,    0.0f},
    {Action::Left,      0.0f,   -1.0f},
    {Action::Right,     0.0f,    1.0f},
};
// clang-format on
static_assert(sizeof(kMoveKeys) / sizeof(kMoveKeys[0]) == kMoveBindings, "one row per move");

// Held keys that move the camera offset, in units per second of the camera rate.
struct CameraKey {
    Action action;
    float dz, dy;
};
enum { kCameraBindings = 6 };
// clang-format off
constexpr CameraKey kCameraKeys[] = {
    // action                 z      y
    {Action::CameraForward,  0.0f,  1.0f},
    {Action::CameraBack,     0.0f, -1.0f},
    {Action::CameraHigher,   1.0f,  0.0f},
    {Action::CameraLower,   -1.0f,  0.0f},
    {Action::CameraOut,      1.0f, -1.0f},
    {Action::CameraIn,      -1.0f,  1.0f},
};
// clang-format on
static_assert(sizeof(kCameraKeys) / sizeof(kCameraKeys[0]) == kCameraBindings, "one row per camera binding");

// The display toggles' actions, in the order they are tested.
struct ToggleKey {
    Action action;
    Toggle toggle;
};
// clang-format off
constexpr ToggleKey kToggleKeys[] = {
    {Action::Help,      Toggle::Help},      {Action::Scenegraph,   Toggle::Scenegraph},
    {Action::Fps,       Toggle::Fps},       {Action::Reflections,  Toggle::Reflections},
    {Action::Skybox,    Toggle::Skybox},    {Action::Boxes,        Toggle::Boxes},
    {Action::Wireframe, Toggle::Wireframe}, {Action::Displaylists, Toggle::Displaylists},
    {Action::Paths,     Toggle::Paths},     {Action::Shadowmap,    Toggle::Shadowmap},
};
// clang-format on
static_assert(sizeof(kToggleKeys) / sizeof(kToggleKeys[0]) == GameWorld::kToggleCount, "one key per toggle");

// The level keys; tested in this order, so the last one pressed wins.
struct LevelKey {
    Action action;
    int32_t level;
};
enum { kPlayableLevels = 4 };
constexpr LevelKey kLevelKeys[] = {
    {Action::Level1, 1}, {Action::Level2, 2}, {Action::Level3, 3}, {Action::Level4, 4}};
static_assert(sizeof(kLevelKeys) / sizeof(kLevelKeys[0]) == kPlayableLevels, "one key per level");

constexpr int32_t kSelectionLevel = 0;
// Only +pi itself, the largest angle atan2 gives, keeps its sign.
constexpr float kPi = 3.14159265f;
// A sixteenth of the circle, in single precision.
constexpr float kRingStep = static_cast<float>(3.14159265358979323846 / 8.0);

// A window without a size gives a cursor that is no number; it counts as the centre.
float Finite(float v) { return std::isfinite(v) ? v : 0.0f; }

// Ring points are kept on the field: below 0 becomes 0, above the side one unit less.
float OntoField(float v)
{
    if (v < 0.0f)
        return 0.0f;
    if (v > SceneGraphNode::kWorldSide)
        return SceneGraphNode::kWorldSide - 1.0f;
    return v;
}

}  // namespace

bool CHandleInputTask::Start()
{
    player = TakePlayer();
    lastMouseX = CInputTask::mouseX, lastMouseY = CInputTask::mouseY;
    return true;
}

void CHandleInputTask::RegisterSettings(CSettingsManager& settings)
{
    SoundManager::RegisterSettings(settings);
    CBindings::Register(settings);
    DisplayToggles::Register(settings);
}

Player* CHandleInputTask::TakePlayer()
{
    CMMPointer<VOB> slot = GameWorld::GetSingleton().GetActor(GameWorld::kPlayerSlot);
    return dynamic_cast<Player*>(static_cast<VOB*>(slot));
}

void CHandleInputTask::Update()
{
    // Returning to the selection map puts a new player into the slot.
    player = TakePlayer();
    if (Paused())
        return;
    float aimX, aimY;
    Aim(aimX, aimY);
    // Without a player (a map without a start cell) the game-wide keys still work, so
    // the level can be left.
    if (player)
        Steer(aimX, aimY);
    if (CBindings::Pressed(Action::Sound))
        SwitchSound();
    GameKeys();
}

void CHandleInputTask::Aim(float& x, float& y)
{
    const CBindings::Stick stick = CBindings::RightStick();
    if (stick.x != 0.0f || stick.y != 0.0f) {
        const float length = std::sqrt(stick.x * stick.x + stick.y * stick.y);
        stickAims = true;
        stickX = stick.x / length, stickY = stick.y / length;
    } else if (CInputTask::mouseX != lastMouseX || CInputTask::mouseY != lastMouseY) {
        stickAims = false;
    }
    lastMouseX = CInputTask::mouseX, lastMouseY = CInputTask::mouseY;
    x = stickAims ? stickX : Finite(CInputTask::normMouseX());
    y = stickAims ? stickY : Finite(CInputTask::normMouseY());
}

void CHandleInputTask::Steer(float cursorX, float cursorY)
{
    const float dt = CGlobalTimerTask::dT;

    // The player faces from the window centre towards the cursor (or along the stick).
    player->SetLookX(cursorX);
    player->SetLookY(cursorY);
    // Divided by |dx| + |dy|, not by the length: a diagonal step covers less ground. With
    // the cursor on the centre there is no facing and so no move.
    const float sum = std::fabs(cursorX) + std::fabs(cursorY);
    const float forwardX = sum > 0.0f ? cursorX / sum : 0.0f;
    const float forwardY = sum > 0.0f ? cursorY / sum : 0.0f;

    MoveCamera(dt);
    if (sum > 0.0f) {
        // The right hand: the facing a quarter turn clockwise, from the angle in single
        // precision, normalised like the forward vector.
        float a = std::atan2(cursorX, cursorY);
        if (a < kPi)
            a = -a;
        const float c = std::cos(a);
        const float s = std::sin(a);
        const float n = std::fabs(c) + std::fabs(s);
        const float rightX = c / n;
        const float rightY = s / n;
        const float step = player->GetSpeed() * dt;
        // Every held direction makes its own try, so opposite keys cancel.
        for (const MoveKey& m : kMoveKeys) {
            if (CBindings::Held(m.action))
                Move(step * (m.forward * forwardX + m.right * rightX),
                     step * (m.forward * forwardY + m.right * rightY));
        }
    }
    // The left stick walks the way it points on the screen, as fast as it is pushed,
    // its direction normalised like the facing.
    const CBindings::Stick walk = CBindings::LeftStick();
    const float walkSum = std::fabs(walk.x) + std::fabs(walk.y);
    if (walkSum > 0.0f) {
        const float share = player->GetSpeed() * dt * std::sqrt(walk.x * walk.x + walk.y * walk.y) / walkSum;
        Move(share * walk.x, share * walk.y);
    }

    // The click that ended a pause fires nothing until it is let go.
    fireReleased = fireReleased || !CBindings::Held(Action::Fire);
    if (fireReleased && CBindings::Held(Action::Fire))
        player->Fire();  // the weapon keeps its own rate
    if (CBindings::Held(Action::Orbit)) {
        // Clamped before the step, so an axis may stand up to one unit beyond the limit.
        const float x = std::fmax(-kOrbitLimit, std::fmin(kOrbitLimit, player->GetCameraOffset(0)));
        const float y = std::fmax(-kOrbitLimit, std::fmin(kOrbitLimit, player->GetCameraOffset(1)));
        player->SetCameraOffset(x + cursorX, y + cursorY, player->GetCameraOffset(2));
    }
    if (CBindings::Pressed(Action::Tower))
        PlaceTower(player->GetX() - kTowerBehind * forwardX, player->GetY() - kTowerBehind * forwardY, 0.0f);
    if (CBindings::Pressed(Action::Weapon))
        player->NextWeapon();
    if (CBindings::Pressed(Action::Ring))
        PlaceRing();
}

void CHandleInputTask::MoveCamera(float dt)
{
    const float change = kCameraRate * dt;
    float y = player->GetCameraOffset(1);
    float z = player->GetCameraOffset(2);
    for (const CameraKey& k : kCameraKeys) {
        if (CBindings::Held(k.action)) {
            z += k.dz * change;
            y += k.dy * change;
        }
    }
    player->SetCameraOffset(player->GetCameraOffset(0), y, z);
}

void CHandleInputTask::Move(float dx, float dy)
{
    float x = player->GetX() + dx;
    float y = player->GetY() + dy;
    // Off the field the scene graph would drop the player for good (and no number is
    // never on it): such an axis stays where it is, as for every other mover.
    if (!(x > 0.0f && x < SceneGraphNode::kWorldSide))
        x = player->GetX();
    if (!(y > 0.0f && y < SceneGraphNode::kWorldSide))
        y = player->GetY();
    player->SetNextX(x);
    player->SetNextY(y);
    player->TryMove();
}

bool CHandleInputTask::PlaceTower(float x, float y, float z)
{
    SceneGraphNode* root = SceneGraph::GetSingleton().GetRoot();
    // A tower the scene graph refuses could neither find targets nor stop shots, yet it
    // would be drawn and fire: none is placed off the field.
    if (!root->Contains(x, y, z))
        return false;
    CMMPointer<Tower> tower = new Tower(x, y, z);
    GameWorld::GetSingleton().AddTower(tower);
    root->Insert(CMMPointer<VOB>(tower));
    return true;
}

void CHandleInputTask::PlaceRing()
{
    for (int i = 0; i < kRingTowers; ++i) {
        const float angle = static_cast<float>(i) * kRingStep;
        PlaceTower(OntoField(player->GetX() + std::cos(angle)), OntoField(player->GetY() + std::sin(angle)),
                   kRingHeight);
    }
}

bool CHandleInputTask::Paused()
{
    const bool wasOn = CPause::IsOn();
    const bool key = CBindings::Pressed(Action::Pause);
    const bool clickIn =
        CInputTask::mouseDown(CInputTask::kLeftButton) && CInputTask::HasFocus(CInputTask::appState);
    CMenu* menu = CMenu::Exists() ? &CMenu::GetSingleton() : nullptr;
    if (!wasOn || !menu || (!menu->Capturing() && key)) {
        // Without the menu a click anywhere plays on; with it, the menu has the clicks.
        const bool standing = CPause::Step(key, CInputTask::focusLost(), clickIn && !menu);
        if (!wasOn && CPause::IsOn() && menu)
            menu->Open(GameWorld::GetSingleton().GetLevel() != kSelectionLevel);
        if (wasOn && !CPause::IsOn()) {
            fireReleased = !CPause::EndedByClick();
            if (menu)
                menu->Close();
        }
        return standing;
    }
    Obey(menu->Step(ForMenu()));
    return true;
}

void CHandleInputTask::Obey(MenuCommand command)
{
    if (command == MenuCommand::None)
        return;
    CMenu::GetSingleton().Close();
    CPause::Set(false);
    // A click that played on fires nothing until it is let go.
    fireReleased = !CInputTask::curMouse(CInputTask::kLeftButton);
    GameWorld& world = GameWorld::GetSingleton();
    if (command == MenuCommand::LeaveLevel) {
        world.SetLevel(kSelectionLevel);
    } else if (command == MenuCommand::Quit) {
        std::cout << "VELQ KillAllTasks\n";
        CKernel::GetSingleton().KillAllTasks();
    }
}

MenuInput CHandleInputTask::ForMenu()
{
    // The arrows, Return and Escape by name; the player's own moves; the pad's hat, left
    // stick, A and B.
    static const int kUp = FindInput("up"), kDown = FindInput("down"), kLeft = FindInput("left"),
                     kRight = FindInput("right"), kReturn = FindInput("return"), kEnter = FindInput("enter"),
                     kEscape = FindInput("escape"), kHatUp = FindInput("hatup"), kHatDown = FindInput("hatdown"),
                     kHatLeft = FindInput("hatleft"), kHatRight = FindInput("hatright"),
                     kStickUp = FindInput("axis1-"), kStickDown = FindInput("axis1+"),
                     kStickLeft = FindInput("axis0-"), kStickRight = FindInput("axis0+"), kPadA = FindInput("joy0"),
                     kPadB = FindInput("joy1");
    auto down = [](std::initializer_list<int> inputs) {
        for (int input : inputs)
            if (CInputTask::inputDown(input))
                return true;
        return false;
    };
    MenuInput in;
    in.up = CBindings::Pressed(Action::Forward) || down({kUp, kHatUp, kStickUp});
    in.down = CBindings::Pressed(Action::Back) || down({kDown, kHatDown, kStickDown});
    in.left = CBindings::Pressed(Action::Left) || down({kLeft, kHatLeft, kStickLeft});
    in.right = CBindings::Pressed(Action::Right) || down({kRight, kHatRight, kStickRight});
    in.confirm = down({kReturn, kEnter, kPadA});
    in.escape = down({kEscape});
    in.back = in.escape || down({kPadB});
    // The cursor in the frame's pixels from the lower left, as the menu lays itself out.
    const int x = CInputTask::mouseX * CScreen::kFrameWidth / std::max(1, CInputTask::cursorWidth);
    const int y = CScreen::kFrameHeight - 1 - CInputTask::mouseY * CScreen::kFrameHeight / std::max(1, CInputTask::cursorHeight);
    in.pointerMoved = x != menuPointerX || y != menuPointerY;
    menuPointerX = in.pointerX = x;
    menuPointerY = in.pointerY = y;
    in.click = CInputTask::mouseDown(CInputTask::kLeftButton) && CInputTask::HasFocus(CInputTask::appState);
    for (int input = 0; input < CInputTask::kInputCount && in.pressed < 0; ++input)
        if (CInputTask::inputDown(input))
            in.pressed = input;
    CMenu::GetSingleton().SetFrame(CScreen::kFrameWidth, CScreen::kFrameHeight);
    return in;
}

void CHandleInputTask::SwitchSound()
{
    if (!SoundManager::Exists()) {
        std::cout << "Sound: none (started with -sound)\n";
        return;
    }
    std::cout << SoundManager::GetSingleton().SwitchSound() << "\n";
}

void CHandleInputTask::GameKeys()
{
    GameWorld& world = GameWorld::GetSingleton();
    for (const ToggleKey& t : kToggleKeys) {
        if (CBindings::Pressed(t.action))
            world.FlipToggle(t.toggle);
    }
    for (const LevelKey& l : kLevelKeys) {
        if (CBindings::Pressed(l.action))
            world.SetLevel(l.level);
    }
    // Tested after the level keys, so it wins over a level key of the same frame.
    if (CBindings::Pressed(Action::Quit)) {
        if (world.GetLevel() != kSelectionLevel) {
            world.SetLevel(kSelectionLevel);
        } else {
            std::cout << "VELQ KillAllTasks\n";
            CKernel::GetSingleton().KillAllTasks();
        }
    }
}
