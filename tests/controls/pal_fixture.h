// Test fixture of the colour palette window and the colour dialogs: the
// recording parent of the button-list tests as the frame, the palette
// classes registered, the palette modules reset, and recorders for the
// chooser, the file dialogs and the pop-up menus.
#pragma once
#include "tests/controls/bl_fixture.h"
#include "tests/support/kit_dialog.h"
#include "controls/pal_dialogs.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"
#include "support/ut_mem.h"
#include <string.h>
#include <functional>
#include <string>
#include <vector>

namespace paltest {

using qmtest::DialogDriver;
using qmtest::pressButton;
using qmtest::sendCommand;
using qmtest::windowText;

// The system colour chooser, scripted.
struct Chooser {
    std::vector<std::string> captions;
    std::vector<COLORREF> shown;
    bool ok = true;
    COLORREF answer = 0;
};
inline Chooser &chooser()
{
    static Chooser c;
    return c;
}
inline BOOL scriptedChooser(HWND, const char *caption, COLORREF *colour, COLORREF *)
{
    Chooser &c = chooser();
    c.captions.push_back(caption ? caption : "<none>");
    c.shown.push_back(*colour);
    if (!c.ok)
        return FALSE;
    *colour = c.answer;
    return TRUE;
}

// The file dialogs, scripted: each call takes the next answer (an empty
// answer cancels).
struct Files {
    std::vector<std::string> titles;
    std::vector<std::string> answers;
};
inline Files &files()
{
    static Files f;
    return f;
}
inline BOOL scriptedFiles(HWND, ClrFileRequest &request)
{
    Files &f = files();
    f.titles.push_back(request.title ? request.title : "");
    if (f.answers.empty())
        return FALSE;
    std::string answer = f.answers.front();
    f.answers.erase(f.answers.begin());
    if (answer.empty())
        return FALSE;
    utStrCopyN(request.path, answer.c_str(), request.pathSize);
    return TRUE;
}

// Pop-up menus, recorded and answered.
struct MenuSeen {
    std::vector<UINT> ids;
    std::vector<std::string> texts;
    std::vector<bool> checked;
    HWND owner;
};
struct Menus {
    std::vector<MenuSeen> seen;
    UINT answer = 0;
};
inline Menus &menus()
{
    static Menus m;
    return m;
}
inline UINT recordMenu(HMENU menu, UINT, int, int, HWND owner)
{
    MenuSeen s;
    s.owner = owner;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        s.ids.push_back(GetMenuItemID(menu, i));
        char text[64] = {};
        GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
        s.texts.push_back(text);
        s.checked.push_back((GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_CHECKED) != 0);
    }
    menus().seen.push_back(s);
    return menus().answer;   // the helper posts it to the owner
}

class PaletteTest : public bltest::ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        ASSERT_TRUE(clrRegisterClasses(GetModuleHandleA(nullptr)));
        clrResetPaletteWindowModule();
        clrResetPaletteFileModule();
        chooser() = Chooser();
        files() = Files();
        menus() = Menus();
        clrSetChooseColorHook(scriptedChooser);
        clrSetFileDialogHook(scriptedFiles);
        winSetTrackPopupHook(recordMenu);
    }
    void TearDown() override
    {
        clrResetPaletteWindowModule();
        clrResetPaletteFileModule();
        ListTest::TearDown();
    }
    // A strip across the parent's top over the given colours.
    HWND makeStrip(const std::vector<COLORREF> &colours, RECT rect = {0, 0, 400, 36},
                   COLORREF fore = 0, COLORREF back = 0xFFFFFF, COLORREF frame = 0)
    {
        clrSetClassicStyle(TRUE);
        HWND w = clrCreatePaletteWindow(parent(), &rect, colours.empty() ? nullptr : colours.data(),
                                        (int)colours.size(), fore, back, frame, 20, 21);
        EXPECT_TRUE(w != nullptr);
        bltest::pump();
        return w;
    }
    static std::vector<COLORREF> windowColours()
    {
        int16_t n = 0;
        MemHandle h = clrGetColors(&n);
        std::vector<COLORREF> out;
        if (h) {
            MemLock<COLORREF> p(h);
            out.assign(p.get(), p.get() + n);
        }
        utFreeHandle(h);
        return out;
    }
    static ClrStripGeometry geometry(HWND strip)
    {
        ColorMenuRecord r;
        clrGetRecord(strip, &r);
        RECT client;
        GetClientRect(strip, &client);
        ClrStripGeometry g;
        clrStripLayout(client, r.indicator != 0, &g);
        return g;
    }
    static POINT swatchCentre(HWND strip, int index)
    {
        ColorMenuRecord r;
        clrGetRecord(strip, &r);
        RECT rect = {0, 0, 0, 0};
        clrSwatchRect(geometry(strip), r.first, index, &rect);
        POINT pt = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        return pt;
    }
};

inline std::vector<COLORREF> rainbow(int n)
{
    std::vector<COLORREF> c;
    for (int i = 0; i < n; ++i)
        c.push_back(RGB(10 + i * 3 % 240, 200 - i % 190, 40 + i * 7 % 200));
    return c;
}

}  // namespace paltest
