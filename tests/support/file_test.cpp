// File handles, file error reports, counted reads, packets in files and in
// memory, whole-file and line reads.
#include "tests/support/kit.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>

using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

const char kWarning[] = "Quillmark Draw Warning";
const char kError[] = "Quillmark Draw Error";
const char kMessage[] = "Quillmark Draw Message";

typedef std::vector<uint8_t> Bytes;

void putU32(Bytes &b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((uint8_t)(v >> (8 * i)));
}

// A packet as files hold it: the length word, a u16 type, then filler bytes
// up to the length (a length below 6 holds only part of the type or none).
Bytes packetBytes(uint32_t length, uint16_t type, uint8_t fill = 0x5A)
{
    Bytes b;
    putU32(b, length);
    uint8_t typeBytes[2] = {(uint8_t)type, (uint8_t)(type >> 8)};
    for (uint32_t i = 4; i < length; ++i)
        b.push_back(i < 6 ? typeBytes[i - 4] : (uint8_t)(fill + i));
    return b;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes handleBytes(MemHandle h, uint32_t n)
{
    MemLock<> p(h);
    return p ? Bytes(p.get(), p.get() + n) : Bytes();
}

std::string handleString(MemHandle h)
{
    MemLock<char> p(h);
    return p ? std::string(p.get()) : std::string("<null>");
}

std::string packetErrorText(long start, long left, long length, int type)
{
    char text[160];
    snprintf(text, sizeof(text),
             "Read packet error at position= %ld, lLeft= %ld, packet len read= %ld, "
             "iType read= %d",
             start, left, length, type);
    return text;
}

// Holds a file open with no sharing, as another program would.
class HeldOpen {
public:
    explicit HeldOpen(const std::string &path)
        : h_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldOpen()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// A drive letter the system does not have.
std::string missingDrive()
{
    DWORD drives = GetLogicalDrives();
    for (int i = 25; i >= 3; --i)
        if (!(drives & (1u << i)))
            return std::string(1, (char)('A' + i)) + ":\\nothing\\file.qm";
    return "";
}

class Files : public ::testing::Test {
protected:
    void SetUp() override { live_ = qmtest::liveHandles(); }
    void TearDown() override { EXPECT_EQ(live_, qmtest::liveHandles()) << "memory handle leaked"; }
    TempDir dir_;
    long live_ = 0;
};

// ---- packets read from files ----------------------------------------------------

class FilesPackets : public Files {
protected:
    // Writes the bytes to a file and opens it for reading.
    HANDLE openWith(const Bytes &bytes, const char *name = "p.bin")
    {
        path_ = dir_.file(name);
        EXPECT_TRUE(qmtest::writeFile(path_, bytes));
        HANDLE f = ffOpenRead(path_.c_str(), nullptr, FALSE);
        EXPECT_NE(INVALID_HANDLE_VALUE, f);
        return f;
    }
    void closeAndCheck(HANDLE f)
    {
        EXPECT_TRUE(ffClose(f));
        EXPECT_TRUE(qmtest::fileIsClosed(path_));
    }
    // Reads packets (reporting) until one fails; returns how many were read.
    static int readAllPackets(HANDLE f, int32_t *budget, uint16_t *code)
    {
        int read = 0;
        MemHandle p;
        while ((p = ffReadPacketCode(f, budget, TRUE, code)) != 0) {
            ++read;
            utFreeHandle(p);
        }
        return read;
    }
    std::string path_;
};

TEST_F(FilesPackets, GoodPacketsReadWholeAndUseUpTheBudget)
{
    const uint32_t lengths[] = {4, 5, 6, 10, 517, 8};
    Bytes file;
    for (uint32_t len : lengths)
        file = join({file, packetBytes(len, (uint16_t)(len * 3))});
    HANDLE f = openWith(file);
    int32_t budget = (int32_t)file.size();
    BoxRecorder boxes;
    uint32_t offset = 0;
    for (uint32_t len : lengths) {
        uint16_t code = 1;
        MemHandle p = ffReadPacketCode(f, &budget, TRUE, &code);
        ASSERT_NE(0u, p) << "length " << len;
        EXPECT_EQ(0, code);
        EXPECT_EQ(len, utGetPacketLength(p));
        EXPECT_EQ(Bytes(file.begin() + offset, file.begin() + offset + len), handleBytes(p, len));
        offset += len;
        EXPECT_EQ((int32_t)(file.size() - offset), budget);
        EXPECT_EQ(offset, ffTell(f));
        utFreeHandle(p);
    }
    EXPECT_EQ(0, budget);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(0, ffGetLastError(nullptr, nullptr));
    closeAndCheck(f);
}

TEST_F(FilesPackets, PacketThatFillsTheBudgetExactlyReads)
{
    HANDLE f = openWith(join({packetBytes(10, 1), packetBytes(11, 2)}));
    BoxRecorder boxes;
    int32_t budget = 10;
    MemHandle p = ffReadPacket(f, &budget);
    EXPECT_NE(0u, p);
    EXPECT_EQ(0, budget);
    utFreeHandle(p);

    budget = 10;   // one byte short for the 11-byte packet
    uint16_t code = 0;
    EXPECT_EQ(0u, ffReadPacketCode(f, &budget, TRUE, &code));
    EXPECT_EQ(FF_PACKET_LENGTH_ERROR, code);
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ(packetErrorText(10, 10, 11, 2), boxes.last().text);
    EXPECT_EQ(kError, boxes.last().caption);
    EXPECT_EQ((UINT)MB_ICONHAND, boxes.last().flags);
    closeAndCheck(f);
}

// Wrong lengths after a good first packet (so the start position is not 0).
TEST_F(FilesPackets, WrongLengthsAreLengthErrorsAtThePacketStart)
{
    struct Case {
        uint32_t length;
        int32_t budgetAfterFirst;  // budget when the bad packet starts
        const char *why;
    };
    const Case cases[] = {
        {0, 100, "zero"},
        {1, 100, "one"},
        {3, 100, "three"},
        {25, 20, "past the budget"},
        {0xFFFFFFFFu, 100, "huge, negative when signed"},
        {0x80000003u, 100, "data length of exactly INT32_MIN"},
        {0x7FFFFFFFu, 100, "huge positive"},
        {8, 3, "budget smaller than the length word"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        Bytes bad;
        putU32(bad, c.length);
        bad.push_back(0xFE);   // type -2
        bad.push_back(0xFF);
        for (int i = 0; i < 40; ++i)
            bad.push_back(0);
        HANDLE f = openWith(join({packetBytes(7, 1), bad}));
        int32_t budget = 7 + c.budgetAfterFirst;
        BoxRecorder boxes;
        MemHandle first = ffReadPacket(f, &budget);
        ASSERT_NE(0u, first);
        utFreeHandle(first);
        long live = qmtest::liveHandles();

        uint16_t code = 0;
        EXPECT_EQ(0u, ffReadPacketCode(f, &budget, TRUE, &code));
        EXPECT_EQ(FF_PACKET_LENGTH_ERROR, code);
        EXPECT_EQ(live, qmtest::liveHandles());
        ASSERT_EQ(1u, boxes.count()) << boxes.texts();
        // The budget shown is the one before the packet: the length word and
        // the type read for the message have been counted off it.
        EXPECT_EQ(packetErrorText(7, c.budgetAfterFirst, (long)(int32_t)c.length, -2),
                  boxes.last().text);
        EXPECT_EQ(c.budgetAfterFirst - 6, budget);
        uint32_t pos = 0;
        uint16_t last = 0;
        EXPECT_EQ(FF_PACKET_LENGTH_ERROR, ffGetLastError(&pos, &last));
        EXPECT_EQ(FF_PACKET_LENGTH_ERROR, last);
        EXPECT_EQ(11u, pos);   // after the length word
        closeAndCheck(f);
    }
}

TEST_F(FilesPackets, LengthErrorWithoutReportShowsNothingAndReadsNoType)
{
    Bytes bad;
    putU32(bad, 2);
    bad.push_back(9);
    bad.push_back(0);
    HANDLE f = openWith(bad);
    int32_t budget = 6;
    BoxRecorder boxes;
    EXPECT_EQ(0u, ffReadPacketEx(f, &budget, FALSE));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(2, budget);
    EXPECT_EQ(4u, ffTell(f));
    closeAndCheck(f);
}

TEST_F(FilesPackets, LengthErrorAtTheEndShowsTypeZero)
{
    Bytes bad;
    putU32(bad, 50);   // nothing follows: the type cannot be read
    HANDLE f = openWith(bad);
    int32_t budget = 20;
    BoxRecorder boxes;
    EXPECT_EQ(0u, ffReadPacket(f, &budget));
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ(packetErrorText(0, 22, 50, 0), boxes.last().text);
    closeAndCheck(f);
}

// A file of two packets cut at every offset, read with the budget its
// container claimed for the whole.
TEST_F(FilesPackets, TruncatedAtEveryOffset)
{
    const Bytes whole = join({packetBytes(10, 7), packetBytes(8, 9)});
    for (uint32_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        HANDLE f = openWith(Bytes(whole.begin(), whole.begin() + cut));
        int32_t budget = (int32_t)whole.size();
        BoxRecorder boxes;
        uint16_t code = 0;
        int read = readAllPackets(f, &budget, &code);
        const bool inSecond = cut >= 10;
        const uint32_t packetStart = inSecond ? 10 : 0;
        const bool inData = cut - packetStart >= 4;
        EXPECT_EQ(inSecond ? 1 : 0, read);
        EXPECT_EQ(inData ? FF_PACKET_DATA_ERROR : FF_PACKET_LENGTH_ERROR, code);
        EXPECT_EQ(inData ? "Unexpected end of file | Read error" : "Unexpected end of file",
                  boxes.texts());
        for (const qmtest::BoxRecord &b : boxes.boxes())
            EXPECT_EQ(kError, b.caption);
        // Only what was read whole is counted off the budget.
        EXPECT_EQ((int32_t)(whole.size() - packetStart - (inData ? 4 : 0)), budget);
        uint32_t pos = 0;
        EXPECT_EQ(code, ffGetLastError(&pos, nullptr));
        EXPECT_EQ(cut, pos);
        closeAndCheck(f);
    }
}

// The same cuts read with the budget of the file's real size: a packet that
// runs past the end is then refused by its length.
TEST_F(FilesPackets, TruncatedWithTheRealSizeAsBudget)
{
    const Bytes whole = join({packetBytes(10, 7), packetBytes(8, 9)});
    for (uint32_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        HANDLE f = openWith(Bytes(whole.begin(), whole.begin() + cut));
        int32_t budget = (int32_t)cut;
        BoxRecorder boxes;
        uint16_t code = 0;
        readAllPackets(f, &budget, &code);
        const uint32_t start = cut >= 10 ? 10 : 0;
        const uint32_t length = cut >= 10 ? 8 : 10;
        const int type = cut >= 10 ? 9 : 7;
        EXPECT_EQ(FF_PACKET_LENGTH_ERROR, code);
        if (cut - start < 4) {
            EXPECT_EQ("Unexpected end of file", boxes.texts());
        } else {
            const bool typeRead = cut - start >= 6;
            ASSERT_EQ(1u, boxes.count()) << boxes.texts();
            EXPECT_EQ(packetErrorText(start, (long)(cut - start) + (typeRead ? 0 : 2), length,
                                      typeRead ? type : 0),
                      boxes.last().text);
        }
        closeAndCheck(f);
    }
}

TEST_F(FilesPackets, HugeLengthWithinAGenerousBudgetTakesNoBlock)
{
    Bytes bad;
    putU32(bad, 0x7FFFFF00u);
    bad.push_back(1);
    bad.push_back(0);
    HANDLE f = openWith(bad);
    int32_t budget = 0x7FFFFFFF;
    BoxRecorder boxes;
    uint16_t code = 0;
    EXPECT_EQ(0u, ffReadPacketCode(f, &budget, TRUE, &code));
    EXPECT_EQ(FF_PACKET_DATA_ERROR, code);
    EXPECT_EQ("Unexpected end of file | Read error", boxes.texts());
    EXPECT_EQ(0x7FFFFFFF - 4, budget);
    uint32_t pos = 0;
    ffGetLastError(&pos, nullptr);
    EXPECT_EQ(6u, pos);
    closeAndCheck(f);
}

TEST_F(FilesPackets, NoBlockForThePacketIsAMemoryError)
{
    HANDLE f = openWith(packetBytes(12, 3));
    int32_t budget = 12;
    BoxRecorder boxes;
    utFailNextAllocs(1);
    uint16_t code = 0;
    EXPECT_EQ(0u, ffReadPacketCode(f, &budget, TRUE, &code));
    utFailNextAllocs(0);
    EXPECT_EQ(FF_PACKET_MEMORY_ERROR, code);
    EXPECT_EQ("Memory allocation failed", boxes.texts());
    EXPECT_EQ(8, budget);
    closeAndCheck(f);
}

TEST_F(FilesPackets, FailureIsClearedByTheNextRead)
{
    HANDLE f = openWith(join({packetBytes(6, 1)}));
    int32_t budget = 6;
    {
        BoxRecorder boxes;
        int32_t none = 1;
        EXPECT_EQ(0u, ffReadPacketEx(f, &none, FALSE));
        EXPECT_EQ(FF_PACKET_LENGTH_ERROR, ffGetLastError(nullptr, nullptr));
    }
    ffSeek(f, 0);
    MemHandle p = ffReadPacket(f, &budget);
    EXPECT_NE(0u, p);
    uint32_t pos = 1;
    EXPECT_EQ(0, ffGetLastError(&pos, nullptr));
    EXPECT_EQ(0u, pos);
    utFreeHandle(p);
    closeAndCheck(f);
}

TEST_F(FilesPackets, WrittenPacketsReadBackEqual)
{
    std::string path = dir_.file("w.bin");
    const char text[] = "Quillmark";
    MemHandle a = utMakePacket(text, 9);
    MemHandle b = utMakeStringPacket("page one");
    MemHandle empty = utMakePacket(nullptr, 0);
    HANDLE f = ffCreate(path.c_str(), FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(13u, ffWritePacket(f, a));
    EXPECT_EQ(13u, ffWritePacket(f, b));
    EXPECT_EQ(4u, ffWritePacket(f, empty));
    EXPECT_EQ(0u, ffWritePacket(f, 0));
    ffClose(f);

    f = ffOpenReadReport(path.c_str());
    int32_t budget = (int32_t)ffGetSize(f);
    EXPECT_EQ(30, budget);
    for (MemHandle original : {a, b, empty}) {
        MemHandle back = ffReadPacket(f, &budget);
        EXPECT_EQ(0, utComparePackets(original, back));
        utFreeHandle(back);
    }
    EXPECT_EQ(0, budget);
    ffClose(f);
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    for (MemHandle h : {a, b, empty})
        utFreeHandle(h);
}

TEST_F(FilesPackets, DamagedPacketInMemoryIsNotWritten)
{
    std::string path = dir_.file("w.bin");
    HANDLE f = ffCreate(path.c_str(), FALSE);
    MemHandle p = utMakePacket("abcd", 4);
    utSetPacketLength(p, 100);   // beyond its block
    EXPECT_EQ(0u, ffWritePacket(f, p));
    utSetPacketLength(p, 3);     // shorter than its own length word
    EXPECT_EQ(0u, ffWritePacket(f, p));
    EXPECT_EQ(0u, ffGetSize(f));
    ffClose(f);
    utFreeHandle(p);
}

TEST_F(FilesPackets, CountedReadsCountOnlyWholeReads)
{
    HANDLE f = openWith(Bytes{1, 2, 3, 4, 5});
    int32_t budget = 100;
    uint8_t buf[8] = {};
    BoxRecorder boxes;
    EXPECT_TRUE(ffReadCountedReport(f, &budget, buf, 3));
    EXPECT_EQ(97, budget);
    EXPECT_FALSE(ffReadCounted(f, &budget, buf, 3, FALSE));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(97, budget);
    EXPECT_FALSE(ffReadCountedReport(f, &budget, buf, 1));
    EXPECT_EQ("Unexpected end of file", boxes.texts());
    EXPECT_EQ(97, budget);
    closeAndCheck(f);
}

// ---- opening, creating and their errors -----------------------------------------

TEST_F(Files, ErrorTextsAreShownVerbatim)
{
    struct Case {
        uint16_t code;
        const char *text;
    };
    const Case cases[] = {
        {1, "C:\\a.qm\r\n  does not exist"},
        {2, "Can not open\r\n C:\\a.qm"},
        {3, "Can not save to\r\n  C:\\a.qm"},
        {4, "Reading\r\n  C:\\a.qm\r\n failed"},
        {5, "Unexpected end of file encountered in reading\r\n  C:\\a.qm"},
        {6, "Error writing file\r\n  C:\\a.qm"},
        {21, "File \r\n  C:\\a.qm\r\nis read-only."},
        {22, "Can not open\r\n  C:\\a.qm\r\nbecause it is currently opened by another process."},
        {23, "Access to \r\n  C:\\a.qm\r\nwas denied."},
    };
    for (const Case &c : cases) {
        BoxRecorder boxes;
        EXPECT_EQ(1, ffReportError(nullptr, "C:\\a.qm", c.code));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(c.text, boxes.last().text);
        EXPECT_EQ(kWarning, boxes.last().caption);
        EXPECT_EQ((UINT)MB_ICONEXCLAMATION, boxes.last().flags);
    }
    // A name far longer than a path buffer is shown whole.
    std::string longName(3000, 'n');
    BoxRecorder boxes;
    ffReportError(nullptr, longName.c_str(), 1);
    EXPECT_EQ(longName + "\r\n  does not exist", boxes.last().text);
}

TEST_F(Files, OpenReadFailures)
{
    std::string missing = dir_.file("missing.qm");
    std::string held = dir_.file("held.qm");
    ASSERT_TRUE(qmtest::writeFile(held, "data"));
    {
        BoxRecorder boxes;
        DWORD size = 77;
        EXPECT_EQ(INVALID_HANDLE_VALUE, ffOpenRead(missing.c_str(), &size, TRUE));
        EXPECT_EQ(0u, size);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(missing + "\r\n  does not exist", boxes.last().text);
    }
    {
        HeldOpen other(held);
        ASSERT_TRUE(other.ok());
        BoxRecorder boxes;
        EXPECT_EQ(INVALID_HANDLE_VALUE, ffOpenReadReport(held.c_str()));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Can not open\r\n  " + held +
                      "\r\nbecause it is currently opened by another process.",
                  boxes.last().text);
        // Without the report flag nothing is shown.
        boxes.clear();
        EXPECT_EQ(INVALID_HANDLE_VALUE, ffOpenRead(held.c_str(), nullptr, FALSE));
        EXPECT_EQ(0u, boxes.count());
    }
    DWORD size = 0;
    HANDLE f = ffOpenRead(held.c_str(), &size, TRUE);
    EXPECT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(4u, size);
    ffClose(f);
}

TEST_F(Files, CreateOverReadOnlyFileIsRefused)
{
    std::string path = dir_.file("ro.qm");
    ASSERT_TRUE(qmtest::writeFile(path, "keep me"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    BoxRecorder boxes;
    BOOL cancelled = TRUE;
    EXPECT_EQ(INVALID_HANDLE_VALUE, ffCreateWrite(path.c_str(), TRUE, &cancelled));
    EXPECT_FALSE(cancelled);
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("File \r\n  " + path + "\r\nis read-only.", boxes.last().text);
    EXPECT_EQ(kWarning, boxes.last().caption);
    EXPECT_EQ("keep me", std::string((const char *)qmtest::readFile(path).data(), 7));

    // Opening for reading and writing refuses it the same way.
    boxes.clear();
    EXPECT_EQ(INVALID_HANDLE_VALUE, ffOpenReadWrite(path.c_str()));
    EXPECT_EQ("File \r\n  " + path + "\r\nis read-only.", boxes.texts());
    EXPECT_EQ(1u, ffIsReadOnly(path.c_str()));
    EXPECT_TRUE(ffClearReadOnly(path.c_str()));
    EXPECT_EQ(0u, ffIsReadOnly(path.c_str()));
}

TEST_F(Files, CreateAndOpenOfAFileInUse)
{
    std::string path = dir_.file("held.qm");
    HeldOpen other(path);
    ASSERT_TRUE(other.ok());
    BoxRecorder boxes;
    EXPECT_EQ(INVALID_HANDLE_VALUE, ffCreate(path.c_str(), FALSE));
    EXPECT_EQ("Can not open\r\n  " + path + "\r\nbecause it is currently opened by another process.",
              boxes.texts());
    boxes.clear();
    EXPECT_EQ(INVALID_HANDLE_VALUE, ffOpenReadWrite(path.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Error open file\r\n" + path, boxes.last().text);
    EXPECT_EQ(kError, boxes.last().caption);
}

TEST_F(Files, OverwriteQuestion)
{
    std::string path = dir_.file("doc.qm");
    {
        BoxRecorder boxes;
        EXPECT_EQ(1, ffConfirmOverwrite(nullptr, path.c_str()));   // nothing there
        EXPECT_EQ(0u, boxes.count());
    }
    ASSERT_TRUE(qmtest::writeFile(path, "old"));
    const std::string question = "File: \r\n" + path + "\r\nexists. Please select OK to overwrite.";
    {
        BoxRecorder boxes;
        boxes.answer(IDOK);
        boxes.answer(IDCANCEL);
        EXPECT_EQ(1, ffConfirmOverwrite(nullptr, path.c_str()));
        EXPECT_EQ(0, ffConfirmOverwrite(nullptr, path.c_str()));
        ASSERT_EQ(2u, boxes.count());
        EXPECT_EQ(question, boxes.last().text);
        EXPECT_EQ(kMessage, boxes.last().caption);
        EXPECT_EQ(33u, boxes.last().flags);
    }
    {
        // Declined: the call fails quietly and the file keeps its bytes.
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        BOOL cancelled = FALSE;
        EXPECT_EQ(INVALID_HANDLE_VALUE, ffCreateWrite(path.c_str(), TRUE, &cancelled));
        EXPECT_TRUE(cancelled);
        EXPECT_EQ(question, boxes.texts());
        EXPECT_EQ(3u, qmtest::readFile(path).size());
    }
    {
        BoxRecorder boxes;
        BOOL cancelled = TRUE;
        HANDLE f = ffCreateWrite(path.c_str(), TRUE, &cancelled);
        EXPECT_NE(INVALID_HANDLE_VALUE, f);
        EXPECT_FALSE(cancelled);
        ffClose(f);
        EXPECT_EQ(0u, ffGetFileSizeByName(path.c_str()));
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    BoxRecorder boxes;
    EXPECT_EQ(0, ffConfirmOverwrite(nullptr, path.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("File: \r\n" + path + "\r\nis read-only.  Can not write to it.", boxes.last().text);
    EXPECT_EQ(kMessage, boxes.last().caption);
    EXPECT_EQ(16u, boxes.last().flags);
}

TEST_F(Files, ExistsAndFolders)
{
    std::string file = dir_.file("a.qm");
    ASSERT_TRUE(qmtest::writeFile(file, "x"));
    EXPECT_TRUE(ffExists(file.c_str()));
    EXPECT_TRUE(ffExists(dir_.path().c_str()));
    EXPECT_FALSE(ffExists(""));
    EXPECT_FALSE(ffExists(nullptr));
    EXPECT_FALSE(ffExists(dir_.file("none.qm").c_str()));
    EXPECT_FALSE(ffExists((dir_.path() + "\\nodir\\a.qm").c_str()));
    std::string noDrive = missingDrive();
    ASSERT_FALSE(noDrive.empty());
    EXPECT_FALSE(ffExists(noDrive.c_str()));
    {
        HeldOpen other(file);
        ASSERT_TRUE(other.ok());
        EXPECT_TRUE(ffExists(file.c_str()));
    }

    EXPECT_TRUE(ffIsFolder(dir_.path().c_str()));
    EXPECT_TRUE(ffIsFolder((dir_.path() + "\\").c_str()));
    EXPECT_TRUE(ffIsFolder(dir_.path().substr(0, 3).c_str()));   // the drive's root
    EXPECT_FALSE(ffIsFolder(file.c_str()));
    EXPECT_FALSE(ffIsFolder(dir_.file("none").c_str()));
    EXPECT_FALSE(ffIsFolder((dir_.path() + "\\*").c_str()));
    EXPECT_FALSE(ffIsFolder(""));
    EXPECT_EQ(1u, ffIsReadOnly(dir_.file("none.qm").c_str()));
    EXPECT_FALSE(ffClearReadOnly(dir_.file("none.qm").c_str()));
}

TEST_F(Files, RenameCopyDeleteWithWindowsPaths)
{
    std::string a = dir_.file("first name.qm"), b = dir_.file("second.qm"),
                c = dir_.file("copy.qm");
    ASSERT_TRUE(qmtest::writeFile(a, "alpha"));
    EXPECT_TRUE(ffRename(a.c_str(), b.c_str()));
    EXPECT_FALSE(ffExists(a.c_str()));
    EXPECT_EQ(5u, ffGetFileSizeByName(b.c_str()));

    ASSERT_TRUE(qmtest::writeFile(c, "old copy, longer"));
    EXPECT_TRUE(ffCopyFile(c.c_str(), b.c_str()));   // destination first
    EXPECT_EQ(qmtest::readFile(b), qmtest::readFile(c));
    EXPECT_FALSE(ffRename(b.c_str(), c.c_str()));     // the name is taken
    EXPECT_EQ(5u, ffGetFileSizeByName(b.c_str()));
    EXPECT_TRUE(ffDelete(b.c_str()));
    EXPECT_FALSE(ffExists(b.c_str()));
    EXPECT_FALSE(ffRename(b.c_str(), a.c_str()));
    BoxRecorder boxes;   // size by name of a missing file: 0, no box
    EXPECT_EQ(0u, ffGetFileSizeByName(b.c_str()));
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Files, SeekTellAndSize)
{
    std::string path = dir_.file("s.bin");
    ASSERT_TRUE(qmtest::writeFile(path, "0123456789"));
    HANDLE f = ffOpenReadWrite(path.c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(10u, ffGetSize(f));
    EXPECT_TRUE(ffSeek(f, 4));
    EXPECT_EQ(4u, ffTell(f));
    char buf[4] = {};
    EXPECT_EQ(3u, ffRead(f, buf, 3));
    EXPECT_STREQ("456", buf);
    EXPECT_TRUE(ffSeekEnd(f));
    EXPECT_EQ(10u, ffTell(f));
    EXPECT_EQ(0u, ffRead(f, buf, 3));
    EXPECT_EQ(2u, ffWrite(f, "ab", 2));
    EXPECT_EQ(12u, ffGetSize(f));
    EXPECT_TRUE(ffClose(f));
    EXPECT_FALSE(ffClose(INVALID_HANDLE_VALUE));
    EXPECT_TRUE(qmtest::fileIsClosed(path));
}

// ---- messages ----------------------------------------------------------------------

TEST_F(Files, FileMessageJoinsThePartsWithLineBreaks)
{
    struct Case {
        const char *a, *b, *c;
        const char *shown;
    };
    const Case cases[] = {
        {"File:", "x", "", "\r\nFile:\r\nx"},
        {"Save to", "C:\\d.qm", "failed", "\r\nSave to\r\nC:\\d.qm\r\nfailed"},
        {"", "", "only", "\r\nonly"},
        {nullptr, "x", nullptr, "\r\nx"},
    };
    for (const Case &c : cases) {
        BoxRecorder boxes;
        ffShowFileMessage(nullptr, 7, c.a, c.b, c.c);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(c.shown, boxes.last().text);
        EXPECT_EQ(kWarning, boxes.last().caption);
    }
    std::string half(260, 'p');
    BoxRecorder boxes;
    ffShowFileMessage(nullptr, 0, half.c_str(), half.c_str(), "");   // 520: shown
    EXPECT_EQ(1u, boxes.count());
    ffShowFileMessage(nullptr, 0, half.c_str(), half.c_str(), "!");  // 521: not shown
    EXPECT_EQ(1u, boxes.count());
}

// ---- whole files, lines, copies and appends -----------------------------------

TEST_F(Files, WholeFileReads)
{
    std::string path = dir_.file("t.txt"), empty = dir_.file("e.txt"),
                missing = dir_.file("m.txt");
    ASSERT_TRUE(qmtest::writeFile(path, "line one\r\nline two"));
    ASSERT_TRUE(qmtest::writeFile(empty, ""));
    BoxRecorder boxes;

    MemHandle p = ffReadFilePacket(path.c_str());
    ASSERT_NE(0u, p);
    EXPECT_EQ(22u, utGetPacketLength(p));
    Bytes b = handleBytes(p, 22);
    EXPECT_EQ("line one\r\nline two", std::string(b.begin() + 4, b.end()));
    utFreeHandle(p);

    MemHandle t = ffReadFileText(path.c_str(), TRUE);
    EXPECT_EQ("line one\r\nline two", handleString(t));
    EXPECT_GE(utHandleSize(t), 19u);
    utFreeHandle(t);

    EXPECT_EQ(0u, ffReadFilePacket(empty.c_str()));
    EXPECT_EQ(0u, ffReadFileText(empty.c_str(), TRUE));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(0u, ffReadFileText(missing.c_str(), FALSE));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(0u, ffReadFilePacket(missing.c_str()));
    EXPECT_EQ(missing + "\r\n  does not exist", boxes.texts());
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    EXPECT_TRUE(qmtest::fileIsClosed(empty));
}

TEST_F(Files, LinesKeepTheirCrAndEndAtTheRealEnd)
{
    struct Case {
        const char *why;
        std::string content;
        std::vector<std::string> lines;   // the last one comes with the end flag
        bool lastFlagged;                 // the last line has no LF after it
    };
    const std::string longLine(1300, 'w');
    const Case cases[] = {
        {"two letters, CR LF, two letters", "ab\r\ncd", {"ab\r", "cd"}, true},
        {"empty lines do not end the file", "a\n\n\nb\n", {"a", "", "", "b"}, false},
        {"empty first line", "\nz", {"", "z"}, true},
        {"line across read pieces", longLine + "\n" + longLine, {longLine, longLine}, true},
        {"empty file", "", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        std::string path = dir_.file("lines.txt");
        ASSERT_TRUE(qmtest::writeFile(path, c.content));
        HANDLE f = ffOpenReadReport(path.c_str());
        MemHandle line = 0;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            BOOL atEnd = TRUE;
            line = ffReadLineHandle(f, line, &atEnd);
            ASSERT_NE(0u, line) << "line " << i;
            EXPECT_EQ(c.lines[i], handleString(line));
            EXPECT_EQ(c.lastFlagged && i + 1 == c.lines.size(), atEnd != FALSE) << "line " << i;
        }
        BOOL atEnd = FALSE;
        EXPECT_EQ(0u, ffReadLineHandle(f, line, &atEnd));   // frees the handle
        EXPECT_TRUE(atEnd);
        ffClose(f);
    }
}

TEST_F(Files, CopyBytesInPieces)
{
    Bytes data;
    for (int i = 0; i < 1300; ++i)
        data.push_back((uint8_t)(i * 7));
    std::string src = dir_.file("src.bin"), dst = dir_.file("dst.bin");
    ASSERT_TRUE(qmtest::writeFile(src, data));
    HANDLE in = ffOpenReadReport(src.c_str());
    HANDLE out = ffCreate(dst.c_str(), FALSE);
    ffSeek(in, 100);
    EXPECT_EQ(1000u, ffCopyBytes(out, in, 1000));
    EXPECT_EQ(200u, ffCopyBytes(out, in, 5000));   // the source runs out
    ffClose(in);
    ffClose(out);
    EXPECT_EQ(Bytes(data.begin() + 100, data.end()), qmtest::readFile(dst));
}

TEST_F(Files, AppendCreatesThenAppends)
{
    std::string path = dir_.file("log.txt");
    BoxRecorder boxes;   // no question for a new file
    EXPECT_FALSE(ffAppendStringToFile(path.c_str(), ""));
    EXPECT_FALSE(ffExists(path.c_str()));
    EXPECT_TRUE(ffAppendStringToFile(path.c_str(), "one\r\n"));
    EXPECT_TRUE(ffAppendToFile(path.c_str(), "two", 3));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    MemHandle text = ffReadFileText(path.c_str(), TRUE);
    EXPECT_EQ("one\r\ntwo", handleString(text));
    utFreeHandle(text);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ffAppendStringToFile(path.c_str(), "three"));
    EXPECT_EQ("File \r\n  " + path + "\r\nis read-only.", boxes.texts());
    EXPECT_EQ(8u, ffGetFileSizeByName(path.c_str()));
}

TEST_F(Files, DiskFree)
{
    ULARGE_INTEGER avail;
    std::string root = dir_.path().substr(0, 3);
    ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &avail, nullptr, nullptr));
    uint32_t expected = avail.HighPart ? 0xFFFFFFFFu : avail.LowPart;
    uint32_t got = ffGetDiskFree(dir_.file("doc.qm").c_str());
    if (expected != 0xFFFFFFFFu)   // free space moves while tests run
        EXPECT_NEAR((double)expected, (double)got, 64.0 * 1024 * 1024);
    else
        EXPECT_EQ(expected, got);
    EXPECT_EQ(0xFFFFFFFFu, ffGetDiskFree(missingDrive().c_str()));
}

// The free space is asked of the folder that will hold the file, not of
// its drive's root: a folder mounted from a small file system reports its
// own few bytes.
TEST_F(Files, DiskFreeAsksTheTargetFolder)
{
    std::string folder = dir_.path();
    if (folder.back() != '\\')
        folder += '\\';
    CreateDirectoryA((folder + "sub").c_str(), nullptr);
    const std::string drive = folder.substr(0, 3);
    struct Case {
        std::string path, folder;
    } cases[] = {
        {folder + "doc.qm", folder},
        {folder + "sub", folder + "sub\\"},
        {folder + "sub\\", folder + "sub\\"},
        {folder + "sub/doc.qm", folder + "sub\\"},
        {folder + "missing\\deeper\\doc.qm", folder},   // the nearest folder that exists
        {drive + "doc.qm", drive},
        {drive.substr(0, 2), drive},
        {drive.substr(0, 2) + "doc.qm", drive},
        {"\\\\server\\share\\a\\doc.qm", "\\\\server\\share\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"doc.qm", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        char got[MAX_PATH];
        ffDiskFreeFolder(c.path.c_str(), got, sizeof got);
        EXPECT_STRCASEEQ(c.folder.c_str(), got) << c.path;
    }
    // What the system says of the folder itself is the answer.
    ULARGE_INTEGER avail;
    ASSERT_TRUE(GetDiskFreeSpaceExA(folder.c_str(), &avail, nullptr, nullptr));
    uint32_t expected = avail.HighPart ? 0xFFFFFFFFu : avail.LowPart;
    uint32_t got = ffGetDiskFree((folder + "sub\\doc.qm").c_str());
    if (expected != 0xFFFFFFFFu)
        EXPECT_NEAR((double)expected, (double)got, 64.0 * 1024 * 1024);
    else
        EXPECT_EQ(expected, got);
}

// A real smallFs file system, where the machine has one: QM_SMALL_FS names a
// folder on a file system of at most 1 MB (for example a tmpfs mounted with
// size=64k); its drive root is the large one.
TEST_F(Files, DiskFreeOfASmallFileSystem)
{
    char smallFs[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QM_SMALL_FS", smallFs, sizeof smallFs) || !smallFs[0])
        GTEST_SKIP() << "no smallFs file system named in QM_SMALL_FS";
    std::string path = std::string(smallFs) + "\\doc.qm";
    if (smallFs[0] == '/') {
        char dos[MAX_PATH];
        // A Unix folder: its name under the drive that maps the root.
        snprintf(dos, sizeof dos, "Z:%s\\doc.qm", smallFs);
        path = dos;
    }
    uint32_t free = ffGetDiskFree(path.c_str());
    EXPECT_LE(free, 1024u * 1024u) << path;
}

// ---- packets in memory -------------------------------------------------------------

TEST_F(Files, PacketsInMemory)
{
    EXPECT_EQ(0u, utGetPacketLength(0));
    EXPECT_EQ(0u, utMakeStringPacket(""));
    EXPECT_EQ(0u, utMakeStringPacket(nullptr));
    EXPECT_EQ(0u, utDupPacket(0));

    MemHandle s = utMakeStringPacket("abc");
    EXPECT_EQ(8u, utGetPacketLength(s));
    EXPECT_EQ((Bytes{8, 0, 0, 0, 'a', 'b', 'c', 0}), handleBytes(s, 8));

    // A plain 6-byte handle (capacity 8) becomes a 12-byte packet.
    MemHandle plain = utHandleFromBytes("xyzuvw", 6);
    MemHandle p = utHandleToPacket(plain);
    ASSERT_NE(0u, p);
    EXPECT_EQ(12u, utGetPacketLength(p));
    EXPECT_EQ((Bytes{12, 0, 0, 0, 'x', 'y', 'z', 'u', 'v', 'w', 0, 0}), handleBytes(p, 12));
    EXPECT_EQ(0u, utHandleToPacket(0));

    MemHandle d = utDupPacket(p);
    EXPECT_EQ(0, utComparePackets(p, d));
    EXPECT_NE(p, d);

    // Assign into an existing (smaller) handle, then with an empty source.
    MemHandle target = utAllocHandle(0, 4);
    target = utAssignPacket(target, p);
    ASSERT_NE(0u, target);
    EXPECT_EQ(0, utComparePackets(p, target));
    MemHandle zero = utAllocHandle(0, 8);   // stored length 0
    EXPECT_EQ(0u, utAssignPacket(target, zero));
    EXPECT_FALSE(utIsLiveHandle(target));
    EXPECT_EQ(0u, utDupPacket(zero));

    // A length beyond the block is refused instead of copied.
    MemHandle damaged = utMakePacket("ab", 2);
    utSetPacketLength(damaged, 400);
    EXPECT_EQ(0u, utDupPacket(damaged));
    MemHandle keep = utMakePacket("k", 1);
    EXPECT_EQ(0u, utAssignPacket(keep, damaged));
    EXPECT_TRUE(utIsLiveHandle(keep));

    for (MemHandle h : {s, p, d, zero, damaged, keep})
        utFreeHandle(h);
}

TEST_F(Files, ComparePackets)
{
    MemHandle a = utMakePacket("same", 4);
    MemHandle b = utMakePacket("same", 4);
    MemHandle longer = utMakePacket("same!", 5);
    MemHandle other = utMakePacket("samf", 4);
    MemHandle damaged = utMakePacket("same", 4);
    utSetPacketLength(damaged, 64);
    struct Case {
        MemHandle x, y;
        int expected;
        const char *why;
    };
    const Case cases[] = {
        {0, 0, 1, "both missing"},
        {a, 0, 1, "one missing"},
        {a, a, 0, "the same handle"},
        {a, b, 0, "equal bytes"},
        {a, longer, 1, "lengths differ"},
        {a, other, 'e' - 'f', "first unequal byte"},
        {damaged, damaged, 0, "the same handle, even damaged"},
        {a, damaged, 1, "length beyond its block"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, utComparePackets(c.x, c.y)) << c.why;
    for (MemHandle h : {a, b, longer, other, damaged})
        utFreeHandle(h);
}

}  // namespace

// ---- reading ahead -------------------------------------------------------------

// Every way of reading a span read ahead gives the bytes, positions and
// short reads the plain file gives: pieces across the window's end, pieces
// larger than a window, seeks, the end of the file, and the position left
// behind when the span ends.
TEST_F(Files, ReadAheadGivesWhatTheFileGives)
{
    const uint32_t size = kFfReadAheadWindow + kFfReadAheadWindow / 2 + 123;
    Bytes bytes(size);
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = (uint8_t)(i * 7 + (i >> 9));
    std::string path = dir_.file("ahead.bin");
    ASSERT_TRUE(qmtest::writeFile(path, bytes));
    struct Case {
        uint32_t offset, span;
        std::vector<uint32_t> pieces;   // read one after the other
    } cases[] = {
        {0, 100, {4, 2, 30, 64, 10}},                           // past the span's end
        {17, size - 17, {4, 1000, 3, kFfReadAheadWindow, 77}},   // a window refilled
        {5, 4000, {kFfReadAheadWindow + 10, 9}},                 // larger than a window
        {size - 50, 2000, {20, 20, 20, 5}},                      // past the file's end
        {size + 10, 100, {4}},                                   // beyond the file
    };
    for (const Case &c : cases) {
        HANDLE plain = ffOpenRead(path.c_str(), nullptr, FALSE);
        HANDLE ahead = ffOpenRead(path.c_str(), nullptr, FALSE);
        ASSERT_NE(INVALID_HANDLE_VALUE, plain);
        ASSERT_NE(INVALID_HANDLE_VALUE, ahead);
        ffSeek(plain, c.offset);
        {
            FfReadAhead guard(ahead, c.offset, c.span);
            EXPECT_TRUE(guard);
            for (uint32_t n : c.pieces) {
                std::vector<uint8_t> a(n), b(n);
                DWORD gotPlain = ffRead(plain, a.data(), n);
                DWORD gotAhead = ffRead(ahead, b.data(), n);
                ASSERT_EQ(gotPlain, gotAhead) << "offset " << c.offset << ", piece " << n;
                EXPECT_TRUE(std::equal(a.begin(), a.begin() + gotPlain, b.begin()));
                EXPECT_EQ(ffTell(plain), ffTell(ahead));
            }
            // A counted read and a packet read past the end fail alike.
            int32_t budgetPlain = 1 << 30, budgetAhead = 1 << 30;
            uint8_t four[4];
            EXPECT_EQ(ffReadCounted(plain, &budgetPlain, four, 4, FALSE),
                      ffReadCounted(ahead, &budgetAhead, four, 4, FALSE));
            EXPECT_EQ(budgetPlain, budgetAhead);
            // Back to the start and read again.
            ffSeek(plain, c.offset);
            ffSeek(ahead, c.offset);
            uint8_t x[16], y[16];
            EXPECT_EQ(ffRead(plain, x, 16), ffRead(ahead, y, 16));
            EXPECT_EQ(ffTell(plain), ffTell(ahead));
        }
        // The file's own position is where the reads left it.
        LARGE_INTEGER zero, at;
        zero.QuadPart = 0;
        ASSERT_TRUE(SetFilePointerEx(ahead, zero, &at, FILE_CURRENT));
        EXPECT_EQ((LONGLONG)ffTell(plain), at.QuadPart);
        ffClose(plain);
        ffClose(ahead);
    }
}

// A span is read in whole windows: a page of small packets takes a few
// reads, not one per packet.
TEST_F(FilesPackets, PacketsOfASpanReadAheadTakeFewReads)
{
    Bytes bytes;
    for (int i = 0; i < 5000; ++i) {
        Bytes p = packetBytes(10 + i % 40, (uint16_t)i);
        bytes.insert(bytes.end(), p.begin(), p.end());
    }
    HANDLE f = openWith(bytes);
    int32_t budget = (int32_t)bytes.size();
    uint32_t before = ffSystemReadCount();
    int read = 0;
    {
        FfReadAhead ahead(f, 0, (DWORD)bytes.size());
        for (int i = 0; i < 5000; ++i) {
            MemHandle p = ffReadPacketEx(f, &budget, FALSE);
            if (!p || utGetPacketLength(p) != 10u + i % 40)
                break;
            ++read;
            utFreeHandle(p);
        }
    }
    EXPECT_EQ(5000, read);
    EXPECT_EQ(0, budget);
    EXPECT_LE(ffSystemReadCount() - before, 4u);
    closeAndCheck(f);
}
