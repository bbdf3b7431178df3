// This frame's keys and mouse turned into the player's actions and the game's switches.
#include "gameplay/handleinputtask.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <iostream>

#include "engine/inputtask.h"
#include "engine/timertask.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"

CHandleInputTask::Mixer CHandleInputTask::mixer = {Mix_Volume, Mix_VolumeMusic};

namespace {

constexpr int kNoKey = -1;

// A binding held by either of two keys.
bool Held(int key, int alternative)
{
    return CInputTask::keyStillDown(key) || (alternative != kNoKey && CInputTask::keyStillDown(alternative));
}

// The four moves, tried in this order, each as a share of forward and right.
struct MoveKey {
    int key, alternative;
    float forward, right;
};
enum { kMoveBindings = 4 };
// clang-format off
constexpr MoveKey kMoveKeys[] = {
    // key        alternative  forward  right
    {SDLK_UP,     SDLK_w,       1.0f,    0.0f},
    {SDLK_DOWN,   SDLK_s,      -1.0f,    0.0f},
    {SDLK_LEFT,   SDLK_a,       0.0f,   -1.0f},
    {SDLK_RIGHT,  SDLK_d,       0.0f,    1.0f},
};
// clang-format on
static_assert(sizeof(kMoveKeys) / sizeof(kMoveKeys[0]) == kMoveBindings, "one row per move");

// Held keys that move the camera offset, in units per second of the camera rate.
struct CameraKey {
    int key, alternative;
    float dz, dy;
};
enum { kCameraBindings = 6 };
// clang-format off
constexpr CameraKey kCameraKeys[] = {
    // key         alternative     z      y
    {SDLK_1,       SDLK_PAGEUP,    0.0f,  1.0f},
    {SDLK_2,       SDLK_PAGEDOWN,  0.0f, -1.0f},
    {SDLK_MINUS,   SDLK_o,         1.0f,  0.0f},
    {SDLK_PLUS,    SDLK_i,        -1.0f,  0.0f},
    {SDLK_9,       kNoKey,         1.0f, -1.0f},
    {SDLK_8,       kNoKey,        -1.0f,  1.0f},
};
// clang-format on
static_assert(sizeof(kCameraKeys) / sizeof(kCameraKeys[0]) == kCameraBindings, "one row per camera binding");

// The display toggles' keys, in the order they are tested.
struct ToggleKey {
    int key;
    int toggle;
};
// clang-format off
constexpr ToggleKey kToggleKeys[] = {
    {SDLK_F1, 0}, {SDLK_F2, 1}, {SDLK_F3, 2}, {SDLK_F4, 3}, {SDLK_F5, 4},
    {SDLK_F6, 5}, {SDLK_F7, 8}, {SDLK_F8, 9}, {SDLK_p,  6}, {SDLK_y,  7},
};
// clang-format on
static_assert(sizeof(kToggleKeys) / sizeof(kToggleKeys[0]) == GameWorld::kToggleCount, "one key per toggle");

// The level keys; tested in this order, so the last one pressed wins.
struct LevelKey {
    int key;
    int32_t level;
};
enum { kPlayableLevels = 4 };
constexpr LevelKey kLevelKeys[] = {{SDLK_5, 1}, {SDLK_6, 2}, {SDLK_7, 3}, {SDLK_8, 4}};
static_assert(sizeof(kLevelKeys) / sizeof(kLevelKeys[0]) == kPlayableLevels, "one key per level");

constexpr int32_t kSelectionLevel = 0;
constexpr int kFullVolume = 128;  // MIX_MAX_VOLUME
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
    return true;
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
    const float cursorX = Finite(CInputTask::normMouseX());
    const float cursorY = Finite(CInputTask::normMouseY());
    // Without a player (a map without a start cell) the game-wide keys still work, so
    // the level can be left.
    if (player)
        Steer(cursorX, cursorY);
    if (CInputTask::keyDown(SDLK_m))
        SwitchSound();
    GameKeys();
}

void CHandleInputTask::Steer(float cursorX, float cursorY)
{
    const float dt = CGlobalTimerTask::dT;

    // The player faces from the window centre towards the cursor.
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
            if (Held(m.key, m.alternative))
                Move(step * (m.forward * forwardX + m.right * rightX),
                     step * (m.forward * forwardY + m.right * rightY));
        }
    }

    if (CInputTask::keyStillDown(SDLK_SPACE) || CInputTask::mouseStillDown(SDL_BUTTON_LEFT))
        player->Fire();  // the weapon keeps its own rate
    if (CInputTask::mouseStillDown(SDL_BUTTON_MIDDLE) || CInputTask::keyStillDown(SDLK_c)) {
        // Clamped before the step, so an axis may stand up to one unit beyond the limit.
        const float x = std::fmax(-kOrbitLimit, std::fmin(kOrbitLimit, player->GetCameraOffset(0)));
        const float y = std::fmax(-kOrbitLimit, std::fmin(kOrbitLimit, player->GetCameraOffset(1)));
        player->SetCameraOffset(x + cursorX, y + cursorY, player->GetCameraOffset(2));
    }
    if (CInputTask::mouseDown(SDL_BUTTON_RIGHT))
        PlaceTower(player->GetX() - kTowerBehind * forwardX, player->GetY() - kTowerBehind * forwardY, 0.0f);
    if (CInputTask::keyDown(SDLK_TAB))
        player->NextWeapon();
    if (CInputTask::keyDown(SDLK_z))
        PlaceRing();
}

void CHandleInputTask::MoveCamera(float dt)
{
    const float change = kCameraRate * dt;
    float y = player->GetCameraOffset(1);
    float z = player->GetCameraOffset(2);
    for (const CameraKey& k : kCameraKeys) {
        if (Held(k.key, k.alternative)) {
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

void CHandleInputTask::SwitchSound()
{
    // Channels and music are switched each on its own state.
    mixer.channelVolume(-1, mixer.channelVolume(-1, -1) != 0 ? 0 : kFullVolume);
    mixer.musicVolume(mixer.musicVolume(-1) != 0 ? 0 : kFullVolume);
}

void CHandleInputTask::GameKeys()
{
    GameWorld& world = GameWorld::GetSingleton();
    for (const ToggleKey& t : kToggleKeys) {
        if (CInputTask::keyDown(t.key))
            world.FlipToggle(t.toggle);
    }
    for (const LevelKey& l : kLevelKeys) {
        if (CInputTask::keyDown(l.key))
            world.SetLevel(l.level);
    }
    // Tested after the level keys, so it wins over a level key of the same frame.
    if (CInputTask::keyDown(SDLK_ESCAPE)) {
        if (world.GetLevel() != kSelectionLevel) {
            world.SetLevel(kSelectionLevel);
        } else {
            std::cout << "VELQ KillAllTasks\n";
            CKernel::GetSingleton().KillAllTasks();
        }
    }
}
