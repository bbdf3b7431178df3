// Named settings bound to program variables, read from "settings.esf" and the
// command line.
#pragma once

#include <cstddef>
#include <map>
#include <sstream>
#include <string>

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
};

template <class T>
class Dator : public BaseDator {
public:
    explicit Dator(T& t) : target(&t) {}

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
};

class CSettingsManager : public CSingleton<CSettingsManager> {
public:
    CSettingsManager();
    virtual ~CSettingsManager();

    void RegisterVariable(std::string name, CMMPointer<BaseDator> var);
    // Applies a value to a registered setting; unregistered names are ignored.
    void SetVariable(std::string& name, std::string& value, int bias = 0);
    // One line: name=value, +name=value, -name=value, +name, -name or name.
    void ParseSetting(std::string str);
    // Reads a settings file line by line; a missing file changes nothing.
    void ParseFile(std::string fileName);

    void CreateStandardSettings();
    void DestroyStandardSettings();

    bool IsRegistered(const std::string& name) const;
    // How many names the manager holds.
    std::size_t CountNames() const { return settingMap.size(); }
    // Every registered setting with its current value, as a settings line writes it.
    std::map<std::string, std::string> Values() const;

private:
    std::map<std::string, CMMPointer<BaseDator>> settingMap;
    CMMPointer<Dator<int>> maxFps;  // the kernel's frame-rate cap
};
