// An edited text object in a real workspace of the program started
// in-process: the session opened as the edit mode's open step does.
#pragma once
#include "tests/app/app_fixture.h"
#include "tests/textedit/te_kit.h"
#include "text/tx_object.h"
#include "textedit/te_commands.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_zoom.h"

namespace tetest {

class Editor : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle object = 0;
    BYTE savedKeys[256];

    void SetUp() override
    {
        App::SetUp();
        GetKeyboardState(savedKeys);
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        wsSetZoomPercent(ws, 100);
        teResetSelectionModule();
    }
    void TearDown() override
    {
        SetKeyboardState(savedKeys);
        if (GetCapture())
            ReleaseCapture();
        teDestroyCaret();
        teReleaseDC();
        teLinesFreeAll();
        teFreeSessionResources(ws);
        teResetSession(nullptr);
        teResetSelectionModule();
        utFreeHandle(object);
        object = 0;
        App::TearDown();
        dwResetModule();
    }

    // Opens a text object of the given flags and character set over the
    // box (twips) with the text, caret at its start.
    void open(const char *text, uint32_t flags = 0, uint8_t charset = ANSI_CHARSET,
              RECT box = {1440, 1440, 5760, 4320})
    {
        TextHeader h = {};
        h.lf = baseFont();
        h.lf.lfCharSet = charset;
        h.bkMode = 1;
        h.spacing = 4;
        h.flags = flags;
        const COLORREF colours[3] = {0, 0, 0xFFFFFF};
        object = txNewTextObject(&box, colours, &h, "");
        ASSERT_NE(0u, object);
        teResetSession(ws);
        teSetTextObject(object);
        CharFormat f;
        ASSERT_TRUE(txGetCharFormat(object, &f));
        teSetFormat(&f, 0);
        teSetFormat(&f, 2);
        teAcquireDC(ws);
        teLinesFromStream(text, 0, &f);
        teSetCaret(teGetFirstLine(), 0);
    }

    // A point of the text (twips) as a packed client position.
    LPARAM at(int32_t x, int32_t y)
    {
        POINT p = {x, y};
        LPtoDP(teGetDC(), &p, 1);
        return MAKELPARAM(p.x, p.y);
    }
    // The packed position of a byte offset of a line, in the line's band.
    LPARAM atOffset(MemHandle line, int32_t offset)
    {
        return at(teXAtOffset(line, offset), teLineTop(line) + teLineHeight(line) / 2);
    }

    void keys(BYTE vk, bool down)
    {
        BYTE state[256];
        GetKeyboardState(state);
        state[vk] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }

    static std::string text(MemHandle h)
    {
        MemLock<char> p(h);
        return p ? std::string(p.get()) : std::string();
    }
};

}  // namespace tetest
