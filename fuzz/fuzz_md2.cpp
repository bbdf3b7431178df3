// SPDX-License-Identifier: GPL-3.0-or-later
// The MD2 loader on arbitrary bytes: a model is either empty or holds together well
// enough to be animated and drawn.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "world/md2loader.h"
#include "world/md2model.h"

namespace {

void CheckLoaded(MD2Model& model)
{
    using velqfuzz::Check;
    const int32_t count = model.frameCount;
    Check(count >= 0 && size_t(count) == model.frames.size(), "frame count and frames disagree");
    Check(size_t(model.animationCount) == model.animations.size(), "animation count and list disagree");
    if (count == 0) {
        Check(model.animations.empty(), "animations without frames");
        model.ComputeBox();
        return;
    }
    const MD2Frame& mesh = *model.frames[0];
    Check(mesh.triangles.size() == size_t(mesh.triangleCount) * 6, "triangle list and count disagree");
    Check(mesh.texCoords.size() == size_t(mesh.texCoordCount) * 2, "texture coordinates and count disagree");
    for (int32_t t = 0; t < mesh.triangleCount; ++t) {
        for (int c = 0; c < 3; ++c) {
            const int32_t v = mesh.triangles[size_t(t) * 6 + c];
            const int32_t tc = mesh.triangles[size_t(t) * 6 + 3 + c];
            Check(v >= 0 && v < mesh.vertexCount, "triangle vertex index out of range");
            Check(mesh.texCoordCount == 0 || (tc >= 0 && tc < mesh.texCoordCount),
                  "triangle texture index out of range");
        }
    }
    for (const auto& frame : model.frames) {
        Check(frame != nullptr, "missing frame");
        Check(frame->vertexCount == mesh.vertexCount, "frames of different vertex counts");
        Check(frame->vertices.size() == size_t(frame->vertexCount) * 3, "vertices and count disagree");
        Check(frame->normals.size() == size_t(frame->vertexCount) * 3, "normals and count disagree");
    }
    for (const MD2Animation& anim : model.animations)
        Check(anim.start >= 0 && anim.start <= anim.end && anim.end < count, "animation outside the frames");

    // What drawing does with it, without GL: the box, then every animation played.
    model.ComputeBox();
    for (int32_t a = 0; a < model.animationCount; ++a) {
        model.SetAnimation(a, 0);
        for (int step = 0; step < 8; ++step) {
            int32_t next = 0;
            float t = 0.0f;
            model.AdvanceAnimation(0.3f, next, t);
            Check(model.currentFrame >= 0 && model.currentFrame < count, "current frame outside the frames");
            Check(next >= 0 && next < count, "next frame outside the frames");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    velqfuzz::WriteInput("Resources/Models/input.md2", data, size);
    velqfuzz::InScratch here;
    MD2Model model;
    MD2Loader loader;
    const velqfuzz::VerdictNotes notes;
    const bool loaded = loader.Load(model, "input.md2");
    notes.Check(loaded);
    if (loaded) {
        velqfuzz::Check(model.loaded, "loaded but not marked so");
        CheckLoaded(model);
    } else {
        velqfuzz::Check(!model.loaded && model.frameCount == 0 && model.frames.empty() &&
                            model.animations.empty() && model.animationCount == 0,
                        "a rejected model is not empty");
    }
    return 0;
}
