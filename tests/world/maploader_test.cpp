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

// The console lines, without the model loader's and the collector's.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("MD2 Loaded", 0) == 0 || line == "object died" || line == "Unable to open MD2 File")
            continue;
        lines.push_back(line);
    }
    return lines;
}

class MapLoaderTest : public velqtest::WorldFixture {
protected:
    std::string Load(const std::string& name, const std::string& text)
    {
        const std::string path = "Resources/Maps/" + name;
        dir->Write(path, text);
        CaptureCout out;
        loader.LoadMap(path);
        return out.Text();
    }

    MapLoader loader;
};

TEST_F(MapLoaderTest, RoofOnlyMapMakesJustTheGround)
{
    const std::string out = Load("roof.map", MakeMap({}, "\n", '-'));
    const auto lines = Lines(out);
    ASSERT_EQ(lines.size(), 4097u);
    EXPECT_EQ(lines[0], "Loading Map Resources/Maps/roof.map");
    for (size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], "Roof added") << "line " << i;
    auto all = World().GetAllObjects();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all.front()->GetType(), "map.ground");
}

TEST_F(MapLoaderTest, EveryCellKindPrintsItsLineAndMakesItsObject)
{
    World().SetEnemyCount(7);
    CClock::Advance(500);
    const std::string out = Load("kinds.map", MakeMap({
                                                  {3, {{7, 'w'}}},
                                                  {5, {{2, 'e'}, {3, 'x'}, {4, 'W'}}},
                                                  {12, {{40, 't'}}},
                                                  {20, {{10, 'f'}}},
                                                  {30, {{30, 's'}}},
                                                  {31, {{1, 'p'}}},
                                                  {40, {{0, '-'}}},
                                              }));
    EXPECT_EQ(Lines(out), (std::vector<std::string>{
                              "Loading Map Resources/Maps/kinds.map",
                              "Wall added",
                              "Enemy added",
                              "Tower added 40 12",
                              "Flag added",
                              "Player spawning Point added",
                              "Player starting point added",
                              "Roof added",
                          }));

    auto all = World().GetAllObjects();
    EXPECT_EQ(all.size(), 6u);
    EXPECT_EQ(all.front()->GetType(), "map.ground");
    EXPECT_EQ(World().GetEnemyCount(), 1) << "counted from zero";
    EXPECT_EQ(World().GetLevelStartTime(), 10500u);
    EXPECT_TRUE(World().GetMovers().size() == 1u && World().GetTowers().size() == 1u);
    EXPECT_EQ(World().GetActor(GameWorld::kPlayerSlot)->GetType(), "player");
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot)->GetType(), "flag");
    // Row is y, column is x; the commit places each object on its cell.
    const std::map<std::string, std::pair<float, float>> cells = {{"map.ground", {0, 0}}, {"map.wall", {7, 3}},
        {"enemy", {2, 5}}, {"tower", {40, 12}}, {"flag", {10, 20}}, {"player", {30, 30}}};
    std::map<std::string, int> seen;
    for (const CMMPointer<VOB>& o : all) {
        o->CommitMove();
        ++seen[o->GetType()];
        if (o->GetType() != "map.ground") {
            EXPECT_EQ(std::make_pair(o->GetX(), o->GetY()), cells.at(o->GetType())) << o->GetType();
        }
        if (o->GetType() == "map.wall") {
            EXPECT_TRUE(o->GetZ() == 0.5f && o->GetDiameter() == 1.0f && o->GetModel().IsLoaded()) << "the cube";
        }
    }
    EXPECT_EQ(seen.size(), cells.size());
    Enemy* enemy = World().GetEnemies().front();
    auto path = enemy->GetPath();
    ASSERT_EQ(path.size(), 2u);
    EXPECT_TRUE(path[0].x == 25.0f && path[1].x == 35.0f && path[1].y == 25.0f && enemy->GetTarget().x == 25.0f);
}

TEST_F(MapLoaderTest, CrLfLineEndsCountAsOneAndTheLastFlagTakesTheSlot)
{
    Load("crlf.map", MakeMap({{3, {{7, 'w'}}}, {63, {{63, 'w'}}}, {1, {{1, 'f'}}}, {2, {{9, 'f'}}}}, "\r\n"));
    std::vector<std::pair<float, float>> walls;
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        o->CommitMove();
        if (o->GetType() == "map.wall")
            walls.push_back({o->GetX(), o->GetY()});
    }
    EXPECT_EQ(walls, (std::vector<std::pair<float, float>>{{7, 3}, {63, 63}}));
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot)->GetX(), 9.0f);
    EXPECT_EQ(World().GetAllObjects().size(), 5u);
}

TEST_F(MapLoaderTest, PlayerIsMadeOnTheFirstLevelReusedOnTheLevelsAndMadeNewOnTheSelectionLevel)
{
    World().SetLevel(3);
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    CMMPointer<Player> first = static_cast<Player*>(static_cast<VOB*>(World().GetActor(GameWorld::kPlayerSlot)));
    ASSERT_TRUE(first.isValid());
    first->SetHealth(12);
    first->NextWeapon();
    World().SetResult(GameWorld::kLost);

    World().SetLevel(2);
    Load("level2.map", MakeMap({{20, {{33, 's'}}}}));
    EXPECT_EQ(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "the same player";
    EXPECT_EQ(first->GetHealth(), 100) << "reset";
    EXPECT_EQ(first->GetCurrentWeapon(), Player::kLaserShotgun);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    EXPECT_TRUE(first->GetNextX() == 33.0f && first->GetNextY() == 20.0f);

    World().SetLevel(0);
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    EXPECT_NE(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first)) << "a new game, a new player";
}

TEST_F(MapLoaderTest, MapsShortOrMissingAreRefusedWithTheReasonAndLongerOnesAreCut)
{
    const std::string whole = MakeMap({{0, {{0, 'w'}}}});
    dir->Write("Resources/Maps/short.map", whole.substr(0, whole.size() - 1));  // no last line end
    dir->Write("Resources/Maps/empty.map", "");
    dir->Write("Resources/Maps/long.map", whole + "trailing junk\n");
    const struct { const char* name; bool read; std::string out; } cases[] = {
        {"short", false,
         "Loading Map Resources/Maps/short.map failed\n"
         "the map has 4159 bytes, but 64 lines of 64 cells and a line end need 4160\n"},
        {"empty", false,
         "Loading Map Resources/Maps/empty.map failed\n"
         "the map has 0 bytes, but 64 lines of 64 cells and a line end need 4160\n"},
        {"none", false, "Loading Map Resources/Maps/none.map failed\n"},
        {"long", true, ""},
    };
    for (const auto& c : cases) {
        std::string cells;
        CaptureCout out;
        EXPECT_EQ(MapLoader::ReadCells(std::string("Resources/Maps/") + c.name + ".map", cells), c.read) << c.name;
        EXPECT_EQ(out.Text(), c.out) << c.name;
        if (c.read) {
            EXPECT_EQ(cells, whole);
        }
    }
    EXPECT_TRUE(World().GetAllObjects().empty());
}

using MapLoaderDeathTest = MapLoaderTest;

TEST_F(MapLoaderDeathTest, MissingOrShortMapEndsTheProgramWithCodeOne)
{
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/none.map"), ::testing::ExitedWithCode(1), "");
    dir->Write("Resources/Maps/short.map", "www\n");
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/short.map"), ::testing::ExitedWithCode(1), "");
}

TEST_F(MapLoaderTest, HeightFieldIsReadWholeAndAMissingOrShortOneIsReported)
{
    std::string bytes(2048, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    dir->Write("Resources/Maps/hills.map.raw", bytes);
    dir->Write("Resources/Maps/short.map.raw", bytes.substr(0, 1000));
    for (const char* name : {"hills.map.raw", "none.map.raw", "short.map.raw"}) {
        std::vector<unsigned char> buffer(2048, 0xAA);
        const bool whole = std::string(name) == "hills.map.raw";
        CaptureCout out;
        EXPECT_EQ(loader.LoadRaw(name, buffer.size(), buffer.data()), whole) << name;
        EXPECT_EQ(out.Text(), whole ? "" : std::string("unable to load RAW: Resources/Maps/") + name + "\n");
        if (whole) {
            EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bytes);
        }
    }
}

}  // namespace
