// File forms of push buttons, check boxes, radio buttons and group boxes:
// each saved in a document and read back whole, their file record sizes,
// and damaged records refused.
#include "tests/forms/fld_kit.h"
#include "tests/model/qmf_kit.h"
#include "forms/ctl_label.h"
#include "forms/fld_convert.h"
#include "forms/hc_button.h"
#include "model/qmf_save.h"
#include "forms/fld_types.h"

using namespace fldtest;
using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;

// A check box family record with every field of its part set, a label and
// an attribute.
MemHandle fullControl(int16_t type, const char *label = "Send the report")
{
    MemHandle h = control(type, pxRect(10, 20, 200, 60), -300, CKB_CHECKED | CKB_3D);
    h = ctlSetLabelText(h, label);
    const char command[] = "open report.qm";
    h = ckbSetAttr(h, kCkbCommandTag, command, sizeof command);
    ObLock r(h);
    ControlPart *part = ckbPart(r.get());
    part->font.lfItalic = 1;
    part->font.lfWeight = 700;
    part->labelWidth = 1234;
    part->markStyle = CKB_MARK_TICK;
    r->penWidth = 20;
    return h;
}

MemHandle fullButton()
{
    MemHandle h = button(pxRect(5, 5, 120, 40), BTN_FACE_ROUND);
    const char label[] = "Next\nPage";
    h = hcSetButtonAttr(h, BTN_TAG_LABEL, label, sizeof label);
    const char argument[] = "page 3";
    h = hcSetButtonAttr(h, BTN_TAG_ARGUMENT, argument, sizeof argument);
    ObLock r(h);
    ButtonPart *part = btnPart(r.get());
    part->command = 512;
    part->reserved6 = 0x1357;
    part->align = 0x109;
    part->options = 0x2468;
    part->frameValue = 0x00C000A0;
    part->font.lfUnderline = 1;
    return h;
}

class FieldFiles : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        fldRegisterTypes();
    }
};

TEST_F(FieldFiles, EachControlComesBackFromASavedDocument)
{
    struct Case {
        const char *what;
        MemHandle (*make)();
        int lengthChange;   // file record length minus memory length
    } cases[] = {
        {"push button", [] { return fullButton(); }, 0},
        {"check box", [] { return fullControl(OBT_CHECKBOX); }, -24},
        {"radio button", [] { return fullControl(OBT_RADIO); }, -24},
        {"group box", [] { return fullControl(OBT_GROUP_BOX); }, -24},
    };
    TempDir dir;
    for (const Case &c : cases) {
        MemHandle object = c.make();
        Bytes want = qmftest::unlinkedBytes(object);
        MemHandle packet = qmfMakeFileRecord(object);
        ASSERT_TRUE(packet) << c.what;
        EXPECT_EQ((int)want.size() + c.lengthChange, (int)utGetPacketLength(packet)) << c.what;
        utFreeHandle(packet);

        MemHandle form = fmNew();
        MemHandle page = pgtest::newPage("Form");
        pgAppendObject(page, object);
        pgDirAppend(form, page);
        std::string path = dir.file(std::string(c.what) + ".qm");
        ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE)) << c.what;
        fmFree(form);

        MemHandle read = 0;
        form = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
        ASSERT_TRUE(form) << c.what;
        std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(read));
        ASSERT_EQ(1u, objects.size()) << c.what;
        EXPECT_EQ(want, qmftest::unlinkedBytes(objects[0])) << c.what;
        fmFree(form);
    }
}

TEST_F(FieldFiles, WithAPasswordTheScrambledControlsComeBackToo)
{
    TempDir dir;
    std::string path = dir.file("locked.qm");
    MemHandle form = fmNew();
    form = fmSetPassword(form, "owl");
    MemHandle page = pgtest::newPage("Form");
    std::vector<Bytes> want;
    for (MemHandle h : {fullButton(), fullControl(OBT_CHECKBOX), fullControl(OBT_RADIO, "Pick"),
                        fullControl(OBT_GROUP_BOX)}) {
        want.push_back(qmftest::unlinkedBytes(h));
        pgAppendObject(page, h);
    }
    pgDirAppend(form, page);
    ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE));
    fmFree(form);
    Bytes file = qmtest::readFile(path);
    // Check boxes and group boxes are stored scrambled, radio buttons plain.
    auto holds = [&](const std::string &text) {
        return std::search(file.begin(), file.end(), text.begin(), text.end()) != file.end();
    };
    EXPECT_FALSE(holds("Send the report"));
    EXPECT_FALSE(holds("page 3"));
    EXPECT_TRUE(holds("Pick"));

    MemHandle read = 0;
    form = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
    ASSERT_TRUE(form);
    std::vector<Bytes> got;
    for (MemHandle h : obtest::listOf(pgGetFirstObject(read)))
        got.push_back(qmftest::unlinkedBytes(h));
    EXPECT_EQ(want, got);
    fmFree(form);
}

TEST_F(FieldFiles, DamagedRecordsAreRefused)
{
    struct Case {
        const char *what;
        bool button;
        uint32_t at;       // offset in the type data of the file form
        uint16_t value;
    } cases[] = {
        {"label past the record", false, 2, 5000},
        {"attributes past the record", false, 62, 4000},
        {"attribute bytes not filled", false, 62, 6},
        {"button attributes past the record", true, 98, 3000},
        {"button attribute count wrong", true, 96, 7},
    };
    for (const Case &c : cases) {
        MemHandle object = c.button ? fullButton() : fullControl(OBT_CHECKBOX);
        MemHandle packet = qmfMakeFileRecord(object);
        utFreeHandle(object);
        {
            MemLock<uint8_t> p(packet);
            uint32_t data = kObFileHeadSize + p[7];
            memcpy(p.get() + data + c.at, &c.value, 2);
        }
        MemHandle back = 0;
        uint16_t flags[7];
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags)) << c.what;
        EXPECT_EQ(0u, back) << c.what;
        EXPECT_EQ("Reading object failed", boxes.texts()) << c.what;
        boxes.clear();
        utFreeHandle(packet);
    }
}

}  // namespace
