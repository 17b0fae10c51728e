// A protected document opened through the document window asks for its
// password before anything is shown.
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "tests/support/kit_dialog.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/qmf_save.h"
#include "tools/ep_factory.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "model/ob_links.h"
#include <algorithm>

namespace {

using qmtest::BoxRecorder;
using Bytes = std::vector<uint8_t>;

class DocPassword : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
    }
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
    }

    // A check box, a button (made by the object factory, named
    // "CheckBox001" and "Button001") and a rectangle, saved with the
    // password (none when empty).
    bool save(const std::string &path, const char *password)
    {
        MemHandle form = fmNew();
        MemHandle page = pgNewRecord(0);
        POINT box[2] = {{0, 0}, {1440, 400}}, button[2] = {{0, 600}, {1440, 1000}};
        pgAppendObject(page, epCreateObject(ws, 0, OBT_CHECKBOX, box, 2));
        pgAppendObject(page, epCreateObject(ws, 0, OBT_BUTTON, button, 2));
        pgAppendObject(page, obtest::make(OBT_RECTANGLE, 0, 1400, 500, 1900));
        pgDirAppend(form, page);
        form = fmSetPassword(form, password);
        bool ok = qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE) == 1;
        fmFree(form);
        return ok;
    }

    // Type, box and type data of every object of the page shown.
    static std::vector<std::string> objects(MemHandle page)
    {
        std::vector<std::string> out;
        for (MemHandle h = pgGetFirstObject(page); h; h = obGetNext(h)) {
            ObLock r(h);
            std::string s = std::to_string(r->type) + "@" + std::to_string(r->centreX) + "," +
                            std::to_string(r->centreY) + " " + std::to_string(r->width) + "x" +
                            std::to_string(r->height) + ":";
            for (uint8_t b : obtest::dataOf(h))
                s += std::to_string(b) + ".";
            out.push_back(s);
        }
        return out;
    }

    static bool holds(const Bytes &b, const Bytes &part)
    {
        return std::search(b.begin(), b.end(), part.begin(), part.end()) != b.end();
    }
};

TEST_F(DocPassword, AskedOnceInTheOpenRoadAndCancelOpensNothing)
{
    std::string plainPath = home.file("plain.qm"), path = home.file("sesame.qm");
    ASSERT_TRUE(save(plainPath, ""));
    ASSERT_TRUE(save(path, "Sesame"));

    // Check box (44) and button (43) records carry bit 15 and no plain data.
    Bytes plain = qmtest::readFile(plainPath), locked = qmtest::readFile(path);
    for (const char *name : {"CheckBox001", "Button001"}) {
        Bytes text(name, name + strlen(name));
        EXPECT_TRUE(holds(plain, text)) << name;
        EXPECT_FALSE(holds(locked, text)) << name;
    }
    EXPECT_TRUE(holds(locked, {44, 0x80}));
    EXPECT_TRUE(holds(locked, {43, 0x80}));
    EXPECT_FALSE(holds(plain, {44, 0x80}));

    // The reference: the plain document's objects, opened without a question.
    int reuse = 2;
    HWND plainDoc;
    {
        qmtest::DialogDriver none({});
        plainDoc = dwOpenDocument(frame, "vaqm_ws", plainPath.c_str(), -1, 0, &reuse, FALSE, 0);
        EXPECT_EQ(0u, none.ran());
    }
    ASSERT_TRUE(plainDoc != nullptr);
    std::vector<std::string> expected = objects(pvGetCurrentPage(dwGetWorkspace(plainDoc)));
    ASSERT_EQ(3u, expected.size());
    int docs = docCount();

    // Cancel: no window, the read form freed.
    long handles = qmtest::liveHandles();
    {
        BoxRecorder boxes;
        qmtest::DialogDriver cancel({[](HWND d) {
            EXPECT_EQ("Password", qmtest::windowText(d));
            qmtest::sendCommand(d, IDCANCEL);
        }});
        EXPECT_EQ(nullptr, dwOpenDocument(frame, "vaqm_ws", path.c_str(), -1, 0, &reuse, FALSE, 0));
        EXPECT_EQ(1u, cancel.ran());
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    EXPECT_EQ(docs, docCount());
    EXPECT_EQ(handles, qmtest::liveHandles());

    // A wrong entry, then the right one in other letter case: asked once,
    // and the objects are those of the plain document.
    BoxRecorder boxes;
    qmtest::DialogDriver give({
        [](HWND d) {
            qmtest::typeInto(d, 100, "Sezame");
            qmtest::pressButton(d, IDOK);
        },
        [](HWND d) {
            qmtest::typeInto(d, 100, "sESAME");
            qmtest::pressButton(d, IDOK);
        },
    });
    HWND opened = dwOpenDocument(frame, "vaqm_ws", path.c_str(), -1, 0, &reuse, FALSE, 0);
    ASSERT_TRUE(opened != nullptr);
    EXPECT_EQ(2u, give.ran());
    EXPECT_EQ("Incorrect password.  Please retry", boxes.texts());
    EXPECT_EQ(docs + 1, docCount());
    EXPECT_EQ(expected, objects(pvGetCurrentPage(dwGetWorkspace(opened))));
}

}  // namespace
