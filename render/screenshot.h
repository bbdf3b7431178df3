// SPDX-License-Identifier: GPL-3.0-or-later
// F12's screenshots: PNG files in the player's own folder, named by date, time and a
// counter. Writing is split from reading the frame so it runs without a display.
#pragma once

#include <cstdint>
#include <ctime>
#include <set>
#include <string>

// $XDG_DATA_HOME/velq/screenshots, or ~/.local/share/velq/screenshots; empty when
// neither variable names a folder.
std::string ScreenshotFolder();

// "velq-YYYY-MM-DD_HH-MM-SS-N.png" for the local time and counter N.
std::string ScreenshotName(const std::tm& when, int counter);

// Creates the folder and its parents. False with the reason when it cannot.
bool MakeFolders(const std::string& folder, std::string& error);

// Writes an 8-bit RGB picture whose rows run bottom-up (as OpenGL reads them) as a PNG
// that runs top-down. False with the reason, and no file left behind, on failure.
bool WritePng(const std::string& path, int width, int height, const uint8_t* rgbBottomUp, std::string& error);

// The screenshots of one run, and the frames the benchmarks capture.
class CScreenshots {
public:
    // Reads VELQ_CAPTURE_FRAMES.
    CScreenshots();
    // Reads the frame drawn so far (the rectangle at x, y of the framebuffer bound) and
    // writes it as the next screenshot; prints one line with its path, or why it could
    // not. The game goes on either way.
    void Take(int x, int y, int width, int height);
    // The benchmarks' picture comparison: when VELQ_CAPTURE_FRAMES lists frame numbers
    // ("100 200 ..."), the frame of each of those render passes (counted from 1) is
    // written to VELQ_CAPTURE_DIR (or the working directory) as frame-NNNNN.png.
    void CaptureIfListed(int x, int y, int width, int height);

private:
    int counter = 0;  // the last screenshot's number
    std::set<long> captureFrames;
    long frame = 0;  // render passes so far
};
