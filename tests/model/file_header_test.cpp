// The container file header: writing and the checks with their messages.
#include "tests/support/kit.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include <string.h>

using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes headerBytes(const std::string &path, bool ex)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    EXPECT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(40u, ex ? qmfWriteHeaderEx(f, "PALETTE", "1.0") : qmfWriteHeader(f, "FORM"));
    ffClose(f);
    return qmtest::readFile(path);
}

TEST(FileHeader, WrittenFieldsAndTime)
{
    TempDir dir;
    Bytes b = headerBytes(dir.file("a.qm"), false);
    ASSERT_EQ(40u, b.size());
    FileHeader h;
    memcpy(&h, b.data(), 40);
    EXPECT_STREQ("Vellum", h.logo);
    EXPECT_STREQ("3.0", h.version);
    EXPECT_STREQ("FORM", h.kind);
    EXPECT_EQ(250u, h.formatVersion);
    EXPECT_EQ(0u, h.zero);
    uint32_t now = (uint32_t)time(nullptr);
    EXPECT_LE(now - h.time, 5u);
    EXPECT_EQ(0, b[6]);   // zero-padded
    EXPECT_EQ(0, b[7]);

    b = headerBytes(dir.file("b.pal"), true);
    memcpy(&h, b.data(), 40);
    EXPECT_STREQ("1.0", h.version);
    EXPECT_STREQ("PALETTE", h.kind);
    EXPECT_EQ(0u, h.formatVersion);
}

TEST(FileHeader, ChecksInOrderWithTheirMessages)
{
    TempDir dir;
    std::string path = dir.file("h.qm");
    Bytes good = headerBytes(path, false);
    struct Case {
        const char *what;
        size_t at;
        const char *bytes;   // null: the file is cut to 39 bytes
        const char *kind, *version;
        int result;
        const char *message;   // null: none
    } cases[] = {
        {"good", 0, "Vellum", "FORM", "3.0", 1, nullptr},
        {"case", 16, "form", "FORM", "3.0", 1, nullptr},
        {"Verda", 0, "Verda", "FORM", "", 1, nullptr},
        {"Tavix", 0, "Tavix", "FORM", "", 1, nullptr},
        {"no kind asked", 16, "OTHER", "", "", 1, nullptr},
        {"logo", 0, "Quill", "FORM", "", 3, "Not a Quillmark file"},
        {"kind", 16, "OLB", "FORM", "", 3, "Incorrect file type"},
        {"version", 8, "2.0", "FORM", "3.0", 4, "Wrong version"},
        {"short", 0, nullptr, "FORM", "", 2, "Reading file header failed"},
        // Fields that fill their bytes without a terminator compare as
        // their bytes, never as what follows them.
        {"unterminated", 0, "Vellum!!", "FORM", "", 3, "Not a Quillmark file"},
    };
    for (const Case &c : cases) {
        Bytes b = good;
        if (c.bytes)
            memcpy(&b[c.at], c.bytes, strlen(c.bytes) < 8 ? strlen(c.bytes) + 1 : strlen(c.bytes));
        else
            b.resize(39);
        ASSERT_TRUE(qmtest::writeFile(path, b));
        HANDLE f = ffOpenRead(path.c_str(), nullptr, TRUE);
        int32_t left = (int32_t)b.size();
        FileHeader h;
        BoxRecorder boxes;
        EXPECT_EQ(c.result, qmfCheckHeaderReport(f, &left, &h, c.kind, c.version)) << c.what;
        if (c.message) {
            ASSERT_EQ(1u, boxes.count()) << c.what;
            EXPECT_EQ("Quillmark Draw Error", boxes.last().caption);
            EXPECT_EQ(c.message, boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << c.what;
            EXPECT_EQ(0, left);
        }
        EXPECT_EQ(c.result, qmfCheckHeader(f, &left, nullptr, c.kind, c.version, FALSE));
        EXPECT_EQ(1u, boxes.count() > 0 ? boxes.count() : 1u);   // silent without report
        ffClose(f);
    }
}

}  // namespace
