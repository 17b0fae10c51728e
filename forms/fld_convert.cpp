// File forms of push buttons, the check box family and the entry fields.
#include "forms/fld_convert.h"
#include "forms/fld_button.h"
#include "forms/fld_check.h"
#include "text/tx_label.h"
#include "model/att_attr.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"
#include "model/qmf_convert.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;


// {file offset, memory offset, width} of the plain fields.
const uint8_t kButtonFields[][3] = {
    {0, 4, 2}, {74, 70, 2}, {76, 72, 2}, {78, 74, 4}, {82, 6, 2}, {84, 68, 2},
    {92, 78, 4}, {96, 82, 2}, {98, 84, 2},
};
const uint32_t kButtonFileFixed = 100;
const uint32_t kButtonFontAt = 6;

const uint8_t kControlFields[][3] = {
    {0, 0, 2}, {2, 2, 2}, {54, 64, 2}, {56, 66, 4}, {60, 70, 2}, {62, 72, 2}, {64, 74, 2},
};
const uint32_t kControlFileFixed = 70;
const uint32_t kControlFontAt = 4;

// The attribute records of a part must fill their stated bytes exactly.
bool attributesFit(const uint8_t *records, uint16_t count, uint16_t bytes)
{
    return attCheckRun(records, count, bytes) != FALSE;
}

BOOL buttonToFile(const ObjectRecord *, const uint8_t *m, uint32_t n, Bytes &out)
{
    if (n < kBtnPartSize)
        return FALSE;
    uint16_t tail = utGetAt<uint16_t>(m, 84);
    if (kBtnPartSize + (uint32_t)tail > n)
        return FALSE;
    uint8_t f[kButtonFileFixed] = {};
    for (const auto &x : kButtonFields)
        memcpy(f + x[0], m + x[1], x[2]);
    qmfNarrowFontAt(m + 8, f + kButtonFontAt);
    out.insert(out.end(), f, f + sizeof f);
    out.insert(out.end(), m + kBtnPartSize, m + kBtnPartSize + tail);
    return TRUE;
}

BOOL buttonFromFile(ObjectRecord *, const uint8_t *f, uint32_t n, Bytes &out)
{
    if (n < kButtonFileFixed)
        return FALSE;
    uint16_t tail = utGetAt<uint16_t>(f, 98);
    if (kButtonFileFixed + (uint32_t)tail > n ||
        !attributesFit(f + kButtonFileFixed, utGetAt<uint16_t>(f, 96), tail))
        return FALSE;
    out.assign(kBtnPartSize, 0);
    uint8_t *m = out.data();
    for (const auto &x : kButtonFields)
        memcpy(m + x[1], f + x[0], x[2]);
    qmfWidenFontAt(f + kButtonFontAt, m + 8);
    utPutAt<uint32_t>(m, 0, kBtnPartSize + tail);
    out.insert(out.end(), f + kButtonFileFixed, f + kButtonFileFixed + tail);
    return TRUE;
}

BOOL controlToFile(const ObjectRecord *, const uint8_t *m, uint32_t n, Bytes &out)
{
    if (n < kCkbPartSize)
        return FALSE;
    uint32_t tail = (uint32_t)utGetAt<uint16_t>(m, 2) + utGetAt<uint16_t>(m, 72);
    if (kCkbPartSize + tail > n)
        return FALSE;
    uint8_t f[kControlFileFixed] = {};
    for (const auto &x : kControlFields)
        memcpy(f + x[0], m + x[1], x[2]);
    qmfNarrowFontAt(m + 4, f + kControlFontAt);
    out.insert(out.end(), f, f + sizeof f);
    out.insert(out.end(), m + kCkbPartSize, m + kCkbPartSize + tail);
    return TRUE;
}

BOOL controlFromFile(ObjectRecord *, const uint8_t *f, uint32_t n, Bytes &out)
{
    if (n < kControlFileFixed)
        return FALSE;
    uint16_t label = utGetAt<uint16_t>(f, 2), attrBytes = utGetAt<uint16_t>(f, 62);
    uint32_t tail = (uint32_t)label + attrBytes;
    if (kControlFileFixed + tail > n ||
        !attributesFit(f + kControlFileFixed + label, utGetAt<uint16_t>(f, 60), attrBytes))
        return FALSE;
    out.assign(kCkbPartSize, 0);
    uint8_t *m = out.data();
    for (const auto &x : kControlFields)
        memcpy(m + x[1], f + x[0], x[2]);
    qmfWidenFontAt(f + kControlFontAt, m + 4);
    out.insert(out.end(), f + kControlFileFixed, f + kControlFileFixed + tail);
    return TRUE;
}

// Entry, list and equation fields: the 100-byte part in the 128-byte file
// form of a field format, then the attribute records as they are.
const uint32_t kEntryPartSize = 100;
const uint32_t kEntryFileFixed = 128;

BOOL entryToFile(const ObjectRecord *, const uint8_t *m, uint32_t n, Bytes &out)
{
    if (n < kEntryPartSize)
        return FALSE;
    uint16_t tail = utGetAt<uint16_t>(m, 86);
    if (kEntryPartSize + (uint32_t)tail > n)
        return FALSE;
    uint8_t f[kEntryFileFixed];
    qmfFieldFormatToFile(m, f);
    out.insert(out.end(), f, f + sizeof f);
    out.insert(out.end(), m + kEntryPartSize, m + kEntryPartSize + tail);
    return TRUE;
}

BOOL entryFromFile(ObjectRecord *, const uint8_t *f, uint32_t n, Bytes &out)
{
    if (n < kEntryFileFixed)
        return FALSE;
    uint16_t count = utGetAt<uint16_t>(f, 88), tail = utGetAt<uint16_t>(f, 90);
    if (kEntryFileFixed + (uint32_t)tail > n || !attributesFit(f + kEntryFileFixed, count, tail))
        return FALSE;
    out.assign(kEntryPartSize, 0);
    qmfFieldFormatFromFile(f, out.data());
    out.insert(out.end(), f + kEntryFileFixed, f + kEntryFileFixed + tail);
    return TRUE;
}

// Records of the older field type 51 are read as fields and become Labels.
BOOL labelFromFile51(ObjectRecord *head, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    std::vector<uint8_t> field;
    ObjectRecord h = *head;
    h.type = OBT_FIELD51;
    if (!entryFromFile(&h, data, n, field))
        return FALSE;
    // The field as a record of its own (no name), converted in place.
    std::vector<uint8_t> rec(sizeof(ObjectRecord), 0);
    memcpy(rec.data(), &h, sizeof h);
    rec.insert(rec.end(), field.begin(), field.end());
    ObjectRecord *r = reinterpret_cast<ObjectRecord *>(rec.data());
    r->nameLength = 0;
    r->length = (uint32_t)rec.size();
    obRecClearLinks(r);
    MemHandle temp = utHandleFromBytes(rec.data(), (uint32_t)rec.size());
    if (!temp)
        return FALSE;
    temp = txConvertOldLabel(temp);
    BOOL ok = FALSE;
    {
        ObLock l(temp);
        if (l && l->type == OBT_LABEL) {
            const uint8_t *d = obRecData(l.get());
            out.assign(d, d + (l->length - obDataOffset(l.get())));
            ok = TRUE;
        }
    }
    utFreeHandle(temp);
    return ok;
}

}  // namespace

void fldSetFileForm(int16_t type, ObTypeProcs *procs)
{
    switch (type) {
    case OBT_BUTTON:
        procs->files[0] = {type, type, QMF_CONV_DATA, buttonToFile, buttonFromFile};
        break;
    case OBT_CHECKBOX:
    case OBT_RADIO:
    case OBT_GROUP_BOX:
        procs->files[0] = {type, type, QMF_CONV_DATA, controlToFile, controlFromFile};
        break;
    case OBT_FIELD51:
        // Type 51 records read as Labels; any still held in memory is
        // written as a field.
        procs->files[0] = {type, type, QMF_CONV_DATA, entryToFile, nullptr};
        procs->files[1] = {OBT_LABEL, type, QMF_CONV_DATA, nullptr, labelFromFile51};
        break;
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_EQUATION:
        procs->files[0] = {type, type, QMF_CONV_DATA, entryToFile, entryFromFile};
        break;
    default:
        break;
    }
}
