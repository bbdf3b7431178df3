// SPDX-License-Identifier: GPL-3.0-or-later
// The player's controls on a written input state: pressed against held, moves and walls,
// camera, towers, sound and its volumes, toggles, level choice and quitting, the bindings'
// settings and layouts, and the controller's sticks.
#include "gameplay/handleinputtask.h"

#include <SDL.h>

#include "engine/clock.h"
#include "engine/pause.h"
#include "engine/inputtask.h"
#include "engine/settings.h"
#include "engine/videotask.h"
#include "gameplay/bindings.h"
#include "gameplay/menu/menu.h"
#include "gameplay/towerai.h"
#include "world/soundmanager.h"
#include "scene.h"
#include "support/inputdevice.h"

namespace {

using Keys = std::initializer_list<int>;
constexpr uint32_t kLeft = 1u << (SDL_BUTTON_LEFT - 1), kMiddle = 1u << (SDL_BUTTON_MIDDLE - 1),
                   kRight = 1u << (SDL_BUTTON_RIGHT - 1);

// The real weapons; while blockNorth is set a step towards +y is refused.
struct WallRules : CGameRules {
    bool CollidesWith(VMOB& m, VOB&) override { return blockNorth && m.GetNextY() > m.GetY(); }
    bool blockNorth = false;
} rules;

int channels = 0, music = 0;  // the fake mixer: sets the volume unless it is -1, returns the one before
int Volume(int& state, int v) { return std::exchange(state, v >= 0 ? v : state); }
int Channels(int channel, int v)
{
    EXPECT_EQ(channel, -1) << "all channels at once";
    return Volume(channels, v);
}
int Music(int v) { return Volume(music, v); }

class HandleInputTest : public velqtest::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        rules.blockNorth = false;
        Screen(800, 600);
        Cursor(400, 0);  // top centre: facing +y
        sound = new SoundManager(false);
        sound->SetMixer({Channels, Music});
        CGlobalTimerTask::dT = 0.5f;  // a step of 2 units at the player's speed of 4
        player = AddPlayer(20, 20);
        task.Start();
    }
    void TearDown() override
    {
        delete sound;
        player = nullptr;
        if (CSettingsManager::Exists())
            delete &CSettingsManager::GetSingleton();
        CBindings::Reset();
        SoundManager::volumeFX = SoundManager::volumeMusic = 100;
        SceneFixture::TearDown();
    }
    // The game's settings with these lines read (the bindings' defaults first); what the
    // manager reported, clashes and unknown names included.
    std::vector<std::string> Settings(std::vector<std::string> lines)
    {
        if (CSettingsManager::Exists())
            delete &CSettingsManager::GetSingleton();
        CBindings::Reset();
        std::vector<std::string> reports;
        auto* settings = new CSettingsManager();
        settings->SetReporter([&reports](const std::string& r) { reports.push_back(r); });
        CHandleInputTask::RegisterSettings(*settings);
        for (const std::string& line : lines)
            settings->ParseSetting(line, "settings.esf:1");
        for (const std::string& clash : CBindings::Clashes())
            settings->Warn(clash);
        settings->ReportUnknown();
        settings->SetReporter(nullptr);
        return reports;
    }
    IGameRules* Rules() override { return &rules; }
    void Cursor(int x, int y) { device.Cursor(x, y); }
    static void Screen(int w, int h) { CInputTask::cursorWidth = w, CInputTask::cursorHeight = h; }

    // One poll of the input task (what was down becomes the old state), then the task runs.
    void Frame(Keys down = {}, uint32_t buttonMask = 0, uint32_t pad = 0,
               std::initializer_list<std::pair<int, int16_t>> axes = {})
    {
        device.Frame(down, buttonMask, pad, axes);
        task.Update();
    }
    // Pressed in one frame, held in the next, released in the third.
    void Hold(Keys down, uint32_t mask = 0, uint32_t pad = 0, std::initializer_list<std::pair<int, int16_t>> axes = {})
    {
        Frame(down, mask, pad, axes), Frame(down, mask, pad, axes), Frame();
    }

    velqtest::InputDevice device;
    SoundManager* sound = nullptr;
    CHandleInputTask task;
    CMMPointer<Player> player;
};

TEST_F(HandleInputTest, KeysAndButtonsActWhenHeldFromTheFrameAfterTheyGoDownAndTriggersOncePerPress)
{
    Frame({SDLK_w, SDLK_TAB}, kRight);
    EXPECT_EQ(player->GetY(), 20.0f) << "pressed is not yet held";
    EXPECT_EQ(player->GetCurrentWeapon(), Player::kRocketLauncher);
    Frame({SDLK_w, SDLK_TAB}, kRight);
    EXPECT_EQ(player->GetY(), 22.0f);
    EXPECT_EQ(std::make_tuple(player->GetCurrentWeapon(), World().GetTowers().size()),
              std::make_tuple(Player::kRocketLauncher, 1u)) << "held is not pressed";
    Frame({SDLK_s});
    Frame();
    EXPECT_EQ(player->GetY(), 22.0f) << "a tap between two frames never moves";

    CClock::Advance(1001);  // the rocket launcher is ready
    Hold({}, kLeft);
    CClock::Advance(1001);
    Hold({SDLK_SPACE});
    EXPECT_EQ(World().GetMovers().size(), 2u) << "one rocket per held trigger";
}

TEST_F(HandleInputTest, EachHeldMoveMakesItsOwnTryAlongTheFacingOrItsRightHand)
{
    const struct { int mouseX, mouseY; Keys keys; bool wallNorth; float dx, dy; } cases[] = {
        {400, 0, {SDLK_w}, false, 0, 2},   {400, 0, {SDLK_DOWN}, false, 0, -2},
        {400, 0, {SDLK_a}, false, -2, 0},  {400, 0, {SDLK_RIGHT}, false, 2, 0},
        {400, 0, {SDLK_UP, SDLK_s}, false, 0, 0}, {400, 0, {SDLK_LEFT, SDLK_d}, false, 0, 0},
        {400, 0, {SDLK_w}, true, 0, 0},    {400, 0, {SDLK_w, SDLK_s}, true, 0, -2},
        {800, 0, {SDLK_w}, false, 1, 1},   // a diagonal step: 1/sqrt(2) of an axis step
        {0, 300, {SDLK_d}, false, 0, 2},
        {400, 600, {SDLK_d}, false, -2, 0},  // facing -y: the angle is +pi and keeps its sign
        {400, 300, {SDLK_w, SDLK_d}, false, 0, 0},  // cursor on the centre: no facing, no move
    };
    for (const auto& c : cases) {
        Cursor(c.mouseX, c.mouseY);
        rules.blockNorth = c.wallNorth;
        MoveTo(player, 20, 20, 1);
        Hold(c.keys);
        SCOPED_TRACE(testing::Message() << c.mouseX << "," << c.mouseY << " " << *c.keys.begin());
        EXPECT_NEAR(player->GetX(), 20 + c.dx, 1e-5);
        EXPECT_NEAR(player->GetY(), 20 + c.dy, 1e-5);
    }
}

TEST_F(HandleInputTest, PauseKeyOrLostFocusStopsClockAndControlsUntilTheKeyOrAClickThatFiresNothing)
{
    const uint32_t start = CClock::GetTicks();
    const struct { const char* how; Keys pause; uint8_t focus; Keys resume; uint32_t click; } cases[] = {
        {"pause key", {SDLK_PAUSE}, CInputTask::kAllFocus, {SDLK_PAUSE}, 0},
        {"F9", {SDLK_F9}, CInputTask::kAllFocus, {SDLK_F9}, 0},
        {"focus lost", {}, CInputTask::kMouseFocus | CInputTask::kActive, {SDLK_F9}, 0},
        {"minimised", {}, CInputTask::kMouseFocus | CInputTask::kInputFocus, {}, kLeft},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        device.Focus(c.focus);
        Frame(c.pause);
        ASSERT_TRUE(CPause::IsOn());
        CClock::Advance(5000);
        Hold({SDLK_w, SDLK_TAB, SDLK_SPACE}, kRight);
        EXPECT_EQ(CClock::GetTicks(), start) << "the game's clock stands still";
        EXPECT_EQ(player->GetY(), 20.0f);
        EXPECT_NE(player->GetCurrentWeapon(), Player::kRocketLauncher);
        EXPECT_EQ(World().GetTowers().size(), 0u);
        device.Focus(CInputTask::kAllFocus);
        Frame(c.resume, c.click);
        EXPECT_FALSE(CPause::IsOn());
        Frame(c.resume, c.click);
        Frame({}, c.click);
        EXPECT_TRUE(World().GetMovers().empty()) << "the click that resumed fires nothing while held";
        Frame();
    }
    Frame({SDLK_F9});
    device.Focus(CInputTask::kMouseFocus | CInputTask::kActive);
    Frame({}, kLeft);
    EXPECT_TRUE(CPause::IsOn()) << "a click that does not reach the window does not resume";
}

TEST_F(HandleInputTest, WithTheMenuTheControllerAloneOpensItMovesThroughItAndPlaysOn)
{
    // Start pauses, the hat or the left stick moves, A confirms, B goes back, Start plays on.
    constexpr uint32_t kStart = 1u << 7, kA = 1u << 0, kB = 1u << 1, kHatDown = 1u << 30;
    new CMenu();
    CMenu& menu = CMenu::GetSingleton();
    menu.SetSaving(false);
    velqtest::CaptureCout quiet;
    Frame({}, 0, kStart);
    ASSERT_TRUE(menu.IsOpen());
    EXPECT_TRUE(CPause::IsOn());
    const struct { uint32_t pad; int16_t stickY; MenuPage page; int row; } steps[] = {
        {kHatDown, 0, MenuPage::Main, 1},
        {kA, 0, MenuPage::Options, 0},
        {0, 32767, MenuPage::Options, 1},  // the stick pushed down past half way
        {kB, 0, MenuPage::Main, 1},
    };
    for (const auto& s : steps) {
        Frame();
        Frame({}, 0, s.pad, {{1, s.stickY}});
        EXPECT_EQ(menu.Page(), s.page) << s.pad << " " << s.stickY;
        EXPECT_EQ(menu.Selected(), s.row) << s.pad << " " << s.stickY;
    }
    Frame();
    Frame({}, 0, kStart);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_FALSE(CPause::IsOn());
    // Escape in the menu goes back, and from the top plays on: it never leaves the level.
    World().SetLevel(2);
    Hold({SDLK_F9});
    Hold({SDLK_ESCAPE});
    EXPECT_FALSE(CPause::IsOn());
    EXPECT_EQ(World().GetLevel(), 2);
    delete &menu;
}

TEST_F(HandleInputTest, NoWindowSizeOrBorderPutsThePlayerOffTheFieldOrOutOfNumbers)
{
    const int sizes[][2] = {{0, 0}, {0, 600}, {800, 0}};
    for (auto [w, h] : sizes) {
        Screen(w, h);
        Hold({SDLK_w, SDLK_d, SDLK_c, SDLK_z}, kRight | kMiddle);
        for (float v : {player->GetX(), player->GetY(), player->GetLookX(), player->GetCameraOffset(0)})
            EXPECT_TRUE(std::isfinite(v)) << w << "x" << h;
    }
    for (const auto& t : World().GetTowers())
        EXPECT_EQ(std::make_tuple(std::isfinite(t->GetX()), std::isfinite(t->GetY())), std::make_tuple(true, true));

    Screen(800, 600);
    MoveTo(player, 63.5f, 0.5f, 1);
    Cursor(800, 600);  // facing (1, -1), out over both borders
    CGlobalTimerTask::dT = 2.0f;
    Hold({SDLK_w});
    EXPECT_EQ(std::make_tuple(player->GetX(), player->GetY()), std::make_tuple(63.5f, 0.5f));
    const VOBList& listed = player->GetNode()->GetObjects();
    EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [&](VOB* o) { return o == player; }), 1) << "still listed";
}

TEST_F(HandleInputTest, CameraKeysMoveTheOffsetTenUnitsASecondAndOrbitClampsBeforeItAdds)
{
    // Each binding once, one alternative key, and two bindings at once.
    const struct { Keys keys; float dy, dz; } cases[] = {
        {{SDLK_1}, 5, 0},  {{SDLK_2}, -5, 0}, {{SDLK_MINUS}, 0, 5},     {{SDLK_PLUS}, 0, -5},
        {{SDLK_9}, -5, 5}, {{SDLK_8}, 5, -5}, {{SDLK_PAGEUP}, 5, 0}, {{SDLK_1, SDLK_9}, 0, 5}};
    for (const auto& c : cases) {
        player->SetCameraOffset(0, 0, 30);
        Hold(c.keys);
        EXPECT_EQ(std::make_tuple(player->GetCameraOffset(1), player->GetCameraOffset(2)), std::make_tuple(c.dy, 30 + c.dz))
            << *c.keys.begin();
    }

    Cursor(0, 0);  // one unit left and one up per orbit step
    for (uint32_t button : {0u, kMiddle}) {
        player->SetCameraOffset(-75.0f, 70.5f, 30.0f);
        auto orbitFrame = [&] { button ? Frame({}, button) : Frame({SDLK_c}); };
        orbitFrame(), orbitFrame();
        EXPECT_EQ(std::make_tuple(player->GetCameraOffset(0), player->GetCameraOffset(1)), std::make_tuple(-71.0f, 71.0f));
        orbitFrame(), Frame();
        EXPECT_EQ(player->GetCameraOffset(1), 71.0f) << "clamped again, then one more";
    }
}

TEST_F(HandleInputTest, TowersGoFourUnitsBehindOrInARingKeptOnTheFieldNeverOffIt)
{
    Hold({}, kRight);
    ASSERT_EQ(World().GetTowers().size(), 1u);
    const CMMPointer<Tower> behind = World().GetTowers().front();
    EXPECT_EQ(std::make_tuple(behind->GetX(), behind->GetY()), std::make_tuple(20.0f, 16.0f));
    EXPECT_NE(behind->GetNode(), nullptr);
    EXPECT_EQ(static_cast<VOB*>(World().GetAllObjects().back()), static_cast<VOB*>(behind));
    MoveTo(player, 20, 2, 1);
    Hold({}, kRight);  // behind is y = -2
    EXPECT_EQ(World().GetTowers().size(), 1u);

    // x of the first ring tower and of the ninth, opposite it.
    const float cases[][3] = {{32, 33, 31}, {0.5f, 1.5f, 0}, {63.5f, 63, 62.5f}, {63, 64, 62}};
    for (auto [x, east, west] : cases) {
        World().ClearLevel();
        MoveTo(player, x, 32, 1);
        Hold({SDLK_z});
        auto towers = World().GetTowers();
        ASSERT_EQ(towers.size(), 16u);
        for (const auto& t : towers)
            EXPECT_EQ(std::make_tuple(t->GetZ(), t->GetNode() != nullptr), std::make_tuple(0.5f, true));
        EXPECT_FLOAT_EQ(towers.front()->GetX(), east) << x;
        EXPECT_FLOAT_EQ((*std::next(towers.begin(), 8))->GetX(), west) << x;
    }
}

TEST_F(HandleInputTest, ToggleKeysFlipTheirOwnToggleAndTheSoundKeyEachVolumeByItsOwnStateBackToTheSetOne)
{
    velqtest::CaptureCout out;
    const int volumes[][4] = {{128, 128, 0, 0}, {0, 0, 128, 128}, {0, 64, 128, 0}, {5, 0, 0, 128}};
    for (auto [ch, mu, chAfter, muAfter] : volumes) {
        channels = ch, music = mu;
        Hold({SDLK_m});
        EXPECT_EQ(std::make_tuple(channels, music), std::make_tuple(chAfter, muAfter)) << ch << " " << mu;
    }
    // The volumes set are the mixer's at start and after every unmute.
    Settings({"volumeFX=50", "volumeMusic=30"});
    sound->ApplyVolumes();
    EXPECT_EQ(std::make_tuple(channels, music), std::make_tuple(64, 38));
    Hold({SDLK_m}), Hold({SDLK_m});
    EXPECT_EQ(std::make_tuple(channels, music), std::make_tuple(64, 38));
    sound->SetMixer({nullptr, nullptr});  // silent
    Hold({SDLK_m});
    EXPECT_NE(out.Text().find("Sound off\nSound on: effects 50 %, music 30 %\nSound: none (started with -sound)\n"),
              std::string::npos) << out.Text();
    // Every toggle key flips its own toggle alone, shown for 2.5 s from the press.
    const std::pair<int, Toggle> toggleKeys[] = {
        {SDLK_F1, Toggle::Help},  {SDLK_F2, Toggle::Scenegraph}, {SDLK_F3, Toggle::Fps},
        {SDLK_F4, Toggle::Reflections}, {SDLK_F5, Toggle::Skybox}, {SDLK_F6, Toggle::Boxes},
        {SDLK_p, Toggle::Paths},  {SDLK_y, Toggle::Shadowmap},   {SDLK_F7, Toggle::Wireframe},
        {SDLK_F8, Toggle::Displaylists}};
    static_assert(std::size(toggleKeys) == kToggleCount);
    for (auto [key, toggle] : toggleKeys) {
        uint8_t was[kToggleCount];
        for (int i = 0; i < kToggleCount; ++i)
            was[i] = World().GetToggle(static_cast<Toggle>(i));
        CClock::Advance(100);
        Hold({key});
        for (int i = 0; i < kToggleCount; ++i) {
            const Toggle t = static_cast<Toggle>(i);
            EXPECT_EQ(World().GetToggle(t), t == toggle ? 1 - was[i] : was[i]) << key << " " << i;
            EXPECT_EQ(World().GetToggleShownUntil(t) == CClock::GetTicks() + 2500, t == toggle) << key << " " << i;
        }
    }
}

TEST_F(HandleInputTest, LevelKeysPickTheLastInOrderAndEscapeLeavesThenEndsTheRun)
{
    // Escape is taken after the level keys.
    CKernel* kernel = new CKernel();
    CMMPointer<ITask> other = new CTowerAITask();
    kernel->AddTask(other);
    const struct { Keys keys; int32_t level; } cases[] = {
        {{SDLK_8}, 4}, {{SDLK_5, SDLK_7}, 3}, {{SDLK_6, SDLK_5}, 2}, {{SDLK_5, SDLK_ESCAPE}, 0}};
    for (const auto& c : cases) {
        World().SetLevel(0);
        Hold(c.keys);
        EXPECT_EQ(World().GetLevel(), c.level);
    }
    CMMPointer<Player> old = player;  // a new player in the slot is the one that moves
    player = AddPlayer(40, 40);
    Hold({SDLK_w});
    EXPECT_EQ(std::make_tuple(player->GetY(), old->GetY()), std::make_tuple(42.0f, 20.0f));
    World().SetActor(nullptr, GameWorld::kPlayerSlot);  // without one the game keys work
    Hold({SDLK_w, SDLK_6});
    EXPECT_EQ(World().GetLevel(), 2);
    Hold({SDLK_ESCAPE});
    EXPECT_EQ(std::make_tuple(World().GetLevel(), other->canKill), std::make_tuple(0, false));
    velqtest::CaptureCout out;
    Hold({SDLK_ESCAPE});
    EXPECT_EQ(out.Text(), "VELQ KillAllTasks\n");
    EXPECT_TRUE(other->canKill);
    delete kernel;
}

TEST_F(HandleInputTest, BindingLinesRebindOverTheLayoutAndBadOnesAreReportedKeepingTheKeys)
{
    const std::string line = "settings.esf:1: \"";
    const struct { std::vector<std::string> lines; const char* setting; const char* value; std::string report; } cases[] = {
        {{"key.fire=F,Mouse3"}, "key.fire", "f,mouse3", "mouse3: key.fire and key.tower both act on it"},
        {{"key.fire=,,x"}, "key.fire", ",,x", ""},  // the comma key, then x
        {{"key.fire=\xc3\xa9"}, "key.fire", "world 73", ""},
        {{"key.ring=none", "pad.fire=joy1"}, "pad.fire", "joy1", ""},
        {{"layout=azerty"}, "key.ring", "w", ""},
        {{"key.forward=x", "layout=azerty"}, "key.forward", "x", ""},  // the player's own, whatever the order
        {{"layout=qwertz"}, "key.shadowmap", "z", ""},
        {{"key.fire=spce"}, "key.fire", "space,mouse1",
         line + "key.fire=spce\": no key is called \"spce\"; key.fire stays space,mouse1"},
        {{"key.fire="}, "key.fire", "space,mouse1", line + "key.fire=\": names no key (none unbinds); key.fire stays space,mouse1"},
        {{"key.fire=a,b,c"}, "key.fire", "space,mouse1", line + "key.fire=a,b,c\": one or two keys, not 3; key.fire stays space,mouse1"},
        {{"key.fire=\xff\x01"}, "key.fire", "space,mouse1", line + "key.fire=\\xFF\\x01\": no key is called \"\\xFF\\x01\"; key.fire stays space,mouse1"},
        {{"key.fire=" + std::string(5000, 'x')}, "key.fire", "space,mouse1", "no key is called \"xxxxxxxxxxxxxxxxxxxx...\""},
        {{"layout=dvorak"}, "layout", "qwerty", "must be qwerty, azerty or qwertz; layout stays qwerty"},
        {{"volumeFX=300", "volumeMusic=-5"}, "volumeFX", "100", line + "volumeFX=300\": must be 0 to 100; volumeFX stays 100"},
        {{"key.jump=space"}, "key.fire", "space,mouse1", line + "key.jump=space\": no such setting; ignored"},
        {{"key.ring=tab"}, "key.ring", "tab", "tab: key.weapon and key.ring both act on it"},
        {{"key.fire=escape", "key.quit=q"}, "key.quit", "q", "escape: key.fire and quit (Escape always quits) both act on it"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> reports = Settings(c.lines);
        const std::string what = c.lines.front().substr(0, 40);
        EXPECT_EQ(CSettingsManager::GetSingleton().Values()[c.setting], c.value) << what;
        const std::string first = reports.empty() ? "" : reports[0];
        if (c.report.empty())
            EXPECT_EQ(first, "") << what;
        else
            EXPECT_NE(first.find(c.report), std::string::npos) << what << ": " << first;
    }
    EXPECT_EQ(Settings({"layout=azerty"}), std::vector<std::string>{}) << "a layout's own keys clash with nothing new";
}

TEST_F(HandleInputTest, ActionsActOnTheirNewKeysOnlyAndEscapeAlwaysLeaves)
{
    Settings({"key.fire=f", "layout=azerty", "key.quit=q", "pad.tower=joy1"});
    CClock::Advance(1001);
    Hold({SDLK_SPACE});
    EXPECT_TRUE(World().GetMovers().empty()) << "space fires no more";
    Hold({SDLK_f});
    EXPECT_FALSE(World().GetMovers().empty());
    Hold({SDLK_z});
    EXPECT_EQ(std::make_tuple(player->GetY(), World().GetTowers().size()), std::make_tuple(22.0f, 0u)) << "z walks forward";
    Hold({SDLK_w});
    EXPECT_EQ(World().GetTowers().size(), 16u) << "w, where z is on a qwerty keyboard, places the ring";
    Hold({}, 0, 1u << 1);
    EXPECT_EQ(World().GetTowers().size(), 17u) << "the controller's button 1";
    for (int key : {SDLK_q, SDLK_ESCAPE}) {
        World().SetLevel(2);
        Hold({key});
        EXPECT_EQ(World().GetLevel(), 0) << key;
    }
}

TEST_F(HandleInputTest, SticksWalkTheWayTheyPointAndAimPastTheDeadZoneUntilTheMouseMoves)
{
    const struct { int16_t x, y; int zone; float wantX, wantY; } sticks[] = {
        {0, 0, 0, 0, 0},  {6553, 0, 20, 0, 0} /* on the edge */, {32767, 0, 20, 1, 0}, {0, -32768, 20, 0, 1},
        {16384, 0, 20, 0.375f, 0}, {-32768, 32767, 0, -0.70711f, -0.70711f}, {0, 32767, 90, 0, -1}};
    for (const auto& s : sticks) {
        const CBindings::Stick got = CBindings::StickFrom(s.x, s.y, s.zone);
        EXPECT_NEAR(got.x, s.wantX, 1e-4f) << s.x << "," << s.y;
        EXPECT_NEAR(got.y, s.wantY, 1e-4f) << s.x << "," << s.y;
    }
    // Unlike a key, a stick walks in the frame it is pushed.
    Frame({}, 0, 0, {{0, 32767}, {1, -32767}});
    EXPECT_NEAR(player->GetX(), 21.0f, 1e-5f) << "a diagonal walk as the keys' diagonal";
    EXPECT_NEAR(player->GetY(), 21.0f, 1e-5f);
    MoveTo(player, 20, 20, 1);
    Frame({}, 0, 0, {{3, -32767}});
    Frame();
    EXPECT_EQ(std::make_tuple(player->GetLookX(), player->GetLookY()), std::make_tuple(-1.0f, 0.0f))
        << "the stick's facing stays";
    Cursor(400, 599);
    Frame();
    EXPECT_EQ(std::make_tuple(player->GetLookX(), player->GetLookY() < 0.0f), std::make_tuple(0.0f, true))
        << "until the mouse moves";
    Settings({"padDeadZone=50"});
    Frame({}, 0, 0, {{1, -16000}});
    EXPECT_EQ(std::make_tuple(player->GetX(), player->GetY()), std::make_tuple(20.0f, 20.0f)) << "within half the travel";
}

}  // namespace
