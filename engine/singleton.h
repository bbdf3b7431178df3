// SPDX-License-Identifier: GPL-3.0-or-later
// The one-object-per-class base of the engine's managers.
#pragma once

#include <cassert>

template <typename T>
class CSingleton {
public:
    CSingleton()
    {
        assert(!ms_singleton);
        // Only the base part exists yet: converting to T waits for GetSingleton, by
        // when the whole object has been built.
        ms_singleton = this;
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
        // The address of the whole T, not of this base part inside it.
        return *static_cast<T*>(ms_singleton);
    }
    static bool Exists() { return ms_singleton != nullptr; }

private:
    static inline CSingleton* ms_singleton = nullptr;
};
