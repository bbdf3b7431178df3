// SPDX-License-Identifier: GPL-3.0-or-later
// Live and dead lists, heap detection and the end-of-frame collection.
#include "engine/mmanager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "engine/log.h"

IMMObject* IMMObject::liveObjects = nullptr;
IMMObject* IMMObject::deadObjects = nullptr;

namespace {
// Addresses handed out by operator new whose constructor has not run yet;
// normally one entry at most.
std::vector<void*>& HeapAllocations()
{
    static std::vector<void*> allocations;
    return allocations;
}
}  // namespace

void* IMMObject::operator new(std::size_t bytes)
{
    void* p = std::malloc(bytes);
    if (!p) {
        std::fprintf(stderr, "VELQ: out of memory allocating %zu bytes, stopping.\n", bytes);
        std::exit(1);
    }
    HeapAllocations().push_back(p);
    return p;
}

void IMMObject::operator delete(void* p)
{
    // Objects not from our allocation never reach here through the collector;
    // a constructor that threw would, and its address is still recorded.
    auto& allocations = HeapAllocations();
    auto it = std::find(allocations.begin(), allocations.end(), p);
    if (it != allocations.end())
        allocations.erase(it);
    std::free(p);
}

IMMObject::IMMObject() : next(nullptr), prev(nullptr), refCount(0), notHeapAllocated(true)
{
    auto& allocations = HeapAllocations();
    auto it = std::find(allocations.begin(), allocations.end(), static_cast<void*>(this));
    if (it != allocations.end()) {
        allocations.erase(it);
        notHeapAllocated = false;
        PushFront(deadObjects);
    }
}

void IMMObject::Unlink(IMMObject*& head)
{
    if (prev)
        prev->next = next;
    if (next)
        next->prev = prev;
    if (head == this)
        head = next;
    next = prev = nullptr;
}

void IMMObject::PushFront(IMMObject*& head)
{
    prev = nullptr;
    next = head;
    if (head)
        head->prev = this;
    head = this;
}

void IMMObject::AddRef()
{
    ++refCount;
    if (!notHeapAllocated && refCount == 1) {
        Unlink(deadObjects);
        PushFront(liveObjects);
    }
}

void IMMObject::Release()
{
    --refCount;
    if (!notHeapAllocated && refCount <= 0) {
        Unlink(liveObjects);
        PushFront(deadObjects);
        std::cout << "object died\n";
    }
}

void IMMObject::CollectGarbage()
{
    // Objects released by a destructor in here land at the front of the dead list
    // and are picked up by the next round of this loop, so they go in this
    // same collection.
    while (deadObjects) {
        IMMObject* victim = deadObjects;
        victim->Unlink(deadObjects);
        delete victim;
    }
}

void IMMObject::CollectRemainingObjects(bool emitWarnings)
{
    CollectGarbage();
    if (!emitWarnings)
        return;
    for (IMMObject* o = liveObjects; o; o = o->next) {
        char bytes[11];
        std::memset(bytes, 0, sizeof bytes);
        unsigned n = std::min(o->size(), 10u);
        std::memcpy(bytes, static_cast<const void*>(o), n);
        CLog::GetSingleton().Write(LOG_APP, 1, o->refCount, static_cast<void*>(o), o->size(), bytes);
    }
}

int IMMObject::CountLiveObjects()
{
    int n = 0;
    for (IMMObject* o = liveObjects; o; o = o->next)
        ++n;
    return n;
}

int IMMObject::CountDeadObjects()
{
    int n = 0;
    for (IMMObject* o = deadObjects; o; o = o->next)
        ++n;
    return n;
}
