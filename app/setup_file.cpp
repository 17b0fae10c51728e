// Reading and writing the settings file "~qmsetup".
#include "app/setup_file.h"
#include "controls/pal_window.h"
#include "support/dm_map.h"
#include "model/setup_record.h"
#include "app/settings_pending.h"
#include "app/app_frame_bars.h"
#include "support/settings_reg.h"
#include "model/pg_record.h"
#include "model/qmf_convert.h"
#include "model/qmf_header.h"
#include "model/ob_record.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include <algorithm>
#include <string.h>
#include <string>

namespace {

const char kKind[] = "QMSETUP";
const char kVersion[] = "4.0";
const char kOlderVersion[] = "3.0";

bool g_warned = false;

void warnOnce(HWND owner, const char *path)
{
    if (g_warned)
        return;
    g_warned = true;
    ffReportError(owner, path, FE_CANNOT_SAVE);
}

// The text of a packet's data, up to its terminator or the packet's end.
std::string packetText(MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    if (length <= 4 || length > utHandleSize(packet))
        return std::string();
    MemLock<char> p(packet);
    return std::string(p.get() + 4, strnlen(p.get() + 4, length - 4));
}

// A copy of the first `length` bytes of a record, for writing.
MemHandle copyRecord(MemHandle h)
{
    uint32_t length = utGetPacketLength(h);
    if (length < 4 || length > utHandleSize(h))
        return 0;
    MemLock<uint8_t> p(h);
    return utHandleFromBytes(p.get(), length);
}

bool writePacket(HANDLE f, MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    return length >= 4 && ffWritePacket(f, packet) == length;
}

// The packets of the file, made ready to write: copies whose handle fields
// are cleared and whose packet flags say what follows.
struct SetupPackets {
    MemHandle form = 0, page = 0, setup = 0, start = 0;
    ~SetupPackets()
    {
        utFreeHandle(form);
        utFreeHandle(page);
        utFreeHandle(setup);
        utFreeHandle(start);
    }
    bool make()
    {
        MemHandle held = setGetFormDefaultsRecord();
        form = held ? copyRecord(held) : setNewFormDefaults();
        if (!form || utHandleSize(form) < FORM_HEAD_SIZE)
            return false;
        {
            MemLock<uint8_t> p(form);
            setClearFormHandles(p.get());
        }

        // The default page goes out as its file record: links as presence
        // flags (none, since the copy's links are cleared first), the page
        // data in its file form.
        held = setGetDefaultPage();
        MemHandle copy = 0;
        if (held && pgIsValid(held)) {
            copy = copyRecord(held);
        } else if ((copy = utAllocHandle(0, PG_RECORD_SIZE)) != 0) {
            MemLock<uint8_t> p(copy);
            pgInitRecord(p.get());
        }
        if (!copy)
            return false;
        {
            MemLock<uint8_t> p(copy);
            setClearPageHandles(p.get());
        }
        page = qmfMakeFileRecord(copy);
        utFreeHandle(copy);
        if (!page)
            return false;

        MemHandle startDoc = setGetStartDocumentPacket();
        if (startDoc && !(start = copyRecord(startDoc)))
            return false;
        held = setGetSetupRecord();
        if (held) {
            if (!(setup = copyRecord(held)) || utHandleSize(setup) < SETUP_RECORD_SIZE)
                return false;
            // The old "StartFile" packet is never written; the start
            // document packet exactly when there is one.
            MemLock<SetupRecord> r(setup);
            r->packetFlags &= ~(SETUP_PACKET_START_FILE | SETUP_PACKET_START_DOC);
            if (start)
                r->packetFlags |= SETUP_PACKET_START_DOC;
        }
        return true;
    }
};

// Keeps a record read from the file when it passes its test (with its
// handle fields cleared), else frees it.
BOOL takeRecord(MemHandle packet, BOOL (*valid)(MemHandle), void (*clear)(uint8_t *),
                void (*adopt)(MemHandle))
{
    if (!valid(packet)) {
        utFreeHandle(packet);
        return FALSE;
    }
    {
        MemLock<uint8_t> p(packet);
        clear(p.get());
    }
    adopt(packet);
    return TRUE;
}

// Whether a packet holds a page's file record whose sizes add up: type
// 1000, a name of at most 32 bytes, the page data's file form and an
// attribute run that fills the rest. Checked here so that a damaged
// packet is dropped without a message, as every packet of this file is.
bool isPageFileRecord(MemHandle packet)
{
    uint32_t n = std::min(utGetPacketLength(packet), utHandleSize(packet));
    if (n < kObFileHeadSize + kQmfPageFileDataSize)
        return false;
    MemLock<uint8_t> p(packet);
    if (!p)
        return false;
    int16_t type;
    memcpy(&type, p.get() + 4, 2);
    uint8_t nameLength = p.get()[PGH_NAME_LENGTH];
    uint32_t dataAt = kObFileHeadSize + nameLength;
    if (type != PG_TYPE || nameLength > 32 || dataAt + kQmfPageFileDataSize > n)
        return false;
    AttrHeader attrs;
    memcpy(&attrs, p.get() + dataAt + 340, sizeof(attrs));
    uint32_t runAt = dataAt + kQmfPageFileDataSize;
    return attrs.size == n - runAt && attCheckRun(p.get() + runAt, attrs.count, attrs.size);
}

// Takes the default page packet: a page's file record (what this program
// writes), or the page's memory block whole (what earlier writers wrote).
// Either way no link or handle read from the file is kept. The packet is
// used up.
BOOL takeDefaultPage(MemHandle packet)
{
    if (pgIsValid(packet))
        return takeRecord(packet, pgIsValid, setClearPageHandles, setAdoptDefaultPage);
    if (!isPageFileRecord(packet)) {
        utFreeHandle(packet);
        return FALSE;
    }
    MemHandle page = 0;
    uint16_t flags[7];
    QmfReadResult result = qmfRecordFromFile(packet, &page, flags);
    utFreeHandle(packet);
    if (result != QMF_RECORD_OK || !page)
        return FALSE;
    if (obGetType(page) != PG_TYPE) {
        utFreeHandle(page);
        return FALSE;
    }
    return takeRecord(page, pgIsValid, setClearPageHandles, setAdoptDefaultPage);
}

}  // namespace

void setResetSetupFileWarning() { g_warned = false; }

BOOL setReadSetupFile(const char *path)
{
    if (!ffExists(path))
        return FALSE;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    int32_t left = size > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)size;

    BOOL gotForm = FALSE, gotPage = FALSE;
    FileHeader header;
    char version[9];
    if (qmfCheckHeaderReport(f, &left, &header, kKind, "") != 1) {
        ffClose(f);
        return FALSE;
    }
    qmfHeaderText(header.version, sizeof(header.version), version);
    bool older = lstrcmpiA(version, kOlderVersion) == 0;
    if (!older && lstrcmpiA(version, kVersion) != 0) {
        ffClose(f);
        return FALSE;
    }

    // 1. Form defaults, 2. the default page. Their handle fields named
    //    blocks of the run that wrote them: they are cleared, never followed.
    MemHandle packet = ffReadPacket(f, &left);
    if (packet) {
        gotForm = takeRecord(packet, setIsValidFormDefaults, setClearFormHandles,
                             setAdoptFormDefaults);
        packet = ffReadPacket(f, &left);
    }
    if (packet) {
        gotPage = takeDefaultPage(packet);

        // 3. The setup record, when bytes remain.
        packet = left > 0 ? ffReadPacket(f, &left) : 0;
        if (packet && setIsValidSetupRecord(packet)) {
            uint32_t flags;
            {
                MemLock<SetupRecord> r(packet);
                if (older)
                    r->flagBits |= SETUP_FLAG_SMOOTH_FONTS;
                flags = r->packetFlags;
                r->packetFlags &= ~(SETUP_PACKET_START_FILE | SETUP_PACKET_START_DOC);
            }
            setAdoptSetupRecord(packet);

            // 4. The start file of older writers, kept as a registry value.
            bool readOn = true;
            if (flags & SETUP_PACKET_START_FILE) {
                MemHandle p = ffReadPacket(f, &left);
                if (p) {
                    char text[UT_PATH_SIZE];
                    utStrCopyN(text, packetText(p).c_str(), sizeof(text));
                    setPutString("StartFile", text);
                    utFreeHandle(p);
                } else {
                    readOn = false;
                }
            }
            // 5. The start document.
            if (readOn && (flags & SETUP_PACKET_START_DOC)) {
                MemHandle p = ffReadPacket(f, &left);
                if (p) {
                    setPutStartDocument(packetText(p).c_str());
                    utFreeHandle(p);
                }
            }
        } else {
            utFreeHandle(packet);
        }
    }
    ffClose(f);
    return gotForm && gotPage;
}

BOOL setLoadSetupFile(const char *path)
{
    setReadSetupFile(path);
    if (!setGetSetupRecord())
        setAdoptSetupRecord(setNewSetupRecord());
    if (!setGetFormDefaultsRecord())
        setAdoptFormDefaults(setNewFormDefaults());
    // Made after the setup record: the page takes its fill and font from it.
    if (!setGetDefaultPage()) {
        MemHandle page = utAllocHandle(0, PG_RECORD_SIZE);
        if (page) {
            {
                MemLock<uint8_t> p(page);
                pgInitRecord(p.get());
            }
            setAdoptDefaultPage(page);
        }
    }
    txSetEditorColor(setGetEditorColor());
    txSetFontDialogBits((uint16_t)setGetFontDialogBits());
    clrSetClassicStyle((setGetFlagBits() & SETUP_FLAG_CLASSIC_COLORS) != 0);
    dmSetFontSmoothing((setGetFlagBits() & SETUP_FLAG_SMOOTH_FONTS) != 0);
    return setGetSetupRecord() && setGetFormDefaultsRecord() && setGetDefaultPage();
}

BOOL setWriteSetupFile(HWND frame, const char *path)
{
    SetupPackets packets;
    char temp[UT_PATH_SIZE];
    // A read-only settings file is the user's choice: it is not replaced
    // (the system would let an administrator replace it).
    bool readOnly = ffExists(path) && ffIsReadOnly(path);
    if (readOnly || !packets.make()) {
        warnOnce(frame, path);
        return FALSE;
    }
    HANDLE f = ffCreateReplacement(path, temp);
    if (f == INVALID_HANDLE_VALUE) {
        warnOnce(frame, path);
        return FALSE;
    }
    bool ok = qmfWriteHeaderEx(f, kKind, kVersion) == sizeof(FileHeader)
              && writePacket(f, packets.form) && writePacket(f, packets.page)
              && (!packets.setup || writePacket(f, packets.setup))
              && (!packets.start || writePacket(f, packets.start));
    // The previous file is replaced only by a complete one.
    ok = ffCommitReplacement(f, temp, path, ok) && ok;
    if (!ok) {
        warnOnce(frame, path);
        return FALSE;
    }
    return TRUE;
}

BOOL appSaveFrameSettings(HWND frame, const char *path)
{
    if (setGetSetupRecord() && frame && IsWindow(frame)) {
        setPutFrameMaximized(IsZoomed(frame));
        int bits = appGetBarBits(frame);
        if (bits >= 0)
            setPutFrameBarBits((uint16_t)bits);
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        RECT normal;
        if (GetWindowPlacement(frame, &placement))
            normal = placement.rcNormalPosition;
        else
            GetWindowRect(frame, &normal);
        setPutFrameRect(&normal);
    }
    MemHandle start = setGetStartDocument();
    bool hasStart = start != 0;
    utFreeHandle(start);
    if (MemHandle record = setGetSetupRecord()) {
        MemLock<SetupRecord> r(record);
        r->packetFlags = hasStart ? SETUP_PACKET_START_DOC : 0;
    }
    BOOL written = setWriteSetupFile(frame, path);
    setFreeSetupRecords();
    return written;
}
