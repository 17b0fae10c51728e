// The printer's DEVMODE and DEVNAMES blocks: system global memory handles
// as the common print dialog hands them out. Guards for locking and owning
// them, checks that a block read from a file or a packet is whole before any
// field of it is believed, and the comparisons of two printers.
#pragma once
#include "support/qmwin.h"

// Locks a global block for the guard's lifetime. size() is the block's size
// (0 for no block or one that cannot be locked).
template <typename T = uint8_t>
class GlobalLockT {
public:
    explicit GlobalLockT(HGLOBAL h)
        : h_(h), p_(h ? static_cast<T *>(GlobalLock(h)) : nullptr),
          size_(p_ ? (uint32_t)GlobalSize(h) : 0)
    {
    }
    ~GlobalLockT()
    {
        if (p_)
            GlobalUnlock(h_);
    }
    GlobalLockT(const GlobalLockT &) = delete;
    GlobalLockT &operator=(const GlobalLockT &) = delete;
    T *get() const { return p_; }
    T *operator->() const { return p_; }
    uint32_t size() const { return size_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    HGLOBAL h_;
    T *p_;
    uint32_t size_;
};

// Owns a global block and frees it at scope end unless released.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL h = nullptr) : h_(h) {}
    ~GlobalBlock()
    {
        if (h_)
            GlobalFree(h_);
    }
    GlobalBlock(const GlobalBlock &) = delete;
    GlobalBlock &operator=(const GlobalBlock &) = delete;
    HGLOBAL get() const { return h_; }
    HGLOBAL release()
    {
        HGLOBAL h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(HGLOBAL h = nullptr)
    {
        if (h_ && h_ != h)
            GlobalFree(h_);
        h_ = h;
    }

private:
    HGLOBAL h_;
};

// Frees a global block when there is one and clears the variable.
void prnFreeGlobal(HGLOBAL *h);
// A new movable global block holding a copy of n bytes; null for n = 0 or
// when memory runs out.
HGLOBAL prnGlobalFromBytes(const void *bytes, uint32_t n);
// A copy of a whole global block; null for no block.
HGLOBAL prnCopyGlobal(HGLOBAL h);

// The bytes of a DEVNAMES block: four u16 (driver, device and output string
// offsets, default flag), then the strings.
enum : uint32_t { PRN_DEVNAMES_HEAD = 8 };
enum PrnNameField { PRN_DRIVER = 0, PRN_DEVICE = 1, PRN_OUTPUT = 2 };

// A DEVNAMES block is whole when it holds its head and each of the three
// offsets points past the head to a string that ends inside the block.
BOOL prnCheckDevNames(const void *block, uint32_t size);
// The string of a field of a whole block; null when the block is not whole.
const char *prnDevNamesString(const void *block, uint32_t size, PrnNameField field);
// The bytes the strings of a whole block use (the end of the last
// terminator); 0 when the block is not whole.
uint32_t prnDevNamesUsedSize(const void *block, uint32_t size);

// The part of a DEVMODE the program writes to (up to dmColor): a block is
// whole when its dmSize covers that part and dmSize + dmDriverExtra bytes
// lie inside the block.
enum : uint32_t { PRN_DEVMODE_MIN_SIZE = 60 };
BOOL prnCheckDevMode(const void *block, uint32_t size);

// Same printer: both DEVNAMES blocks whole and their driver, device and
// output strings equal ignoring case.
BOOL prnSameDevNames(HGLOBAL a, HGLOBAL b);
// Same settings: equal dmSize fields and the first min(size of the two
// blocks) bytes equal.
BOOL prnSameDevMode(HGLOBAL a, HGLOBAL b);
