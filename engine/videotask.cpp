// The SDL 1.2 OpenGL window and the buffer swap.
#include "engine/videotask.h"

#include <SDL.h>

#include <cassert>

#include "engine/frametimes.h"
#include "engine/log.h"

int CVideoTask::scrWidth = 800;
int CVideoTask::scrHeight = 600;
int CVideoTask::scrBPP = 16;
CMMPointer<Dator<int>> CVideoTask::screenWidth;
CMMPointer<Dator<int>> CVideoTask::screenHeight;
CMMPointer<Dator<int>> CVideoTask::screenBPP;

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
    if (!SDL_SetVideoMode(scrWidth, scrHeight, scrBPP, SDL_FULLSCREEN | SDL_ANYFORMAT | SDL_OPENGL)) {
        CLog::GetSingleton().Write(LOG_CLIENT, 9, scrWidth, scrHeight, scrBPP, SDL_GetError());
        return false;
    }
    return true;
}

void CVideoTask::Update()
{
    SDL_GL_SwapBuffers();
    CFrameTimes::FrameShown();
}

void CVideoTask::Stop() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
