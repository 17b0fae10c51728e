// Table records: their parts, stores, attributes, file form and the
// checks that keep damaged tables out.
#include "tests/support/kit.h"
#include "tests/table/tb_fixture.h"
#include "table/tb_block.h"
#include "table/tb_file.h"
#include "table/tb_geometry.h"
#include "table/tb_record.h"
#include "table/tb_session.h"
#include "text/tx_header.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "table/tb_types.h"
#include <string.h>
#include <string>
#include <vector>

using qmtest::makeTable;

namespace {

std::vector<uint8_t> typeData(MemHandle h)
{
    ObLock r(h);
    const uint8_t *p = obRecData(r.get());
    return std::vector<uint8_t>(p, reinterpret_cast<const uint8_t *>(r.get()) + r->length);
}

TableHead headOf(MemHandle h)
{
    TableHead head;
    ObLock r(h);
    memcpy(&head, obRecData(r.get()), sizeof head);
    return head;
}

TableCell cellOf(MemHandle h, int c, int r)
{
    TableCell cell;
    EXPECT_TRUE(tbGetCell(h, c, r, &cell));
    return cell;
}

MemHandle dataRecord(const char *equation, uint16_t type = 3)
{
    uint8_t desc[100] = {};
    memcpy(desc + 6, &type, 2);
    return tbNewCellData(desc, equation);
}

// A 3 x 4 table with texts in three cells and a data record in one.
MemHandle sampleTable()
{
    RECT box = {1440, 1440, 1440 + 3 * 1200, 1440 + 4 * 400};
    MemHandle t = makeTable(3, 4, box);
    const char *texts[] = {"Name", "Qty", nullptr, "apples", "12"};
    t = qmtest::setTableTexts(t, texts, 5);
    EXPECT_TRUE(tbBeginSession(t));
    MemHandle d = dataRecord("=B2*2");
    EXPECT_EQ(0, tbPutCellDataHandle(2, 1, d));
    utFreeHandle(d);
    return tbCommitSession(nullptr);
}

}  // namespace

TEST(TableRecord, PartsAddUpAndQueriesReadThem)
{
    long before = utLiveHandleCount();
    MemHandle t = sampleTable();
    ASSERT_NE(0u, t);
    t = obSetName(t, "Tbl1");
    TableHead h = headOf(t);
    EXPECT_EQ(3, h.columns);
    EXPECT_EQ(4, h.rows);
    EXPECT_EQ(12u * 90, h.cellBytes);
    EXPECT_EQ(16, h.attrBytes);
    EXPECT_EQ(16u + 6 + 6, h.dataBytes) << "16-byte head, one 6-byte attribute, \"=B2*2\"";
    EXPECT_EQ(5u + 4 + 7 + 3, h.textBytes);
    uint32_t expected = 86 + 5 + 122 + 16 + 4 * 7 + 12 * 90 + h.dataBytes + h.textBytes;
    EXPECT_EQ(expected, tbGetObjectSize(t));
    {
        ObLock r(t);
        EXPECT_EQ(expected, r->length);
        EXPECT_EQ(expected, objRecordSizeIn(r.get(), r.blockSize(), 0));
    }
    EXPECT_TRUE(tbIsTable(t));
    EXPECT_EQ(3, tbGetColCount(t));
    EXPECT_EQ(4, tbGetRowCount(t));
    EXPECT_EQ(1, tbCountDataCells(t));
    EXPECT_EQ(0, tbGetColCount(0));
    EXPECT_EQ(0, tbCountDataCells(0));

    MemHandle d = tbGetCellData(t, 2, 1);
    ASSERT_NE(0u, d);
    {
        MemLock<TableCellData> p(d);
        EXPECT_EQ(1u, p->count);
        EXPECT_EQ(kTbEquationTag, p->tagMask & kTbEquationTag);
        char eq[600];
        tbCellDataEquation(p.get(), eq, sizeof eq);
        EXPECT_STREQ("=B2*2", eq);
    }
    utFreeHandle(d);
    EXPECT_EQ(0u, tbGetCellData(t, 0, 0));
    MemHandle empty = dataRecord("");
    {
        MemLock<TableCellData> p(empty);
        EXPECT_EQ(0u, p->count);
        EXPECT_EQ(0, p->attrBytes);
        EXPECT_EQ(0u, p->tagMask & kTbEquationTag);
    }
    utFreeHandle(empty);

    TableCell cell = cellOf(t, 1, 0);
    TextHeader th;
    tbCellTextFormat(&cell, &th);
    EXPECT_EQ(537u, th.flags);
    EXPECT_STREQ("Liberation Sans", th.lf.lfFaceName);
    utFreeHandle(t);
    EXPECT_EQ(before, utLiveHandleCount());
}

TEST(TableRecord, SavedAndReadBackByteForByteAndShorterInTheFile)
{
    qmtest::BoxRecorder boxes;
    tbRegisterTypes();
    MemHandle t = sampleTable();
    t = tbSetAltRow(t, TRUE, RGB(0, 200, 0), 2);
    uint32_t length = tbGetObjectSize(t);
    for (bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled);
        MemHandle packet = qmfMakeFileRecord(t);
        ASSERT_NE(0u, packet);
        EXPECT_EQ(length - 144, utGetPacketLength(packet)) << "3 x 4 cells: 144 bytes shorter";
        if (scrambled) {
            qmfScrambleRecord(packet, kQmfRecordKey);
            qmfUnscrambleRecord(packet);
        }
        MemHandle back = 0;
        uint16_t flags[7];
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(OBT_TABLE, obGetType(back));
        EXPECT_EQ(typeData(t), typeData(back));
        COLORREF alt;
        int first;
        EXPECT_TRUE(tbGetAltRow(back, &alt, &first));
        EXPECT_EQ(RGB(0, 200, 0), alt);
        EXPECT_EQ(2, first);
        utFreeHandle(back);
        utFreeHandle(packet);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    utFreeHandle(t);
    qmfResetConverters();
}

TEST(TableRecord, DamagedTablesAreRefusedWhenRead)
{
    tbRegisterTypes();
    MemHandle t = sampleTable();
    // File offsets from the packet's start: 72-byte head, no name, the
    // 112-byte table head, 16 bytes of attributes, 7 sizes, 80-byte cells.
    const uint32_t head = 72, cells = head + 112 + 16 + 28;
    struct Case { const char *what; uint32_t at; int width; int64_t value; } cases[] = {
        {"200 columns", head + 6, 2, 200},
        {"no rows", head + 8, 2, 0},
        {"cell area not columns x rows x 80", head + 32, 4, 12 * 80 + 80},
        {"attribute block below 16", head + 30, 2, 8},
        {"text area past the record", head + 40, 4, 100000},
        {"a text offset past its area", cells + 72, 4, 5000},
        {"a text offset inside no text", cells + 80 + 72, 4, -7},
        {"a data offset past its area", cells + 5 * 80 + 76, 4, 20},
        {"a data record's attributes past their area", 0, 0, 0},
    };
    MemHandle good = qmfMakeFileRecord(t);
    ASSERT_NE(0u, good);
    uint32_t length = utGetPacketLength(good);
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        qmtest::BoxRecorder boxes;
        MemHandle packet = utCopyHandle(good);
        {
            MemLock<uint8_t> p(packet);
            if (c.width == 2) {
                int16_t v = (int16_t)c.value;
                memcpy(p.get() + c.at, &v, 2);
            } else if (c.width == 4) {
                int32_t v = (int32_t)c.value;
                memcpy(p.get() + c.at, &v, 4);
            } else {
                // The record's n (at +14 of the data area's only record).
                uint32_t dataAt = cells + 12 * 80;
                int16_t n = 400;
                memcpy(p.get() + dataAt + 14, &n, 2);
            }
        }
        long before = utLiveHandleCount();
        MemHandle back = 0;
        uint16_t flags[7];
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(0u, back);
        EXPECT_EQ(before, utLiveHandleCount());
        EXPECT_NE(std::string::npos, boxes.texts().find("Reading object failed")) << boxes.texts();
        utFreeHandle(packet);
    }
    // Truncated at every length short of the whole: never read.
    for (uint32_t cut = 72; cut < length; cut += 37) {
        qmtest::BoxRecorder boxes;
        MemHandle packet = utCopyHandle(good);
        {
            MemLock<uint8_t> p(packet);
            memcpy(p.get(), &cut, 4);
        }
        MemHandle back = 0;
        uint16_t flags[7];
        EXPECT_NE(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags)) << cut;
        utFreeHandle(back);
        utFreeHandle(packet);
    }
    utFreeHandle(good);
    utFreeHandle(t);
    qmfResetConverters();
}

TEST(TableRecord, DataRecordsAreReplacedInPlace)
{
    MemHandle t = makeTable(2, 2, RECT{0, 0, 2000, 1000});
    ASSERT_TRUE(tbBeginSession(t));
    MemHandle a = dataRecord("=1"), b = dataRecord("=2");
    EXPECT_EQ(0, tbPutCellDataHandle(0, 0, a));
    EXPECT_EQ(25, tbPutCellDataHandle(1, 0, b));   // 16 + 6 + "=1"
    t = tbCommitSession(nullptr);
    TableHead before = headOf(t);

    // The same size: nothing moves.
    MemHandle same = dataRecord("=9");
    t = tbReplaceCellData(t, 0, 0, same);
    EXPECT_EQ(25, cellOf(t, 1, 0).dataOffset);
    EXPECT_EQ(before.dataBytes, headOf(t).dataBytes);
    // Larger: the later record and the area grow by the difference.
    MemHandle longer = dataRecord("=SUM(A1:A9)");
    t = tbReplaceCellData(t, 0, 0, longer);
    EXPECT_EQ(0, cellOf(t, 0, 0).dataOffset);
    EXPECT_EQ(25 + 9, cellOf(t, 1, 0).dataOffset);
    EXPECT_EQ(before.dataBytes + 9, headOf(t).dataBytes);
    EXPECT_EQ(tbGetObjectSize(t), typeData(t).size() + kObHeadSize);
    char eq[64];
    {
        ObLock r(t);
        tbCellDataEquation(tbCellDataPtr(r.get(), r.extent(), 1, 0), eq, sizeof eq);
    }
    EXPECT_STREQ("=2", eq);
    // A cell without a record is left alone.
    std::vector<uint8_t> bytes = typeData(t);
    t = tbReplaceCellData(t, 0, 1, same);
    EXPECT_EQ(bytes, typeData(t));
    for (MemHandle h : {a, b, same, longer})
        utFreeHandle(h);
    utFreeHandle(t);
}

TEST(TableRecord, AttributesOfAHeadCopy)
{
    MemHandle t = makeTable(2, 2, RECT{0, 0, 2000, 1000});
    MemHandle copy = tbCopyData(t);
    ASSERT_NE(0u, copy);
    EXPECT_GE(utHandleSize(copy), 138u);
    COLORREF colour;
    int first;
    EXPECT_FALSE(tbDataGetAltRow(copy, &colour, &first));
    EXPECT_EQ(1, first) << "no attribute: the first row is 1";
    copy = tbDataSetAltRow(copy, TRUE, RGB(1, 2, 3), 3);
    {
        MemLock<uint8_t> p(copy);
        const TableHead *h = reinterpret_cast<const TableHead *>(p.get());
        const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(p.get() + 122);
        EXPECT_EQ(16 + 16, h->attrBytes);
        EXPECT_EQ(kTbAltRowTag, ab->header.tagMask);
        EXPECT_EQ(1u, ab->header.count);
    }
    EXPECT_TRUE(tbDataGetAltRow(copy, &colour, &first));
    EXPECT_EQ(RGB(1, 2, 3), colour);
    EXPECT_EQ(3, first);
    // Removing the only attribute leaves the fixed 16 bytes and no mask.
    copy = tbDataSetAltRow(copy, FALSE, 0, 0);
    {
        MemLock<uint8_t> p(copy);
        const TableHead *h = reinterpret_cast<const TableHead *>(p.get());
        const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(p.get() + 122);
        EXPECT_EQ(16, h->attrBytes);
        EXPECT_EQ(0u, ab->header.tagMask);
        EXPECT_EQ(0u, ab->header.count);
    }
    utFreeHandle(copy);
    EXPECT_EQ(0u, tbCopyData(obNewRecord(kObHeadSize)));   // not a table

    // Through the object: the head grows and the cells follow unchanged.
    std::vector<uint8_t> cellsBefore;
    {
        ObLock r(t);
        TbParts p;
        ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
        cellsBefore.assign(reinterpret_cast<uint8_t *>(p.cells),
                           reinterpret_cast<uint8_t *>(p.cells) + p.head->cellBytes);
    }
    t = tbSetAltRow(t, TRUE, RGB(9, 9, 9), 1);
    {
        ObLock r(t);
        TbParts p;
        ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
        EXPECT_EQ(32, p.head->attrBytes);
        EXPECT_EQ(0, memcmp(cellsBefore.data(), p.cells, cellsBefore.size()));
    }
    utFreeHandle(t);
}

TEST(TableRecord, ColumnRecordsByKey)
{
    MemHandle t = makeTable(3, 1, RECT{0, 0, 3000, 300});
    auto record = [](uint16_t key, uint8_t shown, uint8_t tag) {
        std::vector<uint8_t> r(46, 0);
        uint32_t size = 46;
        memcpy(r.data(), &size, 4);
        memcpy(r.data() + 6, &key, 2);
        r[44] = shown;
        r[10] = tag;
        return utHandleFromBytes(r.data(), 46);
    };
    MemHandle r1 = record(1, 1, 0xA1), r2 = record(2, 1, 0xB2), bad = record(7, 1, 0);
    t = tbSetColumnRecord(t, r1);
    t = tbSetColumnRecord(t, r2);
    std::vector<uint8_t> before = typeData(t);
    t = tbSetColumnRecord(t, bad);
    EXPECT_EQ(before, typeData(t)) << "a key outside the columns changes nothing";
    MemHandle container = tbGetColumnRecords(t);
    ASSERT_NE(0u, container);
    {
        // The container's inner list: find the records by key.
        MemLock<uint8_t> c(container);
        const AttrHeader *ah = reinterpret_cast<const AttrHeader *>(c.get() + 4);
        int len = 0;
        const uint8_t *list = attGetDataIn(c.get() + 54, ah->count, ah->size, 0x200, &len);
        ASSERT_NE(nullptr, list);
        std::vector<uint8_t> l(list, list + len);
        int index;
        uint8_t *found = tbColRecFind(l.data(), (uint32_t)l.size(), 2, &index);
        ASSERT_NE(nullptr, found);
        EXPECT_EQ(1, index);
        EXPECT_EQ(0xB2, found[10]);
        EXPECT_EQ(nullptr, tbColRecFind(l.data(), (uint32_t)l.size(), 0, &index));
        EXPECT_EQ(-1, index);
        uint16_t kind;
        memcpy(&kind, l.data() + 4, 2);
        EXPECT_EQ(kTbColumnListKind, kind);
    }
    utFreeHandle(container);
    // A record whose byte 44 is 0 deletes its key.
    MemHandle off = record(1, 0, 0);
    MemHandle list = tbColRecPut(0, r1);
    list = tbColRecPut(list, r2);
    list = tbColRecPut(list, off);
    {
        MemLock<uint8_t> l(list);
        uint16_t count;
        memcpy(&count, l.get() + 6, 2);
        EXPECT_EQ(1, count);
        EXPECT_EQ(nullptr, tbColRecFind(l.get(), utHandleSize(list), 1, nullptr));
    }
    for (MemHandle h : {r1, r2, bad, off, list})
        utFreeHandle(h);
    utFreeHandle(t);
}

TEST(TableRecord, ObjectColoursReachEveryCell)
{
    MemHandle t = makeTable(2, 2, RECT{0, 0, 2000, 1000});
    struct { int id; COLORREF colour; } cases[] = {
        {OB_COLOUR_FILL, RGB(1, 2, 3)}, {OB_COLOUR_BACK, RGB(4, 5, 6)}, {OB_COLOUR_PEN, RGB(7, 8, 9)}};
    for (auto &c : cases)
        obSetColour(t, c.id, c.colour);
    for (int i = 0; i < 4; ++i) {
        TableCell cell = cellOf(t, i % 2, i / 2);
        EXPECT_EQ(RGB(1, 2, 3), cell.foreColour);
        EXPECT_EQ(RGB(4, 5, 6), cell.backColour);
        EXPECT_EQ(RGB(7, 8, 9), cell.frameColour);
    }
    utFreeHandle(t);
}
