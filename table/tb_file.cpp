// The file form of tables and report tables.
#include "table/tb_file.h"
#include "table/tb_record.h"
#include "model/ob_dispatch.h"
#include "model/qmf_convert.h"
#include <string.h>

namespace {

const uint32_t kFileFontAt = 60;
const uint32_t kFileCellFontAt = 22;

}  // namespace

BOOL tbDataToFile(const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    if (!tbCheckPart(data, n))
        return FALSE;
    const TableHead *h = reinterpret_cast<const TableHead *>(data);
    uint32_t cells = (uint32_t)h->columns * (uint32_t)h->rows;
    size_t base = out.size();
    out.resize(base + kTbFileHeadSize, 0);
    uint8_t *f = out.data() + base;
    memcpy(f, data, 60);
    uint32_t fileCells = cells * kTbFileCellSize;
    memcpy(f + 32, &fileCells, 4);
    qmfNarrowFontAt(data + 60, f + kFileFontAt);
    f[110] = data[120];
    f[111] = 0;
    uint32_t at = kTbHeadSize;
    uint32_t attr = (uint32_t)h->attrBytes;
    out.insert(out.end(), data + at, data + at + attr);
    at += attr;
    uint32_t sizes = 4 * ((uint32_t)h->columns + (uint32_t)h->rows);
    out.insert(out.end(), data + at, data + at + sizes);
    at += sizes;
    for (uint32_t i = 0; i < cells; ++i, at += kTbCellSize) {
        uint8_t c[kTbFileCellSize] = {};
        const uint8_t *m = data + at;
        memcpy(c, m, 22);
        qmfNarrowFontAt(m + 22, c + kFileCellFontAt);
        memcpy(c + 72, m + 82, 4);
        memcpy(c + 76, m + 86, 4);
        out.insert(out.end(), c, c + kTbFileCellSize);
    }
    out.insert(out.end(), data + at, data + at + h->dataBytes + h->textBytes);
    return TRUE;
}

BOOL tbDataFromFile(const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    if (!data || n < kTbFileHeadSize)
        return FALSE;
    int16_t columns, rows, attr;
    uint32_t fileCells, dataBytes, textBytes;
    memcpy(&columns, data + 6, 2);
    memcpy(&rows, data + 8, 2);
    memcpy(&attr, data + 30, 2);
    memcpy(&fileCells, data + 32, 4);
    memcpy(&dataBytes, data + 36, 4);
    memcpy(&textBytes, data + 40, 4);
    // Cell positions are bytes the editor reads as signed: at most 127.
    if (columns < 1 || rows < 1 || columns > kTbMaxGrid || rows > kTbMaxGrid ||
        attr < (int16_t)kTbAttrFixed)
        return FALSE;
    uint32_t cells = (uint32_t)columns * (uint32_t)rows;
    if (fileCells != cells * kTbFileCellSize)
        return FALSE;
    uint32_t sizes = 4 * ((uint32_t)columns + (uint32_t)rows);
    uint64_t need = (uint64_t)kTbFileHeadSize + (uint32_t)attr + sizes + fileCells + dataBytes + textBytes;
    if (need > n)
        return FALSE;
    size_t base = out.size();
    out.resize(base + kTbHeadSize, 0);
    uint8_t *m = out.data() + base;
    memcpy(m, data, 60);
    uint32_t memCells = cells * kTbCellSize;
    memcpy(m + 32, &memCells, 4);
    qmfWidenFontAt(data + kFileFontAt, m + 60);
    m[120] = data[110];
    m[121] = 0;
    uint32_t at = kTbFileHeadSize;
    out.insert(out.end(), data + at, data + at + (uint32_t)attr + sizes);
    at += (uint32_t)attr + sizes;
    for (uint32_t i = 0; i < cells; ++i, at += kTbFileCellSize) {
        uint8_t c[kTbCellSize] = {};
        const uint8_t *f = data + at;
        memcpy(c, f, 22);
        qmfWidenFontAt(f + kFileCellFontAt, c + 22);
        memcpy(c + 82, f + 72, 4);
        memcpy(c + 86, f + 76, 4);
        out.insert(out.end(), c, c + kTbCellSize);
    }
    out.insert(out.end(), data + at, data + at + dataBytes + textBytes);
    return tbCheckPart(out.data() + base, (uint32_t)(out.size() - base));
}
