// The SDL 1.2 OpenGL window and the buffer swap.
#include "engine/videotask.h"

#include <SDL.h>

#include <cassert>
#include <iostream>
#include <string>

#include "engine/frametimes.h"
#include "engine/inputtask.h"
#include "engine/log.h"

int CVideoTask::scrWidth = CVideoTask::kDefaultWidth;
int CVideoTask::scrHeight = CVideoTask::kDefaultHeight;
int CVideoTask::scrBPP = CVideoTask::kDefaultBPP;
int CVideoTask::fullscreen = 1;
CMMPointer<Dator<int>> CVideoTask::screenWidth;
CMMPointer<Dator<int>> CVideoTask::screenHeight;
CMMPointer<Dator<int>> CVideoTask::screenBPP;
CMMPointer<Dator<int>> CVideoTask::screenFull;

namespace {

bool OpenWindow()
{
    const Uint32 flags = (CVideoTask::fullscreen ? SDL_FULLSCREEN : 0) | SDL_ANYFORMAT | SDL_OPENGL;
    if (SDL_SetVideoMode(CVideoTask::scrWidth, CVideoTask::scrHeight, CVideoTask::scrBPP, flags))
        return true;
    CLog::GetSingleton().Write(LOG_CLIENT, 9, CVideoTask::scrWidth, CVideoTask::scrHeight, CVideoTask::scrBPP,
                               SDL_GetError());
    return false;
}

// SDL's reason for the last failure.
std::string Why()
{
    const char* why = SDL_GetError();
    return why && *why ? why : "SDL gives no reason";
}

const char* Screen() { return CVideoTask::fullscreen ? "full screen" : "in a window"; }

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
    if (OpenWindow())
        return true;
    // The settings ask for a mode this display does not offer: the default mode, in a
    // window or on the full screen as asked, is the fallback.
    std::cerr << "VELQ: cannot open the window of screenX=" << scrWidth << ", screenY=" << scrHeight
              << ", screenBPP=" << scrBPP << " (" << Screen() << "): " << Why() << "\n";
    if (scrWidth != kDefaultWidth || scrHeight != kDefaultHeight || scrBPP != kDefaultBPP) {
        scrWidth = kDefaultWidth;
        scrHeight = kDefaultHeight;
        scrBPP = kDefaultBPP;
        std::cerr << "VELQ: opening the default window instead: " << kDefaultWidth << "x" << kDefaultHeight << " at "
                  << kDefaultBPP << " bits per pixel (" << Screen() << ")\n";
        if (OpenWindow())
            return true;
        std::cerr << "VELQ: cannot open the default window either: " << Why() << "\n";
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void CVideoTask::Update()
{
    // Read from the polled keys, so a replay switches where the recording did. The
    // switch keeps the GL context, textures and lists with it.
    const bool alt = CInputTask::curKey(SDLK_LALT) || CInputTask::curKey(SDLK_RALT);
    if (alt && CInputTask::keyDown(SDLK_RETURN)) {
        SDL_Surface* screen = SDL_GetVideoSurface();
        if (screen && SDL_WM_ToggleFullScreen(screen))
            fullscreen = !fullscreen;
        else
            std::cerr << "VELQ: cannot switch between window and full screen here\n";
    }
    SDL_GL_SwapBuffers();
    CFrameTimes::FrameShown();
}

void CVideoTask::Stop() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
