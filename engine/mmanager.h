// SPDX-License-Identifier: GPL-3.0-or-later
// Reference-counted engine objects, their smart pointer and a counted byte buffer.
// Released objects wait on a dead list until the kernel collects them at frame end.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

class IMMObject {
public:
    static void* operator new(std::size_t bytes);
    static void operator delete(void* p);

    IMMObject();
    virtual ~IMMObject() {}
    virtual unsigned size() = 0;

    void AddRef();
    void Release();
    int GetRefCount() const { return refCount; }
    bool IsHeapAllocated() const { return !notHeapAllocated; }

    // Deletes every object on the dead list.
    static void CollectGarbage();
    // Collects, then reports every object still alive as log message 1 when asked to.
    static void CollectRemainingObjects(bool emitWarnings = false);

    // Introspection for reports and tests.
    static int CountLiveObjects();
    static int CountDeadObjects();

protected:
    IMMObject(const IMMObject&) = delete;
    IMMObject& operator=(const IMMObject&) = delete;

private:
    void Unlink(IMMObject*& head);
    void PushFront(IMMObject*& head);

    IMMObject* next;
    IMMObject* prev;
    int refCount;
    bool notHeapAllocated;

    static IMMObject* liveObjects;
    static IMMObject* deadObjects;
};

template <typename T>
class CMMPointer {
public:
    CMMPointer() : obj(nullptr) {}
    CMMPointer(T* o) : obj(nullptr) { *this = o; }
    CMMPointer(const CMMPointer<T>& p) : obj(nullptr) { *this = p; }
    template <typename U>
    CMMPointer(const CMMPointer<U>& p) : obj(nullptr)
    {
        *this = static_cast<T*>(static_cast<U*>(p));
    }
    ~CMMPointer()
    {
        if (obj)
            obj->Release();
    }

    // Release first, then add: assigning the held object with a count of one
    // passes through the dead list and back.
    CMMPointer<T>& operator=(T* o)
    {
        if (obj)
            obj->Release();
        obj = o;
        if (obj)
            obj->AddRef();
        return *this;
    }
    CMMPointer<T>& operator=(const CMMPointer<T>& p) { return *this = p.obj; }

    T* operator->() const
    {
        assert(obj!=0 && "Tried to -> on a NULL smart pointer");
        return obj;
    }
    T& operator*() const
    {
        assert(obj!=0 && "Tried to * a NULL smart pointer");
        return *obj;
    }
    operator T*() const { return obj; }
    bool isValid() const { return obj != nullptr; }

    // Spelled out for a raw pointer on either side and for two smart pointers: each
    // is an exact match, so no comparison has to choose between one of these and the
    // built-in pointer comparison reached through the conversion to T*.
    friend bool operator==(const CMMPointer& a, const CMMPointer& b) { return a.obj == b.obj; }
    friend bool operator!=(const CMMPointer& a, const CMMPointer& b) { return a.obj != b.obj; }
    friend bool operator==(const CMMPointer& a, T* b) { return a.obj == b; }
    friend bool operator!=(const CMMPointer& a, T* b) { return a.obj != b; }
    friend bool operator==(T* a, const CMMPointer& b) { return a == b.obj; }
    friend bool operator!=(T* a, const CMMPointer& b) { return a != b.obj; }

private:
    T* obj;
};

template <typename T>
class CMMDynamicBlob : public IMMObject {
public:
    explicit CMMDynamicBlob(uint32_t count) : dataSize(count), buffer(new T[count]) {}
    ~CMMDynamicBlob() override { delete[] buffer; }

    // The data length plus four bytes.
    unsigned size() override { return static_cast<unsigned>(dataSize + 4); }

    T& operator[](uint32_t index)
    {
        assert(index<dataSize);
        return buffer[index];
    }
    T* getBuffer() { return buffer; }
    uint32_t getDataSize() const { return dataSize; }

private:
    uint32_t dataSize;
    T* buffer;
};
