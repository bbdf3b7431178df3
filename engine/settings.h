// SPDX-License-Identifier: GPL-3.0-or-later
// Named settings bound to program variables, read from "settings.esf" and the
// command line.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/mmanager.h"
#include "engine/singleton.h"

// A typed binder that reads and writes one variable as text.
class BaseDator : public IMMObject {
public:
    virtual BaseDator& operator=(std::string& s) = 0;
    virtual BaseDator& operator+=(std::string& s) = 0;
    virtual BaseDator& operator-=(std::string& s) = 0;
    virtual bool operator==(std::string& s) = 0;
    virtual bool operator!=(std::string& s) = 0;
    virtual bool hasMultipleValues() = 0;
    virtual operator std::string() = 0;
    // Why the text is no value this setting takes when applied with the bias ("must be
    // 16, 24 or 32"), or "" when it is one. The manager asks before every assignment.
    virtual std::string Refuse(std::string&, int) { return ""; }
};

template <class T>
class Dator : public BaseDator {
public:
    explicit Dator(T& t) : target(&t) {}
    // Bound to a variable that takes only values from min to max.
    Dator(T& t, T min, T max) : target(&t), lowest(min), highest(max) {}
    // Bound to a variable that takes only the values listed.
    Dator(T& t, std::initializer_list<T> values)
        : target(&t), lowest(std::numeric_limits<T>::lowest()), highest(std::numeric_limits<T>::max()), choices(values)
    {}

    // A text that does not start with a number leaves the variable as it was.
    BaseDator& operator=(std::string& s) override
    {
        T value;
        if (toVal(s, value))
            *target = value;
        return *this;
    }
    BaseDator& operator+=(std::string& s) override
    {
        T value;
        if (toVal(s, value))
            *target += value;
        return *this;
    }
    BaseDator& operator-=(std::string& s) override
    {
        T value;
        if (toVal(s, value))
            *target -= value;
        return *this;
    }
    bool operator==(std::string& s) override { return s == static_cast<std::string>(*this); }
    bool operator!=(std::string& s) override { return s != static_cast<std::string>(*this); }
    bool hasMultipleValues() override { return false; }
    operator std::string() override
    {
        std::ostringstream out;
        out << *target;
        std::istringstream in(out.str());
        std::string word;
        in >> word;
        return word;
    }
    unsigned size() override { return sizeof(*this); }

    // A bias adds to or takes from the variable: the sum is what must be in range.
    std::string Refuse(std::string& s, int bias) override
    {
        T value;
        if (!toVal(s, value))
            return "not a number";
        if (bias != 0) {
            T sum;
            if constexpr (std::is_integral_v<T>) {
                if (bias > 0 ? __builtin_add_overflow(*target, value, &sum)
                             : __builtin_sub_overflow(*target, value, &sum))
                    return "too large a number";
            } else {
                sum = bias > 0 ? *target + value : *target - value;
            }
            value = sum;
        }
        bool listed = choices.empty();
        for (const T& c : choices)
            listed = listed || c == value;
        if (listed && value >= lowest && value <= highest)
            return "";
        std::ostringstream why;
        why << "must be ";
        for (std::size_t i = 0; i < choices.size(); ++i)
            why << (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") << choices[i];
        if (choices.empty() && highest == std::numeric_limits<T>::max())
            why << lowest << " or more";
        else if (choices.empty())
            why << lowest << (highest == lowest + 1 ? " or " : " to ") << highest;
        return why.str();
    }

private:
    // Leading blanks are not skipped: " 5" is no number.
    static bool toVal(const std::string& s, T& value)
    {
        std::istringstream in(s);
        in.unsetf(std::ios::skipws);
        in >> value;
        return !in.fail();
    }
    T* target;
    T lowest = std::numeric_limits<T>::lowest();
    T highest = std::numeric_limits<T>::max();
    std::vector<T> choices;  // empty: any value from lowest to highest
};

// A setting that takes a word rather than a number; every bias sets it.
class WordDator : public BaseDator {
public:
    BaseDator& operator=(std::string& s) override { return Set(s); }
    BaseDator& operator+=(std::string& s) override { return Set(s); }
    BaseDator& operator-=(std::string& s) override { return Set(s); }
    bool operator==(std::string& s) override { return s == Get(); }
    bool operator!=(std::string& s) override { return s != Get(); }
    bool hasMultipleValues() override { return false; }
    operator std::string() override { return Get(); }

protected:
    virtual BaseDator& Set(const std::string& s) = 0;
    virtual std::string Get() = 0;
};

// An int that holds the index of one of the words listed; the setting reads and writes
// the word ("effects=light").
class ChoiceDator : public WordDator {
public:
    ChoiceDator(int& t, std::vector<std::string> w) : target(&t), words(std::move(w)) {}
    unsigned size() override { return sizeof(*this); }
    std::string Refuse(std::string& s, int) override;
    const std::vector<std::string>& Words() const { return words; }

protected:
    BaseDator& Set(const std::string& s) override;
    std::string Get() override;

private:
    int* target;
    std::vector<std::string> words;
};

// The text as a report shows it: control and non-ASCII bytes spelled out (\x1B), cut
// after `most` characters with "...", so a strange line cannot garble a terminal.
std::string Printable(const std::string& text, std::size_t most);

class CSettingsManager : public CSingleton<CSettingsManager> {
public:
    CSettingsManager();
    virtual ~CSettingsManager();

    // A line whose name was not yet registered is applied now, in the order it came.
    void RegisterVariable(std::string name, CMMPointer<BaseDator> var);
    // Applies a value to a registered setting. A value the setting refuses leaves it as
    // it was and is reported; an unregistered name is kept for ReportUnknown.
    void SetVariable(std::string& name, std::string& value, int bias = 0);
    // One line: name=value, +name=value, -name=value, +name, -name or name. The source
    // ("settings.esf:3", "command line") begins every report about the line; each report
    // also goes to the file notes, at the line's number in its file (0: none).
    void ParseSetting(std::string str, const std::string& source = "", int number = 0);
    // Reads a settings file line by line; a missing file changes nothing. A line that
    // begins with # is a comment. The file is the one Save writes to.
    void ParseFile(std::string fileName);
    const std::string& FileName() const { return fileName; }
    // Writes the named settings with their values now into the file read (a new one
    // in the working directory when none was), leaving out the lines of the dropped ones
    // and keeping every other line; false with the reason when it cannot, the file then
    // as it was.
    bool Save(const std::vector<std::string>& names, const std::vector<std::string>& dropped, std::string& why);
    // Reports every line kept for a name that no part of the program registered, once
    // all have registered theirs, and forgets them.
    void ReportUnknown();

    // Receives each report, one line without its line end; by default standard error.
    using Reporter = std::function<void(const std::string&)>;
    void SetReporter(Reporter r) { reporter = std::move(r); }
    // A report that is about no one line (two settings that clash), the same way.
    void Warn(const std::string& message);

    void CreateStandardSettings();
    void DestroyStandardSettings();

    bool IsRegistered(const std::string& name) const;
    // The setting's value as a settings line writes it; "" for a name not registered.
    std::string GetValue(const std::string& name) const;
    // How many names the manager holds.
    std::size_t CountNames() const { return settingMap.size(); }
    // Every registered setting with its current value, as a settings line writes it.
    std::map<std::string, std::string> Values() const;

private:
    // One settings line taken apart, with where it came from.
    struct Line {
        std::string source, text, name, value;
        int bias;
        int number;  // in the file, or 0
    };
    void Set(const Line& line);
    void Apply(const Line& line, BaseDator& dator);
    void Report(const Line& line, const std::string& what);

    std::map<std::string, CMMPointer<BaseDator>> settingMap;
    std::vector<Line> unknown;  // lines whose name is not registered (yet)
    std::string fileName = "settings.esf";
    Reporter reporter;
    CMMPointer<Dator<int>> maxFps;  // the kernel's frame-rate cap
    CMMPointer<Dator<int>> pad;     // whether the input task opens a controller
};
