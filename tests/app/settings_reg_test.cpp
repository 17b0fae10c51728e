// Registry settings: the key chain, strings and numbers with their
// terminators and types, number lists and rectangles, and the program,
// home and last folders.
#include "tests/support/kit.h"
#include "support/settings_reg.h"
#include "app/settings_pending.h"
#include "support/win_wheel.h"
#include "support/win_place.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

using qmtest::TempDir;

namespace {

// The application key opened directly, the way another program (or
// "wine reg query") sees it.
class RawKey {
public:
    RawKey()
    {
        std::string path = std::string("Software\\Verdant Arcade\\") + setGetProductName() + "\\"
                           + setGetVersionKey();
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RawKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY get() const { return key_; }
    void putBytes(const char *name, DWORD type, const void *bytes, DWORD n)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, name, 0, type, (const BYTE *)bytes, n));
    }
    // The value's type and raw bytes.
    std::string bytes(const char *name, DWORD *type)
    {
        char buf[1024];
        DWORD size = sizeof(buf);
        if (RegQueryValueExA(key_, name, nullptr, type, (BYTE *)buf, &size) != ERROR_SUCCESS)
            return "<absent>";
        return std::string(buf, size);
    }

private:
    HKEY key_ = nullptr;
};

std::string str(const char *name)
{
    char buf[260];
    setGetString(name, buf);
    return buf;
}

// Restores the test program's own key names and folders after a test that
// re-runs the start-up set-up.
class PathsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        product = setGetProductName();
        versionKey = setGetVersionKey();
        char buf[260];
        setGetProgramDir(buf);
        programDir = buf;
        setDeleteValue("UserHomeDir");
    }
    void TearDown() override
    {
        setDeleteValue("UserHomeDir");
        setInitPaths(product.c_str(), versionKey.c_str(), programDir.c_str());
    }
    std::string product, versionKey, programDir;
    TempDir dir;
};

TEST(SettingsRegistry, StringsAreWrittenWithTheirTerminatorUnderTheKeyChain)
{
    EXPECT_EQ(5, setPutString("ImportDir", "D:\\in"));
    RawKey raw;
    ASSERT_TRUE(raw.get());
    DWORD type = 0;
    EXPECT_EQ(std::string("D:\\in\0", 6), raw.bytes("ImportDir", &type));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ("D:\\in", str("ImportDir"));
    char buf[260];
    EXPECT_EQ(6, setGetString("ImportDir", buf));

    EXPECT_EQ(0, setPutString("Empty", ""));   // the length written
    EXPECT_EQ(std::string("\0", 1), raw.bytes("Empty", &type));
    EXPECT_EQ(1, setGetString("Empty", buf));
    EXPECT_STREQ("", buf);
    EXPECT_EQ(0, setGetString("NoSuchValue", buf));
}

TEST(SettingsRegistry, ReadsAreTerminatedWithinTheBufferAndTypesMustMatch)
{
    RawKey raw;
    ASSERT_TRUE(raw.get());
    // Written by an older program without a terminator: 259 characters
    // filling the buffer up to its last byte.
    std::string full(259, 'x');
    raw.putBytes("Full", REG_SZ, full.data(), 259);
    char buf[261];
    memset(buf, 'Z', sizeof(buf));
    EXPECT_GT(setGetString("Full", buf), 0);
    EXPECT_EQ(full, buf);
    EXPECT_EQ('Z', buf[260]);
    raw.putBytes("Short", REG_SZ, "abc", 3);
    EXPECT_EQ("abc", str("Short"));

    // Longer than the buffer: treated as absent, never written past it.
    std::string longer(300, 'y');
    raw.putBytes("Long", REG_SZ, longer.c_str(), 301);
    memset(buf, 'Z', sizeof(buf));
    EXPECT_EQ(0, setGetString("Long", buf));
    EXPECT_STREQ("", buf);
    EXPECT_EQ('Z', buf[260]);

    // A number stored as a string reads as 0, a string stored as a number
    // as empty; a number of the wrong size as absent.
    raw.putBytes("NumText", REG_SZ, "12", 3);
    EXPECT_EQ(0u, setGetNumber("NumText"));
    EXPECT_FALSE(setHasNumber("NumText"));
    DWORD v = 7;
    raw.putBytes("TextNum", REG_DWORD, &v, 4);
    EXPECT_EQ("", str("TextNum"));
    EXPECT_EQ(7u, setGetNumber("TextNum"));
    raw.putBytes("Wide", REG_BINARY, "12345678", 8);
    EXPECT_FALSE(setHasNumber("Wide"));

    EXPECT_TRUE(setPutNumber("MenuLanguage_id", 0x404));
    EXPECT_TRUE(setHasNumber("MenuLanguage_id"));
    EXPECT_EQ(0x404u, setGetNumber("MenuLanguage_id"));

    EXPECT_EQ(0x7F7F7Fu, setGetHLBlockColor());
    setPutNumber("HLBlockColor", 0x123456);
    EXPECT_EQ(0x123456u, setGetHLBlockColor());
    setDeleteValue("HLBlockColor");
}

TEST(SettingsRegistry, NumberListsNeedExactlyNIntegers)
{
    struct Case {
        const char *text;
        int n;
        int ok;
        int32_t v0, v3;
    } cases[] = {
        {"10, 20, 300, 400", 4, 1, 10, 400},
        {"10 20,300 ,, 400", 4, 1, 10, 400},
        {"-5, +6, 7, 8", 4, 1, -5, 8},
        {"1, 2, 3", 4, 0, 0, 0},              // three numbers where four are asked
        {"1, 2, 3, x", 4, 0, 0, 0},           // a word
        {"1, 2, 3, 4.5", 4, 0, 0, 0},
        {"1, 2, 3, 4, 5", 4, 0, 0, 0},        // one too many
        {"-, 1, 2, 3", 4, 0, 0, 0},           // a lone sign is no number
        {"", 4, 0, 0, 0},
        {"1 2 3 4 5 6 7 8 9 10", 10, 1, 1, 4},
        {"1 2 3 4 5 6 7 8 9 10 11", 11, 0, 0, 0},   // at most 10
    };
    for (const Case &c : cases) {
        setPutString("motool_Win", c.text);
        int32_t values[11] = {};
        EXPECT_EQ(c.ok, setGetNumberList("motool_Win", values, c.n)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.v0, values[0]) << c.text;
            EXPECT_EQ(c.v3, values[3]) << c.text;
        }
    }
    int32_t values[4];
    setDeleteValue("motool_Win");
    EXPECT_EQ(0, setGetNumberList("motool_Win", values, 4));
}

TEST(SettingsRegistry, RectanglesParseBackAndKeepOnScreen)
{
    RECT r = {10, 20, 300, 400};
    char text[64];
    EXPECT_EQ(1, setFormatRect(text, &r));
    EXPECT_STREQ("10, 20, 300, 400", text);
    RECT back = {};
    EXPECT_EQ(1, setParseRect(text, &back, FALSE));
    EXPECT_TRUE(EqualRect(&r, &back));

    RECT negative = {-50, -40, 100, 80};
    EXPECT_EQ(1, setFormatRect(text, &negative));
    EXPECT_STREQ("-50, -40, 100, 80", text);
    EXPECT_EQ(1, setParseRect(text, &back, FALSE));
    EXPECT_TRUE(EqualRect(&negative, &back));

    const char *refused[] = {"10, 20, 30", "a, b, c, d", "10, 20, 30, x", "10, 10, 10, 50",
                             "50, 10, 20, 60", ""};
    for (const char *t : refused) {
        RECT untouched = {1, 2, 3, 4};
        EXPECT_EQ(0, setParseRect(t, &untouched, TRUE)) << t;
        EXPECT_EQ(1, untouched.left) << t;
    }

    RECT empty = {5, 5, 5, 9};
    strcpy(text, "junk");
    EXPECT_EQ(0, setFormatRect(text, &empty));
    EXPECT_STREQ("", text);

    // Kept on screen: a rectangle right of the work area comes back in.
    RECT work;
    winGetWorkArea(&work);
    snprintf(text, sizeof(text), "%d, %d, %d, %d", (int)work.right - 100, 50,
             (int)work.right + 200, 250);
    EXPECT_EQ(1, setParseRect(text, &back, TRUE));
    EXPECT_EQ(work.right - 10, back.right);
    EXPECT_EQ(300, back.right - back.left);
    EXPECT_EQ(50, back.top);
    EXPECT_EQ(1, setParseRect(text, &back, FALSE));
    EXPECT_EQ(work.right + 200, back.right);
}

TEST(SettingsRegistry, KeepRectOnScreenMovesEdgesInTurn)
{
    RECT work;
    winGetWorkArea(&work);
    LONG W = work.right - work.left, H = work.bottom - work.top;
    struct Case {
        RECT in, out;
    } cases[] = {
        {{work.left, work.top, work.right, work.bottom}, {work.left, work.top, work.right, work.bottom}},
        {{work.right - 250, 10, work.right + 50, 210}, {work.right - 310, 10, work.right - 10, 210}},
        {{10, work.bottom - 5, 110, work.bottom + 95}, {10, work.bottom - 110, 110, work.bottom - 10}},
        {{work.left - 30, work.top - 40, work.left + 70, work.top + 60},
         {work.left + 10, work.top + 10, work.left + 110, work.top + 110}},
        // Larger than the work area: ends 10 pixels inside the left and top.
        {{work.left, work.top, work.left + W + 100, work.top + H + 100},
         {work.left + 10, work.top + 10, work.left + W + 110, work.top + H + 110}},
    };
    for (const Case &c : cases) {
        RECT r = c.in;
        winKeepRectOnScreen(&r);
        EXPECT_TRUE(EqualRect(&c.out, &r))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(SettingsRegistry, QuotesPathsAndFolders)
{
    struct Quote {
        const char *in, *out;
    } quotes[] = {{"\"D:\\a b.qm\"", "D:\\a b.qm"}, {"\"D:\\a.qm", "\"D:\\a.qm"},
                  {"D:\\a.qm", "D:\\a.qm"},         {"\"\"", ""},
                  {"\"", "\""},                     {"", ""}};
    for (const Quote &q : quotes) {
        char buf[64];
        strcpy(buf, q.in);
        EXPECT_STREQ(q.out, setStripQuotes(buf)) << q.in;
    }
    EXPECT_TRUE(setSamePath("D:\\a\\", "d:\\A"));
    EXPECT_TRUE(setSamePath("D:\\a", "D:\\a"));
    EXPECT_FALSE(setSamePath("D:\\a", "D:\\ab"));
    EXPECT_FALSE(setSamePath("D:\\a\\\\", "D:\\a"));

    EXPECT_TRUE(setPutFolderOf("ExportDir", "D:\\out\\page.bmp"));
    EXPECT_EQ("D:\\out\\", str("ExportDir"));
    EXPECT_TRUE(setPutPathFolder("DB_Token_Path", "E:\\db\\x.tkn"));
    EXPECT_EQ("E:\\db\\", str("DB_Token_Path"));
}

TEST_F(PathsFixture, EmptyUserHomeDirMeansTheProgramFolder)
{
    std::string program = dir.path() + "\\";
    setPutString("UserHomeDir", "");
    ASSERT_TRUE(setInitPaths(product.c_str(), versionKey.c_str(), dir.path().c_str()));
    char buf[260];
    EXPECT_TRUE(setGetProgramDir(buf));
    EXPECT_EQ(program, buf);
    EXPECT_EQ(program, setGetHomeDir(buf));
    EXPECT_EQ(program, setCopyHomeDir(buf));
    EXPECT_EQ(program, setGetLastFolder(buf));
    EXPECT_EQ("", std::string(setGetLastFileName(buf)));
    EXPECT_EQ(program + "~qmsetup", setGetHomeFilePath(buf, "~qmsetup"));
    EXPECT_EQ(program + "vellum.pal", setGetProgramFilePath(buf, "vellum.pal"));
    MemHandle h = setDupProgramFilePath("qmptn.tvl");
    {
        MemLock<char> p(h);
        ASSERT_TRUE(p);
        EXPECT_EQ(program + "qmptn.tvl", p.get());
    }
    utFreeHandle(h);

    // A home folder written now takes effect at the next start.
    TempDir home;
    EXPECT_TRUE(setPutHomeDir(home.path().c_str()));
    EXPECT_EQ(program, setGetHomeDir(buf));
    ASSERT_TRUE(setInitPaths(product.c_str(), versionKey.c_str(), dir.path().c_str()));
    EXPECT_EQ(home.path(), setGetHomeDir(buf));
    EXPECT_EQ(home.path(), setGetLastFolder(buf));
    EXPECT_EQ(home.path() + "\\~qmats.log", setGetHomeFilePath(buf, "~qmats.log"));
    EXPECT_EQ(program + "vellum.pal", setGetProgramFilePath(buf, "vellum.pal"));
    // Emptied while running: back to the program folder.
    EXPECT_TRUE(setPutHomeDir(""));
    EXPECT_EQ(program, setGetHomeDir(buf));
}

TEST_F(PathsFixture, LastFolderAndFileNameAreCutToTheirHandles)
{
    ASSERT_TRUE(setInitPaths(product.c_str(), versionKey.c_str(), dir.path().c_str()));
    char buf[300];
    setPutLastFolder("D:\\docs\\");
    setPutLastFileName("qmDoc1.qm");
    EXPECT_STREQ("D:\\docs\\", setGetLastFolder(buf));
    EXPECT_STREQ("qmDoc1.qm", setGetLastFileName(buf));
    std::string longer(400, 'f');
    setPutLastFileName(longer.c_str());
    EXPECT_EQ(259u, strlen(setGetLastFileName(buf)));

    setFreePaths();
    EXPECT_STREQ("", setGetLastFolder(buf));
    setPutLastFolder("ignored");   // no handle: nothing to write into
    EXPECT_STREQ("", setGetLastFolder(buf));
}

TEST_F(PathsFixture, VersionKeyIsBuiltFromTheFileFormatVersionAndCut)
{
    ASSERT_TRUE(setInitPaths(product.c_str(), nullptr, dir.path().c_str()));
    EXPECT_EQ(product + " Version 2.50", setGetVersionKey());
    // The set-up read "UserHomeDir" under that key and so created it: remove it.
    std::string made = std::string("Software\\Verdant Arcade\\") + product + "\\" + setGetVersionKey();
    RegDeleteKeyA(HKEY_CURRENT_USER, made.c_str());

    setSetKeyNames("A product name far longer than thirty-one", "key");
    EXPECT_EQ(31u, strlen(setGetProductName()));
    setSetKeyNames(product.c_str(), versionKey.c_str());
    char title[64];
    appSetTitle("Quillmark Draw 3.0");
    EXPECT_STREQ("Quillmark Draw 3.0", appGetTitle(title, sizeof(title)));
    EXPECT_STREQ("Quill", appGetTitle(title, 6));
}

TEST(SettingsRegistry, WindowsVersionOfThisSystemHasNativeWheelMessages)
{
    EXPECT_TRUE(setReadWinVersion());
    const SetWinVersion &v = setGetWinVersion();
    EXPECT_TRUE(v.isNT);
    EXPECT_TRUE(v.nt5OrLater);
    EXPECT_FALSE(v.nt4);
    EXPECT_TRUE(v.major4);
    EXPECT_FALSE(winInitWheel());   // no wheel driver window here
}

}  // namespace
