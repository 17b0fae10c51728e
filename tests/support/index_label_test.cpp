// Index labels and the "Indexing" dialog, and the "History" dialog of the
// file history log.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/ut_bytes.h"
#include "support/ut_history.h"
#include "support/ut_index.h"
#include "support/ut_mem.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

std::vector<uint8_t> bytesOf(MemHandle h)
{
    MemLock<uint8_t> p(h);
    if (!p)
        return {};
    uint32_t n = utGetAt<uint32_t>(p.get(), 0);
    return std::vector<uint8_t>(p.get(), p.get() + n);
}

std::string label(MemHandle h, int32_t value)
{
    char b[64];
    utIndexLabelFormat(h, value, b, sizeof b);
    return b;
}

TEST(IndexLabels, FormatsLengthsAndRecord)
{
    long live = qmtest::liveHandles();
    struct {
        int16_t width;
        bool pad;
        const char *prefix, *suffix;
        int32_t value;
        const char *want;
        int32_t maxLength;
    } cases[] = {
        {4, true, "A-", "", 7, "A-0007", 6},
        {4, false, "A-", "", 7, "A-   7", 6},
        {0, false, "", ")", 12, "12)", 3},
        {4, true, "A-", nullptr, 12345, "A-12345", 7},
        {-3, true, "", "", -42, "-42", 3},
        {16, true, "", "", 1, "0000000000000001", 16},
    };
    for (const auto &c : cases) {
        MemHandle h = utIndexLabelMake(1, 1, c.width, c.pad, c.prefix, c.suffix);
        ASSERT_NE(0u, h);
        EXPECT_EQ(c.want, label(h, c.value));
        EXPECT_EQ(c.maxLength, utIndexLabelMaxLength(h, c.value)) << c.want;
        MemHandle text = utIndexLabelText(h, c.value);
        {
            MemLock<char> t(text);
            EXPECT_STREQ(c.want, t.get());
        }
        utFreeHandle(text);
        const uint32_t prefixSize = c.prefix && *c.prefix ? strlen(c.prefix) + 1 : 0;
        const uint32_t suffixSize = c.suffix && *c.suffix ? strlen(c.suffix) + 1 : 0;
        EXPECT_EQ(kIdxHeadSize + prefixSize + suffixSize, bytesOf(h).size()) << c.want;
        char part[32];
        EXPECT_EQ(prefixSize > 0, utIndexLabelPrefix(h, part, sizeof part) != FALSE);
        EXPECT_EQ(suffixSize > 0, utIndexLabelSuffix(h, part, sizeof part) != FALSE);
        utFreeHandle(h);
    }
    MemHandle empty = utIndexLabelNew();
    const std::vector<uint8_t> emptyBytes = bytesOf(empty);
    ASSERT_EQ(30u, emptyBytes.size());
    EXPECT_EQ(30u, utGetAt<uint32_t>(emptyBytes.data(), 0));
    EXPECT_EQ(std::vector<uint8_t>(26, 0), std::vector<uint8_t>(emptyBytes.begin() + 4, emptyBytes.end()));
    EXPECT_EQ("5", label(empty, 5));
    utFreeHandle(empty);

    // Next: current + increment, stored only when asked.
    MemHandle h = utIndexLabelMake(10, 5, 0, FALSE, "", "");
    EXPECT_EQ(10, utIndexLabelCurrent(h));
    EXPECT_EQ(15, utIndexLabelNext(h, FALSE));
    EXPECT_EQ(10, utIndexLabelCurrent(h));
    EXPECT_EQ(15, utIndexLabelNext(h, TRUE));
    EXPECT_EQ(15, utIndexLabelCurrent(h));
    utFreeHandle(h);
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(IndexLabels, DamagedSizesAreNotReadPastTheRecord)
{
    MemHandle h = utIndexLabelMake(1, 1, 0, FALSE, "Pre", "Suf");
    struct {
        int32_t prefixSize, suffixSize;
        const char *want;
    } cases[] = {
        // Without a prefix the suffix starts at 30, where the prefix's bytes are.
        {4, 4, "Pre7Suf"}, {400, 4, "7"}, {4, 4000, "Pre7"}, {-1, 4, "7Pre"}, {0, 0, "7"},
    };
    for (const auto &c : cases) {
        {
            MemLock<uint8_t> p(h);
            utPutAt<int32_t>(p.get(), IDX_PREFIX_SIZE, c.prefixSize);
            utPutAt<int32_t>(p.get(), IDX_SUFFIX_SIZE, c.suffixSize);
        }
        EXPECT_EQ(c.want, label(h, 7)) << c.prefixSize << "/" << c.suffixSize;
    }
    {
        MemLock<uint8_t> p(h);
        utPutAt<uint32_t>(p.get(), IDX_LENGTH, 100000);   // a length past the block
        utPutAt<int32_t>(p.get(), IDX_PREFIX_SIZE, 4);
        utPutAt<int32_t>(p.get(), IDX_SUFFIX_SIZE, 4);
    }
    EXPECT_EQ("Pre7Suf", label(h, 7));
    utFreeHandle(h);
    char b[8];
    EXPECT_EQ(0, utIndexLabelFormat(0, 7, b, sizeof b));
}

// ---- the Indexing dialog -------------------------------------------------------------------

TEST(IndexingDialog, WidthAboveSixteenIsReplacedWithTheMessage)
{
    MemHandle h = utIndexLabelMake(1, 1, 2, FALSE, "A-", "");
    BoxRecorder boxes;
    std::string width, sample;
    {
        DialogDriver drive({
            [&](HWND d) {
                qmtest::typeInto(d, 120, "20");
                width = qmtest::itemText(d, 120);
            },
            [&](HWND d) {
                qmtest::typeInto(d, 100, "7");
                qmtest::typeInto(d, 120, "4");
                qmtest::pressButton(d, 200);
                sample = qmtest::itemText(d, 130);
                qmtest::pressButton(d, IDCANCEL);
            },
        });
        EXPECT_EQ(0, dlgIndexing(nullptr, &h, nullptr));
    }
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("The width must be between 0 and 16. Will be changed to 16.", boxes.last().text);
    EXPECT_EQ("16", width);
    EXPECT_EQ("A-0007", sample);
    utFreeHandle(h);
}

TEST(IndexingDialog, OkCopiesTheEditedRecordAndCancelLeavesTheHandle)
{
    long live = qmtest::liveHandles();
    MemHandle h = utIndexLabelMake(3, 2, 5, TRUE, "No.", "");
    const std::vector<uint8_t> before = bytesOf(h);
    const MemHandle kept = h;
    BoxRecorder boxes;
    // Cancel after edits: the caller's handle and bytes stay as they were.
    {
        DialogDriver drive({[](HWND d) {
            qmtest::typeInto(d, 110, "Zz");
            qmtest::pressButton(d, IDCANCEL);
        }});
        EXPECT_EQ(0, dlgIndexing(nullptr, &h, nullptr));
    }
    EXPECT_EQ(kept, h);
    EXPECT_EQ(before, bytesOf(h));

    // A base value that is not a number keeps the dialog open with the
    // focus on it; OK then hands back the edited record.
    bool stayed = false;
    int focused = 0;
    std::string help;
    {
        DialogDriver drive({
            [&](HWND d) {
                help = IsWindowVisible(GetDlgItem(d, 300)) ? "shown" : "hidden";
                qmtest::typeInto(d, 100, "x");
                qmtest::pressButton(d, IDOK);
            },
            [&](HWND d) {
                stayed = IsWindow(d) != FALSE;
                focused = GetDlgCtrlID(GetFocus());
                qmtest::typeInto(d, 100, "41");
                qmtest::typeInto(d, 101, "-1");
                qmtest::typeInto(d, 110, "Item ");
                qmtest::typeInto(d, 111, "]");
                qmtest::typeInto(d, 120, "3");
                qmtest::pressButton(d, 200);   // padding off
                qmtest::pressButton(d, IDOK);
            },
        });
        EXPECT_EQ(1, dlgIndexing(nullptr, &h, nullptr));
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ("hidden", help);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(100, focused);
    MemHandle want = utIndexLabelMake(41, -1, 3, FALSE, "Item ", "]");
    EXPECT_EQ(bytesOf(want), bytesOf(h));
    EXPECT_EQ("Item  41]", label(h, 41));
    utFreeHandle(want);

    // A prefix and suffix longer than their fields are cut to the limit.
    {
        DialogDriver drive({[](HWND d) {
            SetDlgItemTextA(d, 110, std::string(200, 'p').c_str());
            SetDlgItemTextA(d, 111, std::string(200, 's').c_str());
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(1, dlgIndexing(nullptr, &h, "indexing"));
    }
    const std::vector<uint8_t> bounded = bytesOf(h);
    EXPECT_LE(bounded.size(), kIdxHeadSize + 2 * (kIdxMaxAffix + 1));
    char part[256];
    utIndexLabelPrefix(h, part, sizeof part);
    EXPECT_EQ((size_t)kIdxMaxAffix, strlen(part));
    utIndexLabelSuffix(h, part, sizeof part);
    EXPECT_EQ((size_t)kIdxMaxAffix, strlen(part));
    utFreeHandle(h);
    EXPECT_EQ(live, qmtest::liveHandles());
}

// ---- History -------------------------------------------------------------------------------

TEST(HistoryDialog, SwitchMissingLogAndFileOrder)
{
    qmtest::TempDir dir;
    const std::string log = dir.file("history.txt");
    char path[260];
    BoxRecorder boxes;
    // Switch off: no window, no box.
    utHistoryEnable(FALSE);
    {
        DialogDriver drive({});
        EXPECT_FALSE(dlgHistory(nullptr, path));
    }
    EXPECT_EQ(0u, boxes.count());
    // A kept path without a log file.
    utHistoryEnable(TRUE);
    utHistorySetPath(log.c_str());
    EXPECT_FALSE(dlgHistory(nullptr, path));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("No items in the history list.", boxes.last().text);
    // Three documents opened: three lines in file order; the chosen line
    // gives its path whole, blanks and all.
    const char *const docs[] = {"C:\\one.qm", "C:\\My Documents\\two files.qm", "D:\\three.qm"};
    for (const char *d : docs)
        ASSERT_TRUE(utHistoryAdd(d));
    std::vector<std::string> shown;
    std::string caption;
    {
        DialogDriver drive({[&](HWND d) {
            caption = qmtest::windowText(d);
            shown = qmtest::readList(d, 1000);
            qmtest::chooseItem(d, 1000, 1);
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_TRUE(dlgHistory(nullptr, path));
    }
    EXPECT_EQ("History", caption);
    ASSERT_EQ(3u, shown.size());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(docs[i], std::string(utHistoryLinePath(shown[i].c_str())));
    EXPECT_STREQ(docs[1], path);
    {
        DialogDriver drive({[](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
        EXPECT_FALSE(dlgHistory(nullptr, path));
    }
    EXPECT_STREQ("", path);
    EXPECT_EQ(1u, boxes.count());
    utHistoryClear();
    utHistoryFree();
}

}  // namespace
