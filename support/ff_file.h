// File input and output: Win32 file handles opened and created with the
// program's file error codes and messages, counted reads against a
// remaining-bytes budget, length-prefixed packets in files and in memory,
// whole-file and line reads, and the free-space query used before saving.
//
// A packet is a u32 total length (these 4 bytes included, so at least 4)
// followed by length - 4 data bytes, little-endian; in memory it is a
// MemHandle whose first u32 holds that length (the block may be larger).
#pragma once
#include "support/qmwin.h"

// Codes of file failures; ffReportError shows their texts.
enum FileErrorCode : uint16_t {
    FE_NOT_EXIST = 1,        // "%s\r\n  does not exist"
    FE_CANNOT_OPEN = 2,      // "Can not open\r\n %s"
    FE_CANNOT_SAVE = 3,      // "Can not save to\r\n  %s"
    FE_READ_FAILED = 4,      // "Reading\r\n  %s\r\n failed"
    FE_UNEXPECTED_EOF = 5,   // "Unexpected end of file encountered in reading\r\n  %s"
    FE_WRITE_FAILED = 6,     // "Error writing file\r\n  %s"
    FE_READ_ONLY = 21,       // "File \r\n  %s\r\nis read-only."
    FE_IN_USE = 22,          // "Can not open\r\n  %s\r\nbecause it is currently opened by another process."
    FE_ACCESS_DENIED = 23,   // "Access to \r\n  %s\r\nwas denied."
};

// Failure codes of the packet reader (0 is success).
enum : uint16_t {
    FF_PACKET_LENGTH_ERROR = 0xFFFF,   // length word unreadable or out of range
    FF_PACKET_DATA_ERROR = 0xFFFE,     // the data could not be read whole
    FF_PACKET_MEMORY_ERROR = 0xFFFD,   // no block for the packet
};

// ---- file handles (INVALID_HANDLE_VALUE on failure) --------------------------
BOOL ffExists(const char *path);
BOOL ffIsFolder(const char *path);
UINT ffIsReadOnly(const char *path);     // 1 also for a missing file
BOOL ffClearReadOnly(const char *path);
HANDLE ffOpenRead(const char *path, DWORD *size, BOOL report);
HANDLE ffOpenReadReport(const char *path);
HANDLE ffCreateWrite(const char *path, BOOL ask, BOOL *cancelled);
HANDLE ffCreate(const char *path, BOOL ask);
HANDLE ffOpenReadWrite(const char *path);
BOOL ffClose(HANDLE h);
BOOL ffDelete(const char *path);
BOOL ffRename(const char *oldPath, const char *newPath);
BOOL ffCopyFile(const char *destination, const char *source);   // overwrites

// ---- files replaced whole ------------------------------------------------------------
// Every file the program writes over is written under a temporary name in
// the target's own folder and takes the target's name only when complete,
// so that a failure, a full disk or the process killed at any moment leaves
// the target's name holding either the old file or the new one, whole.
// ffCreateReplacement makes the temporary file (its name goes to `temp`, a
// buffer of 260 bytes) and opens it for writing; INVALID_HANDLE_VALUE (no
// message) when it cannot be made. ffCommitReplacement flushes and closes
// the handle and then, when `ok`, puts the file in the target's place with
// the system's one replace call, written through; when `ok` is FALSE or any
// step fails the temporary file is deleted, the target stays as it was and
// the result is FALSE.
HANDLE ffCreateReplacement(const char *target, char *temp);
BOOL ffCommitReplacement(HANDLE h, const char *temp, const char *target, BOOL ok);
// The bytes written as the whole new content of the file, that way.
BOOL ffReplaceFileBytes(const char *target, const void *bytes, uint32_t n);
DWORD ffRead(HANDLE h, void *buffer, DWORD n);    // bytes moved, 0 on failure
DWORD ffWrite(HANDLE h, const void *buffer, DWORD n);
BOOL ffSeek(HANDLE h, DWORD position);
BOOL ffSeekEnd(HANDLE h);
DWORD ffTell(HANDLE h);
DWORD ffGetSize(HANDLE h);                         // 0xFFFFFFFF on failure
DWORD ffGetFileSizeByName(const char *path);       // 0 when it cannot be opened

// ---- reading ahead ---------------------------------------------------------------
// A reader that takes many small pieces from one span of a file (a page of
// a document: a packet's length, then its body, object after object) asks
// for the span ahead: its bytes are then read in one large read (or a few,
// a window of kFfReadAheadWindow bytes at a time) and ffRead, ffSeek,
// ffSeekEnd, ffTell and the packet reader's end-of-file check serve them
// from memory, giving exactly the bytes, positions and short reads the
// file itself would give; bytes outside the span come from the file. The
// span starts at `offset`, where the position is put. Ending it puts the
// file's own position where the reads left it. One span per handle (a new
// one ends the old); FALSE for an invalid handle or when the position
// cannot be set. The spans belong to the thread that reads documents.
const uint32_t kFfReadAheadWindow = 1u << 20;
BOOL ffBeginReadAhead(HANDLE h, DWORD offset, DWORD n);
void ffEndReadAhead(HANDLE h);
// The span for the guard's life.
class FfReadAhead {
public:
    FfReadAhead(HANDLE h, DWORD offset, DWORD n) : h_(h), ok_(ffBeginReadAhead(h, offset, n)) {}
    ~FfReadAhead() { ffEndReadAhead(h_); }
    explicit operator bool() const { return ok_ != FALSE; }
    FfReadAhead(const FfReadAhead &) = delete;
    FfReadAhead &operator=(const FfReadAhead &) = delete;
private:
    HANDLE h_;
    BOOL ok_;
};
// The number of reads the system was asked for (tests see that a span is
// read in whole windows).
uint32_t ffSystemReadCount();

// ---- reports and questions ------------------------------------------------------
int ffReportError(HWND owner, const char *fileName, uint16_t code);
void ffShowFileMessage(HWND owner, uint16_t unused, const char *part1, const char *part2,
                       const char *part3);
int ffConfirmOverwrite(HWND owner, const char *path);

// ---- counted reads and packets ------------------------------------------------
// The budget is the signed count of bytes still to be read from the
// container; every successful counted read subtracts what it read.
BOOL ffReadCounted(HANDLE h, int32_t *budget, void *buffer, DWORD n, BOOL report);
BOOL ffReadCountedReport(HANDLE h, int32_t *budget, void *buffer, DWORD n);
// Reads one packet into a new handle; 0 with the failure code on failure (a
// length below 4, past the budget, or past the end of the file; short data;
// no memory). Only what was read whole is counted off the budget.
MemHandle ffReadPacketCode(HANDLE h, int32_t *budget, BOOL report, uint16_t *failure);
MemHandle ffReadPacketEx(HANDLE h, int32_t *budget, BOOL report);
MemHandle ffReadPacket(HANDLE h, int32_t *budget);
// The last packet read failure (position and code); returns the code.
uint16_t ffGetLastError(uint32_t *position, uint16_t *code);
uint32_t ffWritePacket(HANDLE h, MemHandle packet);
MemHandle ffReadFilePacket(const char *path);
MemHandle ffReadFileText(const char *path, BOOL report);
// Reads the next line (up to LF, the CR kept) into the string handle, which
// it grows or frees; returns the handle to keep. An empty line gives an
// empty string; only the end of the file with nothing read gives 0 with the
// end flag set.
MemHandle ffReadLineHandle(HANDLE h, MemHandle line, BOOL *atEnd);
uint32_t ffCopyBytes(HANDLE destination, HANDLE source, uint32_t n);
BOOL ffAppendToFile(const char *path, const void *bytes, uint32_t n);
BOOL ffAppendStringToFile(const char *path, const char *s);
// Free bytes available to the caller where the path would be written: the
// folder that holds it (the path itself when it is a folder), so that a
// folder mounted from another file system reports its own space. 0xFFFFFFFF
// when unknown or 4 GB and more.
uint32_t ffGetDiskFree(const char *path);
// The folder ffGetDiskFree asks for the path, with its trailing backslash:
// the path when it is a folder, else its parent, else the nearest existing
// folder above it, never above the drive root ("X:\") or the share
// ("\\server\share\"). Empty when the path has no folder part.
void ffDiskFreeFolder(const char *path, char *out, uint32_t size);

// ---- write accounting and simulated write failures ----------------------------
// Every ffWrite that moves fewer bytes than asked adds one to this count.
// Writers that build a file from many pieces take it before and after to
// know that nothing anywhere went short.
uint32_t ffWriteShortfalls();
// Simulated failures for tests of the failure paths. After `afterBytes`
// more bytes have gone through ffWrite, FF_FAULT_SHORT cuts the one write
// that crosses the limit short (it succeeds with fewer bytes; later writes
// are whole again), FF_FAULT_DISK_FULL makes that write and every later one
// fail as on a full disk (what fits is written, then ERROR_DISK_FULL).
// FF_FAULT_NONE lifts the fault.
// FF_FAULT_KILL ends the process at once after writing what fits, as a
// power cut or a killed program would: tests run a writer in a child
// process with it.
enum FfWriteFault : uint16_t {
    FF_FAULT_NONE = 0,
    FF_FAULT_SHORT = 1,
    FF_FAULT_DISK_FULL = 2,
    FF_FAULT_KILL = 3,
};
void ffSetWriteFault(FfWriteFault kind, uint64_t afterBytes);
// Simulated free space: ffGetDiskFree answers `bytes` for every path while
// set; 0xFFFFFFFFFFFFFFFF lifts it.
void ffSetDiskFreeOverride(uint64_t bytes);

// ---- packets in memory ---------------------------------------------------------
uint32_t utGetPacketLength(MemHandle h);
void utSetPacketLength(MemHandle h, uint32_t length);
MemHandle utMakePacket(const void *bytes, uint32_t n);
MemHandle utMakeStringPacket(const char *s);
MemHandle utHandleToPacket(MemHandle h);
MemHandle utDupPacket(MemHandle packet);
MemHandle utAssignPacket(MemHandle destination, MemHandle source);
int utComparePackets(MemHandle a, MemHandle b);
