// The text clipboard: the "QM32Text" format beside CF_TEXT, the bounded
// readers of clipboard data, and what a whole text object puts there.
#include "textedit/te_clip.h"
#include "textedit/te_session.h"
#include "resources/resource.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_flow.h"
#include "text/tx_format.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include <string>

namespace {

UINT g_textFormat = 0;

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// A global movable block holding n bytes and a terminator.
HGLOBAL globalFromBytes(const char *bytes, size_t n)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    if (!g)
        return nullptr;
    char *p = (char *)GlobalLock(g);
    if (!p) {
        GlobalFree(g);
        return nullptr;
    }
    memcpy(p, bytes, n);
    p[n] = 0;
    GlobalUnlock(g);
    return g;
}

// Hands a block to the open clipboard; the block is freed when refused.
BOOL putData(UINT format, HGLOBAL g)
{
    if (!g)
        return FALSE;
    if (!SetClipboardData(format, g)) {
        GlobalFree(g);
        return FALSE;
    }
    return TRUE;
}

// Copies a global block's bytes (never past its size) for a bounded reader.
std::string globalBytes(HANDLE data)
{
    std::string out;
    if (!data)
        return out;
    SIZE_T size = GlobalSize(data);
    const char *p = (const char *)GlobalLock(data);
    if (!p)
        return out;
    if (size > 0x7fffffff)
        size = 0x7fffffff;
    out.assign(p, (size_t)size);
    GlobalUnlock(data);
    return out;
}

}  // namespace

UINT teRegisterClipFormat()
{
    if (!g_textFormat) {
        g_textFormat = RegisterClipboardFormatA("QM32Text");
        if (!g_textFormat)
            utErrorBoxId(nullptr, IDS_TE_CLIP_REGISTER);
    }
    return g_textFormat;
}

BOOL teCanPaste()
{
    if (IsClipboardFormatAvailable(CF_TEXT))
        return TRUE;
    if (teIsPlainText())
        return FALSE;
    UINT format = teRegisterClipFormat();
    return format && IsClipboardFormatAvailable(format);
}

// ---- data made for a copy ----------------------------------------------------------------------

HGLOBAL teMakeClipStream(const char *stream, const CharFormat *fmt)
{
    if (!stream)
        return nullptr;
    std::string out;
    if (fmt) {
        out.resize((size_t)txEncodeFormatSize(fmt) + 1);
        out.resize((size_t)txEncodeFormat(&out[0], fmt));
    }
    out.append(stream, (size_t)txstrlen(stream));
    MemHandle h = utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
    if (!h)
        return nullptr;
    // A hyperlink left open at the end of the range is closed in the copy.
    h = txCloseHyperlinks(h);
    HGLOBAL g = nullptr;
    {
        MemLock<char> p(h);
        if (p)
            g = globalFromBytes(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(h);
    return g;
}

HGLOBAL teMakeClipText(const char *stream)
{
    if (!stream)
        return nullptr;
    std::string out;
    for (int32_t i = 0; B(stream, i);) {
        uint8_t b = B(stream, i);
        if (b == TX_ESC || b == TX_GS) {
            int32_t n = b == TX_ESC ? txCodeUnitSize(stream + i) : txObjectSize(stream + i);
            i += n > 0 ? n : 1;
            continue;
        }
        ++i;
        if (b == TX_SEOL || b == TX_INDENT || b == 6)
            continue;   // a wrapped line joins the next without a separator
        out.push_back((char)b);
        if (b == TX_RETURN)
            out.push_back('\n');
    }
    return globalFromBytes(out.data(), out.size());
}

int teCopyObjectText(MemHandle object)
{
    if (!object)
        return 0;
    int placed = 0;
    MemHandle stream = txCopyStream(object);
    BOOL hasText = FALSE;
    {
        MemLock<char> p(stream);
        hasText = p && p[0] != 0;
    }
    if (hasText) {
        UINT format = teRegisterClipFormat();
        CharFormat fmt;
        if (format && txGetCharFormat(object, &fmt)) {
            // The clipboard's copy carries no layout: the receiver lays it out.
            MemLock<char> p(stream);
            txStripLayoutCodes(p.get());
            if (putData(format, teMakeClipStream(p.get(), &fmt)))
                placed = 1;
        }
        MemLock<char> p(stream);
        if (putData(CF_TEXT, teMakeClipText(p.get())))
            placed = 1;
    }
    utFreeHandle(stream);
    return placed;
}

// ---- bounded readers ----------------------------------------------------------------------------

MemHandle teClipTextFromBytes(const char *bytes, uint32_t size)
{
    if (!bytes)
        return 0;
    std::string out;
    for (uint32_t i = 0; i < size && bytes[i]; ++i) {
        uint8_t b = (uint8_t)bytes[i];
        if (b == '\r' || b == '\n') {
            out.push_back('\r');
            if (b == '\r' && i + 1 < size && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        out.push_back(b < 32 && b != '\t' ? ' ' : (char)b);
    }
    if (out.empty())
        return 0;
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

MemHandle teClipStreamFromBytes(const char *bytes, uint32_t size)
{
    const int32_t length = bytes ? txCheckStreamBounded(bytes, size) : -1;
    if (length < 0) {
        teBeep();
        return 0;
    }
    MemHandle h = utHandleFromBytes(bytes, (uint32_t)length + 1);
    if (!h)
        return 0;
    BOOL empty;
    {
        MemLock<char> p(h);
        txStripLayoutCodes(p.get());
        empty = p[0] == 0;
    }
    return empty ? utFreeHandle(h) : h;
}

MemHandle teClipReadText(HANDLE data)
{
    std::string bytes = globalBytes(data);
    return teClipTextFromBytes(bytes.data(), (uint32_t)bytes.size());
}

MemHandle teClipReadStream(HANDLE data)
{
    std::string bytes = globalBytes(data);
    return teClipStreamFromBytes(bytes.data(), (uint32_t)bytes.size());
}

// ---- first line --------------------------------------------------------------------------------

int32_t teKeepFirstLine(char *stream)
{
    if (!stream)
        return 0;
    char *end = txstrpbrk(stream, "\r\n");
    if (end)
        *end = 0;
    return txstrlen(stream);
}
