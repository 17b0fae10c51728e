// Memory handles, byte routines and string routines.
#pragma once
#include "support/qmwin.h"

// Allocation and handle edits. Every operation that can grow a handle returns
// the handle to keep (it may differ from the one passed in); 0 means failure
// and the old handle is then still valid and still the caller's.
MemHandle utAllocHandle(MemHandle h, uint32_t size);
MemHandle utGrowHandle(MemHandle h, uint32_t needed, uint16_t step);
// The size utGrowHandle asks for: the capacity raised by whole steps until it
// reaches the needed size (before the allocator rounds it to 4).
uint32_t utGrowRequest(uint32_t capacity, uint32_t needed, uint16_t step);
void *utScratchBuffer(uint32_t size, BOOL take);
MemHandle utPutBytes(MemHandle h, uint32_t offset, const void *src, uint32_t n);
MemHandle utAppendString(MemHandle h, const char *s);
MemHandle utCopyHandleInto(MemHandle dst, MemHandle src);
MemHandle utAssignHandle(MemHandle dst, MemHandle src);
MemHandle utReplaceBytes(MemHandle h, uint32_t contentSize, uint32_t offset,
                         uint32_t oldLen, const void *src, uint32_t newLen);
MemHandle utHandleFromBytes(const void *bytes, uint32_t n);
MemHandle utHandleFromString(const char *s);
void utClearHandle(MemHandle h);
MemHandle utCopyHandle(MemHandle h);
uint32_t utHandleSize(MemHandle h);   // capacity, 0 for no handle or a dead one
MemHandle utFreeHandle(MemHandle h);  // utAllocHandle(h, 0): frees, returns 0
BOOL utIsLiveHandle(MemHandle h);     // the handle names a block that is not freed

// Byte routines on plain (locked) buffers.
void utCopyBytes(void *dst, const void *src, uint32_t n);
void utMoveBytes(void *dst, const void *src, uint32_t n);
int16_t utCompareBytes(const void *a, const void *b, uint32_t n);
uint32_t utDeleteBytes(void *buf, uint32_t contentSize, uint32_t offset, uint32_t n);
// Inserts and splices take the buffer's capacity and refuse (return FALSE or
// -1) when the result would not fit, instead of writing past the end.
BOOL utInsertBytes(void *buf, uint32_t capacity, uint32_t contentSize, uint32_t offset,
                   const void *src, uint32_t n);
int32_t utSpliceBytes(void *buf, uint32_t capacity, uint32_t contentSize, uint8_t *pos,
                      uint32_t oldLen, const void *src, uint32_t newLen);
void utFillBytes(void *buf, uint8_t value, uint32_t n);

// String routines (8-bit, zero-terminated, changed in place).
char *utSkipChar(char *s, char c);
char *utTrimTrailingChar(char *s, char c);
char *utTrimChar(char *s, char c);
char *utTrimCharCrLf(char *s, char c);
char *utRemoveChar(char *s, char c);
char *utStripCrLf(char *s);
int utCountChar(const char *s, char c);
uint32_t utStrSize(const char *s);
// Copies a list of strings ending in an empty string; the copy is always
// terminated within the limit. Returns the bytes written.
uint32_t utCopyMultiString(char *dst, const char *src, uint32_t limit);

// Safe bounded string helpers used throughout the program.
char *utStrCopyN(char *dst, const char *src, uint32_t dstSize);
char *utStrAppendN(char *dst, const char *src, uint32_t dstSize);

// Debug modes used by the tests.
enum {
    UT_DEBUG_MOVE_ON_GROW = 1,   // every grow moves the block; freed blocks are poisoned
};
void utSetDebugMode(uint32_t flags);
uint32_t utGetDebugMode();
// Makes the next n allocations (new blocks or grows) fail, as if memory ran out.
void utFailNextAllocs(int n);
// Number of blocks alive (for leak checks in tests).
long utLiveHandleCount();
void utResetMemModule();
