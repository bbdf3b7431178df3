// Cell maps: one byte per cell, 64 lines of 64 cells and a line end.
#include "world/maploader.h"

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
    if (!f) {
        std::cout << "Loading Map " << path << " failed\n";
        return false;
    }
    FileCloser closer(f);
    // As a text-mode read does it: a CR right before an LF is dropped.
    cells.reserve(kMapBytes);
    while (cells.size() < kMapBytes) {
        int c = std::getc(f);
        if (c == EOF)
            break;
        if (c == '\r') {
            const int following = std::getc(f);
            if (following == '\n')
                c = '\n';
            else if (following != EOF)
                std::ungetc(following, f);
        }
        cells.push_back(static_cast<char>(c));
    }
    const bool readError = std::ferror(f) != 0;
    if (readError || cells.size() < kMapBytes) {
        std::cout << "Loading Map " << path << " failed\n";
        if (readError)
            std::cout << "the map could not be read to its end\n";
        else
            std::cout << "the map has " << cells.size() << " bytes, but " << kRows << " lines of " << kRows
                      << " cells and a line end need " << kMapBytes << "\n";
        cells.clear();
        return false;
    }
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
