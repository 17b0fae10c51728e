// Clone copies and composite objects on a started program: the "COMPOSITE"
// dialog driven as a user does, the composite record and its file form,
// editing, restoring, and the centre edit (mode 34).
#include "tests/tools/tool_ws_kit.h"
#include "tests/support/kit_dialog.h"
#include "tools/cp_composite.h"
#include "tools/ep_members.h"
#include "commands/cmd_object.h"
#include "model/ob_transform.h"
#include "model/qmf_read.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include <string>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

class Composite : public tooltest::Workspace {
protected:
    void TearDown() override
    {
        cpSetCloneSettingsSource(nullptr);
        Workspace::TearDown();
    }
    MemHandle rect()
    {
        MemHandle r = shape(OBT_RECTANGLE, {1500, 1500, 3000, 3000});
        obSetColour(r, OB_COLOUR_PEN, RGB(10, 20, 30));
        epSelectObject(ws, r);
        pump();
        return r;
    }
    static CompositeSettings settingsOf(MemHandle h)
    {
        CompositeSettings s;
        cpGetSettings(h, &s);
        return s;
    }
    static std::vector<uint8_t> settingsBytes(MemHandle h)
    {
        ObLock r(h);
        const uint8_t *p = obRecData(r.get());
        return std::vector<uint8_t>(p, p + kCpSettingsSize);
    }
    // The objects after writing the list to a file and reading it back.
    MemHandle roundTrip(MemHandle first)
    {
        const std::string path = home.path() + "\\objects.bin";
        HANDLE f = ffCreate(path.c_str(), FALSE);
        EXPECT_NE(0u, qmfWriteObjectList(f, first));
        ffClose(f);
        const std::vector<uint8_t> bytes = qmtest::readFile(path);
        DWORD size = 0;
        f = ffOpenRead(path.c_str(), &size, FALSE);
        int32_t remaining = (int32_t)bytes.size();
        int count = 1;
        MemHandle head = 0;
        qmfReadObjectList(f, &remaining, &count, &head);
        ffClose(f);
        EXPECT_EQ(1, count);
        return head;
    }
};

CompositeSettings grid(int16_t copies, int16_t rows)
{
    CompositeSettings s;
    cpDefaultSettings(&s);
    s.kind = 2;
    s.copies = copies;
    s.rows = rows;
    s.offsetX = s.offsetY = 720;
    return s;
}

// ---- clone copies -----------------------------------------------------------------------------

TEST_F(Composite, CloneAppendsEachPlacedCopyAsItsOwnObject)
{
    MemHandle r = rect();
    const CompositeSettings s = grid(3, 4);
    cpSetCloneSettingsSource(&s);
    EXPECT_EQ(1, cmdClone(ws, r));
    const std::vector<MemHandle> list = page();
    // The original and eleven copies: twelve places of the 3 x 4 grid.
    ASSERT_EQ(12u, list.size());
    EXPECT_EQ(r, list[0]);
    std::vector<std::pair<int32_t, int32_t>> centres;
    for (MemHandle h : list) {
        EXPECT_EQ(OBT_RECTANGLE, obGetType(h));
        EXPECT_EQ(0, obGetParent(h));
        const POINT c = centre(h);
        centres.push_back({c.x, c.y});
    }
    std::sort(centres.begin(), centres.end());
    EXPECT_EQ(centres.end(), std::unique(centres.begin(), centres.end()));
    EXPECT_EQ(UD_CLONED, undoKind());
    EXPECT_TRUE(wsIsModified(ws));
    command(200);
    EXPECT_EQ(1u, page().size());
}

TEST_F(Composite, CloneRefusesMoreThanAHundredCopies)
{
    MemHandle r = rect();
    CompositeSettings s = grid(101, 1);
    cpSetCloneSettingsSource(&s);
    {
        BoxRecorder boxes;
        EXPECT_EQ(1, cmdClone(ws, r));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Too many copies to create.  Please retry", boxes.last().text);
        EXPECT_EQ(1u, page().size());
        EXPECT_FALSE(wsIsModified(ws));
    }
    s = grid(10, 10);
    EXPECT_EQ(100, cpTotalCopies(&s));
    EXPECT_EQ(1, cmdClone(ws, r));
    EXPECT_EQ(100u, page().size());
}

// ---- the dialog -----------------------------------------------------------------------------------

TEST_F(Composite, TheCloneDialogChecksEachFieldAndKeepsTheFocusOnIt)
{
    EXPECT_EQ(12, cpDialogTotal(3, 3, 4));
    EXPECT_EQ(72, cpDialogTotal(2, 8, 9));
    const struct {
        const char *kind;
        int field;
        const char *value;
        const char *message;
    } cases[] = {
        {"2-Dimensional", 97, "9", "The total number of copies can not exceed 64"},
        {"Default", 120, "256", "Must enter an integer between 0 and 255."},
        {"Default", 144, "-1", "Must enter an integer between 0 and 255."},
        {"Default", 100, "x", "Must enter an integer"},
        {"Default", 100, "0", "The number of copies must not be 0"},
        {"Default", 108, "1.5", "Must enter an integer"},
        {"Default", 150, "a", "Must enter a number"},
    };
    for (const auto &c : cases) {
        BoxRecorder boxes;
        HWND focus = nullptr, field = nullptr;
        std::string caption;
        DialogDriver driver({[&](HWND d) {
                                 caption = qmtest::windowText(d);
                                 qmtest::chooseItemText(d, 98, c.kind);
                                 qmtest::typeInto(d, 100, "8");
                                 qmtest::typeInto(d, c.field, c.value);
                             },
                             [](HWND d) { qmtest::pressButton(d, IDOK); },
                             [&](HWND d) {
                                 focus = GetFocus();
                                 field = GetDlgItem(d, c.field);
                                 qmtest::pressButton(d, IDCANCEL);
                             }});
        CompositeSettings s;
        EXPECT_EQ(0, cpAskCloneSettings(ws, &s)) << c.value;
        EXPECT_EQ(3u, driver.ran());
        EXPECT_EQ("Clone", caption);
        ASSERT_EQ(1u, boxes.count()) << c.value << ": " << boxes.texts();
        EXPECT_EQ(c.message, boxes.last().text);
        EXPECT_EQ(field, focus) << c.value;
    }
}

TEST_F(Composite, TheKindEnablesItsFieldsAndOkReturnsTheSettings)
{
    bool radialX = true, radialY = true, spiralX = false, spiralY = true, rows = true;
    std::string offsetX;
    DialogDriver driver({[&](HWND d) {
                             EXPECT_FALSE(GetDlgItem(d, 180)) << "no preview in Clone mode";
                             rows = IsWindowEnabled(GetDlgItem(d, 97)) != FALSE;
                             qmtest::typeInto(d, 101, "1.5");
                             qmtest::chooseItemText(d, 98, "Radial");
                             radialX = IsWindowEnabled(GetDlgItem(d, 101)) != FALSE;
                             radialY = IsWindowEnabled(GetDlgItem(d, 102)) != FALSE;
                             offsetX = qmtest::itemText(d, 101);
                             qmtest::chooseItemText(d, 98, "Spiral");
                             spiralX = IsWindowEnabled(GetDlgItem(d, 101)) != FALSE;
                             spiralY = IsWindowEnabled(GetDlgItem(d, 102)) != FALSE;
                             qmtest::chooseItemText(d, 98, "Frame");
                             qmtest::typeInto(d, 100, "3");
                             qmtest::typeInto(d, 97, "4");
                             qmtest::typeInto(d, 108, "15");
                             qmtest::typeInto(d, 120, "1");
                             qmtest::typeInto(d, 122, "2");
                             qmtest::typeInto(d, 124, "3");
                             CheckDlgButton(d, 161, BST_CHECKED);
                         },
                         [](HWND d) { qmtest::pressButton(d, IDOK); }});
    CompositeSettings s;
    ASSERT_EQ(1, cpAskCloneSettings(ws, &s));
    EXPECT_FALSE(rows) << "one count for the default kind";
    EXPECT_FALSE(radialX);
    EXPECT_FALSE(radialY);
    EXPECT_EQ("0", offsetX);
    EXPECT_TRUE(spiralX);
    EXPECT_FALSE(spiralY);
    EXPECT_EQ(3, s.kind);
    EXPECT_EQ(3, s.copies);
    EXPECT_EQ(4, s.rows);
    EXPECT_EQ(150, s.rotationStep);
    EXPECT_EQ(0x030201u, s.fillStep);
    EXPECT_EQ(1, s.flags & 1);
    EXPECT_EQ(kCpSettingsSize, s.size);
}

// ---- the composite record -------------------------------------------------------------------------

TEST_F(Composite, AMadeCompositeTakesTheObjectsPlaceAndSurvivesTheFile)
{
    MemHandle below = shape(OBT_ELLIPSE, {100, 100, 400, 400});
    MemHandle r = rect();
    MemHandle above = shape(OBT_ELLIPSE, {5000, 5000, 5400, 5400});
    epSelectObject(ws, r);
    {
        ObLock rec(r);
        rec->penWidth = 40;
        rec->fillColour = RGB(1, 2, 3);
    }
    DialogDriver driver({[](HWND d) {
                             EXPECT_EQ("Define Composite", qmtest::windowText(d));
                             qmtest::chooseItemText(d, 98, "Radial");
                             qmtest::typeInto(d, 100, "6");
                             qmtest::typeInto(d, 108, "60");
                         },
                         [](HWND d) { qmtest::pressButton(d, IDOK); }});
    ASSERT_EQ(1, cmdComposite(ws, r));
    MemHandle c = current();
    ASSERT_EQ(OBT_COMPOSITE, obGetType(c));
    {
        ObLock rec(c);
        EXPECT_EQ(144u, rec->length);
        EXPECT_EQ(0, rec->nameLength);
        EXPECT_EQ(0, rec->rotation);
        EXPECT_EQ(40, rec->penWidth);
        EXPECT_EQ(RGB(10, 20, 30), rec->penColour);
        EXPECT_EQ(RGB(1, 2, 3), rec->fillColour);
        EXPECT_EQ(65535u, rec->scaleX);
        EXPECT_EQ(r, rec->attached);
    }
    {
        ObLock base(r);
        EXPECT_EQ(0, base->prev);
        EXPECT_EQ(0, base->next);
    }
    EXPECT_EQ((std::vector<MemHandle>{below, c, above}), page());
    const CompositeSettings s = settingsOf(c);
    EXPECT_EQ(4, s.kind);
    EXPECT_EQ(6, s.copies);
    EXPECT_EQ(600, s.rotationStep);
    EXPECT_EQ(UD_COPY, undoKind());

    // Written, read back and written again: the same 58 bytes.
    const std::vector<uint8_t> before = settingsBytes(c);
    MemHandle once = roundTrip(c);
    ASSERT_TRUE(once);
    EXPECT_EQ(before, settingsBytes(once));
    MemHandle twice = roundTrip(once);
    ASSERT_TRUE(twice);
    EXPECT_EQ(before, settingsBytes(twice));
    obFreeTree(once);
    obFreeTree(twice);

    // Undo gives the rectangle back.
    command(200);
    EXPECT_EQ(OBT_RECTANGLE, obGetType(page()[1]));
}

TEST_F(Composite, CancelOnANewCompositeLeavesTheObjectAsItWas)
{
    shape(OBT_ELLIPSE, {100, 100, 400, 400});
    MemHandle r = rect();
    shape(OBT_ELLIPSE, {5000, 5000, 5400, 5400});
    const std::vector<MemHandle> list = page();
    const std::vector<uint8_t> bytes = bytesOf(r);
    DialogDriver driver({[](HWND d) { qmtest::typeInto(d, 100, "5"); },
                         [](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
    EXPECT_EQ(0, cmdComposite(ws, r));
    EXPECT_EQ(r, current());
    EXPECT_EQ(bytes, bytesOf(r));
    EXPECT_EQ(list, page());
}

TEST_F(Composite, RestoreToBaseGivesTheObjectBackInItsPlace)
{
    MemHandle below = shape(OBT_ELLIPSE, {100, 100, 400, 400});
    MemHandle r = rect();
    MemHandle above = shape(OBT_ELLIPSE, {5000, 5000, 5400, 5400});
    CompositeSettings s = grid(2, 2);
    MemHandle c = cpMakeComposite(ws, r, &s);
    epSelectObject(ws, c);
    BoxRecorder boxes;
    DialogDriver driver({[](HWND d) { qmtest::pressButton(d, 119); }});
    EXPECT_EQ(1, cmdEditComposite(ws, c));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Restore to base will restore the object to its non-composite form and end "
              "dialog, please confirm.",
              boxes.last().text);
    EXPECT_EQ((std::vector<MemHandle>{below, r, above}), page());
    EXPECT_EQ(r, current());
}

TEST_F(Composite, EditingARotatedCompositeAsksFirstAndResetsItOnOk)
{
    MemHandle r = rect();
    CompositeSettings s = grid(2, 2);
    MemHandle c = cpMakeComposite(ws, r, &s);
    shCompositeRotate(c, centre(c), 450);
    epSelectObject(ws, c);
    ASSERT_EQ(450, rotationOf(c));
    const std::vector<uint8_t> bytes = bytesOf(c);
    const char *ask = "This composite object has been rotated 45.0 degrees.  To edit,it will be "
                      "reset to 0 degree.  You can re-rotate it afterward.  Continue?";
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        EXPECT_EQ(0, cmdEditComposite(ws, c));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(ask, boxes.last().text);
        EXPECT_EQ(bytes, bytesOf(c));
    }
    {
        // OK, then the dialog cancelled: the object's bytes come back.
        BoxRecorder boxes;
        DialogDriver driver({[](HWND d) { qmtest::typeInto(d, 100, "4"); },
                             [](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
        EXPECT_EQ(0, cmdEditComposite(ws, c));
        EXPECT_EQ(bytes, bytesOf(current()));
    }
    BoxRecorder boxes;
    DialogDriver driver({[](HWND d) { qmtest::pressButton(d, IDOK); }});
    EXPECT_EQ(1, cmdEditComposite(ws, current()));
    EXPECT_EQ(0, rotationOf(current()));
}

TEST_F(Composite, TheCentreHandleDragsOnlyFromStrictlyInsideItsRadius)
{
    // Ten twips a pixel: the radius (200 twips) is a whole number of pixels.
    wsSetZoomPercent(ws, 150);
    MemHandle r = rect();
    CompositeSettings s = grid(2, 1);
    MemHandle c = cpMakeComposite(ws, r, &s);
    epSelectObject(ws, c);
    cpStartCentreEdit(ws, c);
    pump();
    ASSERT_EQ(TM_COMPOSITE, wsGetToolMode(ws));
    const POINT point = cpCentrePoint();
    EXPECT_EQ(centre(r).x, point.x);

    // At the radius exactly: nothing.
    const POINT edge = px(point.x + kCpCentreRadius, point.y);
    ASSERT_EQ(point.x + kCpCentreRadius, logical(edge).x);
    drag(edge, POINT{edge.x + 40, edge.y}, POINT{edge.x + 20, edge.y});
    EXPECT_EQ(0, settingsOf(c).centreX);
    EXPECT_EQ(0, undoKind());

    // Inside: the centre follows the drag.
    const POINT in = px(point.x + 100, point.y);
    drag(in, POINT{in.x + 60, in.y + 30}, POINT{in.x + 30, in.y});
    const CompositeSettings moved = settingsOf(current());
    EXPECT_EQ(logical(POINT{in.x + 60, 0}).x - logical(in).x, moved.centreX);
    EXPECT_EQ(logical(POINT{0, in.y + 30}).y - logical(in).y, moved.centreY);
    EXPECT_EQ(UD_PROPERTY, undoKind());
    EXPECT_TRUE(wsIsModified(ws));
    command(200);
    EXPECT_EQ(0, settingsOf(current()).centreX);
    EXPECT_EQ(0, settingsOf(current()).centreY);
    EXPECT_EQ(TM_COMPOSITE, wsGetToolMode(ws));

    doubleClick(px(point.x + 3000, point.y + 3000));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

}  // namespace

namespace {

TEST_F(Composite, ALoneTurnedObjectBecomesThePagesOnlyCompositeAndComesBack)
{
    MemHandle r = rect();
    obTreeFlipRotate(r, centre(r), 450);
    DialogDriver driver({[](HWND d) {
                             SendDlgItemMessageA(d, 98, CB_SETCURSEL, 2, 0);
                             SendMessageA(d, WM_COMMAND, MAKEWPARAM(98, CBN_SELCHANGE),
                                          (LPARAM)GetDlgItem(d, 98));
                             SetDlgItemTextA(d, 108, "60");
                             SetDlgItemTextA(d, 100, "6");
                             PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                          (LPARAM)GetDlgItem(d, IDOK));
                         }});
    BoxRecorder boxes;
    EXPECT_EQ(1, cmdComposite(ws, r)) << boxes.texts();
    MemHandle c = current();
    EXPECT_EQ(OBT_COMPOSITE, obGetType(c));
    EXPECT_EQ(std::vector<MemHandle>{c}, page());
    EXPECT_EQ(450, rotationOf(r)) << "the base keeps its own rotation";
    // Restored, the base heads the page again.
    EXPECT_EQ(r, cpRestoreBase(ws, c));
    EXPECT_EQ(std::vector<MemHandle>{r}, page());
}

}  // namespace
