// Inputs the fuzzers found, fed to the world's readers again: each is refused with one
// reason that names the file, and nothing of it is kept.
#include <gtest/gtest.h>

#include <string>

#include "support/testutil.h"
#include "world/maploader.h"

namespace {

const std::string kData = VELQ_FUZZ_REGRESSIONS;

TEST(FuzzRegression, MapsTooShortToReadAreRefusedAndLeaveNoCells)
{
    struct Case {
        const char* file;
        const char* reason;
    };
    const Case cases[] = {
        {"map/two-bytes.map", "the map has 2 bytes"},  // the two bytes were left in the cells
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = kData + "/" + c.file;
        std::string cells = "cells of an earlier map";
        velqtest::CaptureCout out;
        EXPECT_FALSE(MapLoader::ReadCells(path, cells));
        EXPECT_TRUE(cells.empty());
        EXPECT_NE(out.Text().find("Loading Map " + path + " failed"), std::string::npos) << out.Text();
        EXPECT_NE(out.Text().find(c.reason), std::string::npos) << out.Text();
    }
}

}  // namespace
