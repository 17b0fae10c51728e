// Record library files: the environment record, the index and the records.
#include "library/olb_file.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

const char kOlbKindObjects[] = "OLB";
const char kOlbKindFileList[] = "flname";
const char kOlbVersion[] = "2.0";
const char kOlbVersionOld[] = "1.0";

namespace {

const char kErrReadOlb[] = "Error reading (olb): %s";
const char kErrWrongKind[] = "Incorrect file type.  Please re-select.";
const char kErrReadFile[] = "Error reading file:\r\n   %s\r\n";
const char kErrLibHdr[] = "Error reading LibHdr, err code = %d";
const char kErrDiskSpace[] = "Not enough disk space for save.";
const char kErrRename[] = "Error saving. (state = rename error)";

// Code shown for an index packet that was read whole but does not hold a
// consistent index.
const uint16_t kBadIndexCode = FF_PACKET_DATA_ERROR;

void showFormatted(HWND window, const char *format, const char *text)
{
    std::string message(strlen(format) + (text ? strlen(text) : 0) + 16, '\0');
    snprintf(&message[0], message.size(), format, text ? text : "");
    utErrorBox(window, message.c_str());
}

void showReadError(HWND window, const char *fileName)
{
    showFormatted(window, kErrReadOlb, fileName);
}

std::string fileNameOf(MemHandle env)
{
    char name[MAX_PATH * 2] = "";
    olbGetFileName(env, name, sizeof name);
    return name;
}

bool headOf(MemHandle env, OlbEnvHead *head)
{
    if (utHandleSize(env) < sizeof(OlbEnvHead))
        return false;
    MemLock<> p(env);
    memcpy(head, p.get(), sizeof *head);
    return head->tag == OLB_ENV_TAG;
}

void putHead(MemHandle env, const OlbEnvHead &head)
{
    MemLock<> p(env);
    memcpy(p.get(), &head, sizeof head);
}

std::string textOf(const char *field, uint32_t size)
{
    return std::string(field, strnlen(field, size));
}

std::string headerVersion(const FileHeader &header)
{
    char text[16];
    qmfHeaderText(header.version, sizeof header.version, text);
    return text;
}

bool isOldVersion(const std::string &version)
{
    return lstrcmpiA(version.c_str(), kOlbVersionOld) == 0;
}

// The empty identity packet: a length word of 4.
MemHandle emptyIdPacket()
{
    return utMakePacket(nullptr, 0);
}

// A packet handle whose length word fits its block.
bool packetFits(MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    return length >= 4 && length <= utHandleSize(packet);
}

// The identity check: a read-only env passes at once; otherwise the file's
// identity packet must equal the env's over its stored length. (No
// comparison callback exists in this program.)
bool identityPasses(MemHandle env, MemHandle fileId)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return false;
    if (head.readOnly)
        return true;
    return packetFits(fileId) && packetFits(head.idBlock) &&
           utComparePackets(fileId, head.idBlock) == 0;
}

bool writeAll(HANDLE f, const void *bytes, uint32_t n)
{
    return ffWrite(f, bytes, n) == n;
}

bool writePacket(HANDLE f, MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    if (length < 4 || length > utHandleSize(packet))
        return false;
    MemLock<> p(packet);
    return writeAll(f, p.get(), length);
}

// An opened library file with its header checked against the env's kind.
struct OpenedLibrary {
    HANDLE file = INVALID_HANDLE_VALUE;
    int32_t budget = 0;
    uint32_t size = 0;
    std::string version;
    ~OpenedLibrary() { close(); }
    void close()
    {
        if (file != INVALID_HANDLE_VALUE)
            ffClose(file);
        file = INVALID_HANDLE_VALUE;
    }
};

// Opens the file (for reading, or for reading and writing) and checks its
// header: the env's kind, any version. Nothing is shown but what the
// opening itself reports.
bool openLibrary(const char *fileName, const char *kind, bool writable, bool reportOpen,
                 OpenedLibrary *out)
{
    DWORD size = 0;
    if (writable) {
        out->file = ffOpenReadWrite(fileName);
        if (out->file != INVALID_HANDLE_VALUE)
            size = ffGetSize(out->file);
    } else {
        out->file = ffOpenRead(fileName, &size, reportOpen);
    }
    if (out->file == INVALID_HANDLE_VALUE)
        return false;
    if (size == INVALID_FILE_SIZE || size > 0x7FFFFFFF) {
        out->close();
        return false;
    }
    out->size = size;
    out->budget = (int32_t)size;
    FileHeader header;
    if (qmfCheckHeader(out->file, &out->budget, &header, kind, nullptr, FALSE) != 1) {
        out->close();
        return false;
    }
    out->version = headerVersion(header);
    return true;
}

// Reads the identity packet of a version "2.0" file (the file positioned
// after its header); 0 when it is missing or damaged.
MemHandle readIdPacket(OpenedLibrary &lib)
{
    return ffReadPacketEx(lib.file, &lib.budget, FALSE);
}

OlbIndexHead indexHead(const uint8_t *index)
{
    OlbIndexHead head;
    memcpy(&head, index, sizeof head);
    return head;
}

OlbIndexEntry *entriesOf(uint8_t *index)
{
    return reinterpret_cast<OlbIndexEntry *>(index + OLB_HEAD_SIZE);
}

const OlbIndexEntry *entriesOf(const uint8_t *index)
{
    return reinterpret_cast<const OlbIndexEntry *>(index + OLB_HEAD_SIZE);
}

// The name cut and cleaned as the store keeps it: at most 260 characters
// considered, blanks, CR and LF stripped at both ends, then 31 kept.
void cleanName(const char *name, char out[OLB_NAME_SIZE])
{
    out[0] = '\0';
    if (!name)
        return;
    std::string s(name, strnlen(name, 260));
    auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    s = s.substr(b, e - b).substr(0, OLB_NAME_SIZE - 1);
    memcpy(out, s.c_str(), s.size() + 1);
}

// The core of the index readers: the header, the identity packet of a
// version "2.0" file (checked, then handed back or made the env's), the
// index packet within the file's bytes.
MemHandle readIndexCore(HWND window, MemHandle env, MemHandle *fileIdOut, bool takeId,
                        std::string *versionOut = nullptr)
{
    if (fileIdOut)
        *fileIdOut = 0;
    OlbEnvHead head;
    if (!headOf(env, &head))
        return 0;
    std::string fileName = fileNameOf(env);
    if (fileName.empty())
        return 0;
    OpenedLibrary lib;
    if (!openLibrary(fileName.c_str(), textOf(head.kind, sizeof head.kind).c_str(), false, true,
                     &lib)) {
        showReadError(window, fileName.c_str());
        return 0;
    }
    MemHandle fileId = 0;
    if (!isOldVersion(lib.version)) {
        fileId = readIdPacket(lib);
        if (!fileId || !identityPasses(env, fileId)) {
            utFreeHandle(fileId);
            showReadError(window, fileName.c_str());
            return 0;
        }
    }
    MemHandle index = olbReadLibHdr(lib.file, &lib.budget);
    if (!index) {
        utFreeHandle(fileId);
        showReadError(window, fileName.c_str());
        return 0;
    }
    if (versionOut)
        *versionOut = lib.version;
    if (takeId && fileId) {
        olbSetIdBlock(env, fileId);
        utFreeHandle(fileId);
    } else if (fileIdOut) {
        *fileIdOut = fileId;
    } else {
        utFreeHandle(fileId);
    }
    return index;
}

// The version text of the library file, or empty when it cannot be read.
std::string fileVersion(const char *fileName, const char *kind)
{
    OpenedLibrary lib;
    if (!openLibrary(fileName, kind, false, false, &lib))
        return std::string();
    return lib.version;
}

// A change made to a copy of the library, which replaces the file only
// when every byte of it was written: the file's `size` bytes are copied,
// then `edit` writes into the copy. Until the replace the library's name
// holds the old file, whatever happens.
template <class Edit> bool editCopy(const char *fileName, uint32_t size, Edit edit)
{
    char temp[UT_PATH_SIZE];
    HANDLE out = ffCreateReplacement(fileName, temp);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    uint32_t shortfalls = ffWriteShortfalls();
    HANDLE in = ffOpenRead(fileName, nullptr, FALSE);
    bool ok = in != INVALID_HANDLE_VALUE && ffCopyBytes(out, in, size) == size;
    ffClose(in);
    ok = ok && edit(out) && ffWriteShortfalls() == shortfalls;
    return ffCommitReplacement(out, temp, fileName, ok) != FALSE;
}

// Appends the record at the end of the file and writes the changed index
// over the old one (its length is unchanged). Every write is checked; on a
// failure the old index and the old end of the file are put back.
bool appendInPlace(HWND window, MemHandle env, const char *fileName, MemHandle index,
                   const std::vector<uint8_t> &oldIndex, int32_t slot, MemHandle record,
                   const char *name)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return false;
    uint32_t size;
    {
        OpenedLibrary lib;
        if (!openLibrary(fileName, textOf(head.kind, sizeof head.kind).c_str(), false, false,
                         &lib)) {
            showReadError(window, fileName);
            return false;
        }
        size = lib.size;
    }
    uint32_t indexPos = olbIndexOffset(env);
    uint32_t indexLength = utGetPacketLength(index);
    if (oldIndex.size() != indexLength)
        return false;
    uint32_t recordLength = utGetPacketLength(record);
    uint32_t now = qmfSecondsSince1970();
    {
        MemLock<> p(index);
        OlbIndexEntry &e = entriesOf(p.get())[slot];
        memset(&e, 0, sizeof e);
        memcpy(e.name, name, strlen(name) + 1);
        e.offset = (int32_t)size;
        e.date = now;
        OlbIndexHead h = indexHead(p.get());
        h.changed = now;
        if (recordLength > h.largest)
            h.largest = recordLength;
        h.live += 1;
        memcpy(p.get(), &h, sizeof h);
    }
    // The record after the file's last byte, the index over the old one.
    bool ok = editCopy(fileName, size, [&](HANDLE out) {
        if (!writePacket(out, record) || !ffSeek(out, indexPos))
            return false;
        MemLock<> p(index);
        return writeAll(out, p.get(), indexLength);
    });
    if (ok)
        return true;
    {
        MemLock<> p(index);
        memcpy(p.get(), oldIndex.data(), indexLength);
    }
    ffReportError(window, fileName, FE_WRITE_FAILED);
    return false;
}

// Rewrites the whole library: live records copied in slot order behind a
// new index with 64 free slots, the new record (when given) last.
bool rewriteLibrary(HWND window, MemHandle env, const char *fileName, MemHandle index,
                    MemHandle record, const char *name, BOOL resetIdentity)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return false;
    std::string kind = textOf(head.kind, sizeof head.kind);
    // The new library is written under a temporary name beside the old one,
    // which is read until the new one replaces it whole.
    char tempName[UT_PATH_SIZE] = "";
    OpenedLibrary in;
    HANDLE out = INVALID_HANDLE_VALUE;
    MemHandle fileId = 0, newIndex = 0;
    auto fail = [&](bool readError) {
        if (readError)
            showReadError(window, fileName);
        else
            ffReportError(window, fileName, FE_WRITE_FAILED);
        utFreeHandle(fileId);
        utFreeHandle(newIndex);
        in.close();
        if (out != INVALID_HANDLE_VALUE)
            ffCommitReplacement(out, tempName, fileName, FALSE);
        out = INVALID_HANDLE_VALUE;
        return false;
    };
    if (!openLibrary(fileName, kind.c_str(), false, false, &in))
        return fail(true);
    if (!isOldVersion(in.version)) {
        fileId = readIdPacket(in);
        if (!fileId || !identityPasses(env, fileId))
            return fail(true);
    }
    out = ffCreateReplacement(fileName, tempName);
    if (out == INVALID_HANDLE_VALUE) {
        utErrorBox(window, kErrRename);
        return fail(false);
    }
    if (resetIdentity) {
        MemHandle empty = emptyIdPacket();
        olbSetIdBlock(env, empty);
        utFreeHandle(empty);
        headOf(env, &head);
    }
    uint32_t shortfalls = ffWriteShortfalls();
    if (qmfWriteHeaderEx(out, kind.c_str(), textOf(head.version, sizeof head.version).c_str()) !=
            sizeof(FileHeader) ||
        !writePacket(out, head.idBlock))
        return fail(false);

    // The new index: the old head, the live entries in their order, the new
    // record's slot after them.
    std::vector<OlbIndexEntry> live;
    OlbIndexHead h;
    {
        MemLock<> p(index);
        h = indexHead(p.get());
        const OlbIndexEntry *entries = entriesOf(p.get());
        for (uint32_t i = 0; i < h.slots; ++i)
            if (olbIsLiveEntry(&entries[i]))
                live.push_back(entries[i]);
    }
    bool withRecord = record && name && *name;
    uint32_t liveCount = (uint32_t)live.size() + (withRecord ? 1 : 0);
    uint32_t slots = liveCount + OLB_SLOT_STEP;
    uint32_t indexLength = OLB_HEAD_SIZE + OLB_ENTRY_SIZE * slots;
    newIndex = utAllocHandle(0, indexLength);
    if (!newIndex)
        return fail(false);
    uint32_t now = qmfSecondsSince1970();
    h.length = indexLength;
    h.tag = OLB_INDEX_TAG;
    h.slots = slots;
    h.live = liveCount;
    h.changed = now;
    h.oldSlots = h.oldLive = 0;
    std::vector<OlbIndexEntry> entries(slots);
    memset(entries.data(), 0, sizeof(OlbIndexEntry) * slots);
    for (size_t i = 0; i < live.size(); ++i)
        entries[i] = live[i];
    if (withRecord) {
        OlbIndexEntry &e = entries[live.size()];
        memcpy(e.name, name, strlen(name) + 1);
        e.date = now;
    }
    auto writeIndex = [&]() {
        MemLock<> p(newIndex);
        memcpy(p.get(), &h, sizeof h);
        memcpy(p.get() + OLB_HEAD_SIZE, entries.data(), sizeof(OlbIndexEntry) * slots);
        return writeAll(out, p.get(), indexLength);
    };
    uint32_t indexPos = ffTell(out);
    if (!writeIndex())
        return fail(false);
    uint32_t position = indexPos + indexLength, largest = 0;
    for (size_t i = 0; i < live.size(); ++i) {
        OlbIndexEntry &e = entries[i];
        if ((uint32_t)e.offset >= in.size || !ffSeek(in.file, (uint32_t)e.offset))
            return fail(true);
        int32_t budget = (int32_t)(in.size - (uint32_t)e.offset);
        MemHandle packet = ffReadPacketEx(in.file, &budget, FALSE);
        if (!packet)
            return fail(true);
        uint32_t length = utGetPacketLength(packet);
        bool written = writePacket(out, packet);
        utFreeHandle(packet);
        if (!written)
            return fail(false);
        e.offset = (int32_t)position;
        position += length;
        if (length > largest)
            largest = length;
    }
    if (withRecord) {
        uint32_t length = utGetPacketLength(record);
        if (!writePacket(out, record))
            return fail(false);
        entries[live.size()].offset = (int32_t)position;
        if (length > largest)
            largest = length;
    }
    h.largest = largest;
    if (!ffSeek(out, indexPos) || !writeIndex() || ffWriteShortfalls() != shortfalls)
        return fail(false);
    utFreeHandle(newIndex);
    utFreeHandle(fileId);
    in.close();
    HANDLE written = out;
    out = INVALID_HANDLE_VALUE;
    if (!ffCommitReplacement(written, tempName, fileName, TRUE)) {
        ffReportError(window, fileName, FE_WRITE_FAILED);
        return false;
    }
    return true;
}

// The index after a version "1.0" file was rewritten, with the change the
// caller made to the old index carried over: the caller's live entries, in
// the caller's order, take the rewritten file's offsets; entries the caller
// deleted stay deleted (their records kept until the next rewrite).
MemHandle carryIndexChange(MemHandle callerIndex, MemHandle fresh)
{
    MemHandle out = utCopyHandle(fresh);
    if (!out)
        return 0;
    MemLock<> c(callerIndex);
    MemLock<> f(fresh);
    MemLock<> o(out);
    OlbIndexHead ch = indexHead(c.get()), fh = indexHead(f.get());
    OlbIndexEntry *outEntries = entriesOf(o.get());
    const OlbIndexEntry *callerEntries = entriesOf(c.get());
    memset(outEntries, 0, sizeof(OlbIndexEntry) * fh.slots);
    uint32_t next = 0, liveCount = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t i = 0; i < ch.slots && next < fh.slots; ++i) {
            const OlbIndexEntry &e = callerEntries[i];
            bool live = olbIsLiveEntry(&e);
            if ((pass == 0) != live || !e.name[0] || e.offset <= 0)
                continue;
            int32_t at = olbFindEntry(f.get(), e.name);
            if (at < 0)
                continue;
            OlbIndexEntry moved = entriesOf(f.get())[at];
            memcpy(moved.name, e.name, sizeof moved.name);
            moved.date = e.date;
            moved.deleted = live ? 0 : 1;
            outEntries[next++] = moved;
            liveCount += live ? 1 : 0;
        }
    }
    fh.live = liveCount;
    fh.nameCounter = ch.nameCounter;
    memcpy(o.get(), &fh, sizeof fh);
    return out;
}

}  // namespace

// ---- environments ----------------------------------------------------------------------

MemHandle olbCreateEnv(HWND, uint16_t flags, MemHandle idPacket, const char *kind,
                       const char *filter, const char *extension, const char *fileName)
{
    const char *name = fileName ? fileName : "";
    uint32_t size = (uint32_t)(sizeof(OlbEnvHead) + strlen(name) + 1);
    MemHandle id = idPacket && packetFits(idPacket) ? utDupPacket(idPacket) : emptyIdPacket();
    if (!id)
        return 0;
    MemHandle env = utAllocHandle(0, size);
    if (!env) {
        utFreeHandle(id);
        return 0;
    }
    OlbEnvHead head = {};
    head.size = size;
    head.tag = OLB_ENV_TAG;
    head.flags = flags;
    head.idBlock = id;
    utStrCopyN(head.kind, kind ? kind : "", sizeof head.kind);
    utStrCopyN(head.version, kOlbVersion, sizeof head.version);
    if (filter)
        utCopyMultiString(head.filter, filter, sizeof head.filter);
    utStrCopyN(head.extension, extension ? extension : "", sizeof head.extension);
    MemLock<> p(env);
    memcpy(p.get(), &head, sizeof head);
    memcpy(p.get() + sizeof head, name, strlen(name) + 1);
    return env;
}

void olbFreeEnv(MemHandle env)
{
    OlbEnvHead head;
    if (headOf(env, &head))
        utFreeHandle(head.idBlock);
    utFreeHandle(env);
}

MemHandle olbDupEnv(MemHandle env)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return 0;
    MemHandle copy = utCopyHandle(env);
    MemHandle id = utDupPacket(head.idBlock);
    if (!copy || !id) {
        utFreeHandle(copy);
        utFreeHandle(id);
        return 0;
    }
    head.idBlock = id;
    putHead(copy, head);
    return copy;
}

MemHandle olbSetFileName(MemHandle env, const char *name)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return 0;
    const char *n = name ? name : "";
    uint32_t size = (uint32_t)(sizeof head + strlen(n) + 1);
    MemHandle moved = utAllocHandle(env, size);
    if (!moved)
        return 0;
    head.size = size;
    MemLock<> p(moved);
    memcpy(p.get(), &head, sizeof head);
    memcpy(p.get() + sizeof head, n, strlen(n) + 1);
    return moved;
}

BOOL olbGetFileName(MemHandle env, char *buffer, uint32_t size)
{
    if (buffer && size)
        buffer[0] = '\0';
    OlbEnvHead head;
    if (!headOf(env, &head))
        return FALSE;
    uint32_t capacity = utHandleSize(env);
    if (buffer && size && capacity > sizeof head) {
        MemLock<char> p(env);
        std::string name(p.get() + sizeof head, strnlen(p.get() + sizeof head, capacity - sizeof head));
        utStrCopyN(buffer, name.c_str(), size);
    }
    return TRUE;
}

BOOL olbGetKindVersion(MemHandle env, char kind[12], char version[8])
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return FALSE;
    if (kind)
        utStrCopyN(kind, textOf(head.kind, sizeof head.kind).c_str(), 12);
    if (version)
        utStrCopyN(version, textOf(head.version, sizeof head.version).c_str(), 8);
    return TRUE;
}

MemHandle olbGetIdBlock(MemHandle env)
{
    OlbEnvHead head;
    return headOf(env, &head) ? head.idBlock : 0;
}

BOOL olbSetIdBlock(MemHandle env, MemHandle packet)
{
    OlbEnvHead head;
    if (!headOf(env, &head) || !packetFits(packet))
        return FALSE;
    MemHandle copy = utDupPacket(packet);
    if (!copy)
        return FALSE;
    utFreeHandle(head.idBlock);
    head.idBlock = copy;
    putHead(env, head);
    return TRUE;
}

void olbClearIdBlock(MemHandle env)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return;
    utFreeHandle(head.idBlock);
    head.idBlock = 0;
    putHead(env, head);
}

void olbSetWritable(MemHandle env, BOOL writable)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return;
    head.readOnly = writable ? 0 : 1;
    putHead(env, head);
}

void olbMarkReadOnly(MemHandle env)
{
    olbSetWritable(env, FALSE);
}

BOOL olbIsWritable(MemHandle env)
{
    OlbEnvHead head;
    return headOf(env, &head) && head.readOnly == 0;
}

uint32_t olbIndexOffset(MemHandle env)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return sizeof(FileHeader);
    return (uint32_t)sizeof(FileHeader) + (packetFits(head.idBlock) ? utGetPacketLength(head.idBlock) : 0);
}

// ---- opening and checking --------------------------------------------------------------

BOOL olbCheckKind(HWND window, MemHandle env, const char *fileName)
{
    OlbEnvHead head;
    if (!fileName || !*fileName || !headOf(env, &head))
        return FALSE;
    if (!ffExists(fileName))
        return TRUE;
    DWORD size = 0;
    HANDLE f = ffOpenRead(fileName, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    int32_t budget = size > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)size;
    FileHeader header;
    bool ok = qmfCheckHeader(f, &budget, &header, textOf(head.kind, sizeof head.kind).c_str(),
                             nullptr, FALSE) == 1;
    ffClose(f);
    if (ok) {
        std::string version = headerVersion(header);
        ok = isOldVersion(version) ||
             lstrcmpiA(version.c_str(), textOf(head.version, sizeof head.version).c_str()) == 0;
    }
    if (!ok)
        showReadError(window, fileName);
    return ok;
}

BOOL olbOpenLibrary(HWND window, MemHandle *env, const char *fileName)
{
    if (!env || !olbCheckKind(window, *env, fileName)) {
        utErrorBox(window, kErrWrongKind);
        return FALSE;
    }
    MemHandle moved = olbSetFileName(*env, fileName);
    if (!moved)
        return FALSE;
    *env = moved;
    return olbCheckFile(window, *env);
}

BOOL olbCheckFile(HWND window, MemHandle env)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return FALSE;
    std::string fileName = fileNameOf(env);
    if (fileName.empty() || !ffExists(fileName.c_str()))
        return FALSE;
    OpenedLibrary lib;
    int cause = 0;
    if (!openLibrary(fileName.c_str(), textOf(head.kind, sizeof head.kind).c_str(), false, false,
                     &lib)) {
        cause = -2;
    } else if (!isOldVersion(lib.version)) {
        MemHandle id = readIdPacket(lib);
        if (!id || !olbSetIdBlock(env, id))
            cause = -3;
        utFreeHandle(id);
    }
    if (cause == 0)
        return TRUE;
    std::string message(strlen(kErrReadFile) + fileName.size() + 16, '\0');
    snprintf(&message[0], message.size(), kErrReadFile, fileName.c_str());
    message.resize(strlen(message.c_str()));
    message += cause == -2 ? "(Cause: file header)" : cause == -3 ? "(Cause: ID)"
                                                                   : "(Cause: library header)";
    utErrorBox(window, message.c_str());
    return FALSE;
}

BOOL olbIsLibraryFile(const char *name)
{
    if (!name || !*name || !ffExists(name))
        return FALSE;
    DWORD size = 0;
    HANDLE f = ffOpenRead(name, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    int32_t budget = size > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)size;
    bool ok = size > 0 && qmfCheckHeader(f, &budget, nullptr, kOlbKindObjects, nullptr, FALSE) == 1;
    ffClose(f);
    return ok;
}

BOOL olbIsLibExt(const char *text)
{
    if (!text)
        return FALSE;
    if (*text == '*')
        ++text;
    if (*text == '.')
        ++text;
    return lstrcmpiA(text, "olb") == 0;
}

// ---- the index -------------------------------------------------------------------------

MemHandle olbReadLibHdr(HANDLE file, int32_t *remaining)
{
    uint16_t code = 0;
    MemHandle index = ffReadPacketCode(file, remaining, FALSE, &code);
    if (index) {
        // Everything in the index is checked before it is used: its length
        // against its slot count, the counts against each other, every name
        // ending within its field and every live record starting inside the file.
        DWORD fileSize = ffGetSize(file);
        uint32_t length = utGetPacketLength(index);
        bool ok = length >= OLB_HEAD_SIZE;
        if (ok) {
            MemLock<> p(index);
            OlbIndexHead h = indexHead(p.get());
            if (h.slots == 0 && h.live == 0 && (h.oldSlots != 0 || h.oldLive != 0)) {
                h.slots = (uint32_t)(uint16_t)h.oldSlots;
                h.live = (uint32_t)(uint16_t)h.oldLive;
                h.oldSlots = h.oldLive = 0;
            }
            ok = h.slots <= (0xFFFFFFFFu - OLB_HEAD_SIZE) / OLB_ENTRY_SIZE &&
                 length == OLB_HEAD_SIZE + OLB_ENTRY_SIZE * h.slots && h.live <= h.slots;
            if (ok) {
                const OlbIndexEntry *entries = entriesOf(p.get());
                uint32_t counted = 0;
                for (uint32_t i = 0; ok && i < h.slots; ++i) {
                    const OlbIndexEntry &e = entries[i];
                    if (strnlen(e.name, sizeof e.name) == sizeof e.name)
                        ok = false;
                    else if (olbIsLiveEntry(&e)) {
                        ++counted;
                        ok = fileSize != INVALID_FILE_SIZE &&
                             (uint64_t)(uint32_t)e.offset + 4 <= fileSize;
                    }
                }
                // The live count says what the slots hold.
                h.live = counted;
            }
            if (ok)
                memcpy(p.get(), &h, sizeof h);
        }
        if (ok)
            return index;
        utFreeHandle(index);
        code = kBadIndexCode;
    }
    char text[64];
    snprintf(text, sizeof text, kErrLibHdr, (int)code);
    utErrorBox(nullptr, text);
    return 0;
}

MemHandle olbReadIndex(HWND window, MemHandle env)
{
    return readIndexCore(window, env, nullptr, false);
}

MemHandle olbReadIndexWithId(HWND window, MemHandle env, MemHandle *fileId)
{
    return readIndexCore(window, env, fileId, false);
}

MemHandle olbReadIndexTakeId(HWND window, MemHandle env)
{
    return readIndexCore(window, env, nullptr, true);
}

BOOL olbReadHead(HWND window, MemHandle env, OlbIndexHead *head)
{
    MemHandle index = olbReadIndex(window, env);
    if (!index)
        return FALSE;
    if (head) {
        MemLock<> p(index);
        *head = indexHead(p.get());
    }
    utFreeHandle(index);
    return TRUE;
}

int32_t olbLiveCount(HWND window, MemHandle env)
{
    OlbIndexHead head;
    return olbReadHead(window, env, &head) ? (int32_t)head.live : -1;
}

BOOL olbWriteIndex(HWND window, MemHandle env, MemHandle index)
{
    OlbEnvHead head;
    if (!headOf(env, &head) || utGetPacketLength(index) < OLB_HEAD_SIZE ||
        utGetPacketLength(index) > utHandleSize(index))
        return FALSE;
    std::string fileName = fileNameOf(env);
    std::string kind = textOf(head.kind, sizeof head.kind);
    MemHandle toWrite = index, converted = 0;
    if (isOldVersion(fileVersion(fileName.c_str(), kind.c_str()))) {
        // The old layout has its index elsewhere: rewrite the file as "2.0"
        // first, then carry the caller's change over to the new index.
        if (!olbStoreObject(window, env, 0, nullptr))
            return FALSE;
        MemHandle fresh = olbReadIndex(window, env);
        if (!fresh)
            return FALSE;
        converted = carryIndexChange(index, fresh);
        utFreeHandle(fresh);
        if (!converted)
            return FALSE;
        toWrite = converted;
    }
    uint32_t size = 0;
    bool ok;
    {
        OpenedLibrary lib;
        ok = openLibrary(fileName.c_str(), kind.c_str(), false, false, &lib);
        size = lib.size;
    }
    // The index written over the old one in a copy that replaces the file.
    ok = ok && editCopy(fileName.c_str(), size, [&](HANDLE out) {
        uint32_t length = utGetPacketLength(toWrite);
        MemLock<> p(toWrite);
        return ffSeek(out, olbIndexOffset(env)) && writeAll(out, p.get(), length);
    });
    utFreeHandle(converted);
    if (!ok)
        ffReportError(window, fileName.c_str(), FE_WRITE_FAILED);
    return ok;
}

BOOL olbIsLiveEntry(const OlbIndexEntry *entry)
{
    return entry && entry->deleted == 0 && entry->name[0] != '\0' && entry->offset > 0;
}

int32_t olbFindEntry(const uint8_t *index, const char *name)
{
    if (!index || !name || !*name)
        return -1;
    OlbIndexHead h = indexHead(index);
    const OlbIndexEntry *entries = entriesOf(index);
    for (uint32_t i = 0; i < h.slots; ++i) {
        if (!olbIsLiveEntry(&entries[i]))
            continue;
        std::string slotName = textOf(entries[i].name, sizeof entries[i].name);
        if (lstrcmpiA(slotName.c_str(), name) == 0)
            return (int32_t)i;
    }
    return -1;
}

BOOL olbGetEntryName(const uint8_t *index, int32_t slot, char *buffer, uint32_t size)
{
    if (buffer && size)
        buffer[0] = '\0';
    if (!index || slot < 0 || (uint32_t)slot >= indexHead(index).slots)
        return FALSE;
    const OlbIndexEntry &e = entriesOf(index)[slot];
    if (buffer && size)
        utStrCopyN(buffer, textOf(e.name, sizeof e.name).c_str(), size);
    return TRUE;
}

namespace {

BOOL setDeleted(uint8_t *index, int32_t slot, uint8_t deleted)
{
    if (!index || slot < 0)
        return FALSE;
    OlbIndexHead h = indexHead(index);
    if ((uint32_t)slot >= h.slots)
        return FALSE;
    OlbIndexEntry &e = entriesOf(index)[slot];
    if (e.deleted == deleted)
        return TRUE;
    e.deleted = deleted;
    if (deleted)
        h.live = h.live ? h.live - 1 : 0;
    else
        h.live += 1;
    memcpy(index, &h, sizeof h);
    return TRUE;
}

}  // namespace

BOOL olbDeleteEntry(uint8_t *index, int32_t slot)
{
    return setDeleted(index, slot, 1);
}

BOOL olbUndeleteEntry(uint8_t *index, int32_t slot)
{
    return setDeleted(index, slot, 0);
}

BOOL olbMoveEntry(uint8_t *index, int32_t from, int32_t to)
{
    if (!index)
        return FALSE;
    uint32_t slots = indexHead(index).slots;
    if (from < 0 || to < 0 || (uint32_t)from >= slots || (uint32_t)to >= slots)
        return FALSE;
    OlbIndexEntry *entries = entriesOf(index);
    OlbIndexEntry moving = entries[from];
    memmove(&entries[from], &entries[from + 1], sizeof(OlbIndexEntry) * (slots - 1 - (uint32_t)from));
    memset(&entries[slots - 1], 0, sizeof(OlbIndexEntry));
    memmove(&entries[to + 1], &entries[to], sizeof(OlbIndexEntry) * (slots - 1 - (uint32_t)to));
    entries[to] = moving;
    return TRUE;
}

int32_t olbNthLive(const OlbIndexEntry *entries, uint32_t slots, int32_t n)
{
    if (!entries || n < 0)
        return -1;
    for (uint32_t i = 0; i < slots; ++i)
        if (olbIsLiveEntry(&entries[i]) && n-- == 0)
            return (int32_t)i;
    return -1;
}

int32_t olbNextLive(const OlbIndexEntry *entries, uint32_t slots, int32_t slot)
{
    if (!entries)
        return -1;
    for (uint32_t i = slot < 0 ? 0 : (uint32_t)slot + 1; i < slots; ++i)
        if (olbIsLiveEntry(&entries[i]))
            return (int32_t)i;
    return -1;
}

int32_t olbCountLive(const OlbIndexEntry *entries, uint32_t slots)
{
    int32_t n = 0;
    for (uint32_t i = 0; entries && i < slots; ++i)
        n += olbIsLiveEntry(&entries[i]) ? 1 : 0;
    return n;
}

// ---- records ---------------------------------------------------------------------------

MemHandle olbReadEntry(HWND, MemHandle env, const OlbIndexEntry *entry)
{
    if (!entry || entry->offset <= 0)
        return 0;
    std::string fileName = fileNameOf(env);
    DWORD size = 0;
    HANDLE f = ffOpenRead(fileName.c_str(), &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle packet = 0;
    if (size != INVALID_FILE_SIZE && (uint32_t)entry->offset < size &&
        ffSeek(f, (uint32_t)entry->offset)) {
        int32_t budget = (int32_t)(size - (uint32_t)entry->offset);
        packet = ffReadPacketEx(f, &budget, FALSE);
    }
    ffClose(f);
    return packet;
}

MemHandle olbLoadObject(HWND window, MemHandle env, const char *name)
{
    MemHandle index = olbReadIndex(window, env);
    if (!index)
        return 0;
    MemHandle record = 0;
    {
        MemLock<> p(index);
        int32_t slot = olbFindEntry(p.get(), name);
        if (slot >= 0) {
            OlbIndexEntry e = entriesOf(p.get())[slot];
            record = olbReadEntry(window, env, &e);
        }
    }
    utFreeHandle(index);
    return record;
}

MemHandle olbLoadObjectAt(HWND window, MemHandle env, int32_t slot, char *name, uint32_t nameSize)
{
    if (name && nameSize)
        name[0] = '\0';
    MemHandle index = olbReadIndex(window, env);
    if (!index)
        return 0;
    MemHandle record = 0;
    {
        MemLock<> p(index);
        OlbIndexHead h = indexHead(p.get());
        const OlbIndexEntry *entries = entriesOf(p.get());
        if (h.live > 0 && slot >= 0 && (uint32_t)slot < h.slots && olbIsLiveEntry(&entries[slot])) {
            OlbIndexEntry e = entries[slot];
            record = olbReadEntry(window, env, &e);
            if (record && name && nameSize)
                utStrCopyN(name, textOf(e.name, sizeof e.name).c_str(), nameSize);
        }
    }
    utFreeHandle(index);
    return record;
}

MemHandle olbLoadObjectFromFile(HWND window, const char *fileName, const char *kind,
                                const char *name)
{
    MemHandle env = olbCreateEnv(window, OLB_ENV_FLAGS, 0, kind, nullptr, "", fileName);
    if (!env)
        return 0;
    olbMarkReadOnly(env);
    MemHandle record = olbLoadObject(window, env, name);
    olbFreeEnv(env);
    return record;
}

MemHandle olbLoadSelectedObject(HWND window, MemHandle env, HWND listBox)
{
    LRESULT selected = SendMessageA(listBox, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR)
        return 0;
    LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, (WPARAM)selected, 0);
    if (length == LB_ERR || length < 0)
        return 0;
    std::string name((size_t)length + 1, '\0');
    SendMessageA(listBox, LB_GETTEXT, (WPARAM)selected, (LPARAM)&name[0]);
    return olbLoadObject(window, env, name.c_str());
}

BOOL olbStoreObject(HWND window, MemHandle env, MemHandle record, const char *name)
{
    return olbSaveLibrary(window, env, record, name, FALSE);
}

BOOL olbSaveLibrary(HWND window, MemHandle env, MemHandle record, const char *name,
                    BOOL resetIdentity)
{
    OlbEnvHead head;
    if (!headOf(env, &head))
        return FALSE;
    std::string fileName = fileNameOf(env);
    if (fileName.empty())
        return FALSE;
    if (record && !packetFits(record))
        return FALSE;
    char key[OLB_NAME_SIZE];
    cleanName(name, key);
    bool withName = record && key[0];

    // Room for the file as it is, the record and a grown index.
    uint64_t need = (uint64_t)ffGetFileSizeByName(fileName.c_str()) +
                    (record ? utGetPacketLength(record) : 0) + OLB_ENTRY_SIZE * OLB_SLOT_STEP;
    if (need > ffGetDiskFree(fileName.c_str())) {
        utErrorBox(window, kErrDiskSpace);
        return FALSE;
    }

    std::string version;
    MemHandle index = readIndexCore(window, env, nullptr, false, &version);
    if (!index)
        return FALSE;
    int32_t appendSlot = -1;
    std::vector<uint8_t> oldIndex;   // the index as the file holds it, to put back on a failure
    {
        MemLock<> p(index);
        oldIndex.assign(p.get(), p.get() + utGetPacketLength(index));
        OlbIndexHead h = indexHead(p.get());
        OlbIndexEntry *entries = entriesOf(p.get());
        // Storing under a name replaces the record of that name.
        if (withName) {
            for (uint32_t i = 0; i < h.slots; ++i) {
                OlbIndexEntry &e = entries[i];
                if (!e.name[0] || lstrcmpiA(textOf(e.name, sizeof e.name).c_str(), key) != 0)
                    continue;
                if (olbIsLiveEntry(&e) && h.live)
                    --h.live;
                e.deleted = 1;
                memset(e.name, 0, sizeof e.name);
            }
            memcpy(p.get(), &h, sizeof h);
        }
        uint32_t deleted = 0;
        int32_t lastUsed = -1;
        for (uint32_t i = 0; i < h.slots; ++i) {
            deleted += entries[i].deleted ? 1 : 0;
            if (entries[i].offset > 0)
                lastUsed = (int32_t)i;
        }
        if (withName && lstrcmpiA(version.c_str(), kOlbVersion) == 0 &&
            deleted < OLB_DELETED_LIMIT && h.slots > h.live && (uint32_t)(lastUsed + 1) < h.slots)
            appendSlot = lastUsed + 1;
    }
    bool ok = appendSlot >= 0
                  ? appendInPlace(window, env, fileName.c_str(), index, oldIndex, appendSlot,
                                  record, key)
                  : rewriteLibrary(window, env, fileName.c_str(), index, record, key, resetIdentity);
    utFreeHandle(index);
    return ok;
}

int olbDeleteObject(HWND window, MemHandle env, const char *name)
{
    MemHandle index = olbReadIndex(window, env);
    if (!index)
        return -1;
    bool found;
    {
        MemLock<> p(index);
        int32_t slot = olbFindEntry(p.get(), name);
        found = slot >= 0 && olbDeleteEntry(p.get(), slot);
    }
    int result = !found ? -2 : olbWriteIndex(window, env, index) ? 0 : -3;
    utFreeHandle(index);
    return result;
}

BOOL olbMakeUniqueName(uint8_t *index, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return FALSE;
    buffer[0] = '\0';
    if (!index)
        return FALSE;
    OlbIndexHead h = indexHead(index);
    uint32_t counter = h.nameCounter;
    char name[16];
    for (uint32_t tries = 0; tries < 999999; ++tries) {
        counter = counter >= 999999 ? 1 : counter + 1;
        snprintf(name, sizeof name, "NM%06u", (unsigned)counter);
        if (olbFindEntry(index, name) < 0) {
            h.nameCounter = counter;
            memcpy(index, &h, sizeof h);
            utStrCopyN(buffer, name, size);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL olbCreateFile(HWND window, MemHandle env, const char *fileName)
{
    OlbEnvHead head;
    if (!headOf(env, &head) || !fileName || !*fileName)
        return FALSE;
    if (ffExists(fileName) && ffIsReadOnly(fileName)) {
        ffReportError(window, fileName, FE_READ_ONLY);
        return FALSE;
    }
    char temp[UT_PATH_SIZE];
    HANDLE f = ffCreateReplacement(fileName, temp);
    if (f == INVALID_HANDLE_VALUE) {
        ffReportError(window, fileName, FE_CANNOT_OPEN);
        return FALSE;
    }
    OlbIndexHead h = {};
    h.length = OLB_HEAD_SIZE;
    h.tag = OLB_INDEX_TAG;
    h.created = qmfSecondsSince1970();
    uint32_t shortfalls = ffWriteShortfalls();
    bool ok = qmfWriteHeaderEx(f, textOf(head.kind, sizeof head.kind).c_str(),
                               textOf(head.version, sizeof head.version).c_str()) ==
                  sizeof(FileHeader) &&
              writePacket(f, head.idBlock) && writeAll(f, &h, sizeof h) &&
              ffWriteShortfalls() == shortfalls;
    ok = ffCommitReplacement(f, temp, fileName, ok) && ok;
    if (!ok)
        ffReportError(window, fileName, FE_WRITE_FAILED);
    return ok;
}

// ---- list boxes ------------------------------------------------------------------------

int32_t olbFillList(HWND listBox, MemHandle index)
{
    if (!index)
        return 0;
    MemLock<> p(index);
    OlbIndexHead h = indexHead(p.get());
    const OlbIndexEntry *entries = entriesOf(p.get());
    if (olbCountLive(entries, h.slots) == 0) {
        SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        return 0;
    }
    for (uint32_t i = 0; i < h.slots; ++i)
        if (olbIsLiveEntry(&entries[i]))
            SendMessageA(listBox, LB_ADDSTRING, 0,
                         (LPARAM)textOf(entries[i].name, sizeof entries[i].name).c_str());
    return (int32_t)SendMessageA(listBox, LB_GETCOUNT, 0, 0);
}

int32_t olbFillListFromIndex(HWND listBox, MemHandle index)
{
    if (!index)
        return -3;
    int32_t live;
    {
        MemLock<> p(index);
        OlbIndexHead h = indexHead(p.get());
        live = olbCountLive(entriesOf(p.get()), h.slots);
    }
    if (live == 0) {
        SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        return -2;
    }
    olbFillList(listBox, index);
    return live;
}

int32_t olbFillListFromEnv(HWND window, MemHandle env, HWND listBox)
{
    MemHandle index = olbReadIndex(window, env);
    int32_t result = olbFillListFromIndex(listBox, index);
    utFreeHandle(index);
    return result;
}
