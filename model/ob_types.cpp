// The object type table and the model's own types.
#include "model/ob_types.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/pg_page.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// One slot per 16-bit code; a registered type's record is a copy of its own.
ObTypeProcs *g_slots[0x10000];
const ObTypeProcs kUnknownType = {};
bool g_ownTypesIn = false;

std::vector<int16_t> &registrationOrder()
{
    static std::vector<int16_t> order;
    return order;
}

// ---- the model's own types -------------------------------------------------------------------

uint32_t headAndName(ObjectRecord *rec, uint32_t) { return obDataOffset(rec); }

uint32_t keptLength(ObjectRecord *rec, uint32_t blockSize)
{
    return obSizeWithinBlock(rec, rec->length, blockSize);
}

// The calendar: 86 + name + its 308 fixed bytes + the tail count at +288.
uint32_t calendarSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + kCalFixedSize > held)
        return held;
    uint32_t tail;
    memcpy(&tail, reinterpret_cast<const uint8_t *>(rec) + at + 288, 4);
    uint64_t size = (uint64_t)at + kCalFixedSize + tail;
    return size <= blockSize ? (uint32_t)size : held;
}

uint32_t pageSize(ObjectRecord *rec, uint32_t blockSize)
{
    return obDataOffset(rec) + kPgDataSize <= blockSize
               ? obSizeWithinBlock(rec, pgRecCalcSize(rec), blockSize)
               : std::min(rec->length, blockSize);
}

// Groups and chains: the members were turned one by one; the box follows.
int fitToMembers(MemHandle h, POINT, int16_t)
{
    RECT box;
    obFitToMembers(h, &box);
    return 1;
}

void enterOwnTypes()
{
    g_ownTypesIn = true;
    ObTypeProcs owner = {};
    owner.flags = OBTF_ROTATE_KEEPS_GRADIENT;
    owner.sizeRule = OB_SIZE_EXACT;
    owner.recordSize = headAndName;
    owner.bounds = obFitToMembers;
    owner.flipRotate = fitToMembers;
    obRegisterTypes({OBT_GROUP, OBT_CHAIN}, owner);

    ObTypeProcs kept = {};
    kept.sizeRule = OB_SIZE_EXACT;
    kept.recordSize = keptLength;
    obRegisterTypes({142, 146}, kept);

    // Charts draw nothing of their own and keep their box.
    ObTypeProcs chart = {};
    chart.flags = OBTF_KEEPS_BOX;
    chart.recordSize = keptLength;
    obRegisterTypes({OBT_XY_PLOT, OBT_BAR_CHART, OBT_TS_PLOT, OBT_PIE_CHART}, chart);

    ObTypeProcs anchor = {};
    anchor.flags = OBTF_KEEPS_BOX;
    obRegisterType(OBT_ANCHOR, &anchor);

    ObTypeProcs calendar = {};
    calendar.sizeRule = OB_SIZE_EXACT;
    calendar.recordSize = calendarSize;
    obRegisterType(OBT_CALENDAR, &calendar);

    ObTypeProcs page = {};
    page.sizeRule = OB_SIZE_EXACT;
    page.recordSize = pageSize;
    obRegisterType(OBT_PAGE, &page);
}

bool hasFileForms(const ObTypeProcs &p)
{
    return p.files[0].kind || p.files[1].kind;
}

void addFileForms(int16_t code, const ObTypeProcs &p)
{
    for (const QmfConverter &f : p.files) {
        if (!f.kind)
            continue;
        QmfConverter c = f;
        if (!c.memoryType)
            c.memoryType = code;
        if (!c.fileType)
            c.fileType = code;
        qmfRegisterConverter(c);
    }
}

}  // namespace

void obRegisterType(int16_t code, const ObTypeProcs *procs)
{
    if (!g_ownTypesIn)
        enterOwnTypes();
    ObTypeProcs *&slot = g_slots[(uint16_t)code];
    bool hadForms = slot && hasFileForms(*slot);
    std::vector<int16_t> &order = registrationOrder();
    if (!procs) {
        delete slot;
        slot = nullptr;
        order.erase(std::remove(order.begin(), order.end(), code), order.end());
    } else if (slot) {
        *slot = *procs;
    } else {
        slot = new ObTypeProcs(*procs);
        order.push_back(code);
    }
    // Forms the type had are taken out by building the table again.
    if (hadForms)
        qmfResetConverters();
    else if (procs)
        addFileForms(code, *procs);
}

void obRegisterTypes(std::initializer_list<int16_t> codes, const ObTypeProcs &procs)
{
    for (int16_t code : codes)
        obRegisterType(code, &procs);
}

const ObTypeProcs &obTypeProcs(int16_t code)
{
    if (!g_ownTypesIn)
        enterOwnTypes();
    const ObTypeProcs *p = g_slots[(uint16_t)code];
    return p ? *p : kUnknownType;
}

BOOL obIsRegisteredType(int16_t code)
{
    if (!g_ownTypesIn)
        enterOwnTypes();
    return g_slots[(uint16_t)code] ? TRUE : FALSE;
}

void obAddTypeFileForms()
{
    for (int16_t code : registrationOrder())
        if (const ObTypeProcs *p = g_slots[(uint16_t)code])
            addFileForms(code, *p);
}
