// Record library files: one container holding any number of named records,
// each one packet, behind an index of fixed-size entries near the front.
// Object libraries (".olb", kind "OLB": each record an object block),
// favourites and page-template lists (".fav", kind "flname": each record a
// string packet holding a file path) share the format and this engine.
//
// The file: a 40-byte FileHeader (kind, version "1.0" or "2.0"); for version
// "2.0" an identity packet (the empty one is the 4-byte packet of length 4);
// the index packet (a 68-byte head, then S slots of 48 bytes); then the
// record packets in the order they were written. New files are "2.0".
//
// Everything that opens, reads or writes a library goes through an OlbEnv,
// a small movable record naming the file with its kind, version, filter,
// extension and identity packet. Files are opened and closed inside every
// operation; no file handle outlives a call. Every failure is shown in an
// error box and leaves the library file as it was.
#pragma once
#include "support/qmwin.h"

enum : uint16_t {
    OLB_ENV_TAG = 330,       // tag word of an OlbEnv
    OLB_INDEX_TAG = 332,     // tag word of the index head
    OLB_ENV_FLAGS = 32,      // flags every creator gives
};
enum : uint32_t {
    OLB_HEAD_SIZE = 68,      // index head
    OLB_ENTRY_SIZE = 48,     // one index slot
    OLB_NAME_SIZE = 32,      // name field of a slot (31 characters and the NUL)
    OLB_SLOT_STEP = 64,      // slots added each time the index is rebuilt
    OLB_DELETED_LIMIT = 32,  // deleted slots that stop appending in place
};

// Kinds, filters and extensions of the three uses.
extern const char kOlbKindObjects[];      // "OLB"
extern const char kOlbKindFileList[];     // "flname"
extern const char kOlbVersion[];          // "2.0"
extern const char kOlbVersionOld[];       // "1.0"

#pragma pack(push, 1)
// The fixed part of an OlbEnv; the file name and its NUL follow.
struct OlbEnvHead {
    uint32_t size;        // fixed part + file name + NUL
    uint16_t tag;         // OLB_ENV_TAG
    uint16_t flags;       // OLB_ENV_FLAGS
    MemHandle idBlock;    // identity packet, owned by the record
    uint32_t compare;     // identity comparison callback: none in this program, 0
    uint8_t readOnly;     // 1: the identity check passes at once
    char kind[12];
    char version[8];
    char filter[64];      // double-NUL-terminated filter list
    char extension[4];
};
// The head of the index packet.
struct OlbIndexHead {
    uint32_t length;        // 68 + 48 x slots
    uint16_t tag;           // OLB_INDEX_TAG
    uint8_t reserved1[22];
    uint32_t slots;
    uint32_t live;
    uint32_t created;       // seconds since 1970
    uint32_t changed;       // last append or rebuild
    int16_t oldSlots;       // counts of the older layout
    int16_t oldLive;
    uint32_t nameCounter;   // generated names, 1 to 999999
    uint32_t largest;       // bytes of the largest record packet
    uint8_t reserved2[2];
    uint32_t counterA;      // reserved counters, copied unchanged
    uint32_t counterB;
    uint8_t reserved3[2];
};
// One slot of the index.
struct OlbIndexEntry {
    char name[32];          // the key, compared without regard to case
    int32_t offset;         // file offset of the record's packet; 0 or less: none
    uint8_t deleted;        // 1 deleted, 0 present
    uint8_t reserved1;
    uint32_t date;          // seconds since 1970
    uint8_t reserved2[6];
};
#pragma pack(pop)
static_assert(sizeof(OlbEnvHead) == 105, "an OlbEnv's file name starts at 105");
static_assert(sizeof(OlbIndexHead) == OLB_HEAD_SIZE, "the index head is 68 bytes");
static_assert(sizeof(OlbIndexEntry) == OLB_ENTRY_SIZE, "an index slot is 48 bytes");

// ---- environments ----------------------------------------------------------------------
// A new env; no identity packet gives the empty 4-byte one, a given one is
// copied. The filter is a double-NUL-terminated list (may be null).
MemHandle olbCreateEnv(HWND window, uint16_t flags, MemHandle idPacket, const char *kind,
                       const char *filter, const char *extension, const char *fileName);
void olbFreeEnv(MemHandle env);
MemHandle olbDupEnv(MemHandle env);
// Stores the file name; returns the handle to keep (0 on failure, the env
// then unchanged).
MemHandle olbSetFileName(MemHandle env, const char *name);
// Copies the file name out (empty when none); TRUE when the env exists.
BOOL olbGetFileName(MemHandle env, char *buffer, uint32_t size);
BOOL olbGetKindVersion(MemHandle env, char kind[12], char version[8]);
MemHandle olbGetIdBlock(MemHandle env);              // the env's own packet
BOOL olbSetIdBlock(MemHandle env, MemHandle packet); // the env keeps a copy
void olbClearIdBlock(MemHandle env);                 // frees it, none left
void olbSetWritable(MemHandle env, BOOL writable);
void olbMarkReadOnly(MemHandle env);
BOOL olbIsWritable(MemHandle env);
uint32_t olbIndexOffset(MemHandle env);              // 40 + identity packet length

// ---- opening and checking --------------------------------------------------------------
BOOL olbCheckKind(HWND window, MemHandle env, const char *fileName);
// On success the env (which may move) holds the file name.
BOOL olbOpenLibrary(HWND window, MemHandle *env, const char *fileName);
BOOL olbCheckFile(HWND window, MemHandle env);
BOOL olbIsLibraryFile(const char *name);
BOOL olbIsLibExt(const char *text);

// ---- the index -------------------------------------------------------------------------
// Reads one packet as the index, applies the older-layout rule and checks
// it (length 68 + 48 x slots, live count within the slots and equal to the
// live slots, names ending within their field, live records starting inside
// the file); 0 after "Error reading LibHdr, err code = %d" on failure.
MemHandle olbReadLibHdr(HANDLE file, int32_t *remaining);
// A new handle holding the whole index packet; 0 after "Error reading
// (olb): %s". The variants hand the file's identity packet back (a new
// handle, the caller's) or make it the env's.
MemHandle olbReadIndex(HWND window, MemHandle env);
MemHandle olbReadIndexWithId(HWND window, MemHandle env, MemHandle *fileId);
MemHandle olbReadIndexTakeId(HWND window, MemHandle env);
BOOL olbReadHead(HWND window, MemHandle env, OlbIndexHead *head);
int32_t olbLiveCount(HWND window, MemHandle env);   // -1 when the head cannot be read
// Writes the index back at olbIndexOffset. A version "1.0" file is first
// rewritten as "2.0"; the change the caller made is then carried over to the
// index of the rewritten file (entries matched by name). TRUE when every
// byte was written.
BOOL olbWriteIndex(HWND window, MemHandle env, MemHandle index);

// Entry operations on a locked index packet (the bytes from its length word).
int32_t olbFindEntry(const uint8_t *index, const char *name);
BOOL olbGetEntryName(const uint8_t *index, int32_t slot, char *buffer, uint32_t size);
BOOL olbDeleteEntry(uint8_t *index, int32_t slot);
BOOL olbUndeleteEntry(uint8_t *index, int32_t slot);
BOOL olbMoveEntry(uint8_t *index, int32_t from, int32_t to);
BOOL olbIsLiveEntry(const OlbIndexEntry *entry);
int32_t olbNthLive(const OlbIndexEntry *entries, uint32_t slots, int32_t n);
int32_t olbNextLive(const OlbIndexEntry *entries, uint32_t slots, int32_t slot);
int32_t olbCountLive(const OlbIndexEntry *entries, uint32_t slots);

// ---- records ---------------------------------------------------------------------------
MemHandle olbReadEntry(HWND window, MemHandle env, const OlbIndexEntry *entry);
MemHandle olbLoadObject(HWND window, MemHandle env, const char *name);
MemHandle olbLoadObjectAt(HWND window, MemHandle env, int32_t slot, char *name,
                          uint32_t nameSize);
MemHandle olbLoadObjectFromFile(HWND window, const char *fileName, const char *kind,
                                const char *name);
// The record named by the selected item of the list box, from the env's file.
MemHandle olbLoadSelectedObject(HWND window, MemHandle env, HWND listBox);
// Stores the record packet under the name (replacing a record of that name);
// with no record the file is only rewritten (compacted).
BOOL olbStoreObject(HWND window, MemHandle env, MemHandle record, const char *name);
BOOL olbSaveLibrary(HWND window, MemHandle env, MemHandle record, const char *name,
                    BOOL resetIdentity);
// 0 when the record was deleted; -1 when the index cannot be read, -2 when
// no live record has the name, -3 when the index could not be written.
int olbDeleteObject(HWND window, MemHandle env, const char *name);
// The next generated name "NM%06ld" that no live entry carries; the head's
// counter is left at it. FALSE (buffer emptied) when a whole cycle finds none.
BOOL olbMakeUniqueName(uint8_t *index, char *buffer, uint32_t size);
BOOL olbCreateFile(HWND window, MemHandle env, const char *fileName);

// ---- list boxes ------------------------------------------------------------------------
int32_t olbFillList(HWND listBox, MemHandle index);
int32_t olbFillListFromIndex(HWND listBox, MemHandle index);
int32_t olbFillListFromEnv(HWND window, MemHandle env, HWND listBox);
