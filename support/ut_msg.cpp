// Message boxes with the application's captions, string-table texts, and
// opening help by keyword.
#include "support/ut_msg.h"
#include "support/ut_mem.h"
#include "support/help_file.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

char g_appName[24] = "";
HWND g_defaultOwner = nullptr;
UtMessageBoxHook g_boxHook = nullptr;
UtHelpHook g_helpHook = nullptr;

const char kDefaultClsidKey[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char kDefaultHelpLibrary[] = "hhctrl.ocx";
char g_clsidKey[128] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
char g_helpLibrary[MAX_PATH] = "hhctrl.ocx";

typedef HWND(WINAPI *HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);
HMODULE g_helpModule = nullptr;
HtmlHelpProc g_htmlHelp = nullptr;
bool g_helpLoadFailed = false;

// The keyword record of the HTML Help engine (HH_AKLINK).
struct HelpKeywordRecord {
    int cbStruct;
    BOOL fReserved;
    LPCSTR pszKeywords;
    LPCSTR pszUrl;
    LPCSTR pszMsgText;
    LPCSTR pszMsgTitle;
    LPCSTR pszWindow;
    BOOL fIndexOnFail;
};

HINSTANCE instanceOf(HWND owner)
{
    if (!owner)
        owner = g_defaultOwner;
    HINSTANCE inst = owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE) : nullptr;
    return inst ? inst : GetModuleHandleA(nullptr);
}

bool loadHtmlHelp()
{
    if (g_htmlHelp)
        return true;
    if (g_helpLoadFailed)
        return false;
    char path[260] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, g_clsidKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof(path) - 1;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, (BYTE *)path, &size) != ERROR_SUCCESS)
            path[0] = 0;
        path[sizeof(path) - 1] = 0;
        RegCloseKey(key);
    }
    if (path[0])
        g_helpModule = LoadLibraryA(path);
    if (!g_helpModule)
        g_helpModule = LoadLibraryA(g_helpLibrary);
    if (!g_helpModule) {
        g_helpLoadFailed = true;
        return false;
    }
    g_htmlHelp = (HtmlHelpProc)GetProcAddress(g_helpModule, MAKEINTRESOURCEA(14));
    if (!g_htmlHelp) {
        FreeLibrary(g_helpModule);
        g_helpModule = nullptr;
        g_helpLoadFailed = true;
        return false;
    }
    return true;
}

bool haveHelpFile(char *file)
{
    utGetHelpFile(file);
    return file[0] != 0;
}

void winHelp(HWND window, const char *file, UINT command, const char *keyword)
{
    if (g_helpHook) {
        g_helpHook(UtHelpCall{false, command, keyword});
        return;
    }
    WinHelpA(window, file, command, (ULONG_PTR)keyword);
}

}  // namespace

void utSetMessageBoxHook(UtMessageBoxHook hook) { g_boxHook = hook; }

int utBreakLongRuns(HDC dc, const char *text, int maxWidth, char *out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    std::string s;
    size_t runStart = 0;   // where the current run without a blank begins in s
    auto widthOf = [&](size_t from) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, s.data() + from, (int)(s.size() - from), &size);
        return (int)size.cx;
    };
    for (const char *p = text ? text : ""; *p;) {
        const char *next = CharNextA(p);
        if (next == p)
            next = p + 1;
        const size_t length = (size_t)(next - p);
        s.append(p, length);
        p = next;
        const char c = s[s.size() - length];
        if (length == 1 && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            runStart = s.size();
            continue;
        }
        if (s.size() - runStart <= length || widthOf(runStart) <= maxWidth)
            continue;
        // Too wide: break after the run's last path separator, else before
        // this character.
        const size_t charAt = s.size() - length;
        size_t at = charAt;
        for (size_t i = charAt; i > runStart + 1; --i) {
            if (s[i - 1] == '\\' || s[i - 1] == '/') {
                at = i;
                break;
            }
        }
        s.insert(at, "\r\n");
        runStart = at + 2;
    }
    utStrCopyN(out, s.c_str(), (uint32_t)outSize);
    return (int)strlen(out);
}

namespace {
int g_quietDepth = 0;
uint32_t g_quietBoxes = 0;
}  // namespace

UtQuietBoxes::UtQuietBoxes() : start_(g_quietBoxes) { ++g_quietDepth; }
UtQuietBoxes::~UtQuietBoxes() { --g_quietDepth; }
uint32_t UtQuietBoxes::count() const { return g_quietBoxes - start_; }

int utShowBox(HWND owner, const char *text, const char *caption, UINT flags)
{
    if (g_quietDepth > 0) {
        ++g_quietBoxes;
        return IDCANCEL;
    }
    if (g_boxHook)
        return g_boxHook(owner, text, caption, flags);
    // The box grows as wide as its longest unbroken run (a long path), past
    // the screen's edges: such runs are broken to half the screen's width
    // in the box's font.
    const char *shown = text ? text : "";
    std::vector<char> wrapped(strlen(shown) * 3 + 1);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    HDC dc = GetDC(nullptr);
    if (dc && SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        utBreakLongRuns(dc, shown, GetSystemMetrics(SM_CXSCREEN) / 2, wrapped.data(),
                        wrapped.size());
        shown = wrapped.data();
        if (font) {
            SelectObject(dc, old);
            DeleteObject(font);
        }
    }
    if (dc)
        ReleaseDC(nullptr, dc);
    return MessageBoxA(owner, shown, caption, flags);
}

void utSetAppName(HWND owner, const char *name)
{
    g_defaultOwner = owner;
    utStrCopyN(g_appName, name ? name : "", sizeof(g_appName));
}

const char *utGetAppName() { return g_appName; }
HWND utGetDefaultOwner() { return g_defaultOwner; }

int utLoadString(HWND owner, UINT id, char *buffer)
{
    buffer[0] = 0;
    int n = LoadStringA(instanceOf(owner), id, buffer, 256);
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    return n;
}

MemHandle utLoadStringHandle(HWND owner, UINT id, int maxLen)
{
    if (maxLen < 0)
        maxLen = 0;
    MemHandle h = utAllocHandle(0, (uint32_t)maxLen + 1);
    if (!h)
        return 0;
    char text[256];
    utLoadString(owner, id, text);
    MemLock<char> p(h);
    utStrCopyN(p.get(), text, (uint32_t)maxLen + 1);
    return h;
}

MemHandle utMakeCaption(const char *suffix)
{
    MemHandle h = utHandleFromString(g_appName[0] ? g_appName : " ");
    if (!h)
        return 0;
    if (!g_appName[0]) {
        MemLock<char> p(h);
        p[0] = 0;
    }
    MemHandle grown = utAppendString(h, suffix);
    if (!grown) {
        utFreeHandle(h);
        return 0;
    }
    return grown;
}

int utMessageBoxCaption(HWND owner, const char *text, const char *suffix, UINT flags)
{
    // The caption is built on the stack: the allocator reports its own
    // failures through this function, so allocating here could recurse
    // without end while memory is short.
    char caption[sizeof(g_appName) + 64];
    utStrCopyN(caption, g_appName, sizeof(caption));
    utStrAppendN(caption, suffix ? suffix : "", sizeof(caption));
    return utShowBox(owner ? owner : g_defaultOwner, text, caption, flags);
}

int utErrorBox(HWND owner, const char *text)
{
    return utMessageBoxCaption(owner, text, " Error", MB_ICONHAND);
}

int utWarningBox(HWND owner, const char *text)
{
    return utMessageBoxCaption(owner, text, " Warning", MB_ICONEXCLAMATION);
}

int utMessageBox(HWND owner, const char *text, UINT flags)
{
    return utMessageBoxCaption(owner, text, " Message", flags);
}

int utErrorBoxId(HWND owner, UINT id)
{
    char text[256];
    return utLoadString(owner, id, text) ? utErrorBox(owner, text) : 0;
}

int utWarningBoxId(HWND owner, UINT id)
{
    char text[256];
    return utLoadString(owner, id, text) ? utWarningBox(owner, text) : 0;
}

int utMessageBoxId(HWND owner, UINT id, UINT flags)
{
    char text[256];
    return utLoadString(owner, id, text) ? utMessageBox(owner, text, flags) : 0;
}

int utErrorBoxRes(HWND owner, UINT textId, UINT captionId)
{
    char text[256], caption[256];
    utLoadString(owner, textId, text);
    utLoadString(owner, captionId, caption);
    return utShowBox(owner ? owner : g_defaultOwner, text, caption, MB_ICONHAND);
}

// ---- help ------------------------------------------------------------------

void utSetHelpHook(UtHelpHook hook) { g_helpHook = hook; }

void utSetHtmlHelpSource(const char *clsidKey, const char *fallbackLibrary)
{
    utStrCopyN(g_clsidKey, clsidKey ? clsidKey : kDefaultClsidKey, sizeof(g_clsidKey));
    utStrCopyN(g_helpLibrary, fallbackLibrary ? fallbackLibrary : kDefaultHelpLibrary,
               sizeof(g_helpLibrary));
}

void utResetHelpEngine()
{
    if (g_helpModule)
        FreeLibrary(g_helpModule);
    g_helpModule = nullptr;
    g_htmlHelp = nullptr;
    g_helpLoadFailed = false;
}

HWND utHtmlHelp(HWND window, const char *file, UINT command, DWORD_PTR data)
{
    if (!loadHtmlHelp())
        return nullptr;
    if (g_helpHook) {
        const char *keyword = nullptr;
        if (command == 13 && data)
            keyword = reinterpret_cast<const HelpKeywordRecord *>(data)->pszKeywords;
        g_helpHook(UtHelpCall{true, command, keyword});
        return window ? window : (HWND)1;
    }
    return g_htmlHelp(window, file, command, data);
}

namespace {
uint32_t g_handedOut = 0;
}

uint32_t utHandedOutCount() { return g_handedOut; }
void utNoteHandedOut() { ++g_handedOut; }

void utHelpKeyword(HWND window, const char *keywords)
{
    utNoteHandedOut();
    char file[MAX_PATH];
    if (!haveHelpFile(file))
        return;
    if (utIsHtmlHelpFile()) {
        HelpKeywordRecord rec = {};
        rec.cbStruct = 32;
        rec.pszKeywords = keywords;
        rec.fIndexOnFail = 1;
        utHtmlHelp(window, file, 13, (DWORD_PTR)&rec);
    } else {
        winHelp(window, file, 0x101, keywords);
    }
}

void utHelpMenuCommand(HWND window, UINT command)
{
    utNoteHandedOut();
    char file[MAX_PATH];
    if (!haveHelpFile(file))
        return;
    bool html = utIsHtmlHelpFile() != 0;
    switch (command) {
    case 800:
        if (html)
            utHtmlHelp(window, file, 0, 0);
        else
            winHelp(window, file, 11, nullptr);
        break;
    case 802:
        utHelpKeyword(window, "How to");
        break;
    case 804:
        utHelpKeyword(window, "Glossary");
        break;
    case 806:
        if (!html)
            winHelp(window, file, 2, nullptr);
        break;
    case 807:
        utHelpKeyword(window, "Menu");
        break;
    default:
        break;
    }
}
