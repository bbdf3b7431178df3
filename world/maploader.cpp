// SPDX-License-Identifier: GPL-3.0-or-later
// Cell maps: one byte per cell, 64 lines of 64 cells and a line end.
#include "world/maploader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "world/actors.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/vob.h"

namespace {

// Every enemy is given the same two path points.
constexpr Waypoint kEnemyPath[] = {{25.0f, 25.0f, 1.0f}, {35.0f, 25.0f, 1.0f}};
constexpr float kWallHeight = 0.5f;  // a wall block one unit high stands on the ground
constexpr float kWallDiameter = 1.0f;

class FileCloser {
public:
    explicit FileCloser(std::FILE* f) : file(f) {}
    ~FileCloser()
    {
        if (file)
            std::fclose(file);
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    std::FILE* file;
};

}  // namespace

bool MapLoader::ReadCells(const std::string& path, std::string& cells)
{
    cells.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    FileCloser closer(f);
    // The console's progress line first, then why on standard error.
    const auto refuse = [&](const std::string& where, const std::string& why) {
        std::cout << "Loading Map " << path << " failed\n";
        std::cout.flush();
        if (!why.empty())
            std::cerr << path << where << ": " << why << "\n";
        cells.clear();
        return false;
    };
    if (!f)
        return refuse("", "");

    // Line by line, as a text-mode read gives them: a CR right before the LF (or before
    // the end of the file) is dropped, and the last line may end without a line end.
    cells.reserve(kMapBytes);
    std::string line;
    bool ended = false;  // the end of the file was reached
    const auto readLine = [&] {
        line.clear();
        std::size_t length = 0;
        for (int c; (c = std::getc(f)) != '\n';) {
            if (c == EOF) {
                ended = true;
                break;
            }
            if (line.size() < kLineLength + 3)  // enough to see a stray CR or a byte-order mark
                line.push_back(static_cast<char>(c));
            ++length;
        }
        if (length > 0 && length <= line.size() && line.back() == '\r') {
            line.pop_back();
            --length;
        }
        return length;
    };
    for (int r = 0; r < kRows; ++r) {
        const std::size_t length = readLine();
        if (std::ferror(f))
            return refuse("", "the map could not be read to its end");
        if (ended && length == 0)
            return refuse("", "the map has " + std::to_string(r) + " lines, but a level is " + std::to_string(kRows) +
                                  " lines of " + std::to_string(kRows) + " cells");
        if (length != kRows) {
            std::string why = "the line has " + std::to_string(length) + " cells, not " + std::to_string(kRows);
            if (r == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
                why += " (it begins with a byte-order mark)";
            else if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                why += " (a letter of more than one byte counts as several cells)";
            return refuse(":" + std::to_string(r + 1), why);
        }
        cells += line;
        cells.push_back('\n');
        if (ended && r + 1 < kRows)
            return refuse("", "the map has " + std::to_string(r + 1) + " lines, but a level is " +
                                  std::to_string(kRows) + " lines of " + std::to_string(kRows) + " cells");
    }
    // Blank lines after the last row are what editors leave; anything else is ignored
    // with a word.
    for (int r = kRows; !ended;) {
        ++r;
        if (readLine() > 0) {
            std::cerr << path << ":" << r << ": lines after the " << kRows << "th are ignored\n";
            break;
        }
    }
    // Without a start cell there is no player, without a flag nothing to defend.
    const bool start = cells.find('s') != std::string::npos, flag = cells.find('f') != std::string::npos;
    if (!start || !flag)
        return refuse("", std::string("the map has no ") + (start ? "" : "start cell (s)") +
                              (start || flag ? "" : " and no ") + (flag ? "" : "flag cell (f)"));
    return true;
}

void MapLoader::LoadMap(std::string path)
{
    std::string cells;
    if (!ReadCells(path, cells)) {
        std::cout.flush();
        std::exit(1);
    }
    std::cout << "Loading Map " << path << "\n";

    GameWorld& world = GameWorld::GetSingleton();
    world.AddObject(new VOB("map.ground"));
    world.SetEnemyCount(0);
    world.SetLevelStartTime();

    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kLineLength; ++c)
            PlaceCell(cells[static_cast<std::size_t>(r) * kLineLength + c], c, r);
    }
}

void MapLoader::PlaceCell(char cell, int column, int row)
{
    GameWorld& world = GameWorld::GetSingleton();
    const float x = static_cast<float>(column);
    const float y = static_cast<float>(row);
    switch (cell) {
    case 'w': {
        VOB* wall = new VOB("map.wall");
        wall->LoadModel(ModelCache::kWallModel);
        wall->SetNextPosition(x, y, kWallHeight);
        wall->SetDiameter(kWallDiameter);
        world.AddObject(wall);
        std::cout << "Wall added\n";
        break;
    }
    case 'e': {
        std::cout << "Enemy added\n";
        Enemy* enemy = new Enemy();
        enemy->SetNextX(x);
        enemy->SetNextY(y);
        for (const Waypoint& p : kEnemyPath)
            enemy->AddWaypoint(p.x, p.y, p.z);
        world.AddEnemy(enemy);
        break;
    }
    case 't': {
        std::cout << "Tower added " << column << " " << row << "\n";
        Tower* tower = new Tower(0.0f, 0.0f, 0.0f);
        tower->SetNextX(x);
        tower->SetNextY(y);
        world.AddTower(tower);
        break;
    }
    case 'f': {
        std::cout << "Flag added\n";
        Flag* flag = new Flag();
        flag->SetNextX(x);
        flag->SetNextY(y);
        world.AddObject(flag);
        world.SetActor(flag, GameWorld::kFlagSlot);
        break;
    }
    case 's': {
        std::cout << "Player spawning Point added\n";
        CMMPointer<VOB> player = world.GetActor(GameWorld::kPlayerSlot);
        // The selection level starts a new game with a new player; the levels reuse
        // it. A level loaded before any player exists makes one too.
        if (world.GetLevel() == 0 || !player.isValid()) {
            player = new Player();
            world.AddObject(player);
            world.SetActor(player, GameWorld::kPlayerSlot);
        } else {
            player->Reset();
        }
        player->SetNextX(x);
        player->SetNextY(y);
        break;
    }
    case 'p':
        std::cout << "Player starting point added\n";
        break;
    case '-':
        std::cout << "Roof added\n";
        break;
    default:
        break;  // empty cells, line ends and unknown characters
    }
}

bool MapLoader::LoadRaw(const std::string& name, std::size_t count, unsigned char* buffer)
{
    const std::string path = "Resources/Maps/" + name;
    std::FILE* f = buffer ? std::fopen(path.c_str(), "rb") : nullptr;
    FileCloser closer(f);
    if (!f || std::fread(buffer, 1, count, f) != count || std::ferror(f)) {
        std::cout << "unable to load RAW: " << path << "\n";
        return false;
    }
    return true;
}
