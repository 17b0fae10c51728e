// The message bar: its cells' texts, the font boxes on wide screens only,
// the position cell's press, and the face and size boxes sending their
// choice to the frame.
#include "tests/app/app_fixture.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "support/app_ui_state.h"
#include "app/mb_msgbar.h"
#include "model/lay_layers.h"
#include "support/dm_map.h"
#include "views/ws_tools.h"
#include <string>
#include <utility>
#include <vector>

namespace {

std::string textOf(HWND w)
{
    char text[256] = "";
    if (w)
        GetWindowTextA(w, text, sizeof text);
    return text;
}

// A workspace that keeps the font commands it gets with their texts.
std::vector<std::pair<int, std::string>> &fontCommands()
{
    static std::vector<std::pair<int, std::string>> c;
    return c;
}

LRESULT CALLBACK fontWorkspace(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wp);
        if (id == 961 || id == 962 || id == 839)
            fontCommands().push_back({id, id == 839 ? std::string() : (const char *)lp});
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

const char kFontWs[] = "qm_test_font_ws";

class MessageBar : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_NE(nullptr, mbGetWindow());
        fontCommands().clear();
        dmSetUnits(nullptr, 0);
    }
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
        UnregisterClassA(kFontWs, inst);
    }
    // A document window whose workspace records the font commands, made
    // the active one.
    HWND fontDocument()
    {
        WNDCLASSA wc = {};
        if (!GetClassInfoA(inst, kFontWs, &wc)) {
            wc.lpfnWndProc = fontWorkspace;
            wc.hInstance = inst;
            wc.lpszClassName = kFontWs;
            RegisterClassA(&wc);
        }
        HWND d = dwCreate(frame, appGetMdiClient(frame), kFontWs, "fonts", nullptr);
        pump();
        SendMessageA(appGetMdiClient(frame), WM_MDIACTIVATE, (WPARAM)d, 0);
        pump();
        return dwGetWorkspace(d);
    }
    void boxCommand(HWND box, int code)
    {
        SendMessageA(mbGetWindow(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), code), (LPARAM)box);
    }
};

TEST_F(MessageBar, CellTexts)
{
    HWND size = mbGetCell(MB_SIZE_CELL), position = mbGetCell(MB_POSITION_CELL);
    ASSERT_TRUE(size && position);
    mbShowObjectSize(1440, 720);
    EXPECT_EQ(" 1.000  x  0.500", textOf(size));
    mbShowObjectSize(-1, -1);
    EXPECT_EQ("", textOf(size));
    mbShowObjectSize(-300, 200);
    EXPECT_EQ(" 0.208  x  0.139", textOf(size)) << "a negative width shows positive";
    mbShowObjectSize(0, -1440);
    EXPECT_EQ(" 0.000  x  1.000", textOf(size));

    mbShowRotation(12);
    EXPECT_EQ("Rotate 12 Deg.", textOf(position));
    mbShowObjectPos(720, 1440);
    EXPECT_EQ(" (0.500 ,  1.000)", textOf(position));

    mbShowObjectName("");
    EXPECT_EQ("Object-Name...", textOf(mbGetNameButton()));
    mbShowObjectName("Logo");
    EXPECT_EQ("Logo", textOf(mbGetNameButton()));

    struct Case {
        int mode;
        BOOL insert;
        const char *text;
    } cases[] = {{20, TRUE, "[3] [Ins]"}, {20, FALSE, "[3] [Ovr]"}, {21, TRUE, "[3] [Ins]"},
                 {25, FALSE, "[3] [Ovr]"}, {2, TRUE, "[3]"},          {60, TRUE, "[3] HL-Fields"}};
    for (const Case &c : cases) {
        mbShowState(c.mode, 3, c.insert);
        EXPECT_EQ(c.text, textOf(mbGetCell(MB_STATE_CELL))) << c.mode;
    }
    // From the workspace: text editing shows the current layer and the
    // insert marker.
    wsSetToolModeWord(ws, TM_TEXT);
    mbUpdateState();
    MemHandle inUse = 0;
    uint16_t count = 0, layer = 0;
    layGetInUse(&inUse, &count, &layer);
    EXPECT_EQ("[" + std::to_string(layer) + "] [Ins]", textOf(mbGetCell(MB_STATE_CELL)));
    wsSetToolModeWord(ws, TM_SELECT);
}

TEST_F(MessageBar, TheFontBoxesExistOnlyOnWideScreens)
{
    HWND old = mbGetWindow();
    RECT r = {0, 0, 900, 40};
    for (bool wide : {true, false}) {
        appSetFrameFlag(FRAME_FLAG_WIDE_SCREEN, wide);
        HWND bar = mbCreate(frame, appGetFrameFont(), &r);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(wide, mbGetFaceBox() != nullptr);
        EXPECT_EQ(wide, mbGetSizeBox() != nullptr);
        RECT cell;
        GetWindowRect(mbGetCell(MB_STATE_CELL), &cell);
        MapWindowPoints(nullptr, bar, (POINT *)&cell, 2);
        EXPECT_EQ(wide ? 180 : 0, cell.left) << "the cells start after the boxes";
        if (wide) {
            EXPECT_TRUE(GetWindowLongA(mbGetFaceBox(), GWL_STYLE) & CBS_SORT);
            RECT face;
            GetWindowRect(mbGetFaceBox(), &face);
            MapWindowPoints(nullptr, bar, (POINT *)&face, 2);
            EXPECT_EQ(3, face.left);
            EXPECT_EQ(120, face.right - face.left);
        }
        DestroyWindow(bar);
        EXPECT_EQ(nullptr, mbGetWindow());
    }
    (void)old;
}

TEST_F(MessageBar, APressInThePositionOrSizeCellAsksForThePositionDialog)
{
    HWND fonts = fontDocument();
    ASSERT_EQ(fonts, appGetActiveWorkspace());
    SendMessageA(mbGetCell(MB_POSITION_CELL), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(mbGetCell(MB_SIZE_CELL), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageA(mbGetCell(MB_STATUS_CELL), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    pump();
    ASSERT_EQ(2u, fontCommands().size());
    EXPECT_EQ(839, fontCommands()[0].first);
    EXPECT_EQ(839, fontCommands()[1].first);
}

TEST_F(MessageBar, TheFaceAndSizeBoxesSendTheirChoiceToTheFrame)
{
    appSetFrameFlag(FRAME_FLAG_WIDE_SCREEN, TRUE);
    RECT r = {0, 0, 900, 40};
    DestroyWindow(mbGetWindow());
    HWND bar = mbCreate(frame, appGetFrameFont(), &r);
    ASSERT_TRUE(bar);
    HWND fonts = fontDocument();
    HWND face = mbGetFaceBox(), size = mbGetSizeBox();
    ASSERT_TRUE(face && size);

    // A face chosen from the list goes to the frame (and on to the
    // workspace) and the size list is filled again.
    SendMessageA(face, CB_ADDSTRING, 0, (LPARAM)"Quillmark Test Face");
    SendMessageA(face, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)"Quillmark Test Face");
    SendMessageA(size, CB_RESETCONTENT, 0, 0);
    SetFocus(face);
    boxCommand(face, CBN_SELCHANGE);
    ASSERT_EQ(1u, fontCommands().size());
    EXPECT_EQ(962, fontCommands()[0].first);
    EXPECT_EQ("Quillmark Test Face", fontCommands()[0].second);
    EXPECT_GT(SendMessageA(size, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(fonts, GetFocus()) << "the focus goes back to the workspace";

    // A typed face is sent when the box loses the focus, at most 31
    // characters (a LOGFONT face and its terminator).
    const std::string longFace(40, 'F');
    SetWindowTextA(face, longFace.c_str());
    boxCommand(face, CBN_EDITCHANGE);
    boxCommand(face, CBN_KILLFOCUS);
    ASSERT_EQ(2u, fontCommands().size());
    EXPECT_EQ(std::string(31, 'F'), fontCommands()[1].second);
    boxCommand(face, CBN_KILLFOCUS);
    EXPECT_EQ(2u, fontCommands().size()) << "nothing typed since";

    // A typed size: on losing the focus, and on Enter.
    SetWindowTextA(size, "14");
    boxCommand(size, CBN_EDITCHANGE);
    boxCommand(size, CBN_KILLFOCUS);
    ASSERT_EQ(3u, fontCommands().size());
    EXPECT_EQ(std::make_pair(961, std::string("14")), fontCommands()[2]);
    boxCommand(size, CBN_SETFOCUS);
    SetWindowTextA(size, "18");
    boxCommand(size, CBN_EDITCHANGE);
    SendMessageA(bar, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(4u, fontCommands().size());
    EXPECT_EQ(std::make_pair(961, std::string("18")), fontCommands()[3]);
    EXPECT_EQ(fonts, GetFocus());

    // Commands 963 and 964 drop what was typed and not sent.
    boxCommand(face, CBN_EDITCHANGE);
    boxCommand(size, CBN_EDITCHANGE);
    EXPECT_TRUE(mbFaceChangePending());
    EXPECT_TRUE(mbSizeChangePending());
    mbFocusFaceBox();
    EXPECT_FALSE(mbFaceChangePending());
    EXPECT_TRUE(mbSizeChangePending());
    mbFocusSizeBox();
    EXPECT_FALSE(mbSizeChangePending());
    // A font shown while a box has the focus supersedes what was typed.
    boxCommand(face, CBN_EDITCHANGE);
    boxCommand(size, CBN_EDITCHANGE);
    SetFocus(face);
    if (mbFocusIsInFontBoxes()) {
        LOGFONTA shown = {};
        shown.lfHeight = -200;
        strcpy(shown.lfFaceName, "Quillmark Test Face");
        mbShowFont(&shown);
        EXPECT_FALSE(mbFaceChangePending());
        EXPECT_FALSE(mbSizeChangePending());
    }
    mbFocusFaceBox();
    mbFocusSizeBox();
    SetFocus(fonts);

    // A font shown fills both boxes (the height in twips, 20 to the point);
    // none disables them.
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    strcpy(lf.lfFaceName, "Quillmark Test Face");
    mbShowFont(&lf);
    EXPECT_EQ("12", textOf(size));
    EXPECT_TRUE(IsWindowEnabled(face));
    mbShowFont(nullptr);
    EXPECT_FALSE(IsWindowEnabled(face));
    EXPECT_FALSE(IsWindowEnabled(size));
}

}  // namespace
