// Provisional uncompressed reader.
#include "render/tga.h"

#include <GL/gl.h>

#include <cstdio>
#include <iostream>

bool LoadTga(TextureImage& image, const std::string& name)
{
    const std::string path = "Resources/Textures/" + name;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        std::cout << "aaaaaaaaaaaaaaa\n";
        return false;
    }
    unsigned char h[18];
    bool ok = std::fread(h, 1, 18, f) == 18;
    if (ok) {
        image.width = h[12] | h[13] << 8;
        image.height = h[14] | h[15] << 8;
        image.bitsPerPixel = h[16];
        const uint32_t bpp = image.bitsPerPixel / 8;
        image.format = bpp == 4 ? GL_RGBA : GL_RGB;
        image.pixels.resize(static_cast<size_t>(bpp) * image.width * image.height);
        if (h[2] == 2) {
            ok = std::fread(image.pixels.data(), 1, image.pixels.size(), f) == image.pixels.size();
        } else {
            size_t px = 0, count = static_cast<size_t>(image.width) * image.height;
            unsigned char pixel[4];
            while (ok && px < count) {
                int c = std::fgetc(f);
                if (c < 0) { ok = false; break; }
                int n = (c & 127) + 1;
                if (c >= 128) ok = std::fread(pixel, 1, bpp, f) == bpp;
                for (int i = 0; ok && i < n && px < count; ++i, ++px) {
                    if (c < 128) ok = std::fread(pixel, 1, bpp, f) == bpp;
                    for (uint32_t b = 0; b < bpp; ++b) image.pixels[px * bpp + b] = pixel[b];
                }
            }
        }
        for (size_t i = 0; ok && i + 2 < image.pixels.size(); i += bpp)
            std::swap(image.pixels[i], image.pixels[i + 2]);
    }
    std::fclose(f);
    return ok;
}

bool LoadTextureFiles(TextureImage (&textures)[19])
{
    static const char* names[19] = {"water0.tga", "water1.tga", "water2.tga", "water3.tga", "floor1.tga",
        "wall1.tga", "flak.tga", "water.tga", "hobgoblin.tga", "particle.tga", "turret.tga",
        "skybox_west.tga", "skybox_south.tga", "skybox_east.tga", "skybox_north.tga", "skybox_up.tga",
        "skybox_down.tga", nullptr, "font.tga"};
    for (int i = 0; i < 19; ++i)
        if (names[i] && !LoadTga(textures[i], names[i])) {
            std::cout << "error loading texture\n";
            return false;
        }
    return true;
}
