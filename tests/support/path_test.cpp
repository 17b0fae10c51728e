// Paths: normalisation, relative and absolute forms, extensions, folder
// parts and temporary names.
#include "tests/support/kit.h"
#include "support/ut_path.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

using qmtest::TempDir;

namespace {

std::string text(MemHandle h)
{
    MemLock<char> p(h);
    std::string s = p ? std::string(p.get(), strnlen(p.get(), utHandleSize(h))) : "<none>";
    return s;
}

// Takes a string handle, returns its text and frees it.
std::string take(MemHandle h)
{
    std::string s = text(h);
    utFreeHandle(h);
    return s;
}

std::string normalized(const char *in)
{
    char buf[UT_PATH_SIZE];
    strcpy(buf, in);
    EXPECT_EQ(1, utNormalizePath(buf));
    return buf;
}

bool isFile(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string currentFolder()
{
    char buf[MAX_PATH];
    GetCurrentDirectoryA(sizeof(buf), buf);
    return buf;
}

TEST(PathNormalize, FoldsParentStepsTrimsAndRemovesDoubledSeparators)
{
    struct Case {
        const char *in, *out;
    } cases[] = {
        {" D:\\a\\b\\..\\c.txt ", "D:\\a\\c.txt"},
        {"D:\\..\\x", "D:\\..\\x"},                           // nothing above the root to fold
        {"D:\\a\\b\\c\\..\\..\\d", "D:\\a\\d"},
        {"a\\b\\..\\..\\c", "a\\..\\c"},                      // the second ".." has no folder left
        {"\\\\srv\\a\\\\b\\\\\\c", "\\\\srv\\a\\b\\c"},       // the network pair stays
        {"\\\\\\srv\\x", "\\\\srv\\x"},
        {"D:/a/b/../c.txt", "D:/a/c.txt"},
        {"D://a//b", "D:/a/b"},
        {"//x", "/x"},                                       // slashes lose the start pair too
        {"http://host//a\\\\b", "http://host//a\\\\b"},      // web addresses keep their doubles
        {"HTTPS://host//a", "HTTPS://host//a"},
        {"   ", ""},
        {"", ""},
        // The "/../" fold scans from the start of the path, not from where
        // the "\..\" scan stopped (at the second "\..\" here).
        {"x/y/../z\\..\\..\\w", "x/z\\..\\..\\w"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.out, normalized(c.in)) << "input \"" << c.in << "\"";
}

TEST(PathRelative, TheFourCasesAndFolderBoundaries)
{
    struct Case {
        const char *path, *base, *out;
    } cases[] = {
        {"D:\\a\\c\\f.txt", "D:\\a\\b", "..\\c\\f.txt"},
        {"D:\\a\\c\\f.txt", "D:\\a", "c\\f.txt"},
        {"D:\\a\\c\\f.txt", "E:\\x", "D:\\a\\c\\f.txt"},
        {"D:\\a\\f.txt", "D:\\a\\", "f.txt"},                 // the folder equals the base
        {"D:\\a\\c\\f.txt", "D:\\a\\", "c\\f.txt"},
        {"d:\\A\\c\\f.txt", "D:\\a", "c\\f.txt"},             // letter case ignored
        {"D:\\x\\f.txt", "D:\\a\\b", "..\\..\\x\\f.txt"},
        {"D:\\x\\f.txt", "D:\\a\\b\\", "..\\..\\x\\f.txt"},   // a trailing separator is no level
        {"D:/a/c/f.txt", "D:/a/b", "..\\c/f.txt"},
        // "D:\a" is no folder prefix of "D:\ab\x.txt": it climbs instead.
        {"D:\\ab\\x.txt", "D:\\a", "..\\ab\\x.txt"},
        {"D:\\abc", "D:\\ab", "..\\abc"},
        {"f.txt", "D:\\a", "f.txt"},                          // different drives
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.out, take(utMakeRelativePath(c.path, c.base)))
            << c.path << " against " << c.base;
}

TEST(PathAbsolute, JoinsTakesTheBaseDriveOrKeepsAbsolutePaths)
{
    struct Case {
        const char *path, *base, *out;
    } cases[] = {
        {"\\x\\y.txt", "D:\\a", "D:\\x\\y.txt"},
        {"c\\f.txt", "D:\\a", "D:\\a\\c\\f.txt"},
        {"..\\c\\f.txt", "D:\\a\\b", "D:\\a\\c\\f.txt"},
        {"E:\\q.qm  ", "D:\\a", "E:\\q.qm"},
        {"\\\\srv\\s\\q.qm", "D:\\a", "\\\\srv\\s\\q.qm"},
        {"f.txt  ", "D:\\a\\  ", "D:\\a\\f.txt"},
        {"\\x", "a", "\\x"},                                  // a base without drive
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.out, take(utMakeAbsolutePath(c.path, c.base)))
            << c.path << " against " << c.base;

    // Relative and back again.
    const char *bases[] = {"D:\\a\\b", "D:\\a", "D:\\a\\", "E:\\x", "D:\\a\\b\\c"};
    for (const char *base : bases) {
        std::string rel = take(utMakeRelativePath("D:\\a\\c\\f.txt", base));
        EXPECT_EQ("D:\\a\\c\\f.txt", take(utMakeAbsolutePath(rel.c_str(), base))) << base;
    }
}

TEST(PathJoin, StripsBlanksSeparatesAndNormalises)
{
    struct Case {
        const char *folder, *name, *out;
    } cases[] = {
        {"D:\\a  ", "b.txt  ", "D:\\a\\b.txt"},
        {"D:\\a\\", "b.txt", "D:\\a\\b.txt"},
        {"D:\\a\\", "\\b.txt", "D:\\a\\b.txt"},
        {"D:\\a", "E:\\x.txt", "E:\\x.txt"},
        {"D:\\a\\b", "..\\c.txt", "D:\\a\\c.txt"},
        {"", "c.txt", "c.txt"},
    };
    for (const Case &c : cases) {
        char out[UT_PATH_SIZE];
        EXPECT_STREQ(c.out, utJoinPath(out, c.folder, c.name)) << c.folder << " + " << c.name;
    }
    // A result longer than a path buffer is cut, never written past it.
    std::string longName(400, 'n');
    char out[UT_PATH_SIZE + 8];
    memset(out, 'Z', sizeof(out));
    utJoinPath(out, "D:\\a", longName.c_str());
    EXPECT_EQ((size_t)UT_PATH_SIZE - 1, strlen(out));
    EXPECT_EQ('Z', out[UT_PATH_SIZE]);
}

TEST(PathExtension, SetGetAndDefault)
{
    struct SetCase {
        const char *path, *ext, *out;
    } sets[] = {
        {"a.b", "txt", "a.txt"},
        {"a.b", "", "a"},
        {"a.b", ".txt", "a.txt"},
        {"a", "txt", "a.txt"},
        {"a", "", "a"},
        {"D:\\v1.2\\notes", "txt", "D:\\v1.2\\notes.txt"},   // a folder's point is no extension
        {"D:\\v1.2\\notes.old", "", "D:\\v1.2\\notes"},
        {"D:\\v1.2\\notes", "", "D:\\v1.2\\notes"},
    };
    for (const SetCase &c : sets) {
        char buf[UT_PATH_SIZE];
        strcpy(buf, c.path);
        EXPECT_STREQ(c.out, utSetExtension(buf, c.ext)) << c.path << " with " << c.ext;
    }
    char empty[UT_PATH_SIZE] = "";
    EXPECT_EQ(nullptr, utSetExtension(empty, "txt"));

    char buf[UT_PATH_SIZE];
    strcpy(buf, "D:\\a\\b.TXT");
    EXPECT_STREQ(".TXT", utGetExtension(buf));
    strcpy(buf, "D:\\a\\b.TXT");
    EXPECT_STREQ("TXT", utGetExtensionNoDot(buf));
    strcpy(buf, "D:\\a.d\\b");
    EXPECT_EQ(nullptr, utGetExtension(buf));
    EXPECT_STREQ("", buf);
    strcpy(buf, "D:\\a\\b");
    EXPECT_EQ(nullptr, utGetExtensionNoDot(buf));
    buf[0] = 0;
    EXPECT_EQ(nullptr, utGetExtensionNoDot(buf));

    strcpy(buf, "D:\\doc");
    EXPECT_EQ(1, utAddDefaultExt(buf, "qm"));
    EXPECT_STREQ("D:\\doc.qm", buf);
    strcpy(buf, "D:\\v1.2\\doc");   // a point in a folder name counts
    EXPECT_EQ(0, utAddDefaultExt(buf, "qm"));
    EXPECT_STREQ("D:\\v1.2\\doc", buf);

    char name[8];
    EXPECT_STREQ("file", utCopyNameNoExt(name, "file.tar.gz", 7));
    EXPECT_STREQ("fi", utCopyNameNoExt(name, "file.tar.gz", 2));
    EXPECT_STREQ("", utCopyNameNoExt(name, ".qm", 7));
}

TEST(PathFolders, SplitStripAndFolderTests)
{
    TempDir dir;
    char folder[UT_PATH_SIZE], name[UT_PATH_SIZE];
    utSplitFolderName("D:\\a\\b.txt", folder, name);
    EXPECT_STREQ("D:\\a\\", folder);
    EXPECT_STREQ("b.txt", name);
    utSplitFolderName("b.txt", folder, name);
    EXPECT_STREQ("", folder);
    EXPECT_STREQ("b.txt", name);

    char drive[UT_PATH_SIZE], ext[UT_PATH_SIZE];
    utSplitPath("C:/x/y.z.w", drive, folder, name, ext);
    EXPECT_STREQ("C:", drive);
    EXPECT_STREQ("/x/", folder);
    EXPECT_STREQ("y.z", name);
    EXPECT_STREQ(".w", ext);
    char made[UT_PATH_SIZE];
    utMakePath(made, "C", "x", "y", "w");
    EXPECT_STREQ("C:x\\y.w", made);

    char buf[UT_PATH_SIZE];
    strcpy(buf, "D:\\a\\b.txt");
    EXPECT_STREQ("b.txt", utStripFolder(buf));
    EXPECT_TRUE(utHasNoFolder("B.txt"));
    EXPECT_FALSE(utHasNoFolder("D:\\b.txt"));
    EXPECT_FALSE(utHasNoFolder("D:b.txt"));

    strcpy(buf, "D:\\a\\b.txt");
    EXPECT_STREQ("D:\\a\\", utGetFolder(buf));
    strcpy(buf, dir.path().c_str());   // an existing folder without its backslash stays
    EXPECT_EQ(dir.path(), utGetFolder(buf));
    EXPECT_TRUE(utIsFolderPath("D:\\a\\"));
    EXPECT_TRUE(utIsFolderPath(dir.path().c_str()));
    EXPECT_FALSE(utIsFolderPath("D:\\a\\b.txt"));
    EXPECT_FALSE(utIsFolderPath((dir.path() + "\\missing").c_str()));

    struct Abs {
        const char *path;
        BOOL absolute;
    } abs[] = {{"D:\\x", TRUE}, {"d:x", TRUE}, {"D:", FALSE},      {"1:\\x", FALSE},
               {"\\\\s", TRUE}, {"\\x", FALSE}, {"x\\y", FALSE}, {"", FALSE}};
    for (const Abs &c : abs)
        EXPECT_EQ(c.absolute, utIsAbsolutePath(c.path)) << c.path;
}

TEST(PathCheckDir, ExistingFoldersPassAndTheCurrentFolderStays)
{
    TempDir dir;
    std::string before = currentFolder();
    EXPECT_TRUE(utCheckDirPath(dir.path().c_str()));
    EXPECT_EQ(before, currentFolder());
    EXPECT_FALSE(utCheckDirPath((dir.path() + "\\no such folder\\x").c_str()));
    EXPECT_FALSE(utCheckDirPath(""));
    EXPECT_EQ(before, currentFolder());
}

TEST(PathTemp, NamesBesideAPathOrInTheTemporaryFolder)
{
    TempDir dir;
    char buf[UT_PATH_SIZE];
    strcpy(buf, dir.file("doc.qm").c_str());
    ASSERT_EQ(1, utMakeTempFileName(buf, TRUE, FALSE));
    std::string name = buf;
    EXPECT_EQ(0u, name.find(dir.path() + "\\~")) << name;
    EXPECT_FALSE(ffExists(buf));   // the empty file is gone

    strcpy(buf, dir.file("doc.qm").c_str());
    ASSERT_EQ(1, utMakeTempFileName(buf, TRUE, TRUE));
    EXPECT_TRUE(isFile(buf));
    EXPECT_NE(name, buf);

    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    strcpy(buf, "D:\\elsewhere\\doc.qm");
    ASSERT_EQ(1, utMakeTempFileName(buf, FALSE, FALSE));
    EXPECT_EQ(0, strncmp(buf, temp, strlen(temp))) << buf;

    // No name can be made in a folder that does not exist: failure, and the
    // buffer keeps the caller's path.
    std::string missing = dir.path() + "\\missing\\doc.qm";
    strcpy(buf, missing.c_str());
    EXPECT_EQ(0, utMakeTempFileName(buf, TRUE, FALSE));
    EXPECT_EQ(missing, buf);
    EXPECT_FALSE(utTempNameBeside(buf, missing.c_str()));
    EXPECT_STREQ("", buf);

    MemHandle h = utHandleFromString(dir.file("x.qm").c_str());
    std::string beside = take(utTempNameHandle(h));
    utFreeHandle(h);
    EXPECT_EQ(0u, beside.find(dir.path() + "\\~")) << beside;
    std::string here = take(utTempNameHandle(0));
    EXPECT_EQ(0u, here.find(currentFolder())) << here;
}

TEST(PathTemp, RenameToTempMovesTheFileAndReportsFailures)
{
    TempDir dir;
    std::string original = dir.file("old.qm");
    ASSERT_TRUE(qmtest::writeFile(original, std::string("content")));
    char buf[UT_PATH_SIZE];
    strcpy(buf, original.c_str());
    ASSERT_TRUE(utRenameToTemp(buf));
    EXPECT_FALSE(ffExists(original.c_str()));
    EXPECT_EQ(0u, std::string(buf).find(dir.path() + "\\~"));
    std::vector<uint8_t> moved = qmtest::readFile(buf);
    EXPECT_EQ("content", std::string(moved.begin(), moved.end()));

    std::string missing = dir.file("missing.qm");
    strcpy(buf, missing.c_str());
    EXPECT_FALSE(utRenameToTemp(buf));
    EXPECT_EQ(missing, buf);
    buf[0] = 0;
    EXPECT_FALSE(utRenameToTemp(buf));
}

}  // namespace
