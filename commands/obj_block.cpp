// Object blocks: object trees packed into one memory block and rebuilt.
#include "commands/obj_block.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>
#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

// Offsets of the presence flags in a file record.
enum : uint32_t {
    FLAG_EXTRA = 0, FLAG_PREV = 1, FLAG_NEXT = 2, FLAG_PARENT = 3,
    FLAG_FIRST_MEMBER = 4, FLAG_NEXT_MEMBER = 5, FLAG_ATTACHED = 6,
};
const uint32_t kFlagsAt = offsetof(ObjectFileHead, hasExtraData);

// ---- the file form of one record --------------------------------------------------------
// The object's file record, exactly as the document writer makes it, and
// back through the document reader's checks, upgrades and conversions.

// Whether the type has a form in files: an entry that writes it (entries
// that only read a type, or leave it out, write nothing).
bool hasFileForm(MemHandle object)
{
    return ObLock(object) && qmfFindWriter(obGetType(object)) != nullptr;
}

// Records copied whole keep the memory head: their links are u32 fields,
// present when not 0.
bool keepsWholeHead(MemHandle object)
{
    const QmfConverter *c = qmfFindWriter(obGetType(object));
    return c && c->kind == QMF_CONV_WHOLE;
}

MemHandle makeFileRecord(MemHandle object) { return qmfMakeFileRecord(object); }

// A file record (n bytes, already checked to lie in the block) converted
// into a new memory record with every link cleared; its presence flags go
// to flags. 0 when it cannot be converted (the converter has said why).
MemHandle recordFromFile(const uint8_t *bytes, uint32_t n, uint16_t flags[7])
{
    MemHandle packet = utHandleFromBytes(bytes, n);
    if (!packet)
        return 0;
    MemHandle rec = 0;
    QmfReadResult result = qmfRecordFromFile(packet, &rec, flags);
    utFreeHandle(packet);
    if (result != QMF_RECORD_OK) {
        utFreeHandle(rec);
        return 0;
    }
    return rec;
}

// ---- helpers ---------------------------------------------------------------------------------

// Sets one presence flag of the record written at recordAt: a u16 in a
// file head, a u32 in place of the link in a head copied whole.
void putFlag(std::vector<uint8_t> &out, size_t recordAt, bool wholeHead, uint32_t which, bool on)
{
    if (wholeHead)
        utPutAt<uint32_t>(out.data(), recordAt + kFlagsAt + 4 * which, on ? 1 : 0);
    else
        utPutAt<uint16_t>(out.data(), recordAt + kFlagsAt + 2 * which, on ? 1 : 0);
}

// The first object of a member chain, starting at `h`, that has a file
// form; the others are left out of the block.
MemHandle firstPackable(MemHandle h)
{
    std::vector<MemHandle> seen;
    while (h && !hasFileForm(h)) {
        if (std::find(seen.begin(), seen.end(), h) != seen.end())
            return 0;   // a damaged, cyclic chain
        seen.push_back(h);
        h = obGetNextMember(h);
    }
    return h;
}

void inputDataError() { utErrorBoxRes(0, IDS_INPUT_DATA_ERROR, IDS_PRESS_OK); }

// The owner of a rebuilt tree frees all of it on failure: the links are set
// as soon as a record exists, so the root's tree holds everything made.
void freeRebuilt(MemHandle root) { obFreeTree(root); }

// The tree of a block whose entry starts at `at`: the bytes are copied out
// first, so that nothing done while rebuilding can move them.
MemHandle unpackBytes(const uint8_t *bytes, uint32_t size, uint32_t at)
{
    if (!bytes || size < at) {
        inputDataError();
        return 0;
    }
    uint32_t total = utGetAt<uint32_t>(bytes, 0);
    if (total < at || total > size) {
        inputDataError();
        return 0;
    }
    std::vector<uint8_t> copy(bytes, bytes + total);
    ObjBlockReader reader = {copy.data(), at, total};
    MemHandle root = objUnpackEntry(&reader, 0);
    if (!root) {
        inputDataError();
        return 0;
    }
    return root;
}

MemHandle unpackHandle(MemHandle block, uint32_t at, bool tagged)
{
    if (!block)
        return 0;
    uint32_t size = utHandleSize(block);
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> p(block);
        if (!p) {
            inputDataError();
            return 0;
        }
        bytes.assign(p.get(), p.get() + size);
    }
    if (tagged) {
        uint16_t kind = 0;
        if (size >= sizeof(TaggedObjectBlockHead))
            kind = utGetAt<uint16_t>(bytes.data(), 4);
        if (kind != OBJ_BLOCK_TAG_KIND)
            return 0;
    }
    return unpackBytes(bytes.data(), size, at);
}

MemHandle packWithHead(MemHandle object, bool tagged)
{
    if (!object || !hasFileForm(object))
        return 0;
    std::vector<uint8_t> out(tagged ? sizeof(TaggedObjectBlockHead) : sizeof(ObjectBlockHead), 0);
    if (!objPackEntry(object, out))
        return 0;
    uint32_t total = (uint32_t)out.size();
    utPutAt<uint32_t>(out.data(), 0, total);
    if (tagged)
        utPutAt<uint16_t>(out.data(), 4, OBJ_BLOCK_TAG_KIND);
    return utHandleFromBytes(out.data(), total);
}

// The bytes of a string handle up to its terminator, never past its block.
std::string stringOf(MemHandle h)
{
    if (!h)
        return std::string();
    uint32_t size = utHandleSize(h);
    MemLock<char> p(h);
    if (!p)
        return std::string();
    return std::string(p.get(), strnlen(p.get(), size));
}

MemHandle textPairPart(MemHandle record, bool second)
{
    if (!record)
        return 0;
    uint32_t size = utHandleSize(record);
    MemLock<uint8_t> p(record);
    if (!p || size < sizeof(TextPairRecord))
        return 0;
    TextPairRecord head;
    memcpy(&head, p.get(), sizeof head);
    uint32_t need = sizeof(TextPairRecord) + head.firstLength + head.secondLength;
    if (head.kind != OBJ_TEXT_PAIR_KIND || head.total < need || head.total > size)
        return 0;
    uint32_t at = sizeof(TextPairRecord) + (second ? head.firstLength : 0);
    uint32_t n = second ? head.secondLength : head.firstLength;
    if (!n)
        return 0;
    MemHandle s = utAllocHandle(0, n + 1);
    if (!s)
        return 0;
    MemLock<uint8_t> d(s);
    memcpy(d.get(), p.get() + at, n);
    d[n] = 0;
    return s;
}

}  // namespace

// ---- packing --------------------------------------------------------------------------------------

BOOL objPackRecord(MemHandle object, std::vector<uint8_t> &out)
{
    if (!hasFileForm(object))
        return FALSE;
    MemHandle file = makeFileRecord(object);
    if (!file)
        return FALSE;
    uint32_t size = utHandleSize(file);
    bool ok = false;
    {
        MemLock<uint8_t> p(file);
        uint32_t n = p && size >= 4 ? utGetAt<uint32_t>(p.get(), 0) : 0;
        uint32_t head = keepsWholeHead(object) ? kObHeadSize : kObFileHeadSize;
        if (n >= head && n <= size) {
            out.insert(out.end(), p.get(), p.get() + n);
            ok = true;
        }
    }
    utFreeHandle(file);
    return ok;
}

BOOL objPackPacket(MemHandle packet, std::vector<uint8_t> &out)
{
    uint32_t size = utHandleSize(packet);
    MemLock<uint8_t> p(packet);
    if (!p || size < 4)
        return FALSE;
    uint32_t n = utGetAt<uint32_t>(p.get(), 0);
    if (n < 4 || n > size)
        return FALSE;
    out.insert(out.end(), p.get(), p.get() + n);
    return TRUE;
}

BOOL objPackEntry(MemHandle object, std::vector<uint8_t> &out)
{
    // Depth first in block order: an object's record and extra data, then
    // its next member's entry, its first member's, its attached object's.
    // The stack keeps a long member chain off the call stack.
    std::vector<MemHandle> stack = {object};
    std::unordered_set<MemHandle> done;
    while (!stack.empty()) {
        MemHandle h = stack.back();
        stack.pop_back();
        if (!done.insert(h).second)
            return FALSE;   // a damaged tree that links back into itself
        size_t at = out.size();
        if (!objPackRecord(h, out))
            return FALSE;
        MemHandle extra = obGetExtraData(h);
        bool extraWritten = extra && objPackPacket(extra, out);
        // The links followed, with the objects that cannot be written
        // left out of the chain and of the flags.
        MemHandle nextMember = firstPackable(obGetNextMember(h));
        MemHandle firstMember = firstPackable(obGetFirstMember(h));
        MemHandle attached = obGetAttached(h);
        if (attached && !hasFileForm(attached))
            attached = 0;
        // A head copied whole holds handles: they become flags too, so
        // that no handle is left in the block.
        bool whole = keepsWholeHead(h);
        if (whole) {
            putFlag(out, at, true, FLAG_PREV, obGetPrev(h) != 0);
            putFlag(out, at, true, FLAG_NEXT, obGetNext(h) != 0);
            putFlag(out, at, true, FLAG_PARENT, obGetParent(h) != 0);
        }
        putFlag(out, at, whole, FLAG_EXTRA, extraWritten);
        putFlag(out, at, whole, FLAG_NEXT_MEMBER, nextMember != 0);
        putFlag(out, at, whole, FLAG_FIRST_MEMBER, firstMember != 0);
        putFlag(out, at, whole, FLAG_ATTACHED, attached != 0);
        if (attached)
            stack.push_back(attached);
        if (firstMember)
            stack.push_back(firstMember);
        if (nextMember)
            stack.push_back(nextMember);
    }
    return TRUE;
}

MemHandle objPackTree(MemHandle object) { return packWithHead(object, false); }

MemHandle objPackTreeTagged(MemHandle object) { return packWithHead(object, true); }

// ---- unpacking ------------------------------------------------------------------------------------

MemHandle objUnpackRecord(ObjBlockReader *reader, uint16_t flags[7])
{
    if (!reader || reader->pos > reader->limit || reader->limit - reader->pos < 4)
        return 0;
    uint32_t left = reader->limit - reader->pos;
    uint32_t n = utGetAt<uint32_t>(reader->bytes, reader->pos);
    if (n <= 6 || n > left)
        return 0;
    MemHandle rec = recordFromFile(reader->bytes + reader->pos, n, flags);
    if (!rec)
        return 0;
    reader->pos += n;
    return rec;
}

MemHandle objUnpackExtra(ObjBlockReader *reader)
{
    if (!reader || reader->pos > reader->limit || reader->limit - reader->pos < 4)
        return 0;
    uint32_t n = utGetAt<uint32_t>(reader->bytes, reader->pos);
    if (n < 4 || n > reader->limit - reader->pos)
        return 0;
    MemHandle extra = utHandleFromBytes(reader->bytes + reader->pos, n);
    if (!extra)
        return 0;
    reader->pos += n;
    return extra;
}

MemHandle objUnpackEntry(ObjBlockReader *reader, MemHandle parent)
{
    // Each pending slot names the record and link that the next entry of
    // the block fills, and the parent that entry gets. Links are set as
    // soon as a record exists, so freeing the root frees all that was made.
    enum Link { ROOT, NEXT_MEMBER, FIRST_MEMBER, ATTACHED };
    struct Slot {
        MemHandle owner;
        Link link;
        MemHandle parent;
    };
    std::vector<Slot> stack = {{0, ROOT, parent}};
    MemHandle root = 0;
    while (!stack.empty()) {
        Slot slot = stack.back();
        stack.pop_back();
        uint16_t flags[7] = {};
        MemHandle rec = objUnpackRecord(reader, flags);
        if (!rec) {
            freeRebuilt(root);
            return 0;
        }
        obSetParent(rec, slot.parent);
        switch (slot.link) {
        case ROOT: root = rec; break;
        case NEXT_MEMBER: obSetNextMember(slot.owner, rec); break;
        case FIRST_MEMBER: obSetFirstMember(slot.owner, rec); break;
        case ATTACHED: obSetAttached(slot.owner, rec); break;
        }
        if (flags[FLAG_EXTRA]) {
            MemHandle extra = objUnpackExtra(reader);
            if (!extra) {
                freeRebuilt(root);
                return 0;
            }
            obSetExtraData(rec, extra);
        }
        if (flags[FLAG_ATTACHED])
            stack.push_back({rec, ATTACHED, 0});
        if (flags[FLAG_FIRST_MEMBER])
            stack.push_back({rec, FIRST_MEMBER, rec});
        if (flags[FLAG_NEXT_MEMBER])
            stack.push_back({rec, NEXT_MEMBER, slot.parent});
    }
    return root;
}

MemHandle objUnpackTree(MemHandle block)
{
    return unpackHandle(block, sizeof(ObjectBlockHead), false);
}

MemHandle objUnpackTreeAt(const void *block, uint32_t available)
{
    return unpackBytes(static_cast<const uint8_t *>(block), available, sizeof(ObjectBlockHead));
}

MemHandle objUnpackTagged(MemHandle block)
{
    return unpackHandle(block, sizeof(TaggedObjectBlockHead), true);
}

MemHandle objUnpackTaggedAt(const void *block, uint32_t available)
{
    const uint8_t *p = static_cast<const uint8_t *>(block);
    if (!p || available < sizeof(TaggedObjectBlockHead))
        return 0;
    if (utGetAt<uint16_t>(p, 4) != OBJ_BLOCK_TAG_KIND)
        return 0;
    return unpackBytes(p, available, sizeof(TaggedObjectBlockHead));
}

// ---- the text pair ----------------------------------------------------------------------------------

MemHandle objMakeTextPair(MemHandle record, MemHandle first, MemHandle second)
{
    std::string a = stringOf(first), b = stringOf(second);
    // The lengths are 16-bit words.
    a.resize(std::min<size_t>(a.size(), 0xFFFF));
    b.resize(std::min<size_t>(b.size(), 0xFFFF));
    if (a.empty() && b.empty()) {
        utFreeHandle(record);
        return 0;
    }
    uint32_t total = (uint32_t)(sizeof(TextPairRecord) + a.size() + b.size());
    MemHandle h = utAllocHandle(record, total);
    if (!h) {
        utFreeHandle(record);
        return 0;
    }
    MemLock<uint8_t> p(h);
    TextPairRecord head = {};
    head.total = total;
    head.kind = OBJ_TEXT_PAIR_KIND;
    head.firstLength = (uint16_t)a.size();
    head.secondLength = (uint16_t)b.size();
    memcpy(p.get(), &head, sizeof head);
    memcpy(p.get() + sizeof head, a.data(), a.size());
    memcpy(p.get() + sizeof head + a.size(), b.data(), b.size());
    return h;
}

MemHandle objTextPairFirst(MemHandle record) { return textPairPart(record, false); }

MemHandle objTextPairSecond(MemHandle record) { return textPairPart(record, true); }
