// SPDX-License-Identifier: GPL-3.0-or-later
// Log targets, the built-in message table and the user alert on standard error.
#include "engine/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {
// The numbered message texts; the program reads no resource module on Linux.
// Each text takes exactly the arguments its callers pass.
struct LogMessage {
    int id;
    const char* text;
};
constexpr LogMessage kMessages[] = {
    {0, "VELQ engine messages"},
    {1, "Object still alive at exit: %d reference(s), address %p, size %u bytes, first bytes \"%s\""},
    {2, ""}, {3, ""}, {4, ""}, {5, ""}, {6, ""}, {7, ""},
    {8, "Unable to initialise the SDL %s subsystem: %s"},
    {9, "Unable to set the video mode %dx%d at %d bits per pixel: %s"},
    {10, "Profiler report: outermost region %f s (%f frames per minute at one region per frame)"},
    {11, "   Min :   Avg :   Max :  Time : # : Profile name"},
    {12, "%s : %s : %s : %s : %s : %s"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == 13, "messages 0 to 12 are numbered without gaps");
}  // namespace

namespace {
// The log is never deleted; whatever way the process ends through exit(), the files
// are complete.
void FlushLogAtExit()
{
    if (CLog::Exists())
        CLog::GetSingleton().Flush();
}
}  // namespace

bool CLog::Init(const std::string& folder)
{
    static bool flushRegistered = false;
    if (!flushRegistered) {
        std::atexit(FlushLogAtExit);
        flushRegistered = true;
    }
    const std::string in = folder.empty() ? "" : folder + "/";
    appLog.open(in + "applog.txt", std::ios::out | std::ios::trunc);
    clientLog.open(in + "clntlog.txt", std::ios::out | std::ios::trunc);
    serverLog.open(in + "srvrlog.txt", std::ios::out | std::ios::trunc);
    LoadStrings();
    return appLog.is_open() && clientLog.is_open() && serverLog.is_open();
}

bool CLog::LoadStrings()
{
    // Stops at the first number without a text, as a resource table would.
    for (const LogMessage& m : kMessages) {
        if (m.id < 0 || m.id >= kLogMessageCount)
            break;
        logStrings[m.id] = m.text;
    }
    return true;
}

const std::string& CLog::MessageText(int messageId) const
{
    static const std::string empty;
    if (messageId < 0 || messageId >= kLogMessageCount)
        return empty;
    return logStrings[messageId];
}

int CLog::WriteText(int target, const char* text)
{
    if (target & LOG_APP) {
        if (appLog.is_open())
            appLog << text << "\n";
        std::cout << text << "\n";
    }
    if ((target & LOG_CLIENT) && clientLog.is_open())
        clientLog << text << "\n";
    if ((target & LOG_SERVER) && serverLog.is_open())
        serverLog << text << "\n";
    if (target & LOG_USER) {
        // Stands in for a modal message box: a marked line the user cannot miss.
        std::cout.flush();
        std::cerr << "*** VELQ message: " << text << " ***" << std::endl;
        return 1;  // the box's "OK"
    }
    return 0;
}

int CLog::Write(int target, const char* msg, ...)
{
    char buffer[kLogBufferSize];
    va_list args;
    va_start(args, msg);
    std::vsnprintf(buffer, sizeof buffer, msg, args);
    va_end(args);
    return WriteText(target, buffer);
}

int CLog::Write(int target, int messageId, ...)
{
    char buffer[kLogBufferSize];
    buffer[0] = '\0';
    const std::string& format = MessageText(messageId);
    va_list args;
    va_start(args, messageId);
    if (!format.empty())
        std::vsnprintf(buffer, sizeof buffer, format.c_str(), args);
    va_end(args);
    // The formatted text goes out as it is: a "%" in it is not read again.
    return WriteText(target, buffer);
}

void CLog::Flush()
{
    appLog.flush();
    clientLog.flush();
    serverLog.flush();
    std::cout.flush();
}
