// The game-flow task's one drawing call, kept apart so the task runs without OpenGL.
#include <GL/gl.h>

#include "world/testtask.h"

namespace {
void ClearColourBuffer() { glClear(GL_COLOR_BUFFER_BIT); }
}  // namespace

void (*TestTask::clearScreen)() = &ClearColourBuffer;
