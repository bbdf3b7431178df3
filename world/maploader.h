// Turns a level's cell map into scene objects, and reads height fields.
#pragma once

#include <cstddef>
#include <string>

class MapLoader {
public:
    static constexpr int kRows = 64;
    static constexpr int kLineLength = 65;  // 64 cells and the line end
    static constexpr std::size_t kMapBytes = kRows * kLineLength;

    // Builds the level's objects and registers them with the game world. A missing,
    // unreadable or short map ends the program with exit code 1 after saying why.
    void LoadMap(std::string path);

    // Reads a height field from Resources/Maps/; false, with the "unable to load RAW: "
    // line, when the file is missing or holds fewer than count bytes.
    bool LoadRaw(const std::string& name, std::size_t count, unsigned char* buffer);

    // Reads the 64 lines of a cell map as text (a CR LF pair is one line end). False,
    // with the console lines and cells left empty, when the file is missing or too short.
    static bool ReadCells(const std::string& path, std::string& cells);

private:
    void PlaceCell(char cell, int column, int row);
};
