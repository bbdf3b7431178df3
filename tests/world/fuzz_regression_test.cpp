// Inputs the fuzzers found, fed to the world's readers again: each map is refused with one
// reason that names the file, and nothing of it is kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/testutil.h"
#include "world/maploader.h"

TEST(FuzzRegression, MapsTooShortToReadAreRefusedAndLeaveNoCells)
{
    int fed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VELQ_FUZZ_REGRESSIONS) + "/map")) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        std::string cells = "cells of an earlier map";  // two-bytes.map: its bytes were left in the cells
        velqtest::CaptureCout out;
        velqtest::CaptureCerr err;
        EXPECT_FALSE(MapLoader::ReadCells(path, cells));
        EXPECT_TRUE(cells.empty());
        EXPECT_EQ(out.Text(), "Loading Map " + path + " failed\n");
        EXPECT_EQ(err.Text().rfind(path + ":", 0), 0u) << err.Text();
        EXPECT_EQ(velqtest::CountOf(err.Text(), "\n"), 1);
        ++fed;
    }
    EXPECT_GT(fed, 0);
}
