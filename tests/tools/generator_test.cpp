// SPDX-License-Identifier: GPL-3.0-or-later
// The generator itself: same bytes on every run, and a failure it reports.
#include "asset_files.h"

namespace fs = std::filesystem;
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

// Every file under root by its path below root.
std::map<std::string, Bytes> Files(const std::string& root) {
    std::map<std::string, Bytes> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) out[fs::relative(e.path(), root).string()] = ReadBytes(e.path().string());
    return out;
}

}  // namespace

TEST(Generator, TwoRunsWriteEveryFileWithIdenticalBytesAndAMissingCellMapFailsARun) {
    const std::string a = TempDir(), b = TempDir(), maps = TempDir();
    EXPECT_NE(RunGenerator(b, maps), 0);
    ASSERT_EQ(RunGenerator(a, VELQ_MAP_SOURCES), 0);
    ASSERT_EQ(RunGenerator(b, VELQ_MAP_SOURCES), 0);
    const auto files = Files(a), again = Files(b);
    EXPECT_EQ(files.size(), 18u + 4u + 5u + 5u) << "textures, models, height fields, sounds";
    EXPECT_EQ(again.size(), files.size());
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(!bytes.empty() && again.count(name) && again.at(name) == bytes) << name << " differs between runs";
    for (const std::string& d : {a, b, maps}) fs::remove_all(d);
}
