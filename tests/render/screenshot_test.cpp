// Screenshots: where they go, and that the PNG reads back upright.
#include "render/screenshot.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "tests/support/testutil.h"

namespace {

TEST(Screenshot, FolderFollowsXdgDataHomeThenHomeAndNamesCarryDateTimeAndCounter)
{
    struct Case { const char* data; const char* home; const char* want; };
    const Case cases[] = {
        {"/d", "/h", "/d/velq/screenshots"},
        {nullptr, "/h", "/h/.local/share/velq/screenshots"},
        {"", "/h", "/h/.local/share/velq/screenshots"},
        {"relative", "/h", "/h/.local/share/velq/screenshots"},  // must be absolute
        {nullptr, nullptr, ""},
    };
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        c.data ? setenv("XDG_DATA_HOME", c.data, 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(ScreenshotFolder(), c.want);
    }
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", oldHome.c_str(), 1);
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 7, when.tm_hour = 9, when.tm_min = 5, when.tm_sec = 3;
    EXPECT_EQ(ScreenshotName(when, 12), "velq-2026-12-07_09-05-03-12.png");
}

TEST(Screenshot, PngReadsBackTopRowFirstAndFailuresLeaveNoFile)
{
    velqtest::TempDir dir;
    std::string error;
    ASSERT_TRUE(MakeFolders((dir.Path() / "a/b/c").string(), error)) << error;
    // Two rows as OpenGL gives them: the bottom row (red) first, then the top (blue).
    const std::vector<uint8_t> frame = {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255};
    const std::string path = (dir.Path() / "a/b/c/shot.png").string();
    ASSERT_TRUE(WritePng(path, 3, 2, frame.data(), error)) << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    EXPECT_TRUE(image.width == 3u && image.height == 2u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> read(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr));
    EXPECT_TRUE(read[2] == 255 && read[9] == 255) << "top left blue, bottom left red";

    dir.Write("file", "x");
    EXPECT_FALSE(MakeFolders((dir.Path() / "file/sub").string(), error));
    EXPECT_NE(error.find("file"), std::string::npos);
    EXPECT_FALSE(WritePng((dir.Path() / "missing/shot.png").string(), 3, 2, frame.data(), error));
    EXPECT_FALSE(WritePng((dir.Path() / "empty.png").string(), 0, 2, frame.data(), error));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "empty.png"));
}

}  // namespace
