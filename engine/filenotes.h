// SPDX-License-Identifier: GPL-3.0-or-later
// What the file readers say about a file beyond yes or no: each reason for a refusal,
// and each thing a reader takes but was most likely not meant. A reader says it on its
// console line as always and hands it here too; while a CFileNotes listens they are
// collected (velq --check), otherwise they go nowhere.
#pragma once

#include <string>
#include <vector>

struct FileNote {
    bool error;        // the game refuses the file or cannot show it; else a warning
    int line;          // of a text file, from 1; 0 for the file as a whole
    std::string text;  // without the file's name
};

class CFileNotes {
public:
    // Listens from now on, until it goes (an inner one in its place while that lives).
    CFileNotes();
    ~CFileNotes();
    CFileNotes(const CFileNotes&) = delete;
    CFileNotes& operator=(const CFileNotes&) = delete;

    const std::vector<FileNote>& Notes() const { return notes; }

    // Called by the readers.
    static void Error(const std::string& text, int line = 0);
    static void Warning(const std::string& text, int line = 0);

private:
    std::vector<FileNote> notes;
    CFileNotes* outer;
    static CFileNotes* listening;
};
