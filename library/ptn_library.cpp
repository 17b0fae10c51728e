// The pattern library file and the pattern table.
#include "library/ptn_library.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include <string.h>

const char kPtnLibraryKind[] = "PTNLIB";

namespace {

const uint32_t kHandleAt = PTN_ENTRY_SIZE - 4;

MemHandle g_table = 0;
int16_t g_count = 0;

// Opens the library and checks its header and count; FALSE (nothing shown
// but a header failure) when there is nothing to read.
bool openLibrary(const char *fileName, HANDLE *file, int32_t *budget, uint16_t *count)
{
    *file = INVALID_HANDLE_VALUE;
    if (!fileName || !*fileName || !ffExists(fileName))
        return false;
    DWORD size = 0;
    HANDLE f = ffOpenRead(fileName, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    if (size == 0 || size == INVALID_FILE_SIZE || size > 0x7FFFFFFF) {
        ffClose(f);
        return false;
    }
    *budget = (int32_t)size;
    if (qmfCheckHeaderReport(f, budget, nullptr, kPtnLibraryKind, nullptr) != 1 ||
        !ffReadCounted(f, budget, count, sizeof *count, FALSE)) {
        ffClose(f);
        return false;
    }
    *file = f;
    return true;
}

// A pattern packet as the pattern editor makes it: 24 bytes, 8 x 8.
bool isPatternPacket(MemHandle packet)
{
    if (utGetPacketLength(packet) != PTN_PACKET_SIZE || utHandleSize(packet) < PTN_PACKET_SIZE)
        return false;
    MemLock<> p(packet);
    return utGetAt<uint16_t>(p.get(), 4) == 8 && utGetAt<uint16_t>(p.get(), 6) == 8;
}

MemHandle entryHandle(int32_t i)
{
    MemLock<> p(g_table);
    return utGetAt<MemHandle>(p.get(), (size_t)i * PTN_ENTRY_SIZE + kHandleAt);
}

void setEntryHandle(int32_t i, MemHandle packet)
{
    MemLock<> p(g_table);
    memset(p.get() + (size_t)i * PTN_ENTRY_SIZE, 0, PTN_ENTRY_SIZE);
    utPutAt<MemHandle>(p.get(), (size_t)i * PTN_ENTRY_SIZE + kHandleAt, packet);
}

bool inTable(int32_t i)
{
    return g_table && i >= 0 && i < g_count;
}

}  // namespace

MemHandle ptnReadFirst(const char *fileName)
{
    HANDLE f;
    int32_t budget = 0;
    uint16_t count = 0;
    if (!openLibrary(fileName, &f, &budget, &count))
        return 0;
    MemHandle first = count > 0 ? ffReadPacketEx(f, &budget, FALSE) : 0;
    ffClose(f);
    return first;
}

BOOL ptnLoadTable(HWND listBox, const char *fileName)
{
    ptnFreeTable(nullptr, FALSE);
    g_table = utAllocHandle(0, PTN_ENTRY_SIZE);   // the block of a new, empty table
    if (!g_table)
        return FALSE;
    ptnReadLibrary(fileName);
    if (listBox)
        for (int16_t i = 0; i < g_count; ++i)
            SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)"");
    return g_table != 0;
}

void ptnFreeTable(const char *fileName, BOOL save)
{
    if (save && fileName)
        ptnWriteLibrary(fileName);
    for (int16_t i = 0; g_table && i < g_count; ++i)
        utFreeHandle(entryHandle(i));
    g_table = utFreeHandle(g_table);
    g_count = 0;
}

int16_t ptnCount()
{
    return g_count;
}

MemHandle ptnGetPattern(int32_t i)
{
    return inTable(i) ? entryHandle(i) : 0;
}

uint16_t ptnAppend(MemHandle packet)
{
    if (g_count == 0x7FFF)
        return PTN_APPEND_FAILED;
    MemHandle grown = utAllocHandle(g_table, (uint32_t)(g_count + 1) * PTN_ENTRY_SIZE);
    if (!grown)
        return PTN_APPEND_FAILED;
    g_table = grown;
    setEntryHandle(g_count, packet);
    return (uint16_t)g_count++;
}

BOOL ptnReplace(int32_t i, MemHandle packet)
{
    if (!inTable(i))
        return FALSE;
    MemHandle old = entryHandle(i);
    if (old != packet)
        utFreeHandle(old);
    setEntryHandle(i, packet);
    return TRUE;
}

BOOL ptnDelete(int32_t i)
{
    if (!inTable(i))
        return FALSE;
    utFreeHandle(entryHandle(i));
    {
        MemLock<> p(g_table);
        memmove(p.get() + (size_t)i * PTN_ENTRY_SIZE, p.get() + (size_t)(i + 1) * PTN_ENTRY_SIZE,
                (size_t)(g_count - 1 - i) * PTN_ENTRY_SIZE);
    }
    --g_count;
    if (g_count == 0) {
        // The block of no entries is released.
        g_table = utFreeHandle(g_table);
        return FALSE;
    }
    MemHandle shrunk = utAllocHandle(g_table, (uint32_t)g_count * PTN_ENTRY_SIZE);
    if (shrunk)
        g_table = shrunk;
    return TRUE;
}

BOOL ptnWriteLibrary(const char *fileName)
{
    if (!fileName || !*fileName)
        return FALSE;
    // The new library is written beside the old one and takes its name only
    // when it was written whole, so a failed write never loses a library.
    char temp[UT_PATH_SIZE];
    HANDLE f = ffCreateReplacement(fileName, temp);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    uint32_t shortfalls = ffWriteShortfalls();
    uint16_t count = (uint16_t)g_count;
    bool ok = qmfWriteHeader(f, kPtnLibraryKind) == sizeof(FileHeader) &&
              ffWrite(f, &count, sizeof count) == sizeof count;
    for (int16_t i = 0; ok && i < g_count; ++i) {
        MemHandle packet = entryHandle(i);
        uint32_t length = utGetPacketLength(packet);
        ok = length >= 4 && length <= utHandleSize(packet) && ffWritePacket(f, packet) == length;
    }
    ok = ok && ffWriteShortfalls() == shortfalls;
    return ffCommitReplacement(f, temp, fileName, ok);
}

uint16_t ptnReadLibrary(const char *fileName)
{
    HANDLE f;
    int32_t budget = 0;
    uint16_t count = 0;
    if (!openLibrary(fileName, &f, &budget, &count))
        return 0;
    for (uint16_t i = 0; i < count && budget > 0; ++i) {
        MemHandle packet = ffReadPacketEx(f, &budget, FALSE);
        if (!packet)
            break;
        if (!isPatternPacket(packet) || ptnAppend(packet) == PTN_APPEND_FAILED)
            utFreeHandle(packet);
    }
    ffClose(f);
    return count;
}
