// Palette files written and read back, damaged palette files, the built-in
// and start-up colours, the file dialogs and the colour chooser through
// their replaceable wrappers, and the custom colours.
#include "tests/support/kit.h"
#include "support/ut_bytes.h"
#include "controls/pal_file.h"
#include "support/settings_reg.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>

using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;
const char kError[] = "Quillmark Draw Error";
const char kWarning[] = "Quillmark Draw Warning";

uint32_t u32At(const Bytes &b, size_t at) { return utGetAt<uint32_t>(b.data(), at); }

void putU32(Bytes &b, size_t at, uint32_t v) { utPutAt(b.data(), at, v); }
void putU16(Bytes &b, size_t at, uint16_t v) { memcpy(&b[at], &v, 2); }

std::vector<COLORREF> someColours(int n)
{
    std::vector<COLORREF> c;
    for (int i = 0; i < n; ++i)
        c.push_back(RGB((i * 37) & 0xFF, (i * 91 + 7) & 0xFF, (255 - i) & 0xFF));
    return c;
}

MemHandle toHandle(const std::vector<COLORREF> &c)
{
    return c.empty() ? 0 : utHandleFromBytes(c.data(), (uint32_t)(c.size() * 4));
}

std::vector<COLORREF> fromHandle(MemHandle h, int n)
{
    MemLock<COLORREF> p(h);
    return p ? std::vector<COLORREF>(p.get(), p.get() + n) : std::vector<COLORREF>();
}

// Writes a palette through the program's writer; true when it says so.
bool writePalette(const std::string &path, const std::vector<COLORREF> &c, BOOL ask = FALSE)
{
    MemHandle h = toHandle(c);
    int ok = clrWritePaletteFile(path.c_str(), h, (int)c.size(), ask);
    utFreeHandle(h);
    return ok == 1;
}

// Files in a folder whose names begin with "~" (temporary files left behind).
int tempFilesIn(const std::string &dir)
{
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\~*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do
            ++n;
        while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    return n;
}

class PaletteFile : public ::testing::Test {
protected:
    void SetUp() override { clrResetPaletteFileModule(); }
    void TearDown() override { clrResetPaletteFileModule(); }
    TempDir dir;
};

}  // namespace

TEST_F(PaletteFile, WritesTheLayoutAndReadsBackEqual)
{
    for (int n : {1, 2, 50, 300}) {
        SCOPED_TRACE(n);
        std::string path = dir.file("p.pal");
        std::vector<COLORREF> colours = someColours(n);
        long before = qmtest::liveHandles();
        BoxRecorder boxes;
        ASSERT_TRUE(writePalette(path, colours));

        Bytes b = qmtest::readFile(path);
        ASSERT_EQ(46u + 4u * n, b.size());
        EXPECT_EQ(std::string("Vellum"), std::string((const char *)&b[0]));
        EXPECT_EQ(std::string("3.0"), std::string((const char *)&b[8]));
        EXPECT_EQ(std::string("PALETTE"), std::string((const char *)&b[16]));
        EXPECT_EQ(250u, u32At(b, 32));
        EXPECT_EQ(0u, u32At(b, 36));
        EXPECT_EQ(4u * n + 6, u32At(b, 40));
        EXPECT_EQ(n, b[44] | (b[45] << 8));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(GetRValue(colours[i]), b[46 + 4 * i]);
            EXPECT_EQ(GetGValue(colours[i]), b[47 + 4 * i]);
            EXPECT_EQ(GetBValue(colours[i]), b[48 + 4 * i]);
            EXPECT_EQ(0, b[49 + 4 * i]);
        }

        int16_t count = -1;
        MemHandle h = clrReadPaletteFile(path.c_str(), &count);
        ASSERT_NE(0u, h);
        EXPECT_EQ(n, count);
        EXPECT_EQ(colours, fromHandle(h, count));
        utFreeHandle(h);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        EXPECT_EQ(before, qmtest::liveHandles());
        EXPECT_EQ(0, tempFilesIn(dir.path()));
    }
}

TEST_F(PaletteFile, AnEmptyPaletteIs46BytesAndReadsAsNoColours)
{
    std::string path = dir.file("empty.pal");
    BoxRecorder boxes;
    ASSERT_TRUE(writePalette(path, {}));
    EXPECT_EQ(46u, qmtest::readFile(path).size());
    int16_t count = -1;
    EXPECT_EQ(0u, clrReadPaletteFile(path.c_str(), &count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();

    // The start-up therefore falls back to the built-in colours.
    clrSetPaletteFileName(path.c_str());
    MemHandle h = clrLoadStartupColors(&count);
    EXPECT_EQ(CLR_DEFAULT_COUNT, count);
    EXPECT_EQ(0xFFFFFFu, fromHandle(h, count).front());
    utFreeHandle(h);
}

TEST_F(PaletteFile, BuiltInColours)
{
    int16_t count = 0;
    MemHandle h = clrGetDefaultColors(&count);
    ASSERT_EQ(50, count);
    std::vector<COLORREF> c = fromHandle(h, count);
    EXPECT_EQ(0xFFFFFFu, c.front());
    EXPECT_EQ(0x000000u, c[1]);
    EXPECT_EQ(0xFF0000u, c[22]);
    EXPECT_EQ(0x008080u, c.back());
    utFreeHandle(h);
}

TEST_F(PaletteFile, StartupColoursComeFromThePaletteFileWhenItReads)
{
    BoxRecorder boxes;
    int16_t count = 0;
    // No path: the built-in colours.
    MemHandle h = clrLoadStartupColors(&count);
    EXPECT_EQ(50, count);
    utFreeHandle(h);

    // A path naming a missing file: the built-in colours, without a message.
    clrSetPaletteFileName(dir.file("missing.pal").c_str());
    h = clrLoadStartupColors(&count);
    EXPECT_EQ(50, count);
    utFreeHandle(h);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();

    // A file that reads: its colours.
    std::string path = dir.file("vellum.pal");
    ASSERT_TRUE(writePalette(path, someColours(3)));
    clrSetPaletteFileName(path.c_str());
    EXPECT_EQ(path, clrGetPaletteFileName());
    h = clrLoadStartupColors(&count);
    EXPECT_EQ(3, count);
    EXPECT_EQ(someColours(3), fromHandle(h, count));
    utFreeHandle(h);

    // An empty text clears the path.
    clrSetPaletteFileName("");
    EXPECT_STREQ("", clrGetPaletteFileName());
}

// The start-up palette is looked for where the frame writes it at close (the
// home folder) first, so that changes of one run reach the next.
TEST_F(PaletteFile, StartupPaletteIsTheHomeFoldersCopyWhenThereIsOne)
{
    char programDir[MAX_PATH];
    setGetProgramDir(programDir);
    std::string inProgram = std::string(programDir) +
                            (programDir[strlen(programDir) - 1] == '\\' ? "" : "\\") + "vellum.pal";
    ASSERT_TRUE(setPutHomeDir(dir.path().c_str()));
    setInitPaths(nullptr, nullptr, nullptr);   // the home folder is read at start-up
    char path[CLR_PATH_MAX];
    EXPECT_STREQ(inProgram.c_str(), clrFindStartupPalette(path));

    std::string inHome = dir.file("vellum.pal");
    ASSERT_TRUE(writePalette(inHome, someColours(4)));
    EXPECT_STREQ(inHome.c_str(), clrFindStartupPalette(path));
    clrSetStartupPaletteFileName();
    EXPECT_STREQ(inHome.c_str(), clrGetPaletteFileName());
    int16_t count = 0;
    MemHandle h = clrLoadStartupColors(&count);
    EXPECT_EQ(4, count);
    utFreeHandle(h);
    setPutHomeDir("");
    setInitPaths(nullptr, nullptr, nullptr);
}

// A small valid file cut at every offset: each length fails with its
// message, returns no colours and leaves no handle or block behind.
TEST_F(PaletteFile, TruncatedFilesAreRefusedWithTheirMessage)
{
    std::string good = dir.file("good.pal");
    ASSERT_TRUE(writePalette(good, someColours(2)));
    Bytes whole = qmtest::readFile(good);
    ASSERT_EQ(54u, whole.size());
    std::string path = dir.file("cut.pal");
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        ASSERT_TRUE(qmtest::writeFile(path, Bytes(whole.begin(), whole.begin() + cut)));
        long before = qmtest::liveHandles();
        BoxRecorder boxes;
        int16_t count = -1;
        EXPECT_EQ(0u, clrReadPaletteFile(path.c_str(), &count));
        EXPECT_EQ(0, count);
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        EXPECT_EQ(before, qmtest::liveHandles());
        ASSERT_GE(boxes.count(), 1u);
        const qmtest::BoxRecord &first = boxes.boxes().front();
        EXPECT_EQ(kError, first.caption);
        if (cut == 0)
            EXPECT_EQ("Reading error, " + path, first.text);
        else if (cut < 40)
            EXPECT_EQ("Reading file header failed", first.text);
        else if (cut < 44)
            EXPECT_EQ("Unexpected end of file", first.text);
        else
            EXPECT_EQ(0u, first.text.find("Read packet error at position= 40,")) << first.text;
    }
}

// Hand-made damage to a valid file of two colours.
TEST_F(PaletteFile, DamagedHeadersAndCountsAreRefused)
{
    std::string good = dir.file("good.pal");
    ASSERT_TRUE(writePalette(good, someColours(2)));
    const Bytes whole = qmtest::readFile(good);
    struct Case {
        const char *name;
        void (*damage)(Bytes &);
        const char *message;   // null: the file reads
    };
    const Case cases[] = {
        {"foreign logo", [](Bytes &b) { memcpy(&b[0], "Other\0\0\0", 8); }, "Not a Quillmark file"},
        {"document kind", [](Bytes &b) { memcpy(&b[16], "FORM\0\0\0\0", 8); }, "Incorrect file type"},
        {"kind in lower case", [](Bytes &b) { memcpy(&b[16], "palette", 7); }, nullptr},
        {"older logo", [](Bytes &b) { memcpy(&b[0], "Verda\0\0\0", 8); }, nullptr},
        {"oldest logo", [](Bytes &b) { memcpy(&b[0], "TAVIX\0\0\0", 8); }, nullptr},
        {"other version text", [](Bytes &b) { memcpy(&b[8], "9.9\0", 4); }, nullptr},
        {"count beyond the packet", [](Bytes &b) { putU16(b, 44, 3); },
         "Read packet error.  Data length mis-match"},
        {"count far beyond the packet", [](Bytes &b) { putU16(b, 44, 0xFFFF); },
         "Read packet error.  Data length mis-match"},
        {"packet without a count",
         [](Bytes &b) { putU32(b, 40, 4); b.resize(44); },
         "Read packet error.  Data length mis-match"},
        {"packet with half a count",
         [](Bytes &b) { putU32(b, 40, 5); b.resize(45); },
         "Read packet error.  Data length mis-match"},
        {"packet shorter than its colours",
         [](Bytes &b) { putU32(b, 40, 10); },
         "Read packet error.  Data length mis-match"},
        {"length below its own word", [](Bytes &b) { putU32(b, 40, 3); }, "Read packet error at"},
        {"length past the file", [](Bytes &b) { putU32(b, 40, 0xFFFFFFF0u); },
         "Read packet error at"},
        {"trailing bytes", [](Bytes &b) { b.push_back(1); b.push_back(2); }, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = whole;
        c.damage(b);
        std::string path = dir.file("damaged.pal");
        ASSERT_TRUE(qmtest::writeFile(path, b));
        long before = qmtest::liveHandles();
        BoxRecorder boxes;
        int16_t count = -1;
        MemHandle h = clrReadPaletteFile(path.c_str(), &count);
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        if (!c.message) {
            EXPECT_NE(0u, h);
            EXPECT_EQ(2, count);
            EXPECT_EQ(someColours(2), fromHandle(h, 2));
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
            utFreeHandle(h);
        } else {
            EXPECT_EQ(0u, h);
            EXPECT_EQ(0, count);
            ASSERT_EQ(1u, boxes.count()) << boxes.texts();
            EXPECT_EQ(0u, boxes.last().text.find(c.message)) << boxes.last().text;
        }
        EXPECT_EQ(before, qmtest::liveHandles());
    }
}

TEST_F(PaletteFile, CountsBeyondWhatAPaletteHoldsAreRefused)
{
    // 0x8000 colours, the packet long enough for all of them.
    const uint32_t n = 0x8000;
    ASSERT_TRUE(writePalette(dir.file("g.pal"), someColours(1)));
    Bytes b = qmtest::readFile(dir.file("g.pal"));
    b.resize(46 + 4 * n);
    putU32(b, 40, 4 * n + 6);
    putU16(b, 44, (uint16_t)n);
    std::string path = dir.file("huge.pal");
    ASSERT_TRUE(qmtest::writeFile(path, b));
    BoxRecorder boxes;
    int16_t count = -1;
    EXPECT_EQ(0u, clrReadPaletteFile(path.c_str(), &count));
    EXPECT_EQ(0, count);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Read packet error.  Data length mis-match", boxes.last().text);
}

TEST_F(PaletteFile, TheFourthByteOfAColourIsIgnored)
{
    std::string path = dir.file("p.pal");
    ASSERT_TRUE(writePalette(path, {RGB(1, 2, 3)}));
    Bytes b = qmtest::readFile(path);
    b[49] = 0x02;   // would turn the colour into a palette-relative one
    ASSERT_TRUE(qmtest::writeFile(path, b));
    int16_t count = 0;
    MemHandle h = clrReadPaletteFile(path.c_str(), &count);
    ASSERT_EQ(1, count);
    EXPECT_EQ(RGB(1, 2, 3), fromHandle(h, 1)[0]);
    utFreeHandle(h);
}

TEST_F(PaletteFile, MissingAndUnopenableFilesAreReported)
{
    BoxRecorder boxes;
    int16_t count = -1;
    std::string path = dir.file("none.pal");
    EXPECT_EQ(0u, clrReadPaletteFile(path.c_str(), &count));
    EXPECT_EQ(0, count);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(kWarning, boxes.last().caption);
    EXPECT_EQ(path + "\r\n  does not exist", boxes.last().text);
}

// A write that cannot be done leaves the previous file as it was.
TEST_F(PaletteFile, FailedWritesReportAndKeepThePreviousFile)
{
    std::string path = dir.file("keep.pal");
    ASSERT_TRUE(writePalette(path, someColours(3)));
    Bytes before = qmtest::readFile(path);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        BoxRecorder boxes;
        EXPECT_FALSE(writePalette(path, someColours(5)));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("File \r\n  " + path + "\r\nis read-only.", boxes.last().text);
    }
    {
        BoxRecorder boxes;
        EXPECT_FALSE(writePalette(path, someColours(5), TRUE));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("File: \r\n" + path + "\r\nis read-only.  Can not write to it.",
                  boxes.last().text);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, qmtest::readFile(path));

    {
        // Asked before overwriting: Cancel keeps the file, OK replaces it.
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        EXPECT_FALSE(writePalette(path, someColours(5), TRUE));
        EXPECT_EQ(before, qmtest::readFile(path));
        boxes.answer(IDOK);
        EXPECT_TRUE(writePalette(path, someColours(5), TRUE));
        EXPECT_EQ(46u + 20u, qmtest::readFile(path).size());
        ASSERT_EQ(2u, boxes.count());
        EXPECT_EQ("File: \r\n" + path + "\r\nexists. Please select OK to overwrite.",
                  boxes.last().text);
    }
    {
        BoxRecorder boxes;
        std::string nowhere = dir.file("no such folder\\x.pal");
        EXPECT_FALSE(writePalette(nowhere, someColours(2)));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Can not save to\r\n  " + nowhere, boxes.last().text);
    }
    EXPECT_EQ(0, tempFilesIn(dir.path()));
}

TEST_F(PaletteFile, WriterRefusesCountsItCannotStore)
{
    BoxRecorder boxes;
    std::string path = dir.file("x.pal");
    EXPECT_EQ(0, clrWritePaletteFile(path.c_str(), 0, 3, FALSE));   // colours missing
    MemHandle h = toHandle(someColours(2));
    EXPECT_EQ(0, clrWritePaletteFile(path.c_str(), h, 3, FALSE));   // fewer than n
    EXPECT_EQ(0, clrWritePaletteFile(path.c_str(), h, -1, FALSE));
    utFreeHandle(h);
    EXPECT_FALSE(ffExists(path.c_str()));
}

TEST(PaletteNames, AddsThePaletteExtensionOnlyWhenThereIsNone)
{
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"mine", "mine.pal"},
        {"C:\\pal\\mine", "C:\\pal\\mine.pal"},
        {"C:\\pal.d\\mine", "C:\\pal.d\\mine.pal"},
        {"mine.txt", "mine.txt"},
        {"C:\\pal\\mine.PAL", "C:\\pal\\mine.PAL"},
        {"", ""},
    };
    for (const Case &c : cases) {
        char path[CLR_PATH_MAX];
        utStrCopyN(path, c.in, sizeof(path));
        clrAddPaletteExtension(path, sizeof(path));
        EXPECT_STREQ(c.out, path);
    }
}

TEST(PaletteGdi, LogicalPaletteHasOneNoCollapseEntryPerColour)
{
    std::vector<COLORREF> c = someColours(7);
    HPALETTE pal = clrCreateGdiPalette(c.data(), 7);
    ASSERT_TRUE(pal != nullptr);
    PALETTEENTRY e[8];
    ASSERT_EQ(7u, GetPaletteEntries(pal, 0, 8, e));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(c[i], RGB(e[i].peRed, e[i].peGreen, e[i].peBlue));
        EXPECT_EQ(PC_NOCOLLAPSE, e[i].peFlags);
    }
    DeleteObject(pal);
    EXPECT_TRUE(clrCreateGdiPalette(c.data(), 0) == nullptr);
}

// ---- the file dialogs and the chooser through their wrappers -------------------------

namespace {

struct FileDialogScript {
    std::vector<ClrFileRequest> requests;
    std::vector<std::string> initialNames;
    std::vector<std::string> filters;
    std::string answer;   // empty: cancelled
};
FileDialogScript g_files;

BOOL scriptedFileDialog(HWND, ClrFileRequest &request)
{
    g_files.requests.push_back(request);
    g_files.initialNames.push_back(request.path);
    std::string filter;
    for (const char *p = request.filter; p && *p; p += strlen(p) + 1)
        filter += std::string(p) + "|";
    g_files.filters.push_back(filter);
    if (g_files.answer.empty())
        return FALSE;
    utStrCopyN(request.path, g_files.answer.c_str(), request.pathSize);
    return TRUE;
}

struct ChooserScript {
    std::vector<std::string> captions;
    std::vector<COLORREF> shown;
    std::vector<std::vector<COLORREF>> customSeen;
    bool ok = true;
    COLORREF answer = 0;
    int changeCustom = -1;   // custom colour the "user" sets to the answer
};
ChooserScript g_chooser;

BOOL scriptedChooser(HWND, const char *caption, COLORREF *colour, COLORREF *custom)
{
    g_chooser.captions.push_back(caption ? caption : "<none>");
    g_chooser.shown.push_back(*colour);
    g_chooser.customSeen.push_back(std::vector<COLORREF>(custom, custom + 16));
    if (g_chooser.changeCustom >= 0)
        custom[g_chooser.changeCustom] = g_chooser.answer;
    if (!g_chooser.ok)
        return FALSE;
    *colour = g_chooser.answer;
    return TRUE;
}

}  // namespace

TEST_F(PaletteFile, OpenDialogOffersPalFilesAndReadsTheChoice)
{
    g_files = FileDialogScript();
    clrSetFileDialogHook(scriptedFileDialog);
    std::string path = dir.file("chosen.pal");
    ASSERT_TRUE(writePalette(path, someColours(6)));

    char buffer[CLR_PATH_MAX] = "";
    MemHandle colours = 1;
    int16_t count = 9;
    // Cancelled: nothing read, the buffer unchanged.
    EXPECT_EQ(0, clrOpenPaletteDlg(nullptr, buffer, &colours, &count));
    EXPECT_EQ(0u, colours);
    EXPECT_EQ(0, count);
    EXPECT_STREQ("", buffer);
    ASSERT_EQ(1u, g_files.requests.size());
    EXPECT_FALSE(g_files.requests[0].save);
    EXPECT_STREQ("Open Palette", g_files.requests[0].title);
    EXPECT_EQ("*.pal", g_files.initialNames[0]);
    EXPECT_EQ("Quillmark Palette (*.pal)|*.pal|", g_files.filters[0]);

    g_files.answer = path;
    EXPECT_EQ(1, clrOpenPaletteDlg(nullptr, buffer, &colours, &count));
    EXPECT_EQ(path, buffer);
    EXPECT_EQ(6, count);
    EXPECT_EQ(someColours(6), fromHandle(colours, count));
    utFreeHandle(colours);
    // The next dialog starts on the chosen name.
    EXPECT_EQ(1, clrOpenPaletteDlg(nullptr, buffer, &colours, &count));
    EXPECT_EQ(path, g_files.initialNames.back());
    utFreeHandle(colours);
}

TEST_F(PaletteFile, SaveDialogAddsThePaletteExtension)
{
    g_files = FileDialogScript();
    clrSetFileDialogHook(scriptedFileDialog);
    g_files.answer = dir.file("named");
    char buffer[CLR_PATH_MAX] = "";
    EXPECT_EQ(1, clrSavePaletteDlg(nullptr, buffer));
    EXPECT_EQ(dir.file("named.pal"), buffer);
    ASSERT_EQ(1u, g_files.requests.size());
    EXPECT_TRUE(g_files.requests[0].save);
    EXPECT_STREQ("Save Palette", g_files.requests[0].title);
    EXPECT_STREQ("pal", g_files.requests[0].defExt);
    EXPECT_EQ("Quillmark Palette (*.pal)|*.pal|(*.*)|*.*|", g_files.filters[0]);
}

TEST_F(PaletteFile, ChooserKeepsTheCustomColoursBetweenCalls)
{
    g_chooser = ChooserScript();
    clrSetChooseColorHook(scriptedChooser);
    COLORREF custom[16];
    clrGetCustomColors(custom);
    for (COLORREF c : custom)
        EXPECT_EQ(0xFFFFFFu, c);

    COLORREF colour = RGB(1, 2, 3);
    g_chooser.answer = RGB(200, 100, 50);
    g_chooser.changeCustom = 4;
    EXPECT_NE(0, clrPickColor(nullptr, "Fill Color", &colour));
    EXPECT_EQ(RGB(200, 100, 50), colour);
    EXPECT_EQ(RGB(1, 2, 3), g_chooser.shown[0]);
    EXPECT_EQ("Fill Color", g_chooser.captions[0]);

    // The next chooser sees the custom colour the user set.
    g_chooser.changeCustom = -1;
    g_chooser.ok = false;
    EXPECT_EQ(0, clrChooseColor(nullptr, nullptr, &colour));
    EXPECT_EQ(RGB(200, 100, 50), colour);   // cancelled: unchanged
    EXPECT_EQ(RGB(200, 100, 50), g_chooser.customSeen[1][4]);
    EXPECT_EQ(0xFFFFFFu, g_chooser.customSeen[1][3]);

    // Changes made in a cancelled chooser are not kept.
    g_chooser.changeCustom = 5;
    g_chooser.answer = RGB(9, 9, 9);
    clrChooseColor(nullptr, nullptr, &colour);
    clrGetCustomColors(custom);
    EXPECT_EQ(0xFFFFFFu, custom[5]);

    // The frame's stored colours come back in; none gives white.
    COLORREF stored[16];
    for (int i = 0; i < 16; ++i)
        stored[i] = RGB(i, i, i);
    clrSetCustomColors(stored);
    clrGetCustomColors(custom);
    EXPECT_EQ(0, memcmp(stored, custom, sizeof(custom)));
    clrSetCustomColors(nullptr);
    clrGetCustomColors(custom);
    EXPECT_EQ(0xFFFFFFu, custom[15]);
}
