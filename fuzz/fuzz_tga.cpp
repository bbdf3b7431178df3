// SPDX-License-Identifier: GPL-3.0-or-later
// The TGA reader on arbitrary bytes: a texture is either whole, within the budget, or empty.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "render/tga.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = velqfuzz::WriteInput("input.tga", data, size);
    TextureImage image;
    image.glName = 7;
    const velqfuzz::VerdictNotes notes;
    const bool ok = LoadTgaFile(image, path);
    notes.Check(ok);
    velqfuzz::Check(image.glName == 7, "the reader touched the GL name");
    if (!ok) {
        velqfuzz::Check(image.pixels.empty() && image.width == 0 && image.height == 0 &&
                            image.bitsPerPixel == 0 && image.format == 0,
                        "a rejected texture is not empty");
        return 0;
    }
    velqfuzz::Check(image.bitsPerPixel == 24 || image.bitsPerPixel == 32, "depth not 24 or 32");
    velqfuzz::Check(image.width > 0 && image.height > 0 && image.width <= kMaxTgaSide &&
                        image.height <= kMaxTgaSide,
                    "sides out of range");
    velqfuzz::Check(image.pixels.size() == size_t(image.width) * image.height * (image.bitsPerPixel / 8),
                    "pixel buffer and sizes disagree");
    velqfuzz::Check(image.pixels.size() <= size_t(kMaxTgaBytes), "a texture over the memory budget");
    velqfuzz::Check(image.format != 0, "no GL format");
    return 0;
}
