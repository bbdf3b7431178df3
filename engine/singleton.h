// The one-object-per-class base of the engine's managers.
#pragma once

#include <cassert>

template <typename T>
class CSingleton {
public:
    CSingleton()
    {
        assert(!ms_singleton);
        // The address of the whole T, not of this base part inside it.
        ms_singleton = static_cast<T*>(this);
    }
    ~CSingleton()
    {
        assert(ms_singleton);
        ms_singleton = nullptr;
    }
    CSingleton(const CSingleton&) = delete;
    CSingleton& operator=(const CSingleton&) = delete;

    static T& GetSingleton()
    {
        assert(ms_singleton);
        return *ms_singleton;
    }
    static bool Exists() { return ms_singleton != nullptr; }

private:
    static inline T* ms_singleton = nullptr;
};
