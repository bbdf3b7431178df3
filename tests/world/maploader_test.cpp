// Cell maps and height fields read from files the tests write.
#include "world/maploader.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "world/actors.h"
#include "world/gameworld.h"
#include "support/worldfixture.h"

namespace {

using velqtest::CaptureCout;

// 64 lines of 64 cells, '.' unless the rows given say otherwise (column -> char).
std::string MakeMap(const std::map<int, std::map<int, char>>& cells, const std::string& lineEnd = "\n",
                    char fill = '.')
{
    std::string text;
    for (int r = 0; r < 64; ++r) {
        std::string line(64, fill);
        auto row = cells.find(r);
        if (row != cells.end()) {
            for (const auto& [c, ch] : row->second)
                line[c] = ch;
        }
        text += line + lineEnd;
    }
    return text;
}

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

    template <typename T>
    static int CountType(const T& list, const std::string& type)
    {
        int n = 0;
        for (const auto& o : list)
            n += o->GetType() == type;
        return n;
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
    for (const char* type : {"map.ground", "map.wall", "enemy", "tower", "flag", "player"})
        EXPECT_EQ(CountType(all, type), 1) << type;
    EXPECT_EQ(World().GetEnemyCount(), 1) << "counted from zero";
    EXPECT_EQ(World().GetLevelStartTime(), 10500u);
    EXPECT_EQ(World().GetEnemies().size(), 1u);
    EXPECT_EQ(World().GetMovers().size(), 1u);
    EXPECT_EQ(World().GetTowers().size(), 1u);
    ASSERT_TRUE(World().GetActor(GameWorld::kPlayerSlot).isValid());
    EXPECT_EQ(World().GetActor(GameWorld::kPlayerSlot)->GetType(), "player");
    ASSERT_TRUE(World().GetActor(GameWorld::kFlagSlot).isValid());
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot)->GetType(), "flag");

    // Row is y, column is x; the commit places each object on its cell.
    for (const CMMPointer<VOB>& o : all)
        o->CommitMove();
    for (const CMMPointer<VOB>& o : all) {
        const std::string type = o->GetType();
        if (type == "map.wall") {
            EXPECT_EQ(o->GetX(), 7.0f);
            EXPECT_EQ(o->GetY(), 3.0f);
            EXPECT_EQ(o->GetZ(), 0.5f);
            EXPECT_EQ(o->GetDiameter(), 1.0f);
            EXPECT_TRUE(o->GetModel().IsLoaded()) << "the built-in cube";
        } else if (type == "enemy") {
            EXPECT_EQ(o->GetX(), 2.0f);
            EXPECT_EQ(o->GetY(), 5.0f);
        } else if (type == "tower") {
            EXPECT_EQ(o->GetX(), 40.0f);
            EXPECT_EQ(o->GetY(), 12.0f);
        } else if (type == "flag") {
            EXPECT_EQ(o->GetX(), 10.0f);
            EXPECT_EQ(o->GetY(), 20.0f);
        } else if (type == "player") {
            EXPECT_EQ(o->GetX(), 30.0f);
            EXPECT_EQ(o->GetY(), 30.0f);
        }
    }
    Enemy* enemy = World().GetEnemies().front();
    auto path = enemy->GetPath();
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[0].x, 25.0f);
    EXPECT_EQ(path[1].x, 35.0f);
    EXPECT_EQ(path[1].y, 25.0f);
    EXPECT_EQ(enemy->GetTarget().x, 25.0f);
}

TEST_F(MapLoaderTest, CrLfLineEndsCountAsOneLineEnd)
{
    Load("crlf.map", MakeMap({{3, {{7, 'w'}}}, {63, {{63, 'w'}}}}, "\r\n"));
    int walls = 0;
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        if (o->GetType() != "map.wall")
            continue;
        ++walls;
        o->CommitMove();
        EXPECT_TRUE((o->GetX() == 7.0f && o->GetY() == 3.0f) || (o->GetX() == 63.0f && o->GetY() == 63.0f))
            << o->GetX() << " " << o->GetY();
    }
    EXPECT_EQ(walls, 2);
}

TEST_F(MapLoaderTest, LastFlagTakesTheSlot)
{
    Load("flags.map", MakeMap({{1, {{1, 'f'}}}, {2, {{9, 'f'}}}}));
    CMMPointer<VOB> flag = World().GetActor(GameWorld::kFlagSlot);
    flag->CommitMove();
    EXPECT_EQ(flag->GetX(), 9.0f);
    EXPECT_EQ(World().GetAllObjects().size(), 3u);
}

TEST_F(MapLoaderTest, PlayerIsReusedOnTheLevelsAndMadeNewOnTheSelectionLevel)
{
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    CMMPointer<Player> first =
        static_cast<Player*>(static_cast<VOB*>(World().GetActor(GameWorld::kPlayerSlot)));
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
    EXPECT_EQ(first->GetNextX(), 33.0f);
    EXPECT_EQ(first->GetNextY(), 20.0f);

    World().SetLevel(0);
    Load("select.map", MakeMap({{1, {{1, 's'}}}}));
    EXPECT_NE(World().GetActor(GameWorld::kPlayerSlot), static_cast<VOB*>(first))
        << "a new game, a new player";
}

TEST_F(MapLoaderTest, LevelLoadedBeforeAnyPlayerExistsMakesOne)
{
    World().SetLevel(3);
    Load("level3.map", MakeMap({{4, {{4, 's'}}}}));
    ASSERT_TRUE(World().GetActor(GameWorld::kPlayerSlot).isValid());
    EXPECT_EQ(World().GetAllObjects().size(), 2u);
}

TEST_F(MapLoaderTest, ShortMapIsRefusedWithTheReasonAndNothingIsMade)
{
    std::string text = MakeMap({{0, {{0, 'w'}}}});
    text.pop_back();  // the last line end is missing: 4159 bytes
    dir->Write("Resources/Maps/short.map", text);
    std::string cells;
    CaptureCout out;
    EXPECT_FALSE(MapLoader::ReadCells("Resources/Maps/short.map", cells));
    EXPECT_EQ(out.Text(),
              "Loading Map Resources/Maps/short.map failed\n"
              "the map has 4159 bytes, but 64 lines of 64 cells and a line end need 4160\n");
    EXPECT_TRUE(World().GetAllObjects().empty());

    dir->Write("Resources/Maps/empty.map", "");
    EXPECT_FALSE(MapLoader::ReadCells("Resources/Maps/empty.map", cells));
}

TEST_F(MapLoaderTest, MissingMapIsReportedAsFailed)
{
    std::string cells;
    CaptureCout out;
    EXPECT_FALSE(MapLoader::ReadCells("Resources/Maps/none.map", cells));
    EXPECT_EQ(out.Text(), "Loading Map Resources/Maps/none.map failed\n");
}

TEST_F(MapLoaderTest, CompleteMapIsReadWholeAndLongerFilesAreCut)
{
    std::string text = MakeMap({});
    dir->Write("Resources/Maps/long.map", text + "trailing junk\n");
    std::string cells;
    EXPECT_TRUE(MapLoader::ReadCells("Resources/Maps/long.map", cells));
    EXPECT_EQ(cells, text);
}

using MapLoaderDeathTest = MapLoaderTest;

TEST_F(MapLoaderDeathTest, MissingOrShortMapEndsTheProgramWithCodeOne)
{
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/none.map"), ::testing::ExitedWithCode(1), "");
    dir->Write("Resources/Maps/short.map", "www\n");
    EXPECT_EXIT(loader.LoadMap("Resources/Maps/short.map"), ::testing::ExitedWithCode(1), "");
}

TEST_F(MapLoaderTest, HeightFieldIsReadWhole)
{
    std::string bytes(2048, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    dir->Write("Resources/Maps/hills.map.raw", bytes);
    std::vector<unsigned char> buffer(2048, 0xAA);
    CaptureCout out;
    EXPECT_TRUE(loader.LoadRaw("hills.map.raw", buffer.size(), buffer.data()));
    EXPECT_EQ(out.Text(), "");
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bytes);
}

TEST_F(MapLoaderTest, MissingOrShortHeightFieldIsReported)
{
    std::vector<unsigned char> buffer(1024 * 1024);
    {
        CaptureCout out;
        EXPECT_FALSE(loader.LoadRaw("none.map.raw", buffer.size(), buffer.data()));
        EXPECT_EQ(out.Text(), "unable to load RAW: Resources/Maps/none.map.raw\n");
    }
    dir->Write("Resources/Maps/short.map.raw", std::string(1000, 'x'));
    CaptureCout out;
    EXPECT_FALSE(loader.LoadRaw("short.map.raw", buffer.size(), buffer.data()));
    EXPECT_EQ(out.Text(), "unable to load RAW: Resources/Maps/short.map.raw\n");
}

}  // namespace
