// SPDX-License-Identifier: GPL-3.0-or-later
// Cell maps: one byte per cell, 64 lines of 64 cells and a line end.
#include "world/maploader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "engine/filenotes.h"
#include "engine/settings.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/vob.h"

namespace {

// Every enemy is given the same two path points.
constexpr Waypoint kEnemyPath[] = {{25.0f, 25.0f, 1.0f}, {35.0f, 25.0f, 1.0f}};
constexpr float kWallHeight = 0.5f;  // a wall block one unit high stands on the ground
constexpr float kWallDiameter = 1.0f;

// The cells a level knows; everything else is left empty, the same as '.' and ' '.
constexpr char kKnownCells[] = "wetfsp-. ";
// Unknown cells named one by one; the rest are counted.
constexpr int kUnknownCellsNamed = 5;

std::string CellPlace(std::size_t at)
{
    return "line " + std::to_string(at / MapLoader::kLineLength + 1) + ", column " +
           std::to_string(at % MapLoader::kLineLength + 1);
}

// Unknown cells are said: the first few with their places, then how many in all.
void SayUnknownCells(const std::string& path, const std::string& cells)
{
    int unknown = 0;
    for (std::size_t at = 0; at < cells.size(); ++at) {
        const char cell = cells[at];
        if (cell == '\n' || (cell != '\0' && std::strchr(kKnownCells, cell)))
            continue;
        if (++unknown > kUnknownCellsNamed)
            continue;
        const int line = static_cast<int>(at / MapLoader::kLineLength) + 1;
        const std::string why = "unknown cell '" + Printable(std::string(1, cell), 1) + "' in column " +
                                std::to_string(at % MapLoader::kLineLength + 1) + " is left empty";
        std::cerr << path << ":" << line << ": " << why << "\n";
        CFileNotes::Warning(why, line);
    }
    if (unknown > kUnknownCellsNamed) {
        const std::string why = std::to_string(unknown) + " unknown cells in all are left empty";
        std::cerr << path << ": " << why << "\n";
        CFileNotes::Warning(why);
    }
}

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
    const auto refuse = [&](int line, const std::string& why) {
        std::cout << "Loading Map " << path << " failed\n";
        std::cout.flush();
        if (!why.empty())
            std::cerr << path << (line > 0 ? ":" + std::to_string(line) : "") << ": " << why << "\n";
        CFileNotes::Error(why, line);
        cells.clear();
        return false;
    };
    if (!f)
        return refuse(0, std::string("cannot be opened: ") + std::strerror(errno));

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
            return refuse(0, "the map could not be read to its end");
        if (ended && length == 0)
            return refuse(0, "the map has " + std::to_string(r) + " lines, but a level is " + std::to_string(kRows) +
                                  " lines of " + std::to_string(kRows) + " cells");
        if (length != kRows) {
            std::string why = "the line has " + std::to_string(length) + " cells, not " + std::to_string(kRows);
            if (r == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
                why += " (it begins with a byte-order mark)";
            else if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                why += " (a letter of more than one byte counts as several cells)";
            return refuse(r + 1, why);
        }
        cells += line;
        cells.push_back('\n');
        if (ended && r + 1 < kRows)
            return refuse(0, "the map has " + std::to_string(r + 1) + " lines, but a level is " +
                                  std::to_string(kRows) + " lines of " + std::to_string(kRows) + " cells");
    }
    // Blank lines after the last row are what editors leave; anything else is ignored
    // with a word.
    for (int r = kRows; !ended;) {
        ++r;
        if (readLine() > 0) {
            const std::string why = "lines after the " + std::to_string(kRows) + "th are ignored";
            std::cerr << path << ":" << r << ": " << why << "\n";
            CFileNotes::Warning(why, r);
            break;
        }
    }
    // Said before a missing start or flag: a mistyped one is the likely reason.
    SayUnknownCells(path, cells);
    // Without a start cell there is no player, without a flag nothing to defend.
    const std::size_t start = cells.rfind('s'), flag = cells.rfind('f');
    if (start == std::string::npos || flag == std::string::npos)
        return refuse(0, std::string("the map has no ") + (start != std::string::npos ? "" : "start cell (s)") +
                             (start != std::string::npos || flag != std::string::npos ? "" : " and no ") +
                             (flag != std::string::npos ? "" : "flag cell (f)"));
    if (!Reaches(cells, start, flag)) {
        const std::string why = "the player's start (s, " + CellPlace(start) + ") cannot reach the flag (f, " +
                                CellPlace(flag) + "): walls close it off";
        std::cerr << path << ": " << why << "\n";
        CFileNotes::Warning(why);
    }
    return true;
}

bool MapLoader::Reaches(const std::string& cells, std::size_t from, std::size_t to)
{
    // Breadth first over the cells, one step to the side or up or down: a wall fills its
    // cell, so two walls that touch at a corner close the way between them.
    if (cells.size() != kMapBytes || from >= kMapBytes || to >= kMapBytes)
        return false;
    std::vector<bool> seen(kMapBytes, false);
    std::vector<std::size_t> next{from};
    seen[from] = true;
    for (std::size_t i = 0; i < next.size(); ++i) {
        const std::size_t at = next[i];
        if (at == to)
            return true;
        const std::size_t column = at % kLineLength;
        const std::size_t steps[] = {column > 0 ? at - 1 : at, column + 1 < kRows ? at + 1 : at,
                                     at >= kLineLength ? at - kLineLength : at, at + kLineLength};
        for (std::size_t step : steps) {
            if (step < kMapBytes && !seen[step] && cells[step] != 'w') {
                seen[step] = true;
                next.push_back(step);
            }
        }
    }
    return false;
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
    return LoadRawFile("Resources/Maps/" + name, count, buffer);
}

bool MapLoader::LoadRawFile(const std::string& path, std::size_t count, unsigned char* buffer)
{
    std::FILE* f = buffer ? std::fopen(path.c_str(), "rb") : nullptr;
    const int openError = errno;
    FileCloser closer(f);
    const long size = f && std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    const bool read = size >= 0 && std::fseek(f, 0, SEEK_SET) == 0 && std::fread(buffer, 1, count, f) == count &&
                      !std::ferror(f);
    const std::string sizes =
        "the height field has " + std::to_string(size) + " bytes, not " + std::to_string(count);
    if (!read) {
        std::cout << "unable to load RAW: " << path << "\n";
        CFileNotes::Error(!f ? std::string("cannot be opened: ") + std::strerror(openError)
                             : size < 0 || std::size_t(size) >= count ? "cannot be read" : sizes);
        return false;
    }
    // A longer file is most likely another size or depth of samples, which reads as
    // a stretched, ribbed ground.
    if (std::size_t(size) > count) {
        std::cout << "RAW " << path << ": " << sizes << "; the rest is ignored\n";
        CFileNotes::Warning(sizes + "; the rest is ignored");
    }
    return true;
}
