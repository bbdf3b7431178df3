// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file written whole and atomically, keeping the lines it does not own.
#include "engine/settingsfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace SettingsFile {

void (*stepTaken)(int step) = nullptr;

namespace {

void Step(int step)
{
    if (stepTaken)
        stepTaken(step);
}

std::string Reason(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// The folder a file lies in, for its new copy and the folder's own flush.
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string NameOf(const std::string& line)
{
    std::string text = line;
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    if (text.empty() || text[0] == '#' || text.find_first_not_of(" \t") == std::string::npos)
        return "";
    if (text[0] == '+' || text[0] == '-')
        text.erase(0, 1);
    return text.substr(0, text.find('='));
}

std::string Merge(const std::string& text, const Owned& owned, const std::vector<std::string>& dropped)
{
    std::map<std::string, const std::string*> values;
    for (const std::string& name : dropped)
        values[name] = nullptr;
    for (const auto& [name, value] : owned)
        values[name] = &value;
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    const std::string eol = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r' ? "\r\n" : "\n";
    std::map<std::string, bool> written;
    std::string out;
    for (const std::string& line : lines) {
        const auto it = values.find(NameOf(line));
        if (it == values.end()) {
            // Kept as it stands; the end it had (a CR before the LF) stays with it.
            out += line + "\n";
        } else if (it->second && !written[it->first]) {
            written[it->first] = true;
            out += it->first + "=" + *it->second + eol;
        }
    }
    for (const auto& [name, value] : owned) {
        if (!written[name]) {
            written[name] = true;
            out += name + "=" + value + eol;
        }
    }
    return out;
}

bool Write(const std::string& given, const Owned& owned, const std::vector<std::string>& dropped, std::string& why)
{
    // A link (a player's dotfiles) is followed: the file it names gets the new text.
    std::string path = given;
    struct stat st;
    char resolved[PATH_MAX];
    if (lstat(given.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(given.c_str(), resolved))
        path = resolved;

    std::string text;
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            why = Reason("cannot read", path);
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string merged = Merge(text, owned, dropped);

    std::string newPath = path + ".XXXXXX";
    const int fd = mkstemp(&newPath[0]);
    if (fd < 0) {
        why = Reason("cannot write a new file in the folder of", path);
        return false;
    }
    Step(1);
    // The old file's permissions, or those a new file gets.
    mode_t mode = 0;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, merged);
    if (ok)
        Step(2);
    ok = ok && fsync(fd) == 0;
    if (ok)
        Step(3);
    if (!ok)
        why = Reason("cannot write", newPath);
    if (close(fd) != 0 && ok) {
        ok = false;
        why = Reason("cannot write", newPath);
    }
    if (ok) {
        Step(4);
        if (rename(newPath.c_str(), path.c_str()) != 0) {
            ok = false;
            why = Reason("cannot replace", path);
        }
    }
    if (!ok) {
        unlink(newPath.c_str());
        return false;
    }
    Step(5);
    // The rename itself reaches the disk with the folder.
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

}  // namespace SettingsFile
