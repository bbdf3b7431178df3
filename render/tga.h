// Provisional: the TGA reader lands separately.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TextureImage {
    std::vector<unsigned char> pixels;
    uint32_t bitsPerPixel = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t glName = 0;
    uint32_t format = 0;
};

bool LoadTga(TextureImage& image, const std::string& name);
bool LoadTextureFiles(TextureImage (&textures)[19]);
