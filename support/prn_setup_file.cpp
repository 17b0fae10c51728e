// The printer settings file.
#include "support/prn_setup_file.h"
#include "support/ff_file.h"
#include "support/ut_path.h"
#include "support/prn_blocks.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

// Reads the next packet's data into a new global block; null on failure.
HGLOBAL readBlock(HANDLE f, int32_t *budget)
{
    uint16_t failure = 0;
    MemHandle packet = ffReadPacketCode(f, budget, FALSE, &failure);
    if (!packet)
        return nullptr;
    HGLOBAL block = nullptr;
    uint32_t length = utGetPacketLength(packet);
    if (length > 4 && length <= utHandleSize(packet)) {
        MemLock<> p(packet);
        block = prnGlobalFromBytes(p.get() + 4, length - 4);
    }
    utFreeHandle(packet);
    return block;
}

// Writes a block as a packet: its size + 4, then its bytes.
bool writeBlock(HANDLE f, HGLOBAL h)
{
    GlobalLockT<> p(h);
    if (!p || p.size() == 0 || p.size() > 0x7FFFFFF0u)
        return false;
    uint32_t length = p.size() + 4;
    return ffWrite(f, &length, 4) == 4 && ffWrite(f, p.get(), p.size()) == p.size();
}

bool blockIs(HGLOBAL h, BOOL (*check)(const void *, uint32_t))
{
    GlobalLockT<> p(h);
    return check(p.get(), p.size()) != FALSE;
}

}  // namespace

BOOL prnReadSetupFile(HWND, const char *path, HGLOBAL *devMode, HGLOBAL *devNames)
{
    *devMode = nullptr;
    *devNames = nullptr;
    if (!path || !*path)
        return FALSE;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    GlobalBlock mode, names;
    if (size != INVALID_FILE_SIZE && size <= 0x7FFFFFFFu) {
        int32_t budget = (int32_t)size;
        mode.reset(readBlock(f, &budget));
        if (mode.get())
            names.reset(readBlock(f, &budget));
    }
    ffClose(f);
    if (!blockIs(mode.get(), prnCheckDevMode) || !blockIs(names.get(), prnCheckDevNames))
        return FALSE;
    *devMode = mode.release();
    *devNames = names.release();
    return TRUE;
}

BOOL prnWriteSetupFile(const char *path, HGLOBAL devMode, HGLOBAL devNames)
{
    if (!path || !*path || !blockIs(devMode, prnCheckDevMode) ||
        !blockIs(devNames, prnCheckDevNames))
        return FALSE;
    DWORD attrs = GetFileAttributesA(path);
    if (attrs != INVALID_FILE_ATTRIBUTES &&
        (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return FALSE;
    char temp[UT_PATH_SIZE];
    HANDLE f = ffCreateReplacement(path, temp);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    bool written = writeBlock(f, devMode) && writeBlock(f, devNames);
    return ffCommitReplacement(f, temp, path, written);
}
