// SPDX-License-Identifier: GPL-3.0-or-later
// Frame timer, input queries and the inputs' names, driven through the clock and the
// real input task.
#include <SDL.h>

#include "engine/clock.h"
#include "engine/inputnames.h"
#include "engine/inputtask.h"
#include "engine/timertask.h"
#include "engine/videotask.h"
#include "support/inputdevice.h"

namespace {

TEST(Timer, FrameTimeIsTheTickDifferenceInSecondsEvenAcrossTheWrap)
{
    CGlobalTimerTask timer;
    CClock::Drive(5000);
    EXPECT_TRUE(timer.Start());
    EXPECT_EQ(CGlobalTimerTask::dT, 0.0f);
    CClock::Advance(16);
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.016f);
    timer.Update();  // a frame shorter than a millisecond
    EXPECT_EQ(CGlobalTimerTask::dT, 0.0f);

    CClock::SetTicks(0xFFFFFFF0u);
    timer.Update();
    CClock::Advance(0x20);  // wraps past zero
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.032f);
    CClock::Release();
}

TEST(Input, HeldKeyOrButtonIsDownInTheFirstFrameOnlyThenStillDownAndNoQueryReadsPastTheKeys)
{
    constexpr int kKey = SDLK_a;
    velqtest::InputDevice device;
    // Held in two frames, then let go: down, still down, old; button 3 (right) as the key.
    const struct { bool held, down, stillDown, cur, old; } frames[] = {
        {true, true, false, true, false}, {true, false, true, true, true}, {false, false, false, false, true}};
    for (const auto& f : frames) {
        if (f.held)
            device.Frame({kKey}, 1u << 2 | 1u);
        else
            device.Frame();
        const bool key[] = {CInputTask::keyDown(kKey), CInputTask::keyStillDown(kKey), CInputTask::curKey(kKey),
                            CInputTask::oldKey(kKey)};
        const bool button[] = {CInputTask::mouseDown(3), CInputTask::mouseStillDown(3), CInputTask::curMouse(3),
                               CInputTask::oldMouse(3)};
        const bool want[] = {f.down, f.stillDown, f.cur, f.old};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(std::make_tuple(key[i], button[i]), std::make_tuple(want[i], want[i]))
                << "query " << i << " held " << f.held;
        EXPECT_FALSE(CInputTask::curMouse(2));
    }
    ASSERT_EQ(CInputTask::keyCount, SDLK_LAST);
    for (int outside : {int(SDLK_LAST), -1, 100000})
        EXPECT_FALSE(CInputTask::curKey(outside)) << outside;
    EXPECT_DEATH(CInputTask::oldKey(SDLK_LAST), "index<dataSize");
}

TEST(Input, EveryInputNumberReadsItsOwnKeyButtonHatOrHalfPushedAxis)
{
    velqtest::InputDevice device;
    const int a = SDLK_a, right = CInputTask::kMouseInput + 2, joy5 = CInputTask::kPadButtonInput + 5,
              up = CInputTask::kPadHatInput, axis5 = CInputTask::kPadAxisInput + 10, axis1 = CInputTask::kPadAxisInput + 2;
    const int held[] = {a, right, joy5, up, axis5, axis1 + 1};
    const int notHeld[] = {SDLK_b, CInputTask::kMouseInput, joy5 - 1, up + 2, axis5 + 1, axis1, -1, CInputTask::kInputCount};
    for (int frame = 0; frame < 2; ++frame) {
        device.Frame({a}, 1u << 2, 1u << 5 | SDL_HAT_UP << CInputTask::kPadButtons, {{5, 16384}, {1, -16384}, {0, 16383}});
        for (int input : held)
            EXPECT_EQ(std::make_tuple(CInputTask::curInput(input), CInputTask::inputDown(input),
                                      CInputTask::inputStillDown(input)),
                      std::make_tuple(true, frame == 0, frame == 1)) << input;
        for (int input : notHeld)
            EXPECT_EQ(std::make_tuple(CInputTask::curInput(input), CInputTask::oldInput(input)),
                      std::make_tuple(false, false)) << input;
    }
}

TEST(Input, NamesAreSDLsOwnFoundInEitherCaseOrAsTheLetterAndOddNamesFindNothing)
{
    const struct { int input; const char* name; } named[] = {
        {SDLK_w, "w"}, {SDLK_PAGEUP, "page up"}, {SDLK_KP_PLUS, "[+]"}, {SDLK_WORLD_73, "world 73"}, {SDLK_F15, "f15"},
        {CInputTask::kMouseInput, "mouse1"}, {CInputTask::kPadButtonInput + 27, "joy27"},
        {CInputTask::kPadHatInput + 3, "hatleft"}, {CInputTask::kPadAxisInput + 11, "axis5-"}};
    for (const auto& n : named)
        EXPECT_EQ(std::make_tuple(InputName(n.input), FindInput(n.name)), std::make_tuple(n.name, n.input));
    const struct { const char* name; int input; } found[] = {
        {"W", SDLK_w}, {"Page Up", SDLK_PAGEUP}, {"\xc3\xa9", SDLK_WORLD_73}, {"\xc2\xa0", SDLK_WORLD_0},
        {"", -1}, {"joy28", -1}, {"axis8+", -1}, {"mouse0", -1}, {"%", -1}, {"\xc3", -1}, {"\xe9", -1},
        {"\xc2\x80", -1}, {"pageup", -1}, {"w ", -1}};
    for (const auto& f : found)
        EXPECT_EQ(FindInput(f.name), f.input) << f.name;
    EXPECT_EQ(FindInput(std::string(5000, 'a')), -1);
    EXPECT_EQ(InputName(CInputTask::kInputCount), "");

    // Every key as SDL names it, once its video (here the dummy driver) has set the names up.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    for (int key = 0; key < SDLK_LAST; ++key) {
        const std::string sdl = SDL_GetKeyName(static_cast<SDLKey>(key));
        EXPECT_EQ(InputName(key), sdl == "unknown key" ? "" : sdl) << key;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    unsetenv("SDL_VIDEODRIVER");
}

TEST(Input, CursorIsNormalisedToMinusOneToOneWithYUp)
{
    const struct { int width, height, x, y; float normX, normY; } cases[] = {
        {800, 600, 400, 300, 0, 0}, {1024, 768, 0, 768, -1, -1}};
    for (const auto& c : cases) {
        CInputTask::cursorWidth = c.width, CInputTask::cursorHeight = c.height;
        CInputTask::mouseX = c.x, CInputTask::mouseY = c.y;
        EXPECT_FLOAT_EQ(CInputTask::normMouseX(), c.normX) << c.x;
        EXPECT_FLOAT_EQ(CInputTask::normMouseY(), c.normY) << c.y;
    }
    CInputTask::cursorWidth = 800, CInputTask::cursorHeight = 600;
}

}  // namespace
