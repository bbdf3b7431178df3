// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshots: where they go when the data folder is missing or odd, and failures that
// leave no file. The XDG folder, the name and an upright PNG are checked on a real
// screenshot by the options end-to-end test.
#include "render/screenshot.h"

#include "tests/support/testutil.h"

namespace {

TEST(Screenshot, FolderFallsBackToHomeAndToNothingAndNamesCarryTheCounter)
{
    struct Case { const char* data; const char* home; const char* want; };
    const Case cases[] = {
        {nullptr, "/h", "/h/.local/share/velq/screenshots"},
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

TEST(Screenshot, FoldersAreMadeAndFailuresLeaveNoFile)
{
    velqtest::TempDir dir;
    std::string error;
    ASSERT_TRUE(MakeFolders((dir.Path() / "a/b/c").string(), error)) << error;
    const std::vector<uint8_t> frame(18, 0);
    ASSERT_TRUE(WritePng((dir.Path() / "a/b/c/shot.png").string(), 3, 2, frame.data(), error)) << error;
    dir.Write("file", "x");
    EXPECT_FALSE(MakeFolders((dir.Path() / "file/sub").string(), error));
    EXPECT_NE(error.find("file"), std::string::npos);
    EXPECT_FALSE(WritePng((dir.Path() / "missing/shot.png").string(), 3, 2, frame.data(), error));
    EXPECT_FALSE(WritePng((dir.Path() / "empty.png").string(), 0, 2, frame.data(), error));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "empty.png"));
}

}  // namespace
