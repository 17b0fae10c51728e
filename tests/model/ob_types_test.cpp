// A kind of object the model has never heard of, entered by its module
// through the type table: it is drawn by its own procedure, written in its
// own file form and read back; forgotten again, it is an unknown type
// (not written, left out on reading with the reader's message).
#include "tests/model/qmf_kit.h"
#include "model/ob_draw.h"
#include "model/ob_types.h"

using namespace qmftest;
using qmtest::BoxRecorder;

namespace {

const int16_t kModuleType = 3002;
int drawCalls;

void drawModuleType(HDC, ObjectRecord *) { ++drawCalls; }

// The file form: the type data reversed, then a check byte.
BOOL moduleToFile(const ObjectRecord *, const uint8_t *d, uint32_t n, std::vector<uint8_t> &out)
{
    out.insert(out.end(), std::reverse_iterator<const uint8_t *>(d + n),
               std::reverse_iterator<const uint8_t *>(d));
    out.push_back(0x5A);
    return TRUE;
}

BOOL moduleFromFile(ObjectRecord *, const uint8_t *d, uint32_t n, std::vector<uint8_t> &out)
{
    if (n < 1 || d[n - 1] != 0x5A)
        return FALSE;
    out.assign(std::reverse_iterator<const uint8_t *>(d + n - 1),
               std::reverse_iterator<const uint8_t *>(d));
    return TRUE;
}

}  // namespace

TEST(ObTypes, AModuleTypeIsDrawnSavedAndReadBackThenForgotten)
{
    BoxRecorder boxes;
    obtest::LiveCount live;
    {
        ASSERT_FALSE(obIsRegisteredType(kModuleType));
        ObTypeProcs procs = {};
        procs.draw = drawModuleType;
        procs.files[0] = {0, 0, QMF_CONV_DATA, moduleToFile, moduleFromFile};
        obRegisterType(kModuleType, &procs);
        ASSERT_TRUE(obIsRegisteredType(kModuleType));

        MemHandle object = obtest::make(kModuleType, 0, 0, 200, 100, 16);
        qmtest::Dib dib(64, 64);
        drawCalls = 0;
        obDraw(dib.dc(), object);
        EXPECT_EQ(1, drawCalls);

        MemHandle packet = qmfMakeFileRecord(object);
        ASSERT_NE(0u, packet);
        {
            MemLock<uint8_t> p(packet);
            uint32_t n = utGetPacketLength(packet);
            EXPECT_EQ(kModuleType, (int16_t)utGetAt<uint16_t>(p.get(), 4));
            EXPECT_EQ(0x5A, p[n - 1]);   // written by the module's own form
            EXPECT_EQ(1, p[n - 2]);      // the first data byte, now the last
        }
        uint16_t flags[7];
        MemHandle back = 0;
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(unlinkedBytes(object), unlinkedBytes(back));
        utFreeHandle(back);
        EXPECT_EQ("", boxes.texts());

        // Forgotten: nothing writes or reads it any more, and the model
        // answers it as the empty record.
        obRegisterType(kModuleType, nullptr);
        qmfResetConverters();
        EXPECT_FALSE(obIsRegisteredType(kModuleType));
        EXPECT_EQ(nullptr, obTypeProcs(kModuleType).draw);
        EXPECT_EQ(0u, qmfMakeFileRecord(object));
        EXPECT_EQ("Unsupported object type", boxes.texts());
        boxes.clear();
        back = 0;
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(0u, back);
        EXPECT_EQ("Reading object failed", boxes.texts());
        drawCalls = 0;
        obDraw(dib.dc(), object);
        EXPECT_EQ(0, drawCalls);

        utFreeHandle(packet);
        utFreeHandle(object);
    }
    EXPECT_EQ(0, live.leaked());
}
