// SPDX-License-Identifier: GPL-3.0-or-later
// PNG screenshots through libpng.
#include "render/screenshot.h"

#include <GL/glew.h>
#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <sstream>
#include <vector>

std::string ScreenshotFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/velq/screenshots";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/share/velq/screenshots";
    return std::string();
}

std::string ScreenshotName(const std::tm& when, int counter)
{
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%d_%H-%M-%S", &when);
    return "velq-" + std::string(stamp) + "-" + std::to_string(counter) + ".png";
}

bool MakeFolders(const std::string& folder, std::string& error)
{
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = part + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = folder + ": not a folder";
        return false;
    }
    return true;
}

namespace {
// libpng reports through longjmp; the message is kept for the caller.
void OnPngError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// Nothing here lives across the jump but the arguments.
bool Encode(png_structp png, png_infop info, FILE* file, int width, int height, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}
}  // namespace

bool WritePng(const std::string& path, int width, int height, const uint8_t* rgbBottomUp, std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "empty picture";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(rgbBottomUp + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && Encode(png, info, file, width, height, rows.data());
    if (!ok && error.empty())
        error = "libpng failed";
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = std::strerror(errno);
    }
    if (!ok)
        std::remove(path.c_str());
    return ok;
}

namespace {
// From the window's back buffer, or from the off-screen frame when one is bound.
void ReadFrame(int x, int y, int width, int height, uint8_t* rgb)
{
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(bound ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}
}  // namespace

CScreenshots::CScreenshots()
{
    if (const char* text = std::getenv("VELQ_CAPTURE_FRAMES")) {
        std::istringstream in(text);
        long n;
        while (in >> n)
            captureFrames.insert(n);
    }
}

void CScreenshots::Take(int x, int y, int width, int height)
{
    std::string error;
    const std::string folder = ScreenshotFolder();
    if (folder.empty()) {
        std::cout << "VELQ: no screenshot: neither XDG_DATA_HOME nor HOME names a folder\n";
        return;
    }
    if (!MakeFolders(folder, error)) {
        std::cout << "VELQ: no screenshot: cannot make the folder " << error << "\n";
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A counter that has been used in the same second (an earlier run) moves on.
    std::string path;
    struct stat st;
    do
        path = folder + "/" + ScreenshotName(local, ++counter);
    while (stat(path.c_str(), &st) == 0);

    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    ReadFrame(x, y, width, height, pixels.data());
    if (WritePng(path, width, height, pixels.data(), error))
        std::cout << "Screenshot: " << path << "\n";
    else
        std::cout << "VELQ: cannot write the screenshot " << path << ": " << error << "\n";
}

void CScreenshots::CaptureIfListed(int x, int y, int width, int height)
{
    ++frame;
    if (captureFrames.empty() || !captureFrames.count(frame))
        return;
    const char* dir = std::getenv("VELQ_CAPTURE_DIR");
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05ld.png", frame);
    const std::string path = std::string(dir && *dir ? dir : ".") + "/" + name;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    ReadFrame(x, y, width, height, pixels.data());
    std::string error;
    if (!WritePng(path, width, height, pixels.data(), error))
        std::cerr << "VELQ: cannot write " << path << ": " << error << "\n";
}
