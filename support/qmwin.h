// Common include for every module: the Win32 API, fixed-width integers and
// the memory handle type.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <stddef.h>

// A movable, zero-initialised block of memory, named by a 32-bit value so
// that records can hold it in a 4-byte field. 0 means no block. Blocks are
// reached only through utLock/utUnlock (or MemLock) and sized with
// utHandleSize; see support/ut_mem.h.
typedef uint32_t MemHandle;

void *utLock(MemHandle h);
void utUnlock(MemHandle h);

// Window, GDI and kernel handles fit in 32 bits (the system keeps them so for
// 32/64-bit interoperation); records store them in 4-byte fields through
// these two conversions.
inline uint32_t qmHandleToU32(const void *h) { return (uint32_t)(uintptr_t)h; }
template <typename H>
inline H qmU32ToHandle(uint32_t v) { return (H)(intptr_t)(int32_t)v; }

// Locks a handle for the lifetime of the guard and unlocks it at scope end.
template <typename T = uint8_t>
class MemLock {
public:
    explicit MemLock(MemHandle h) : h_(h), p_(h ? static_cast<T *>(utLock(h)) : nullptr) {}
    ~MemLock() { if (p_) utUnlock(h_); }
    MemLock(const MemLock &) = delete;
    MemLock &operator=(const MemLock &) = delete;
    T *get() const { return p_; }
    T *operator->() const { return p_; }
    T &operator[](size_t i) const { return p_[i]; }
    explicit operator bool() const { return p_ != nullptr; }
private:
    MemHandle h_;
    T *p_;
};

// Selects a GDI object into a DC for the guard's lifetime.
class GdiSelect {
public:
    GdiSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~GdiSelect() { if (old_) SelectObject(dc_, old_); }
    GdiSelect(const GdiSelect &) = delete;
    GdiSelect &operator=(const GdiSelect &) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// Owns a GDI object and deletes it at scope end.
template <typename H>
class GdiObject {
public:
    explicit GdiObject(H h = nullptr) : h_(h) {}
    ~GdiObject() { if (h_) DeleteObject(h_); }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    H get() const { return h_; }
    operator H() const { return h_; }
    H release() { H h = h_; h_ = nullptr; return h; }
private:
    H h_;
};
