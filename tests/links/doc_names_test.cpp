// Linked file names resolved against the document's folder, and their
// relative expressions.
#include "tests/links/links_kit.h"
#include "tests/model/pg_kit.h"
#include "links/doc_names.h"
#include "links/imgf_kind.h"
#include "links/imgf_object.h"
#include "support/ut_path.h"

namespace {

struct Case {
    const char *name;
    const char *want;   // null: no handle
};

std::string resolved(HWND ws, const char *name) { return pgtest::textOf(docResolveFileName(ws, name)); }

TEST(DocNames, ResolvesAgainstTheDocumentsFolder)
{
    MemHandle form = fmNew();
    ASSERT_TRUE(fmSetFilePath(form, "D:\\forms\\x.qm"));
    pgtest::Workspace ws(form);
    const Case cases[] = {
        {"C:\\x\\y.png", "C:\\x\\y.png"},
        {"\\\\server\\share\\a.png", "\\\\server\\share\\a.png"},
        {"pic.png", "D:\\forms\\pic.png"},
        {"sub\\pic.png", "D:\\forms\\sub\\pic.png"},
        {"\\pics\\a.png", "D:\\pics\\a.png"},
        {"..\\a.png", "D:\\a.png"},
        {"pic.png  ", "D:\\forms\\pic.png"},
        {"", nullptr},
        {"   ", nullptr},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.want ? c.want : "<null>", resolved(ws, c.name)) << c.name;
    EXPECT_EQ(0u, docResolveFileName(ws, nullptr));
    char buffer[UT_PATH_SIZE];
    EXPECT_EQ(1, docResolveFileNameBuf(ws, "pic.png", buffer, sizeof buffer));
    EXPECT_STREQ("D:\\forms\\pic.png", buffer);
    char tiny[8];
    EXPECT_EQ(0, docResolveFileNameBuf(ws, "pic.png", tiny, sizeof tiny));
    EXPECT_STREQ("", tiny);
    fmFree(form);
}

TEST(DocNames, UnsavedDocumentLeavesTheNameAsItIs)
{
    MemHandle form = fmNew();
    pgtest::Workspace ws(form);
    EXPECT_EQ("pic.png", resolved(ws, "pic.png"));
    char name[UT_PATH_SIZE] = "D:\\forms\\pic.png";
    EXPECT_EQ(0, docMakeRelativeName(ws, name));
    EXPECT_STREQ("D:\\forms\\pic.png", name);
    fmFree(form);
}

TEST(DocNames, RelativeExpressions)
{
    MemHandle form = fmNew();
    ASSERT_TRUE(fmSetFilePath(form, "D:\\forms\\x.qm"));
    pgtest::Workspace ws(form);
    const Case cases[] = {
        {"D:\\forms\\pic.png", "pic.png"},
        {"D:\\forms\\sub\\pic.png", "sub\\pic.png"},
        {"D:\\a.png", "..\\a.png"},
        {"E:\\a.png", "E:\\a.png"},
    };
    for (const Case &c : cases) {
        char name[UT_PATH_SIZE];
        strcpy(name, c.name);
        EXPECT_EQ(1, docMakeRelativeName(ws, name)) << c.name;
        EXPECT_STREQ(c.want, name) << c.name;
    }
    fmFree(form);
}

TEST(LinkKinds, ByExtension)
{
    const struct {
        const char *name;
        int kind;
    } kinds[] = {{"a.png", 36}, {"A.JPG", 35}, {"a.jpeg", 0}, {"noext", 0}, {"a.dwg", 40},
                 {"a.dxf", 41}, {"a.tif", 37}, {"a.b.bmp", 32}};
    for (const auto &k : kinds) {
        MemHandle h = imgfSetFileName(0, k.name);
        ASSERT_NE(0u, h);
        EXPECT_EQ(k.kind, imgfGetFileKind(ObLock(h).get())) << k.name;
        EXPECT_EQ(k.kind == 40, lnkIsDwgLink(h) != 0) << k.name;
        obFreeTree(h);
    }
    EXPECT_EQ(1, lnkIsDwgFile("a.DWG"));
    EXPECT_EQ(0, lnkIsDwgFile("a.dwgx"));
    EXPECT_EQ(0, lnkIsDwgFile("dwg"));
    const struct {
        const char *name;
        const char *ext;
    } exts[] = {{"a.tiff", "tiff"}, {"a.jpeg2", ""}, {"a.png", "png"}, {"a", ""}, {"a.", ""}};
    for (const auto &e : exts) {
        MemHandle h = imgfSetFileName(0, e.name);
        char ext[8];
        EXPECT_EQ((int)strlen(e.ext), lnkGetLinkExt(h, ext)) << e.name;
        EXPECT_STREQ(e.ext, ext) << e.name;
        obFreeTree(h);
    }
}

}  // namespace
