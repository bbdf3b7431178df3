// The generator itself: same bytes on every run, and a failure it reports.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <dirent.h>
#include <set>
#include <string>

#include "asset_files.h"

using namespace assettest;

namespace {

std::string TempDir() {
    char pattern[] = "/tmp/velq_assetgen_XXXXXX";
    const char* dir = mkdtemp(pattern);
    EXPECT_NE(dir, nullptr);
    return dir ? dir : "";
}

int RunGenerator(const std::string& out, const std::string& maps) {
    const std::string cmd = std::string(VELQ_ASSETGEN) + " '" + out + "' '" + maps + "' '" + VELQ_FONT_DIR + "' 2>/dev/null";
    return std::system(cmd.c_str());
}

std::set<std::string> Files(const std::string& root) {
    std::set<std::string> out;
    for (const char* sub : {"Maps", "Models", "Textures", "SFX"}) {
        DIR* d = opendir((root + "/" + sub).c_str());
        if (!d) continue;
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') out.insert(std::string(sub) + "/" + e->d_name);
        closedir(d);
    }
    return out;
}

void RemoveTree(const std::string& root) { std::system(("rm -rf '" + root + "'").c_str()); }

}  // namespace

TEST(Generator, TwoRunsWriteEveryFileWithIdenticalBytesAndAMissingCellMapFailsARun) {
    const std::string a = TempDir(), b = TempDir(), maps = TempDir();
    EXPECT_NE(RunGenerator(b, maps), 0);
    ASSERT_EQ(RunGenerator(a, VELQ_MAP_SOURCES), 0);
    ASSERT_EQ(RunGenerator(b, VELQ_MAP_SOURCES), 0);
    const auto files = Files(a);
    EXPECT_EQ(files.size(), 18u + 4u + 5u + 5u) << "textures, models, height fields, sounds";
    EXPECT_EQ(files, Files(b));
    for (const auto& f : files) {
        const Bytes x = ReadBytes(a + "/" + f), y = ReadBytes(b + "/" + f);
        EXPECT_FALSE(x.empty()) << f;
        EXPECT_TRUE(x == y) << f << " differs between runs";
    }
    for (const std::string& d : {a, b, maps}) RemoveTree(d);
}
