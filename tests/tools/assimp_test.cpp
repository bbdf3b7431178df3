// Every model opened by the Open Asset Import Library's command-line tool, as a
// modder's program would open it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "asset_files.h"

using namespace assettest;

namespace {

std::string RunCommand(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return status = -1, out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    status = pclose(pipe);
    return out;
}

// The rest of the first line that starts with label, or empty.
std::string Field(const std::string& report, const std::string& label) {
    const size_t at = report.find("\n" + label);
    if (at == std::string::npos) return "";
    const size_t from = at + 1 + label.size();
    return report.substr(from, report.find('\n', from) - from);
}

long Count(const std::string& report, const std::string& label) {
    const std::string f = Field(report, label);
    return f.empty() ? -1 : std::strtol(f.c_str(), nullptr, 10);
}

}  // namespace

TEST(Assimp, OpensEveryModelWithItsTrianglesAndFirstFrame) {
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const std::string path = ResourceDir() + "/Models/" + name;
        Md2 m;
        std::string error;
        ASSERT_TRUE(ParseMd2(ReadBytes(path), m, error)) << error;
        int status = 0;
        const std::string report = RunCommand(std::string(VELQ_ASSIMP) + " info '" + path + "' --raw 2>&1", status);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report;
        EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;

        // A raw import gives each triangle three corners of its own. Of the
        // keyframes it takes the first only, so there is no animation to count.
        const long triangles = m.header[8];
        EXPECT_EQ(Count(report, "Meshes:"), 1);
        EXPECT_EQ(Count(report, "Faces:"), triangles);
        EXPECT_EQ(Count(report, "Vertices:"), 3 * triangles);
        EXPECT_EQ(Count(report, "Animations:"), 0);

        // Its box is the first frame's over the header's vertices, read as
        // (x, z, y) with y as the game reads it.
        float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
        const auto& xyz = m.frames[0].xyz;
        ASSERT_EQ(xyz.size(), 3u * m.header[6]);
        for (size_t i = 0; i < xyz.size(); ++i) {
            const int axis = i % 3 == 0 ? 0 : i % 3 == 1 ? 2 : 1;
            lo[axis] = std::min(lo[axis], xyz[i]);
            hi[axis] = std::max(hi[axis], xyz[i]);
        }
        float got[2][3] = {};
        ASSERT_EQ(std::sscanf(Field(report, "Minimum point").c_str(), " (%f %f %f)", &got[0][0], &got[0][1], &got[0][2]), 3);
        ASSERT_EQ(std::sscanf(Field(report, "Maximum point").c_str(), " (%f %f %f)", &got[1][0], &got[1][1], &got[1][2]), 3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(got[0][k], lo[k], 1e-3f) << "axis " << k;
            EXPECT_NEAR(got[1][k], hi[k], 1e-3f) << "axis " << k;
        }
    }
}
