// SPDX-License-Identifier: GPL-3.0-or-later
// Cell maps and height fields read from files the tests write.
#include "world/maploader.h"

#include "support/worldfixture.h"
#include "world/actors.h"

namespace {

using velqtest::CaptureCout;
using velqtest::MakeMap;

class MapLoaderTest : public velqtest::WorldFixture {
protected:
    // Loads the map text and returns the console lines, without the model loader's.
    std::vector<std::string> Load(const std::string& name, const std::string& text)
    {
        dir->Write("Resources/Maps/" + name, text);
        CaptureCout out;
        loader.LoadMap("Resources/Maps/" + name);
        std::vector<std::string> lines;
        std::istringstream in(out.Text());
        for (std::string line; std::getline(in, line);)
            if (line.rfind("MD2 Loaded", 0) != 0 && line != "Unable to open MD2 File")
                lines.push_back(line);
        return lines;
    }
    // Every object committed to its cell, by type and place (row is y, column is x).
    using Cells = std::multimap<std::string, std::pair<float, float>>;
    Cells Placed()
    {
        Cells placed;
        for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
            o->CommitMove();
            placed.insert({o->GetType(), {o->GetX(), o->GetY()}});
        }
        return placed;
    }
    MapLoader loader;
};

TEST_F(MapLoaderTest, EveryCellKindPrintsItsLineAndMakesItsObjectOnItsCell)
{
    World().SetEnemyCount(7);
    CClock::Advance(500);
    const auto lines = Load("kinds.map", MakeMap({{3, {{7, 'w'}}}, {5, {{2, 'e'}, {3, 'x'}, {4, 'W'}}}, {12, {{40, 't'}}},
                                                 {20, {{10, 'f'}, {11, 'f'}}}, {30, {{30, 's'}}}, {31, {{1, 'p'}}},
                                                 {40, {{0, '-'}}}}));
    EXPECT_EQ(lines, (std::vector<std::string>{"Loading Map Resources/Maps/kinds.map", "Wall added", "Enemy added",
                                               "Tower added 40 12", "Flag added", "Flag added",
                                               "Player spawning Point added", "Player starting point added",
                                               "Roof added"}));
    EXPECT_EQ(Placed(), (Cells{{"map.ground", {0, 0}}, {"map.wall", {7, 3}}, {"enemy", {2, 5}}, {"tower", {40, 12}},
                               {"flag", {10, 20}}, {"flag", {11, 20}}, {"player", {30, 30}}}));
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot)->GetX(), 11.0f) << "the last flag takes the slot";
    EXPECT_EQ(std::make_tuple(World().GetMovers().size(), World().GetTowers().size()), std::make_tuple(1u, 1u));
    EXPECT_EQ(World().GetEnemyCount(), 1) << "counted from zero";
    EXPECT_EQ(World().GetLevelStartTime(), 10500u);
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        if (o->GetType() == "map.wall") {
            EXPECT_EQ(std::make_tuple(o->GetZ(), o->GetDiameter(), o->GetModel().IsLoaded()),
                      std::make_tuple(0.5f, 1.0f, true)) << "the cube";
        }
    }
    Enemy* enemy = World().GetEnemies().front();
    ASSERT_EQ(enemy->GetPath().size(), 2u);
    EXPECT_EQ(std::make_tuple(enemy->GetPath()[1].x, enemy->GetPath()[1].y, enemy->GetTarget().x, enemy->GetTarget().y),
              std::make_tuple(35.0f, 25.0f, 25.0f, 25.0f)) << "the first path point is the target";
}

TEST_F(MapLoaderTest, PlayerIsMadeOnTheFirstLevelReusedOnTheLevelsAndMadeNewOnTheSelectionLevel)
{
    World().SetLevel(3);
    Load("select.map", MakeMap({{1, {{1, 's'}, {2, 'f'}}}}));
    CMMPointer<Player> first = static_cast<Player*>(static_cast<VOB*>(World().GetActor(GameWorld::kPlayerSlot)));
    ASSERT_TRUE(first.isValid());
    first->SetHealth(12);
    first->NextWeapon();
    World().SetLevel(2);
    Load("level2.map", MakeMap({{20, {{33, 's'}, {34, 'f'}}}}));
    EXPECT_EQ(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "the same player";
    EXPECT_EQ(std::make_tuple(first->GetHealth(), first->GetCurrentWeapon()), std::make_tuple(100, Player::kLaserShotgun))
        << "reset";
    EXPECT_EQ(std::make_tuple(first->GetNextX(), first->GetNextY()), std::make_tuple(33.0f, 20.0f));
    World().SetLevel(0);
    Load("select.map", MakeMap({{1, {{1, 's'}, {2, 'f'}}}}));
    EXPECT_NE(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "a new game, a new player";
}

TEST_F(MapLoaderTest, MapsWhoseLinesOrCellsDoNotMakeALevelAreRefusedWithTheFileLineAndReason)
{
    const std::string whole = MakeMap({{0, {{0, 's'}}}, {63, {{63, 'f'}}}});
    const auto withLine = [&](int row, const std::string& line) {
        std::string text = whole;
        return text.replace(size_t(row) * 65, 64, line);
    };
    const std::string cut = whole.substr(0, whole.size() - 1);  // no line end after the last line
    const struct { const char* name; std::string text; std::string err; } cases[] = {
        {"missing", "", ": cannot be opened: No such file or directory"},
        {"short", whole.substr(0, 63 * 65), ": the map has 63 lines, but a level is 64 lines of 64 cells"},
        {"cut", whole.substr(0, 40 * 65 + 64), ": the map has 41 lines, but a level is 64 lines of 64 cells"},
        {"stray", withLine(6, std::string(65, '.')), ":7: the line has 65 cells, not 64"},
        {"bom", "\xEF\xBB\xBF" + whole, ":1: the line has 67 cells, not 64 (it begins with a byte-order mark)"},
        {"umlaut", withLine(9, std::string(63, '.') + "\xC3\xA4"),
         ":10: the line has 65 cells, not 64 (a letter of more than one byte counts as several cells)"},
        {"shorter", withLine(63, std::string(63, 'f')), ":64: the line has 63 cells, not 64"},
        {"lone-cr", MakeMap({{0, {{0, 's'}, {1, 'f'}}}}, "\r"), ":1: the line has 4160 cells, not 64"},
        {"empty-line", withLine(30, ""), ":31: the line has 0 cells, not 64"},
        {"nostart", MakeMap({{5, {{5, 'f'}}}}), ": the map has no start cell (s)"},
        {"noflag", MakeMap({{5, {{5, 's'}}}}), ": the map has no flag cell (f)"},
        {"neither", MakeMap({{5, {{5, 'w'}}}}), ": the map has no start cell (s) and no flag cell (f)"},
    };
    for (const auto& c : cases) {
        const std::string path = std::string("Resources/Maps/") + c.name + ".map";
        if (!c.text.empty())
            dir->Write(path, c.text);
        std::string cells = "cells of an earlier map";
        CaptureCout out;
        velqtest::CaptureCerr err;
        EXPECT_FALSE(MapLoader::ReadCells(path, cells)) << c.name;
        EXPECT_EQ(out.Text(), "Loading Map " + path + " failed\n");
        EXPECT_EQ(err.Text(), path + c.err + "\n");
        EXPECT_EQ(cells, "") << c.name;
    }
    // What editors write is read as the same level: no last line end, CR LF, blank lines after
    // the last; more lines are ignored with a word.
    const struct { const char* name; std::string text; std::string err; } accepted[] = {
        {"cut", cut, ""},
        {"crlf", MakeMap({{0, {{0, 's'}}}, {63, {{63, 'f'}}}}, "\r\n"), ""},
        {"crlf-cut", MakeMap({{0, {{0, 's'}}}, {63, {{63, 'f'}}}}, "\r\n").substr(0, 64 * 66 - 2), ""},
        {"blank-after", whole + "\n\r\n\n", ""},
        {"more", whole + "\n" + whole, ":66: lines after the 64th are ignored\n"},
    };
    for (const auto& c : accepted) {
        const std::string path = std::string("Resources/Maps/") + c.name + ".map";
        dir->Write(path, c.text);
        std::string cells;
        velqtest::CaptureCerr err;
        EXPECT_TRUE(MapLoader::ReadCells(path, cells)) << c.name;
        EXPECT_EQ(cells, whole) << c.name;
        EXPECT_EQ(err.Text(), c.err.empty() ? "" : path + c.err) << c.name;
    }
    // What the fuzzers found (two-bytes.map: its bytes were left in the cells).
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VELQ_TEST_DATA) + "/fuzz/map")) {
        std::string cells = "cells of an earlier map";
        velqtest::CaptureCerr err;
        CaptureCout out;
        EXPECT_FALSE(MapLoader::ReadCells(entry.path().string(), cells)) << entry.path();
        EXPECT_EQ(cells.size(), 0u) << entry.path();
    }
    EXPECT_TRUE(World().GetAllObjects().empty());
    // Loading such a map for play ends the program.
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/nostart.map"), ::testing::ExitedWithCode(1),
                "nostart.map: the map has no start cell");
}

TEST_F(MapLoaderTest, HeightFieldIsReadWholeAndAMissingOrShortOneIsReported)
{
    const char raw[] = "hills\0and\xff\x80 valleys";  // every byte kept, zero and high ones too
    const std::string bytes(raw, sizeof raw - 1);
    dir->Write("Resources/Maps/hills.map.raw", bytes);
    dir->Write("Resources/Maps/short.map.raw", bytes.substr(0, 10));
    for (const std::string name : {"hills.map.raw", "none.map.raw", "short.map.raw"}) {
        std::vector<unsigned char> buffer(bytes.size(), 0xAA);
        const bool whole = name == "hills.map.raw";
        CaptureCout out;
        EXPECT_EQ(loader.LoadRaw(name, buffer.size(), buffer.data()), whole) << name;
        EXPECT_EQ(out.Text(), whole ? "" : "unable to load RAW: Resources/Maps/" + name + "\n");
        if (whole) {
            EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bytes);
        }
    }
}

}  // namespace
