// SPDX-License-Identifier: GPL-3.0-or-later
// Shared test helpers: a private working directory, captured console output, small files;
// and what every test includes: GoogleTest and the standard headers the tests use.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace velqtest {

// A fresh directory to work in while it lives; afterwards the old one again, and it is gone.
class TempDir {
public:
    TempDir() : previous(std::filesystem::current_path())
    {
        char pattern[] = "/tmp/velqtest-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        path = pattern;
        std::filesystem::current_path(path);
    }
    ~TempDir()
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    void Write(const std::string& name, const std::string& contents) const
    {
        const std::filesystem::path p = path / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << contents;
    }

private:
    std::filesystem::path previous, path;
};

// Redirects a stream (std::cout unless named) into a string while it lives.
class CaptureCout {
public:
    explicit CaptureCout(std::ostream& s = std::cout) : stream(s), old(s.rdbuf(buffer.rdbuf())) {}
    ~CaptureCout() { stream.rdbuf(old); }
    CaptureCout(const CaptureCout&) = delete;
    CaptureCout& operator=(const CaptureCout&) = delete;
    std::string Text() const { return buffer.str(); }

private:
    std::ostringstream buffer;
    std::ostream& stream;
    std::streambuf* old;
};

class CaptureCerr : public CaptureCout {
public:
    CaptureCerr() : CaptureCout(std::cerr) {}
};

// How often part occurs in text, without overlaps.
inline int CountOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// A 16-bit mono WAV file at 22050 Hz holding a square tone; the mixer knows it by its content,
// whatever the file is called.
inline std::string Wav(int samples)
{
    std::string out;
    const auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    out += "RIFF";
    put(36 + samples * 2, 4);
    out += "WAVEfmt ";
    for (auto [v, bytes] : {std::pair<uint32_t, int>{16, 4}, {1, 2}, {1, 2}, {22050, 4}, {44100, 4}, {2, 2}, {16, 2}})
        put(v, bytes);
    out += "data";
    put(samples * 2, 4);
    for (int i = 0; i < samples; ++i)
        put(i % 50 < 25 ? 8000 : uint16_t(-8000), 2);
    return out;
}

inline std::string ReadFile(const std::filesystem::path& p)
{
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

}  // namespace velqtest
