// Cell maps and height fields read from files the tests write.
#include "world/maploader.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

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
                                                 {20, {{10, 'f'}}}, {30, {{30, 's'}}}, {31, {{1, 'p'}}}, {40, {{0, '-'}}}}));
    EXPECT_EQ(lines, (std::vector<std::string>{"Loading Map Resources/Maps/kinds.map", "Wall added", "Enemy added",
                                               "Tower added 40 12", "Flag added", "Player spawning Point added",
                                               "Player starting point added", "Roof added"}));
    EXPECT_EQ(Placed(), (Cells{{"map.ground", {0, 0}}, {"map.wall", {7, 3}}, {"enemy", {2, 5}}, {"tower", {40, 12}},
                               {"flag", {10, 20}}, {"player", {30, 30}}}));
    EXPECT_TRUE(World().GetMovers().size() == 1u && World().GetTowers().size() == 1u);
    EXPECT_EQ(World().GetEnemyCount(), 1) << "counted from zero";
    EXPECT_EQ(World().GetLevelStartTime(), 10500u);
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        if (o->GetType() == "map.wall") {
            EXPECT_TRUE(o->GetZ() == 0.5f && o->GetDiameter() == 1.0f && o->GetModel().IsLoaded()) << "the cube";
        }
    }
    Enemy* enemy = World().GetEnemies().front();
    ASSERT_EQ(enemy->GetPath().size(), 2u);
    EXPECT_TRUE(enemy->GetPath()[1].x == 35.0f && enemy->GetPath()[1].y == 25.0f && enemy->GetTarget().x == 25.0f &&
                enemy->GetTarget().y == 25.0f) << "the first path point is the target";
}

TEST_F(MapLoaderTest, CrLfLineEndsCountAsOneAndTheLastFlagTakesTheSlot)
{
    Load("crlf.map", MakeMap({{3, {{7, 'w'}}}, {63, {{63, 'w'}}}, {1, {{1, 'f'}}}, {2, {{9, 'f'}}}}, "\r\n"));
    EXPECT_EQ(Placed(), (Cells{{"map.ground", {0, 0}}, {"map.wall", {7, 3}}, {"map.wall", {63, 63}},
                               {"flag", {1, 1}}, {"flag", {9, 2}}}));
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot)->GetX(), 9.0f);
}

TEST_F(MapLoaderTest, PlayerIsMadeOnTheFirstLevelReusedOnTheLevelsAndMadeNewOnTheSelectionLevel)
{
    World().SetLevel(3);
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    CMMPointer<Player> first = static_cast<Player*>(static_cast<VOB*>(World().GetActor(GameWorld::kPlayerSlot)));
    ASSERT_TRUE(first.isValid());
    first->SetHealth(12);
    first->NextWeapon();
    World().SetLevel(2);
    Load("level2.map", MakeMap({{20, {{33, 's'}}}}));
    EXPECT_EQ(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "the same player";
    EXPECT_TRUE(first->GetHealth() == 100 && first->GetCurrentWeapon() == Player::kLaserShotgun) << "reset";
    EXPECT_TRUE(first->GetNextX() == 33.0f && first->GetNextY() == 20.0f);
    World().SetLevel(0);
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    EXPECT_NE(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "a new game, a new player";
}

TEST_F(MapLoaderTest, MapsShortOrMissingAreRefusedWithTheReasonAndLongerOnesAreCut)
{
    const std::string whole = MakeMap({{0, {{0, 'w'}}}});
    dir->Write("Resources/Maps/short.map", whole.substr(0, whole.size() - 1));  // no last line end
    dir->Write("Resources/Maps/long.map", whole + "trailing junk\n");
    const std::string need = " bytes, but 64 lines of 64 cells and a line end need 4160\n";
    const struct { const char* name; bool read; std::string out; } cases[] = {
        {"short", false, "Loading Map Resources/Maps/short.map failed\nthe map has 4159" + need},
        {"none", false, "Loading Map Resources/Maps/none.map failed\n"},
        {"long", true, ""},
    };
    for (const auto& c : cases) {
        std::string cells = "cells of an earlier map";
        CaptureCout out;
        EXPECT_EQ(MapLoader::ReadCells(std::string("Resources/Maps/") + c.name + ".map", cells), c.read) << c.name;
        EXPECT_EQ(out.Text(), c.out) << c.name;
        EXPECT_EQ(cells, c.read ? whole : "") << c.name;
    }
    EXPECT_TRUE(World().GetAllObjects().empty());
    // Loading such a map for play ends the program.
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/short.map"), ::testing::ExitedWithCode(1), "");
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
