// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL 1.2 OpenGL window and the buffer swap.
#include "engine/videotask.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cassert>
#include <iostream>
#include <string>

#include "engine/frametimes.h"
#include "engine/inputtask.h"
#include "engine/pause.h"
#include "engine/log.h"
#include "engine/screen.h"

int CVideoTask::scrWidth = CVideoTask::kDefaultWidth;
int CVideoTask::scrHeight = CVideoTask::kDefaultHeight;
int CVideoTask::scrBPP = CVideoTask::kDefaultBPP;
int CVideoTask::fullscreen = 1;
CMMPointer<Dator<int>> CVideoTask::screenWidth;
CMMPointer<Dator<int>> CVideoTask::screenHeight;
CMMPointer<Dator<int>> CVideoTask::screenBPP;
CMMPointer<Dator<int>> CVideoTask::screenFull;

namespace {

// The desktop's size as SDL found it before any mode was set; 0 when it could not tell.
int desktopWidth = 0, desktopHeight = 0;
bool grabbed = false;
int openFullscreen = -1;  // the mode the window was last opened in

// Full screen at the desktop's size (the settings' size when it is unknown), a window
// at the settings' size.
void ModeSize(int& width, int& height)
{
    const bool desktop = CVideoTask::fullscreen && desktopWidth > 0 && desktopHeight > 0;
    width = desktop ? desktopWidth : CVideoTask::scrWidth;
    height = desktop ? desktopHeight : CVideoTask::scrHeight;
}

bool SetMode(int width, int height)
{
    const Uint32 flags = (CVideoTask::fullscreen ? SDL_FULLSCREEN : SDL_RESIZABLE) | SDL_ANYFORMAT | SDL_OPENGL;
    SDL_Surface* screen = SDL_SetVideoMode(width, height, CVideoTask::scrBPP, flags);
    if (!screen)
        return false;
    CScreen::SetWindow(screen->w, screen->h);
    openFullscreen = CVideoTask::fullscreen;
    return true;
}

bool OpenWindow()
{
    int width, height;
    ModeSize(width, height);
    if (SetMode(width, height))
        return true;
    CLog::GetSingleton().Write(LOG_CLIENT, 9, width, height, CVideoTask::scrBPP, SDL_GetError());
    return false;
}

// Only the window's new size is taken from SDL's queue; keys, mouse and focus are
// polled, and their events are not even queued, so the queue never fills up and drops
// a resize.
void TakeEventsOfResizeOnly()
{
    for (int type = 0; type < SDL_NUMEVENTS; ++type) {
        if (type != SDL_VIDEORESIZE && type != SDL_QUIT)
            SDL_EventState(static_cast<Uint8>(type), SDL_IGNORE);
    }
}

// The last size the player dragged the window to, if any.
void FollowResize()
{
    SDL_Event events[8];
    int width = 0, height = 0, n;
    while ((n = SDL_PeepEvents(events, 8, SDL_GETEVENT, SDL_VIDEORESIZEMASK)) > 0)
        width = events[n - 1].resize.w, height = events[n - 1].resize.h;
    if (width <= 0 || height <= 0 || CVideoTask::fullscreen)
        return;
    if (width == CScreen::WindowWidth() && height == CScreen::WindowHeight())
        return;
    CVideoTask::scrWidth = width, CVideoTask::scrHeight = height;
    if (!SetMode(width, height))
        std::cerr << "VELQ: cannot resize the window to " << width << "x" << height << ": " << SDL_GetError() << "\n";
}

// SDL 1.2 holds the pointer of a full-screen window whatever SDL_WM_GrabInput asks,
// so a pause lets it go, and play takes it back, through X. The keyboard stays held:
// a full-screen window without it gets no keys (there is no window manager's focus to
// give them), and the pause key has to reach the game.
void HoldPointer(bool hold)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return;
    info.info.x11.lock_func();
    Display* display = info.info.x11.display;
    if (hold)
        XGrabPointer(display, info.info.x11.window, True, 0, GrabModeAsync, GrabModeAsync, info.info.x11.window,
                     None, CurrentTime);
    else
        XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    info.info.x11.unlock_func();
}

// Playing in full screen keeps the mouse in the window; a pause lets it go.
void GrabWhilePlaying(bool modeChanged)
{
    const bool grab = CVideoTask::fullscreen && !CPause::IsOn();
    if (grab == grabbed && !modeChanged)
        return;
    SDL_WM_GrabInput(grab ? SDL_GRAB_ON : SDL_GRAB_OFF);
    if (CVideoTask::fullscreen)
        HoldPointer(grab);
    grabbed = grab;
}

// SDL's reason for the last failure.
std::string Why()
{
    const char* why = SDL_GetError();
    return why && *why ? why : "SDL gives no reason";
}

const char* ScreenKind() { return CVideoTask::fullscreen ? "full screen" : "in a window"; }

}  // namespace

bool CVideoTask::Start()
{
    assert(screenWidth && screenHeight && screenBPP);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == -1) {
        CLog::GetSingleton().Write(LOG_CLIENT, 8, "Video", SDL_GetError());
        std::cerr << "VELQ: no video: " << SDL_GetError() << "\n";
        return false;
    }
    // The order of the requests is kept as the drivers were first asked.
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
    SDL_WM_SetCaption("Velq!", "Velq!");
    if (const SDL_VideoInfo* info = SDL_GetVideoInfo())
        desktopWidth = info->current_w, desktopHeight = info->current_h;
    grabbed = false;
    TakeEventsOfResizeOnly();
    if (OpenWindow())
        return true;
    // The settings ask for a mode this display does not offer: the default mode, in a
    // window or on the full screen as asked, is the fallback.
    int width, height;
    ModeSize(width, height);
    std::cerr << "VELQ: cannot open the window of screenX=" << width << ", screenY=" << height
              << ", screenBPP=" << scrBPP << " (" << ScreenKind() << "): " << Why() << "\n";
    if (width != kDefaultWidth || height != kDefaultHeight || scrBPP != kDefaultBPP) {
        scrWidth = kDefaultWidth;
        scrHeight = kDefaultHeight;
        scrBPP = kDefaultBPP;
        desktopWidth = desktopHeight = 0;
        std::cerr << "VELQ: opening the default window instead: " << kDefaultWidth << "x" << kDefaultHeight << " at "
                  << kDefaultBPP << " bits per pixel (" << ScreenKind() << ")\n";
        if (OpenWindow())
            return true;
        std::cerr << "VELQ: cannot open the default window either: " << Why() << "\n";
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void CVideoTask::Update()
{
    // Read from the polled keys, so a replay switches where the recording did; the menu
    // sets the setting instead. The switch keeps the GL context, textures and lists.
    const bool alt = CInputTask::curKey(SDLK_LALT) || CInputTask::curKey(SDLK_RALT);
    if (alt && CInputTask::keyDown(SDLK_RETURN))
        fullscreen = !fullscreen;
    const bool toggle = fullscreen != openFullscreen;
    if (toggle) {
        if (!OpenWindow()) {
            std::cerr << "VELQ: cannot switch between window and full screen here: " << Why() << "\n";
            fullscreen = !fullscreen;
            if (!OpenWindow())
                std::cerr << "VELQ: cannot open the window again: " << Why() << "\n";
        }
    }
    FollowResize();
    GrabWhilePlaying(toggle);
    SDL_GL_SwapBuffers();
    CFrameTimes::FrameShown();
}

void CVideoTask::Stop() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
