// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's diagnostics channel: three log files, the console and a user alert.
#pragma once

#include <fstream>
#include <string>

#include "engine/singleton.h"

constexpr int LOG_APP = 1;     // "applog.txt" and standard output
constexpr int LOG_CLIENT = 2;  // "clntlog.txt"
constexpr int LOG_SERVER = 4;  // "srvrlog.txt"
constexpr int LOG_USER = 8;    // a marked line on standard error

constexpr int kLogMessageCount = 256;
constexpr int kLogBufferSize = 1024;  // formatted texts longer than 1023 characters are cut

class CLog : public CSingleton<CLog> {
public:
    CLog() = default;

    // Opens (and truncates) the three files in the folder (the working directory when
    // empty) and loads the message table. False when a file fails to open; its writes
    // are lost.
    bool Init(const std::string& folder = "");
    // Fills the message table from the texts built into the program.
    bool LoadStrings();
    // Formats like printf and writes to every target named in `target`; returns 0,
    // or the alert's result (1, "OK") when LOG_USER is set.
    int Write(int target, const char* msg, ...) __attribute__((format(printf, 3, 4)));
    // The same with message number `messageId` of the table as the format.
    int Write(int target, int messageId, ...);

    const std::string& MessageText(int messageId) const;
    void Flush();

private:
    int WriteText(int target, const char* text);

    std::ofstream appLog;
    std::ofstream clientLog;
    std::ofstream serverLog;
    std::string logStrings[kLogMessageCount];
};
