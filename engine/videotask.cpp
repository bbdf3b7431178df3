// The SDL 1.2 OpenGL window and the buffer swap.
#include "engine/videotask.h"

#include <SDL.h>

#include <cassert>
#include <iostream>

#include "engine/frametimes.h"
#include "engine/inputtask.h"
#include "engine/log.h"

int CVideoTask::scrWidth = 800;
int CVideoTask::scrHeight = 600;
int CVideoTask::scrBPP = 16;
int CVideoTask::fullscreen = 1;
CMMPointer<Dator<int>> CVideoTask::screenWidth;
CMMPointer<Dator<int>> CVideoTask::screenHeight;
CMMPointer<Dator<int>> CVideoTask::screenBPP;
CMMPointer<Dator<int>> CVideoTask::screenFull;

bool CVideoTask::Start()
{
    assert(screenWidth && screenHeight && screenBPP);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == -1) {
        CLog::GetSingleton().Write(LOG_CLIENT, 8, "Video", SDL_GetError());
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
    const Uint32 flags = (fullscreen ? SDL_FULLSCREEN : 0) | SDL_ANYFORMAT | SDL_OPENGL;
    if (!SDL_SetVideoMode(scrWidth, scrHeight, scrBPP, flags)) {
        CLog::GetSingleton().Write(LOG_CLIENT, 9, scrWidth, scrHeight, scrBPP, SDL_GetError());
        return false;
    }
    return true;
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
