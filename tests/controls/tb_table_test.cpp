// Tool-button tables: the entry layout, the tables' contents, entry and
// sub-list helpers, and the bitmap and cursor resources they name.
#include "tests/support/kit.h"
#include "controls/tb_table.h"
#include "support/gdi_bitmap.h"
#include "support/ut_mem.h"
#include <map>
#include <set>
#include <string>
#include <string.h>

namespace {

std::string field(const char *f, uint32_t size) { return std::string(f, tbFieldLen(f, size)); }

std::string lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

const ToolButton *findIn(const ToolButton *table, int n, uint16_t command)
{
    for (int i = 0; i < n; ++i)
        if (table[i].command == command)
            return &table[i];
    return nullptr;
}

}  // namespace

TEST(ToolButtonRecord, FieldsFollowEachOtherPacked)
{
    EXPECT_EQ(0u, offsetof(ToolButton, command));
    EXPECT_EQ(2u, offsetof(ToolButton, command2));
    EXPECT_EQ(4u, offsetof(ToolButton, objType));
    EXPECT_EQ(6u, offsetof(ToolButton, kind));
    EXPECT_EQ(8u, offsetof(ToolButton, enabled));
    EXPECT_EQ(10u, offsetof(ToolButton, color));
    EXPECT_EQ(14u, offsetof(ToolButton, bitmap));
    EXPECT_EQ(30u, offsetof(ToolButton, tooltip));
    EXPECT_EQ(62u, offsetof(ToolButton, handle));
    ToolButton table[2];
    EXPECT_EQ(132u, sizeof(table));   // a table is a plain concatenation
}

TEST(ToolButtonTables, CountsAndTheSpecialEntries)
{
    struct Case {
        const ToolButton *table;
        int16_t count, expected;
    } cases[] = {
        {tbTextFlowTable, tbTextFlowCount, 7},          {tbDrawToolTable, tbDrawToolCount, 21},
        {tbCommandTable, tbCommandCount, 21},           {tbCommandNarrowTable, tbCommandNarrowCount, 12},
        {tbModeToolTable, tbModeToolCount, 16},         {tbMoveSizeTable, tbMoveSizeCount, 35},
        {tbMoreObjectsTable, tbMoreObjectsCount, 16},   {tbColorTargetTable, tbColorTargetCount, 4},
        {tbNodeLineTable, tbNodeLineCount, 1},          {tbNodePolylineTable, tbNodePolylineCount, 6},
        {tbNodePolygonTable, tbNodePolygonCount, 5},    {tbNodeHVPolylineTable, tbNodeHVPolylineCount, 6},
        {tbNodeBezierTable, tbNodeBezierCount, 5},      {tbNodeClosedTable, tbNodeClosedCount, 4},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, c.count);

    // The vertical-text tool: 2222 with the right-button command 2223, type -40.
    const ToolButton &vt = tbDrawToolTable[14];
    EXPECT_EQ(2222, vt.command);
    EXPECT_EQ(2223, vt.command2);
    EXPECT_EQ(-40, vt.objType);
    EXPECT_EQ("text_v", field(vt.bitmap, 16));
    EXPECT_EQ("Vertical Text", field(vt.tooltip, 32));
    // Paste of the narrow table has 195 as its right-button command.
    const ToolButton *paste = findIn(tbCommandNarrowTable, tbCommandNarrowCount, 203);
    ASSERT_TRUE(paste);
    EXPECT_EQ(195, paste->command2);
    // The rectangle tool sends 306 with type 7.
    const ToolButton *rect = findIn(tbDrawToolTable, tbDrawToolCount, 306);
    ASSERT_TRUE(rect);
    EXPECT_EQ(7, rect->objType);
    EXPECT_EQ(TBK_STAYS, rect->kind);
}

TEST(ToolButtonTables, EveryEntryIsWellFormed)
{
    // Only "Edit" (401) and "Rotate" (217) of the mode tools start disabled,
    // only the two rows above carry a right-button command, the kinds are
    // those the tables use, and every string ends within its field.
    const std::set<uint16_t> kinds = {0x1, 0x2, 0x8, 0x10, 0x28, 0x48};
    int n = 0, disabled = 0, withSecond = 0;
    const ToolButtonTableRef *tables = tbAllTables(&n);
    for (int t = 0; t < n; ++t)
        for (int i = 0; i < tables[t].count; ++i) {
            const ToolButton &e = tables[t].entries[i];
            SCOPED_TRACE(std::string(tables[t].name) + " row " + std::to_string(i + 1));
            EXPECT_NE(0, e.command);
            EXPECT_TRUE(kinds.count(e.kind));
            EXPECT_LT(tbFieldLen(e.bitmap, 16), 16u);
            EXPECT_LT(tbFieldLen(e.tooltip, 32), 32u);
            EXPECT_EQ(0u, e.color);
            EXPECT_EQ(0u, e.handle);
            if (!e.enabled) {
                ++disabled;
                EXPECT_EQ(tables[t].entries, tbModeToolTable);
                EXPECT_TRUE(e.command == 401 || e.command == 217);
            }
            if (e.command2)
                ++withSecond;
        }
    EXPECT_EQ(2, disabled);
    EXPECT_EQ(2, withSecond);
}

TEST(ToolButtonTables, NarrowScreensTakeTheNarrowCommandTable)
{
    struct Case {
        int width;
        const ToolButton *table;
        int16_t count;
    } cases[] = {{640, tbCommandNarrowTable, 12}, {799, tbCommandNarrowTable, 12},
                 {800, tbCommandTable, 21},       {1280, tbCommandTable, 21}};
    for (const Case &c : cases) {
        int16_t count = 0;
        EXPECT_EQ(c.table, tbCommandTableFor(c.width, &count)) << c.width;
        EXPECT_EQ(c.count, count) << c.width;
    }
}

TEST(ToolButtonTables, NodeTableByObjectType)
{
    struct Case {
        int type;
        const ToolButton *table;
        int16_t count;
    } cases[] = {{2, tbNodeLineTable, 1},      {5, tbNodeLineTable, 1},     {14, tbNodePolylineTable, 6},
                 {15, tbNodePolygonTable, 5},  {17, tbNodeHVPolylineTable, 6},
                 {18, tbNodeBezierTable, 5},   {19, tbNodeClosedTable, 4},  {7, nullptr, 0},
                 {6, nullptr, 0},              {1, nullptr, 0}};
    for (const Case &c : cases) {
        int16_t count = -1;
        EXPECT_EQ(c.table, tbNodeTableFor(c.type, &count)) << c.type;
        EXPECT_EQ(c.count, count) << c.type;
    }
}

TEST(ToolButtonEntries, FillButtonCutsAndTerminatesItsStrings)
{
    ToolButton e;
    memset(&e, 0x55, sizeof(e));
    blFillButton(&e, 210, 0, TBK_AT_PRESS, 1, "reshape", "Reshape", 0);
    EXPECT_EQ(210, e.command);
    EXPECT_EQ(0, e.command2);
    EXPECT_EQ(0u, e.color);
    EXPECT_EQ(TBK_AT_PRESS, e.kind);
    EXPECT_EQ("reshape", field(e.bitmap, 16));
    EXPECT_EQ(0, e.bitmap[15]);   // the rest of the field is cleared

    blFillButton(&e, 1, -40, 1, 0, "a-name-much-longer-than-sixteen",
                 "a tooltip that is far longer than thirty-one characters", 77);
    EXPECT_EQ(15u, tbFieldLen(e.bitmap, 16));
    EXPECT_EQ(31u, tbFieldLen(e.tooltip, 32));
    EXPECT_EQ("a-name-much-lon", field(e.bitmap, 16));
    EXPECT_EQ(-40, e.objType);
    EXPECT_EQ(77u, e.handle);

    blFillButton(&e, 2, 0, 2, 1, nullptr, nullptr, 0);
    EXPECT_EQ("", field(e.bitmap, 16));
    EXPECT_EQ("", field(e.tooltip, 32));
}

TEST(ToolButtonEntries, SubListsCountUpToTheirTerminator)
{
    long before = qmtest::liveHandles();
    MemHandle three = tbMakeSubList(tbDrawToolTable, 3);
    EXPECT_EQ(3, tbCountSubList(three));
    EXPECT_EQ(4u * sizeof(ToolButton), utHandleSize(three));   // the terminator is stored

    MemHandle empty = tbMakeSubList(tbDrawToolTable, 0);
    EXPECT_EQ(0, tbCountSubList(empty));   // first entry has command id 0

    // A negative command id (as a signed word) ends a run as well.
    ToolButton run[3];
    memcpy(run, tbDrawToolTable, sizeof(run));
    run[1].command = 0xFFFF;
    MemHandle negative = tbMakeSubList(run, 3);
    EXPECT_EQ(1, tbCountSubList(negative));

    // A block without a terminator never counts past its end.
    MemHandle bare = utHandleFromBytes(tbDrawToolTable, 2 * sizeof(ToolButton));
    EXPECT_EQ(2, tbCountSubList(bare));
    EXPECT_EQ(0, tbCountSubList(0));

    for (MemHandle h : {three, empty, negative, bare})
        utFreeHandle(h);
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST(ToolButtonBitmaps, EveryNameOfTheTablesLoads)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    std::set<std::string> names;
    int n = 0;
    const ToolButtonTableRef *tables = tbAllTables(&n);
    for (int t = 0; t < n; ++t)
        for (int i = 0; i < tables[t].count; ++i)
            names.insert(lower(field(tables[t].entries[i].bitmap, 16)));
    EXPECT_EQ(129u, names.size());   // resource names ignore case
    for (const char *extra : {"reshape", "snap2nod", "left", "right", "up", "down"})
        names.insert(extra);
    std::map<std::vector<uint32_t>, std::string> pictures;
    for (const std::string &name : names) {
        HBITMAP bmp = LoadBitmapA(inst, name.c_str());
        EXPECT_TRUE(bmp != nullptr) << name;
        if (bmp)
            DeleteObject(bmp);
        GdiResBitmap decoded;
        ASSERT_TRUE(gdiLoadResBitmap(inst, name.c_str(), &decoded)) << name;
        // Drawn on the face grey, and different from every other picture.
        size_t face = 0;
        for (uint32_t px : decoded.pixels)
            face += px == 0xC0C0C0u;
        EXPECT_GT(face, decoded.pixels.size() / 8) << name;
        EXPECT_LT(face, decoded.pixels.size()) << name;
        auto seen = pictures.emplace(decoded.pixels, name);
        EXPECT_TRUE(seen.second) << name << " draws the same as " << seen.first->second;
    }
    for (const char *cursor : {"paste", "stop"})
        EXPECT_TRUE(LoadCursorA(inst, cursor) != nullptr) << cursor;
}

TEST(ToolButtonBitmaps, ShadingUsesOnlyTheThreeDimensionalGreys)
{
    // Every grey in a picture is one of the greys the program maps to the
    // system colours, so the mapped and greyed forms come out right.
    HINSTANCE inst = GetModuleHandleA(nullptr);
    int n = 0;
    const ToolButtonTableRef *tables = tbAllTables(&n);
    for (int t = 0; t < n; ++t)
        for (int i = 0; i < tables[t].count; ++i) {
            std::string name = field(tables[t].entries[i].bitmap, 16);
            GdiResBitmap bmp;
            ASSERT_TRUE(gdiLoadResBitmap(inst, name.c_str(), &bmp));
            for (uint32_t px : bmp.pixels) {
                uint32_t r = px >> 16, g = (px >> 8) & 0xFF, b = px & 0xFF;
                if (r == g && g == b) {
                    EXPECT_TRUE(r == 0 || r == 128 || r == 192 || r == 223 || r == 255)
                        << name << " grey " << r;
                }
            }
        }
}
