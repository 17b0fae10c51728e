// Object file records: the form of each object record inside a document
// file (and on the clipboard), and the converters by type between it and
// the record in memory.
//
// A file record is a packet: the first 58 bytes of the memory head (with
// `length` the file record's own), seven u16 presence flags in place of the
// seven link handles, the name, then the type data in its file form. Most
// types keep their type data as in memory; the types whose data hold fonts
// keep an older layout with 50-byte FontRecord16s. Each type is served by
// one entry of an open converter table: the table's own entries, then the
// file forms the type table (model/ob_types.h) enters with each type.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include <vector>

#pragma pack(push, 1)
// The file form of a LOGFONT: the five leading values narrowed to 16 bits
// (read back sign-extended), the eight style bytes, the face name.
struct FontRecord16 {
    int16_t height, width, escapement, orientation, weight;
    uint8_t italic, underline, strikeOut, charSet;
    uint8_t outPrecision, clipPrecision, quality, pitchAndFamily;
    char faceName[32];
};
#pragma pack(pop)
static_assert(sizeof(FontRecord16) == 50, "a file font is 50 bytes");
static_assert(sizeof(LOGFONTA) == 60, "a LOGFONT is 60 bytes");

void qmfNarrowFont(const LOGFONTA *font, FontRecord16 *out);
void qmfWidenFont(const FontRecord16 *font, LOGFONTA *out);
// The same between byte positions (the records hold them unaligned).
void qmfNarrowFontAt(const uint8_t *logfont, uint8_t *out);
void qmfWidenFontAt(const uint8_t *font16, uint8_t *out);

// ---- the converter table ---------------------------------------------------------
enum QmfConvertKind : uint16_t {
    QMF_CONV_HEAD = 1,    // only the head changes: the type data as in memory
    QMF_CONV_WHOLE = 2,   // the whole memory record copied (links included)
    QMF_CONV_DATA = 3,    // the type data converted by the entry's functions
    QMF_CONV_SKIP = 4,    // read and left out without a message
};
// Type data memory -> file: `head` is the memory record's head, `data` its
// n type-data bytes; the file form is appended to `out`. FALSE refuses.
typedef BOOL (*QmfDataToFile)(const ObjectRecord *head, const uint8_t *data, uint32_t n,
                              std::vector<uint8_t> &out);
// Type data file -> memory: `head` is the memory head being built (its
// type already the memory type; fill kind and flags may be adjusted), `data`
// the n file bytes after the name; the memory form goes to `out`. Every
// count taken from the data must be checked against n. FALSE refuses.
typedef BOOL (*QmfDataFromFile)(ObjectRecord *head, const uint8_t *data, uint32_t n,
                                std::vector<uint8_t> &out);
struct QmfConverter {
    int16_t memoryType;      // type of the record in memory
    int16_t fileType;        // type word written to and read from files
    QmfConvertKind kind;
    QmfDataToFile toFile;    // QMF_CONV_DATA; null: the entry only reads
    QmfDataFromFile fromFile;
};
// Adds an entry, or replaces the one with the same memory and file type.
// Writing looks a record up by its memory type, reading by its file type.
void qmfRegisterConverter(const QmfConverter &converter);
// The entry that writes / reads the type; null when there is none.
const QmfConverter *qmfFindWriter(int16_t memoryType);
const QmfConverter *qmfFindReader(int16_t fileType);
// Back to the table's own entries and the file forms of the registered
// types, in the order they were registered (entries added by
// qmfRegisterConverter alone are dropped).
void qmfResetConverters();

// ---- whole records ------------------------------------------------------------------
// The file record of a memory record as a new packet handle: the record's
// length recomputed by its type first. 0 with "Unsupported object type"
// for a type without a file form, 0 (no message) when it cannot be built.
MemHandle qmfMakeFileRecord(MemHandle object);
// The bytes of that file record; 0 (no message) when it has none.
uint32_t qmfFileRecordSize(MemHandle object);

// Results of qmfRecordFromFile.
enum QmfReadResult : int {
    QMF_RECORD_OK = 0,         // a new memory record
    QMF_RECORD_SKIPPED = 1,    // a record read and left out without a message
    QMF_RECORD_DROPPED = 2,    // unknown or unconvertible: left out, the message shown
};
// The file record packet (already unscrambled) checked, upgraded and
// converted to a new memory record with every link cleared; the presence
// flags go to `flags` (extra data, prev, next, parent, first member, next
// member, attached; 0 or 1 each) also when the record is left out, so that
// the caller can step over what follows it. The packet is changed by the
// upgrades.
QmfReadResult qmfRecordFromFile(MemHandle packet, MemHandle *record, uint16_t flags[7]);

// ---- scrambled records -----------------------------------------------------------------
// The key of scrambled records and the types that may be stored scrambled
// (39, 40, 41, 43, 44, 45, 51, 54, 58, 90).
extern const char kQmfRecordKey[];
BOOL qmfIsScrambledType(int16_t fileType);
// Sets bit 15 of the type word and scrambles bytes 6 to the end.
void qmfScrambleRecord(MemHandle packet, const char *key);
// A record whose type word has bit 15 set and whose type without it may be
// scrambled: the bit cleared and bytes 6 to the end unscrambled. Other
// records (the negative types of the program's own) are left alone.
void qmfUnscrambleRecord(MemHandle packet);

// ---- the page record's data -------------------------------------------------------------
const uint32_t kQmfPageFileDataSize = 376;
// The 408-byte PageData in its 376-byte file form and back. The memory-only
// fields (layer set handles, object list, blocks) are left zero in memory.
void qmfPageDataToFile(const uint8_t *data, uint8_t *out);
void qmfPageDataFromFile(const uint8_t *file, uint8_t *out);
// The 100-byte field format in its 128-byte file form and back.
void qmfFieldFormatToFile(const uint8_t *format, uint8_t *out);
void qmfFieldFormatFromFile(const uint8_t *file, uint8_t *out);

// ---- the calendar ------------------------------------------------------------------------
// Memory layout of the calendar's type data (308 fixed bytes, then the
// tail whose byte count is the u32 at 288).
const uint32_t kCalFixedSize = 308;
const uint32_t kCalFileHeadSize = 332;
// A calendar read from a document of format version 0: fill kind 1 unless
// its transparent flag (bit 4 at 86) is set, then the bit cleared.
void calCompleteRead(ObjectRecord *head, uint8_t *data, uint32_t n);
