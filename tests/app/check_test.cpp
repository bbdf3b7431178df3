// SPDX-License-Identifier: GPL-3.0-or-later
// velq --check on small broken files made here, each with the line it must print and the
// exit status; then all of them as one folder, which a link back into it cannot trap.
#include "app/check.h"

#include "support/worldfixture.h"

namespace {

// The 18-byte header of a true-colour TGA of type 2 (raw) or 10 (run-length) at 24 bits.
std::string Tga(int type, int width, int height)
{
    std::string h(18, '\0');
    h[2] = char(type);
    h[12] = char(width);
    h[14] = char(height);
    h[16] = 24;
    return h;
}

TEST(Check, EachBrokenFileGetsItsLineAndTheExitStatus)
{
    velqtest::TempDir dir;
    using velqtest::MakeMap;
    const std::string level = MakeMap({{1, {{1, 's'}}}, {9, {{9, 'f'}}}});
    const std::string field(1 << 20, '\x10');
    const std::string md2 = velqtest::ReadFile(std::string(VELQ_RESOURCES) + "/Models/flag.md2");
    std::string negative = md2;
    negative.replace(9 * 4, 4, "\xff\xff\xff\xff");  // the GL-command count
    const struct {
        const char* file;
        std::string bytes;
        std::string line;
        int status;
    } cases[] = {
        {"typo.map", MakeMap({{1, {{1, 's'}, {2, 'W'}}}, {9, {{9, 'f'}}}}),
         "typo.map:2: warning: unknown cell 'W' in column 3 is left empty", 0},
        {"many.map", MakeMap({{1, {{1, 's'}, {3, '\t'}, {4, '\0'}, {5, '\xe9'}, {6, 'S'}, {7, 'F'}, {8, 'x'}}},
                              {9, {{9, 'f'}}}}),
         "many.map: warning: 6 unknown cells in all are left empty", 0},
        {"walled.map", MakeMap({{0, {{1, 'w'}}}, {1, {{0, 'w'}, {1, 's'}, {2, 'w'}}}, {2, {{1, 'w'}}}, {9, {{9, 'f'}}}}),
         "walled.map: warning: the player's start (s, line 2, column 2) cannot reach the flag (f, line 10, column "
         "10): walls close it off", 0},
        {"noflag.map", MakeMap({{1, {{1, 's'}}}}), "noflag.map: error: the map has no flag cell (f)", 1},
        {"wide.map", std::string(level).insert(6 * 65, "."), "wide.map:7: error: the line has 65 cells, not 64", 1},
        {"short.raw", field.substr(0, 100), "short.raw: error: the height field has 100 bytes, not 1048576", 1},
        {"double.raw", field + field,
         "double.raw: warning: the height field has 2097152 bytes, not 1048576; the rest is ignored", 0},
        {"negative.md2", negative, "negative.md2: warning: GL-command count -1 is negative", 0},
        {"ident.md2", "IDP3" + md2.substr(4), "ident.md2: error: its ident is \"IDP3\", not \"IDP2\": no MD2 model", 1},
        {"odd.tga", Tga(2, 3, 2) + std::string(18, 'p'),
         "odd.tga: warning: 3x2 has a side that is no power of two, which OpenGL 1.x cannot take", 0},
        {"run.tga", Tga(10, 2, 2) + "\x87" "abc",
         "run.tga: warning: the last packet runs 4 past the image's end; the excess is ignored", 0},
        {"mapped.tga", Tga(2, 1, 1).replace(1, 1, "\1") + "abc", "mapped.tga: error: colour map type is 1, not 0", 1},
        {"text.ogg", "not a sound\n",
         "text.ogg: warning: SDL_mixer: Unrecognized sound file type; the game plays on without it", 0},
        {"empty.ogg", "", "empty.ogg: warning: the file is empty; the game plays on without it", 0},
        {"depth.esf", "screenX=1024\nscreenBPP=7\n",
         "depth.esf:2: error: \"screenBPP=7\": must be 16, 24 or 32; screenBPP stays 16", 1},
        {"clash.esf", "key.fire=w\n", "clash.esf: warning: w: key.forward and key.fire both act on it", 0},
        {"game.rec", "VELQREC", "game.rec: error: not a Velq! recording", 1},
        {"notes.txt", "", "notes.txt: error: no file the game reads; velq --check knows .map, .raw, .md2, .tga, "
                          ".ogg, .esf and .rec", 1},
    };
    for (const auto& c : cases) {
        dir.Write(c.file, c.bytes);
        if (std::string(c.file).find(".map") != std::string::npos)
            dir.Write(c.file + std::string(".raw"), field);
        std::ostringstream out;
        EXPECT_EQ(RunCheck({c.file}, "", out), c.status) << c.file;
        EXPECT_EQ(velqtest::CountOf(out.str(), c.line + "\n"), 1) << out.str();
    }
    // The folder: every file once, the text file not, and the link back into it walked no more.
    std::filesystem::create_directory_symlink(".", "again");
    std::ostringstream out;
    EXPECT_EQ(RunCheck({".", "gone"}, "", out), 1);
    EXPECT_EQ(velqtest::CountOf(out.str(), "gone: error: no such file or folder\n"), 1);
    EXPECT_NE(out.str().find("\nchecked 22 files: 8 errors, 15 warnings\n"), std::string::npos) << out.str();
}

}  // namespace
