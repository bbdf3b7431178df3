// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a level's cell map into scene objects, and reads height fields.
#pragma once

#include <cstddef>
#include <string>

class MapLoader {
public:
    static constexpr int kRows = 64;
    static constexpr int kLineLength = 65;  // 64 cells and the line end
    static constexpr std::size_t kMapBytes = kRows * kLineLength;

    // Builds the level's objects and registers them with the game world. A map that
    // ReadCells refuses ends the program with exit code 1 after saying why.
    void LoadMap(std::string path);

    // Reads a height field from Resources/Maps/; false, with the "unable to load RAW: "
    // line, when the file is missing or holds fewer than count bytes. A longer file is
    // read for its first count bytes with a line that says so.
    bool LoadRaw(const std::string& name, std::size_t count, unsigned char* buffer);
    // LoadRaw on a path of the caller's choice.
    static bool LoadRawFile(const std::string& path, std::size_t count, unsigned char* buffer);

    // Reads the 64 lines of a cell map as text: exactly 64 cells each, ended by LF or CR LF
    // (the last line may lack its end), with at least one start and one flag cell; blank
    // lines after them are allowed, other lines ignored with a word. False, with the
    // "failed" line and on standard error the file, the line and why, and cells left
    // empty, when the file is missing, unreadable or breaks one of these rules. Unknown
    // cells (left empty) and a start from which the player cannot walk to the flag are
    // said on standard error too (the last start and flag, the ones that count). Each
    // reason also goes to the file notes.
    static bool ReadCells(const std::string& path, std::string& cells);

    // Whether a walk from cell from reaches cell to (offsets into the cells ReadCells
    // gives) past the walls, within the 64 x 64 cells.
    static bool Reaches(const std::string& cells, std::size_t from, std::size_t to);

private:
    void PlaceCell(char cell, int column, int row);
};
