// The file form of text objects.
#include "text/tx_file.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"
#include "model/qmf_convert.h"
#include <string.h>
#include <vector>

namespace {

// (file offset, memory offset, width) of the fields after the font; the
// memory offsets count from the type data's start.
struct Field { uint8_t file, memory, width; };
const Field kFields[] = {
    {58, 68, 4},  {62, 72, 2},  {64, 74, 1},  {65, 75, 1},  {66, 76, 2},  {68, 78, 4},
    {72, 82, 1},  {73, 83, 1},  {74, 84, 4},  {78, 88, 4},  {82, 92, 4},  {86, 96, 2},
    {88, 98, 2},  {90, 100, 2}, {92, 102, 2}, {94, 104, 4}, {98, 108, 4}, {102, 112, 2},
    // The ruled-line extra spacing has no field of its own in the file
    // layout: it travels in the unnamed bytes 104-105 (zero in older files,
    // which is no extra spacing).
    {104, 114, 2},
    {106, 116, 2}, {108, 118, 2},
};

BOOL toFile(const ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    if (n < kTxDataFixed)
        return FALSE;
    const TextHeader *th = reinterpret_cast<const TextHeader *>(data + 8);
    uint64_t need = (uint64_t)kTxDataFixed + 4ull * th->tabCount + th->streamLength;
    if (need > n)
        return FALSE;
    size_t base = out.size();
    out.resize(base + kTxFileFixed, 0);
    uint8_t *f = out.data() + base;
    memcpy(f, data, 8);
    qmfNarrowFontAt(data + 8, f + 8);
    for (const Field &x : kFields)
        memcpy(f + x.file, data + x.memory, x.width);
    out.insert(out.end(), data + kTxDataFixed, data + need);
    return TRUE;
}

BOOL fromFile(ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    if (n < kTxFileFixed)
        return FALSE;
    uint32_t tabs, length;
    memcpy(&tabs, data + 74, 4);
    memcpy(&length, data + 82, 4);
    uint64_t need = (uint64_t)kTxFileFixed + 4ull * tabs + length;
    if (tabs > 0x10000 || need > n)
        return FALSE;
    const uint8_t *stream = data + kTxFileFixed + 4 * tabs;
    if (length && txCheckStreamBounded(reinterpret_cast<const char *>(stream), length) != (int32_t)length - 1)
        return FALSE;
    out.assign(kTxDataFixed, 0);
    uint8_t *m = out.data();
    memcpy(m, data, 8);
    qmfWidenFontAt(data + 8, m + 8);
    for (const Field &x : kFields)
        memcpy(m + x.memory, data + x.file, x.width);
    // Lines stacked right to left keep their right alignment.
    TextHeader *th = reinterpret_cast<TextHeader *>(m + 8);
    if (th->flags & TXF_RTL)
        th->align |= TXA_RIGHT;
    out.insert(out.end(), data + kTxFileFixed, data + need);
    return TRUE;
}

// The earlier layout of text records, stored under type 40 itself: a
// shorter header without frame corner, borders, tab spacing, columns and
// the later fields (memory record = file record + 68 bytes).
const Field kOldFields[] = {
    {58, 68, 4}, {62, 72, 2}, {64, 74, 1}, {65, 75, 1}, {66, 76, 2}, {68, 84, 4}, {72, 92, 4},
};

BOOL fromOldFile(ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    if (n < kTxOldFileFixed)
        return FALSE;
    uint32_t tabs, length;
    memcpy(&tabs, data + 68, 4);
    memcpy(&length, data + 72, 4);
    uint64_t need = (uint64_t)kTxOldFileFixed + 4ull * tabs + length;
    if (tabs > 0x10000 || need > n)
        return FALSE;
    const uint8_t *stream = data + kTxOldFileFixed + 4 * tabs;
    if (length && txCheckStreamBounded(reinterpret_cast<const char *>(stream), length) != (int32_t)length - 1)
        return FALSE;
    out.assign(kTxDataFixed, 0);
    uint8_t *m = out.data();
    memcpy(m, data, 8);
    qmfWidenFontAt(data + 8, m + 8);
    for (const Field &x : kOldFields)
        memcpy(m + x.memory, data + x.file, x.width);
    TextHeader *th = reinterpret_cast<TextHeader *>(m + 8);
    if (th->flags & TXF_RTL)
        th->align |= TXA_RIGHT;
    out.insert(out.end(), data + kTxOldFileFixed, data + need);
    return TRUE;
}

// Labels are stored as in memory; the reader takes one only when its text
// length matches the record and the text is a sound stream.
BOOL labelToFile(const ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    out.insert(out.end(), data, data + n);
    return TRUE;
}

BOOL labelFromFile(ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    // A label written with its head only (as earlier versions made it)
    // comes back as an empty label, not as a lost object.
    if (n == 0) {
        out.assign(sizeof(LabelPart) + 1, 0);
        return TRUE;
    }
    if (n < sizeof(LabelPart) + 1)
        return FALSE;
    const LabelPart *p = reinterpret_cast<const LabelPart *>(data);
    if ((uint64_t)sizeof(LabelPart) + p->textLength + 1 != n)
        return FALSE;
    const char *text = reinterpret_cast<const char *>(data + sizeof(LabelPart));
    if (txCheckStreamBounded(text, p->textLength + 1) != (int32_t)p->textLength)
        return FALSE;
    out.assign(data, data + n);
    return TRUE;
}

}  // namespace

void txSetFileForm(int16_t type, ObTypeProcs *procs)
{
    if (type == OBT_TEXT) {
        // Written as type 90; the earlier layout read under type 40 itself.
        procs->files[0] = {OBT_TEXT, kTxFileType, QMF_CONV_DATA, toFile, fromFile};
        procs->files[1] = {OBT_TEXT, OBT_TEXT, QMF_CONV_DATA, nullptr, fromOldFile};
    } else if (type == OBT_LABEL) {
        procs->files[0] = {OBT_LABEL, OBT_LABEL, QMF_CONV_DATA, labelToFile, labelFromFile};
    }
}
