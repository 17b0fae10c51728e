// File input and output through the Win32 file API, file error reports,
// counted reads and length-prefixed packets.
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "resource.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The last packet read failure, cleared at the start of every packet read.
struct LastFileError {
    uint32_t position;
    uint16_t code;
};
LastFileError g_lastError = {0, 0};

const uint32_t kPieceSize = 512;        // copy and scan buffer
const uint32_t kMaxMessageParts = 520;  // longest text ffShowFileMessage shows
const uint32_t kMaxBlockBytes = 0x7FFFFFF0u;

// Write accounting and the simulated faults of the tests.
uint32_t g_writeShortfalls = 0;
FfWriteFault g_fault = FF_FAULT_NONE;
uint64_t g_faultBudget = 0;
const uint64_t kNoOverride = ~0ull;
uint64_t g_diskFreeOverride = kNoOverride;

// How many of n bytes the simulated fault lets through; *fail when the write
// is to fail as a whole afterwards.
DWORD faultAllows(DWORD n, bool *fail)
{
    *fail = false;
    if (g_fault == FF_FAULT_NONE)
        return n;
    if (g_faultBudget >= n) {
        g_faultBudget -= n;
        return n;
    }
    DWORD allowed = (DWORD)g_faultBudget;
    g_faultBudget = 0;
    if (g_fault == FF_FAULT_SHORT)
        g_fault = FF_FAULT_NONE;   // one short write, then whole ones again
    else
        *fail = true;
    return allowed;
}

bool validHandle(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

uint32_t g_systemReads = 0;

DWORD systemRead(HANDLE h, void *buffer, DWORD n)
{
    ++g_systemReads;
    DWORD got = 0;
    if (!ReadFile(h, buffer, n, &got, nullptr))
        return 0;
    return got;
}

bool systemSeek(HANDLE h, uint64_t position)
{
    LARGE_INTEGER to;
    to.QuadPart = (LONGLONG)position;
    return SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != FALSE;
}

// A span of a file read ahead (see ffBeginReadAhead). The window holds the
// file's bytes [windowStart, windowStart + windowBytes); `position` is the
// position the file would have.
struct ReadAheadSpan {
    HANDLE h = nullptr;
    uint64_t start = 0, end = 0;
    uint64_t windowStart = 0;
    uint32_t windowBytes = 0;
    uint64_t position = 0;
    uint64_t fileSize = 0;
    std::vector<uint8_t> window;
};
const int kMaxSpans = 4;
ReadAheadSpan g_spans[kMaxSpans];
int g_spanCount = 0;

ReadAheadSpan *spanOf(HANDLE h)
{
    if (g_spanCount == 0)
        return nullptr;
    for (ReadAheadSpan &s : g_spans)
        if (s.h == h && h)
            return &s;
    return nullptr;
}

// Reads n bytes at the span's position as the file would give them: from
// the window, refilled at the position while within the span, else (or
// for pieces larger than a window) straight from the file.
DWORD spanRead(ReadAheadSpan &s, uint8_t *out, DWORD n)
{
    DWORD done = 0;
    while (done < n) {
        uint64_t p = s.position;
        if (p >= s.windowStart && p < s.windowStart + s.windowBytes) {
            DWORD k = (DWORD)std::min<uint64_t>(n - done, s.windowStart + s.windowBytes - p);
            memcpy(out + done, s.window.data() + (p - s.windowStart), k);
            done += k;
            s.position += k;
            continue;
        }
        if (p >= s.start && p < s.end && n - done < s.window.size()) {
            DWORD want = (DWORD)std::min<uint64_t>(s.window.size(), s.end - p);
            s.windowStart = p;
            s.windowBytes = systemSeek(s.h, p) ? systemRead(s.h, s.window.data(), want) : 0;
            if (s.windowBytes == 0)
                break;   // the file ends here
            continue;
        }
        DWORD got = systemSeek(s.h, p) ? systemRead(s.h, out + done, n - done) : 0;
        done += got;
        s.position += got;
        break;
    }
    return done;
}

// Formats a text holding one "%s" with the file name, however long it is.
std::string formatWithName(const char *format, const char *name)
{
    if (!name)
        name = "";
    int n = snprintf(nullptr, 0, format, name);
    if (n < 0)
        return std::string();
    std::string out((size_t)n + 1, '\0');
    snprintf(&out[0], out.size(), format, name);
    out.resize((size_t)n);
    return out;
}

const char *errorText(uint16_t code)
{
    switch (code) {
    case FE_NOT_EXIST: return "%s\r\n  does not exist";
    case FE_CANNOT_OPEN: return "Can not open\r\n %s";
    case FE_CANNOT_SAVE: return "Can not save to\r\n  %s";
    case FE_READ_FAILED: return "Reading\r\n  %s\r\n failed";
    case FE_UNEXPECTED_EOF: return "Unexpected end of file encountered in reading\r\n  %s";
    case FE_WRITE_FAILED: return "Error writing file\r\n  %s";
    case FE_READ_ONLY: return "File \r\n  %s\r\nis read-only.";
    case FE_IN_USE:
        return "Can not open\r\n  %s\r\nbecause it is currently opened by another process.";
    case FE_ACCESS_DENIED: return "Access to \r\n  %s\r\nwas denied.";
    default: return nullptr;
    }
}

// True for an existing file whose read-only attribute is set (unlike
// ffIsReadOnly, a missing file is not read-only here).
bool existingReadOnly(const char *path)
{
    DWORD attrs = GetFileAttributesA(path);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY);
}

bool hasWildcard(const char *path) { return strpbrk(path, "*?") != nullptr; }

// Bytes between the current position and the end of the file; false when
// the handle has no size (then no check can be made).
bool bytesLeftInFile(HANDLE h, uint64_t *left)
{
    if (ReadAheadSpan *s = spanOf(h)) {
        *left = s->fileSize > s->position ? s->fileSize - s->position : 0;
        return true;
    }
    LARGE_INTEGER size, pos, zero;
    zero.QuadPart = 0;
    if (!GetFileSizeEx(h, &size) || !SetFilePointerEx(h, zero, &pos, FILE_CURRENT))
        return false;
    *left = size.QuadPart > pos.QuadPart ? (uint64_t)(size.QuadPart - pos.QuadPart) : 0;
    return true;
}

// Reads a whole open file into a new block of size + extra bytes, the file's
// bytes starting at offset. 0 when the file is empty, too large or short.
MemHandle readWholeFile(HANDLE f, DWORD size, uint32_t offset, uint32_t extra)
{
    if (size == 0 || size == INVALID_FILE_SIZE || size > kMaxBlockBytes - offset - extra)
        return 0;
    MemHandle h = utAllocHandle(0, size + offset + extra);
    if (!h)
        return 0;
    DWORD got;
    {
        MemLock<> p(h);
        got = p ? ffRead(f, p.get() + offset, size) : 0;
    }
    if (got != size)
        return utFreeHandle(h);
    return h;
}

}  // namespace

// ---- file handles ---------------------------------------------------------------

BOOL ffExists(const char *path)
{
    if (!path || !*path)
        return FALSE;
    HANDLE f = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        CloseHandle(f);
        return TRUE;
    }
    DWORD err = GetLastError();
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return TRUE;
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_INVALID_NAME:
        return FALSE;
    default:
        // Something is there that cannot be opened now, for example a file
        // another process holds open.
        return TRUE;
    }
}

BOOL ffIsFolder(const char *path)
{
    if (!path || !*path || hasWildcard(path))
        return FALSE;
    // The search wants the folder's name without a trailing backslash.
    std::string name(path);
    if (name.size() > 1 && name.back() == '\\')
        name.pop_back();
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(name.c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    // A drive's root ("C:\") is not found by a search; ask for its attributes.
    DWORD attrs = GetFileAttributesA(path);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

UINT ffIsReadOnly(const char *path)
{
    return GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY;
}

BOOL ffClearReadOnly(const char *path)
{
    DWORD attrs = GetFileAttributesA(path);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    attrs &= ~(DWORD)FILE_ATTRIBUTE_READONLY;
    return SetFileAttributesA(path, attrs ? attrs : FILE_ATTRIBUTE_NORMAL);
}

HANDLE ffOpenRead(const char *path, DWORD *size, BOOL report)
{
    if (size)
        *size = 0;
    uint16_t code = 0;
    HANDLE f = INVALID_HANDLE_VALUE;
    if (!ffExists(path)) {
        code = FE_NOT_EXIST;
    } else {
        f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) {
            DWORD err = GetLastError();
            code = err == ERROR_ACCESS_DENIED       ? FE_ACCESS_DENIED
                   : err == ERROR_SHARING_VIOLATION ? FE_IN_USE
                                                    : FE_CANNOT_OPEN;
        } else {
            DWORD n = GetFileSize(f, nullptr);
            if (n == INVALID_FILE_SIZE)
                code = FE_READ_FAILED;   // the handle is still the caller's
            else if (size)
                *size = n;
        }
    }
    if (code && report)
        ffReportError(nullptr, path, code);
    return f;
}

HANDLE ffOpenReadReport(const char *path)
{
    return ffOpenRead(path, nullptr, TRUE);
}

HANDLE ffCreateWrite(const char *path, BOOL ask, BOOL *cancelled)
{
    if (cancelled)
        *cancelled = FALSE;
    if (existingReadOnly(path)) {
        ffReportError(nullptr, path, FE_READ_ONLY);
        return INVALID_HANDLE_VALUE;
    }
    if (ask && !ffConfirmOverwrite(nullptr, path)) {
        if (cancelled)
            *cancelled = TRUE;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        ffReportError(nullptr, path,
                      GetLastError() == ERROR_SHARING_VIOLATION ? FE_IN_USE : FE_CANNOT_OPEN);
    return f;
}

HANDLE ffCreate(const char *path, BOOL ask)
{
    return ffCreateWrite(path, ask, nullptr);
}

HANDLE ffOpenReadWrite(const char *path)
{
    // A read-only file is refused before the open: the system's own refusal
    // depends on the account (an administrator's open would succeed).
    if (existingReadOnly(path)) {
        ffReportError(nullptr, path, FE_READ_ONLY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE f = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE)
        return f;
    DWORD err = GetLastError();
    char sysText[512];
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, err,
                       0, sysText, sizeof(sysText), nullptr) > 0)
        utErrorBox(nullptr, formatWithName("Error open file\r\n%s", path).c_str());
    else
        ffReportError(nullptr, path, FE_CANNOT_OPEN);
    return f;
}

BOOL ffClose(HANDLE h)
{
    return validHandle(h) ? CloseHandle(h) : FALSE;
}

BOOL ffDelete(const char *path)
{
    return DeleteFileA(path);
}

BOOL ffRename(const char *oldPath, const char *newPath)
{
    // Fails, like the C runtime's rename, when the new name is taken.
    return MoveFileA(oldPath, newPath);
}

BOOL ffCopyFile(const char *destination, const char *source)
{
    return CopyFileA(source, destination, FALSE);
}

HANDLE ffCreateReplacement(const char *target, char *temp)
{
    temp[0] = 0;
    if (!target || !*target)
        return INVALID_HANDLE_VALUE;
    // The name is made (and the file created) by the system in the
    // target's folder: the replace never crosses a volume.
    char name[UT_PATH_SIZE];
    utStrCopyN(name, target, sizeof name);
    if (!utMakeTempFileName(name, TRUE, TRUE))
        return INVALID_HANDLE_VALUE;
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DeleteFileA(name);
        return h;
    }
    utStrCopyN(temp, name, UT_PATH_SIZE);
    return h;
}

BOOL ffCommitReplacement(HANDLE h, const char *temp, const char *target, BOOL ok)
{
    bool done = ok && validHandle(h) && FlushFileBuffers(h);
    if (validHandle(h) && !CloseHandle(h))
        done = false;
    if (!temp || !*temp)
        return FALSE;
    done = done && target && *target &&
           MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done)
        DeleteFileA(temp);
    return done ? TRUE : FALSE;
}

BOOL ffReplaceFileBytes(const char *target, const void *bytes, uint32_t n)
{
    char temp[UT_PATH_SIZE];
    HANDLE h = ffCreateReplacement(target, temp);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    return ffCommitReplacement(h, temp, target, !n || ffWrite(h, bytes, n) == n);
}

DWORD ffRead(HANDLE h, void *buffer, DWORD n)
{
    if (ReadAheadSpan *s = spanOf(h))
        return spanRead(*s, static_cast<uint8_t *>(buffer), n);
    return systemRead(h, buffer, n);
}

uint32_t ffSystemReadCount() { return g_systemReads; }

BOOL ffBeginReadAhead(HANDLE h, DWORD offset, DWORD n)
{
    if (!validHandle(h))
        return FALSE;
    ffEndReadAhead(h);
    LARGE_INTEGER size;
    if (!systemSeek(h, offset) || !GetFileSizeEx(h, &size))
        return FALSE;
    ReadAheadSpan *s = nullptr;
    for (ReadAheadSpan &free : g_spans)
        if (!free.h) {
            s = &free;
            break;
        }
    if (!s || n == 0)
        return TRUE;   // no room for a span: the reads go to the file
    try {
        s->window.resize(std::min<uint32_t>(n, kFfReadAheadWindow));
    } catch (...) {
        s->window = std::vector<uint8_t>();
        return TRUE;
    }
    s->h = h;
    s->start = offset;
    s->end = (uint64_t)offset + n;
    s->windowStart = offset;
    s->windowBytes = 0;
    s->position = offset;
    s->fileSize = (uint64_t)size.QuadPart;
    ++g_spanCount;
    return TRUE;
}

void ffEndReadAhead(HANDLE h)
{
    ReadAheadSpan *s = spanOf(h);
    if (!s)
        return;
    systemSeek(h, s->position);
    *s = ReadAheadSpan();
    --g_spanCount;
}

DWORD ffWrite(HANDLE h, const void *buffer, DWORD n)
{
    bool fail;
    DWORD allowed = faultAllows(n, &fail);
    DWORD put = 0;
    if (allowed && !WriteFile(h, buffer, allowed, &put, nullptr))
        put = 0;
    if (fail && g_fault == FF_FAULT_KILL)
        TerminateProcess(GetCurrentProcess(), 3);
    if (fail)
        SetLastError(ERROR_DISK_FULL);
    if (put != n)
        ++g_writeShortfalls;
    return put;
}

uint32_t ffWriteShortfalls() { return g_writeShortfalls; }

void ffSetWriteFault(FfWriteFault kind, uint64_t afterBytes)
{
    g_fault = kind;
    g_faultBudget = afterBytes;
}

void ffSetDiskFreeOverride(uint64_t bytes) { g_diskFreeOverride = bytes; }

BOOL ffSeek(HANDLE h, DWORD position)
{
    // The file's own position follows too, for callers that read the
    // handle directly.
    BOOL ok = systemSeek(h, position);
    if (ReadAheadSpan *s = spanOf(h))
        if (ok)
            s->position = position;
    return ok;
}

BOOL ffSeekEnd(HANDLE h)
{
    LARGE_INTEGER zero, at;
    zero.QuadPart = 0;
    BOOL ok = SetFilePointerEx(h, zero, &at, FILE_END);
    if (ReadAheadSpan *s = spanOf(h))
        if (ok)
            s->position = (uint64_t)at.QuadPart;
    return ok;
}

DWORD ffTell(HANDLE h)
{
    if (ReadAheadSpan *s = spanOf(h))
        return (DWORD)s->position;
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(h, zero, &pos, FILE_CURRENT))
        return 0xFFFFFFFF;
    return (DWORD)pos.QuadPart;
}

DWORD ffGetSize(HANDLE h)
{
    return GetFileSize(h, nullptr);
}

DWORD ffGetFileSizeByName(const char *path)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    ffClose(f);
    return size;
}

// ---- reports and questions ------------------------------------------------------

int ffReportError(HWND owner, const char *fileName, uint16_t code)
{
    const char *format = errorText(code);
    if (format)
        utWarningBox(owner, formatWithName(format, fileName).c_str());
    return 1;
}

void ffShowFileMessage(HWND owner, uint16_t, const char *part1, const char *part2,
                       const char *part3)
{
    const char *parts[3] = {part1 ? part1 : "", part2 ? part2 : "", part3 ? part3 : ""};
    size_t total = strlen(parts[0]) + strlen(parts[1]) + strlen(parts[2]);
    if (total > kMaxMessageParts)
        return;
    std::string text;
    for (const char *part : parts)
        if (*part) {
            text += "\r\n";
            text += part;
        }
    utWarningBox(owner, text.c_str());
}

int ffConfirmOverwrite(HWND owner, const char *path)
{
    if (!ffExists(path))
        return 1;
    if (existingReadOnly(path)) {
        utMessageBox(owner,
                     formatWithName("File: \r\n%s\r\nis read-only.  Can not write to it.", path)
                         .c_str(),
                     MB_ICONHAND | MB_OK);
        return 0;
    }
    int answer = utMessageBox(
        owner, formatWithName("File: \r\n%s\r\nexists. Please select OK to overwrite.", path).c_str(),
        MB_ICONQUESTION | MB_OKCANCEL);
    return answer == IDCANCEL ? 0 : 1;
}

// ---- counted reads and packets ------------------------------------------------

BOOL ffReadCounted(HANDLE h, int32_t *budget, void *buffer, DWORD n, BOOL report)
{
    if (ffRead(h, buffer, n) == n) {
        if (budget)
            *budget = (int32_t)((uint32_t)*budget - n);
        return TRUE;
    }
    if (report)
        utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
    return FALSE;
}

BOOL ffReadCountedReport(HANDLE h, int32_t *budget, void *buffer, DWORD n)
{
    return ffReadCounted(h, budget, buffer, n, TRUE);
}

MemHandle ffReadPacketCode(HANDLE h, int32_t *budget, BOOL report, uint16_t *failure)
{
    g_lastError = LastFileError{0, 0};
    uint16_t code = 0;
    uint32_t position = 0;
    MemHandle packet = 0;

    // The data could not be read whole: the counted read has shown "Unexpected
    // end of file", this adds "Read error".
    auto dataError = [&]() {
        position = ffTell(h);
        if (report)
            utErrorBoxId(nullptr, IDS_READ_ERROR);
        code = FF_PACKET_DATA_ERROR;
    };

    uint32_t length = 0;
    if (!budget) {
        code = FF_PACKET_LENGTH_ERROR;   // no budget to check the length against
        position = ffTell(h);
    } else if (!ffReadCounted(h, budget, &length, 4, report)) {
        code = FF_PACKET_LENGTH_ERROR;
        position = ffTell(h);
    } else if (length < 4 || *budget < 0 || length - 4 > (uint32_t)*budget) {
        // Compared unsigned, so that a huge length cannot pass as negative.
        position = ffTell(h);
        if (report) {
            int16_t type = 0;
            if (!ffReadCounted(h, budget, &type, 2, FALSE))
                type = 0;
            char text[160];
            snprintf(text, sizeof(text),
                     "Read packet error at position= %ld, lLeft= %ld, packet len read= %ld, "
                     "iType read= %d",
                     (long)(int32_t)(position - 4), (long)(int32_t)((uint32_t)*budget + 6),
                     (long)(int32_t)length, (int)type);
            utErrorBox(nullptr, text);
        }
        code = FF_PACKET_LENGTH_ERROR;
    } else {
        uint64_t left;
        if (bytesLeftInFile(h, &left) && length - 4 > left) {
            // The file ends inside the packet: fail as the short read would,
            // without first taking a block of the claimed size.
            ffSeekEnd(h);
            if (report)
                utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
            dataError();
        } else if (!(packet = utAllocHandle(0, length))) {
            code = FF_PACKET_MEMORY_ERROR;
            position = ffTell(h);
        } else {
            BOOL ok;
            {
                MemLock<uint8_t> p(packet);
                memcpy(p.get(), &length, 4);
                ok = ffReadCounted(h, budget, p.get() + 4, length - 4, report);
            }
            if (!ok) {
                packet = utFreeHandle(packet);
                dataError();
            }
        }
    }

    if (failure)
        *failure = code;
    if (code) {
        g_lastError = LastFileError{position, code};
        return 0;
    }
    return packet;
}

MemHandle ffReadPacketEx(HANDLE h, int32_t *budget, BOOL report)
{
    uint16_t code;
    return ffReadPacketCode(h, budget, report, &code);
}

MemHandle ffReadPacket(HANDLE h, int32_t *budget)
{
    return ffReadPacketEx(h, budget, TRUE);
}

uint16_t ffGetLastError(uint32_t *position, uint16_t *code)
{
    if (position)
        *position = g_lastError.position;
    if (code)
        *code = g_lastError.code;
    return g_lastError.code;
}

uint32_t ffWritePacket(HANDLE h, MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    // A length below its own 4 bytes or beyond the block would write a
    // damaged packet or bytes that are not the packet's.
    if (length < 4 || length > utHandleSize(packet))
        return 0;
    MemLock<> p(packet);
    return p ? ffWrite(h, p.get(), length) : 0;
}

MemHandle ffReadFilePacket(const char *path)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle packet = readWholeFile(f, size, 4, 0);
    ffClose(f);
    utSetPacketLength(packet, size + 4);
    return packet;
}

MemHandle ffReadFileText(const char *path, BOOL report)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, report);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle text = readWholeFile(f, size, 0, 1);   // the added byte is the terminator
    ffClose(f);
    return text;
}

MemHandle ffReadLineHandle(HANDLE h, MemHandle line, BOOL *atEnd)
{
    BOOL endFlag = FALSE;
    DWORD start = ffTell(h);
    // Count the bytes up to the next LF.
    uint32_t count = 0;
    bool foundLf = false;
    char piece[kPieceSize];
    while (!foundLf && count < kMaxBlockBytes) {
        DWORD got = ffRead(h, piece, sizeof(piece));
        if (got == 0) {
            endFlag = TRUE;
            break;
        }
        const char *lf = static_cast<const char *>(memchr(piece, '\n', got));
        foundLf = lf != nullptr;
        count += foundLf ? (uint32_t)(lf - piece) : got;
    }
    if (atEnd)
        *atEnd = endFlag;

    // Only the end of the file with nothing read ends the reading; an empty
    // line is an empty string. A line too long for any block ends it as well.
    if ((count == 0 && !foundLf) || count >= kMaxBlockBytes) {
        if (atEnd)
            *atEnd = TRUE;
        return utFreeHandle(line);
    }

    MemHandle grown = utAllocHandle(line, count + 1);
    if (!grown) {
        utFreeHandle(line);
        return 0;
    }
    ffSeek(h, start);
    DWORD got = 0;
    {
        MemLock<char> p(grown);
        if (count)
            got = ffRead(h, p.get(), count);
        p[got] = 0;
    }
    // Continue after the LF.
    ffSeek(h, start + got + (foundLf && got == count ? 1 : 0));
    return grown;
}

uint32_t ffCopyBytes(HANDLE destination, HANDLE source, uint32_t n)
{
    uint8_t piece[kPieceSize];
    uint32_t copied = 0;
    while (copied < n) {
        DWORD want = n - copied < kPieceSize ? n - copied : kPieceSize;
        DWORD got = ffRead(source, piece, want);
        if (got == 0)
            break;
        DWORD put = ffWrite(destination, piece, got);
        copied += put;
        if (put != got)
            break;   // the destination is full or failing: stop here
    }
    return copied;
}

BOOL ffAppendToFile(const char *path, const void *bytes, uint32_t n)
{
    if (n == 0)
        return FALSE;
    // The old contents and the new bytes go into a file that replaces the
    // old one whole: a program killed meanwhile leaves the file as it was.
    if (existingReadOnly(path)) {
        ffReportError(nullptr, path, FE_READ_ONLY);
        return FALSE;
    }
    char temp[UT_PATH_SIZE];
    HANDLE out = ffCreateReplacement(path, temp);
    if (out == INVALID_HANDLE_VALUE) {
        ffReportError(nullptr, path, FE_CANNOT_OPEN);
        return FALSE;
    }
    bool ok = true;
    if (ffExists(path)) {
        DWORD size = 0;
        HANDLE in = ffOpenRead(path, &size, FALSE);
        ok = in != INVALID_HANDLE_VALUE && ffCopyBytes(out, in, size) == size;
        ffClose(in);
    }
    ok = ok && ffWrite(out, bytes, n) == n;
    return ffCommitReplacement(out, temp, path, ok);
}

BOOL ffAppendStringToFile(const char *path, const char *s)
{
    return ffAppendToFile(path, s, s ? (uint32_t)strlen(s) : 0);
}

void ffDiskFreeFolder(const char *path, char *out, uint32_t size)
{
    if (!out || !size)
        return;
    out[0] = 0;
    if (!path || !path[0])
        return;
    std::string p(path);
    for (char &c : p)
        if (c == '/')
            c = '\\';
    // The shortest folder the walk may reach: the drive root or the share.
    size_t rootLength = 0;
    if (p.size() >= 2 && p[1] == ':') {
        rootLength = 3;
    } else if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        size_t share = p.find('\\', 2);
        size_t end = share == std::string::npos ? std::string::npos : p.find('\\', share + 1);
        rootLength = end == std::string::npos ? p.size() + 1 : end + 1;
    } else if (p[0] == '\\') {
        rootLength = 1;
    }
    std::string folder;
    DWORD attrs = GetFileAttributesA(p.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        folder = p;
    } else {
        size_t slash = p.find_last_of('\\');
        if (slash == std::string::npos) {
            if (p.size() >= 2 && p[1] == ':')
                folder = p.substr(0, 2);   // "X:name": the drive
            else
                return;                    // a bare name: the current folder
        } else {
            folder = p.substr(0, slash + 1);
        }
    }
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    if (folder.size() < rootLength) {
        folder = p.substr(0, rootLength - 1);
        folder += '\\';
    }
    // Up to the nearest folder that exists.
    while (folder.size() > rootLength) {
        attrs = GetFileAttributesA(folder.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
            break;
        size_t slash = folder.find_last_of('\\', folder.size() - 2);
        if (slash == std::string::npos || slash + 1 < rootLength)
            break;
        folder.resize(slash + 1);
    }
    utStrCopyN(out, folder.c_str(), size);
}

uint32_t ffGetDiskFree(const char *path)
{
    if (g_diskFreeOverride != kNoOverride)
        return g_diskFreeOverride >= 0xFFFFFFFFull ? 0xFFFFFFFF : (uint32_t)g_diskFreeOverride;
    char folder[MAX_PATH + 1];
    ffDiskFreeFolder(path, folder, sizeof folder);
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(folder[0] ? folder : nullptr, &available, nullptr, nullptr))
        return 0xFFFFFFFF;
    return available.HighPart ? 0xFFFFFFFF : available.LowPart;
}

// ---- packets in memory ---------------------------------------------------------

uint32_t utGetPacketLength(MemHandle h)
{
    if (utHandleSize(h) < 4)
        return 0;
    MemLock<> p(h);
    uint32_t length = 0;
    memcpy(&length, p.get(), 4);
    return length;
}

void utSetPacketLength(MemHandle h, uint32_t length)
{
    if (utHandleSize(h) < 4)
        return;
    MemLock<> p(h);
    memcpy(p.get(), &length, 4);
}

MemHandle utMakePacket(const void *bytes, uint32_t n)
{
    if (n > kMaxBlockBytes - 4)
        return 0;
    MemHandle h = utAllocHandle(0, n + 4);
    if (!h)
        return 0;
    MemLock<> p(h);
    uint32_t length = n + 4;
    memcpy(p.get(), &length, 4);
    if (bytes && n)
        memcpy(p.get() + 4, bytes, n);
    return h;
}

MemHandle utMakeStringPacket(const char *s)
{
    if (!s || !*s)
        return 0;
    return utMakePacket(s, (uint32_t)strlen(s) + 1);
}

MemHandle utHandleToPacket(MemHandle h)
{
    uint32_t capacity = utHandleSize(h);
    if (capacity == 0 || capacity > kMaxBlockBytes - 4)
        return 0;
    MemHandle grown = utAllocHandle(h, capacity + 4);
    if (!grown)
        return 0;
    MemLock<> p(grown);
    memmove(p.get() + 4, p.get(), capacity);
    uint32_t length = capacity + 4;
    memcpy(p.get(), &length, 4);
    return grown;
}

MemHandle utDupPacket(MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    if (length == 0 || length > utHandleSize(packet))
        return 0;   // nothing there, or a length its block cannot hold
    MemHandle copy = utAllocHandle(0, length);
    if (!copy)
        return 0;
    MemLock<> d(copy);
    MemLock<> s(packet);
    memcpy(d.get(), s.get(), length);
    return copy;
}

MemHandle utAssignPacket(MemHandle destination, MemHandle source)
{
    uint32_t length = utGetPacketLength(source);
    if (length == 0) {
        utFreeHandle(destination);
        return 0;
    }
    if (length > utHandleSize(source))
        return 0;   // a damaged source: the destination stays the caller's
    MemHandle grown = utAllocHandle(destination, length);
    if (!grown)
        return 0;
    if (grown != source) {
        MemLock<> d(grown);
        MemLock<> s(source);
        memcpy(d.get(), s.get(), length);
    }
    return grown;
}

int utComparePackets(MemHandle a, MemHandle b)
{
    if (!a || !b)
        return 1;
    if (a == b)
        return 0;
    uint32_t sizeA = utHandleSize(a), sizeB = utHandleSize(b);
    if (sizeA < 4 || sizeB < 4)
        return 1;
    uint32_t lengthA = utGetPacketLength(a), lengthB = utGetPacketLength(b);
    if (lengthA > sizeA || lengthB > sizeB || lengthA != lengthB)
        return 1;
    MemLock<> pa(a);
    MemLock<> pb(b);
    return utCompareBytes(pa.get(), pb.get(), lengthA);
}
