// The form record, its fields and its tagged attributes.
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_swap.h"
#include "model/setup_record.h"
#include "support/dm_printer.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_scramble.h"
#include "model/ws_document.h"
#include <stdio.h>
#include <string.h>

namespace {

// The data of an attribute of a locked record of `block` bytes; null when
// absent or when the run does not fit the block or does not add up.
uint8_t *attrIn(FormRecord *r, uint32_t block, uint32_t tag, int *length)
{
    if (length)
        *length = 0;
    if (!r || (uint64_t)kFmHeadSize + r->attrs.size > block)
        return nullptr;
    const uint8_t *run = reinterpret_cast<const uint8_t *>(r) + kFmHeadSize;
    return const_cast<uint8_t *>(attGetDataIn(run, r->attrs.count, r->attrs.size, tag, length));
}

}  // namespace

// ---- the lock ------------------------------------------------------------------

FmLock::FmLock(MemHandle form)
    : lock_(form), rec_(nullptr), block_(utHandleSize(form))
{
    if (lock_ && block_ >= kFmHeadSize)
        rec_ = lock_.get();
}

uint8_t *FmLock::findAttr(uint32_t tag, int *length) const
{
    return attrIn(rec_, block_, tag, length);
}

namespace {

const uint32_t kAttrHeaderAt = offsetof(FormRecord, attrs);

// Runs f on the locked record, or answers `absent` for no form.
template <typename T, typename F>
T withForm(MemHandle form, T absent, F f)
{
    FmLock r(form);
    return r ? f(r.get()) : absent;
}

template <typename F>
void changeForm(MemHandle form, F f)
{
    FmLock r(form);
    if (r)
        f(r.get());
}

void setOption(MemHandle form, uint16_t mask, BOOL on)
{
    changeForm(form, [&](FormRecord *r) {
        r->options = on ? (uint16_t)(r->options | mask) : (uint16_t)(r->options & ~mask);
    });
}

int optionSet(MemHandle form, uint16_t mask)
{
    return withForm(form, 0, [&](FormRecord *r) { return (r->options & mask) ? 1 : 0; });
}

// The bytes of a length-prefixed block (its u32 length, trusted only within
// the block and when it covers `minimum` bytes); 0 when it cannot be used.
uint32_t prefixedLength(MemHandle block, uint32_t minimum)
{
    uint32_t length = utGetPacketLength(block);
    return length >= minimum && length <= utHandleSize(block) && length <= (uint32_t)kAttMaxValue
               ? length
               : 0;
}

// Stores a length-prefixed block as the attribute; a null block removes it.
// A block whose length cannot be trusted leaves the form as it is.
MemHandle storePrefixed(MemHandle form, uint32_t tag, MemHandle block, uint32_t minimum)
{
    if (!block)
        return fmSetAttr(form, tag, nullptr, 0);
    uint32_t length = prefixedLength(block, minimum);
    if (!length)
        return form;
    MemLock<uint8_t> p(block);
    return fmSetAttr(form, tag, p.get(), (int)length);
}

// ---- document options -------------------------------------------------------------

const uint32_t kDoSize = sizeof(DocOptions);

// The fixed part of the form's document options, inside the locked record.
DocOptions *docOptionsIn(const FmLock &r)
{
    int length = 0;
    uint8_t *data = r.findAttr(FM_TAG_DOC_OPTIONS, &length);
    return data && (uint32_t)length >= kDoSize ? reinterpret_cast<DocOptions *>(data) : nullptr;
}

struct FlagBRule {
    uint16_t bit;
    bool clearMeansOne;
    int absent;
};
const FlagBRule kFlagBRules[] = {
    {DO_B_2, true, 1},     {DO_B_4, false, 0},    {DO_B_20, false, 0},
    {DO_B_100, false, 0},  {DO_B_200, true, 1},   {DO_B_400, false, 0},
    {DO_B_800, false, 0},  {DO_B_4000, true, 1},  {DO_B_8000, false, 1},
};

FlagBRule ruleOf(uint16_t bit)
{
    for (const FlagBRule &r : kFlagBRules)
        if (r.bit == bit)
            return r;
    return FlagBRule{bit, false, 0};
}

// ---- password -----------------------------------------------------------------------

const uint16_t kPasswordKey = 23719;

// ---- name counters ----------------------------------------------------------------

struct NameFormat {
    FmNameKind kind;
    const char *padded;
    const char *plain;
};
const NameFormat kNameFormats[] = {
    {FM_NAME_FIELD, "F%03d", "F%d"},
    {FM_NAME_BUTTON, "Button%03d", "Button%d"},
    {FM_NAME_CHECKBOX, "CheckBox%03d", "CheckBox%d"},
    {FM_NAME_GROUPBOX, "GroupBox%03d", "GroupBox%d"},
    {FM_NAME_TABLE, "Table%03d", "Table%d"},
    {FM_NAME_RADIO, "RadioBtn%03d", "RadioBtn%d"},
    {FM_NAME_COUNTER, "Counter%03d", "Counter%d"},
    {FM_NAME_REPORT_TABLE, "rptb%03d", "rptb%d"},
    {FM_NAME_IMAGE_FILE, "Imgf%03d", "Imgf%d"},
};
const int kNameBufferSize = 32;

const NameFormat *formatOf(FmNameKind kind)
{
    for (const NameFormat &f : kNameFormats)
        if (f.kind == kind)
            return &f;
    return nullptr;
}

// The counters record inside the locked form; null when absent or too
// short to hold every slot.
uint8_t *countersIn(const FmLock &r)
{
    int length = 0;
    uint8_t *data = r.findAttr(FM_TAG_NAME_COUNTERS, &length);
    return data && length >= kFmNameCountersSize ? data : nullptr;
}

// Steps the counter once (past the limit back to 1) and formats the name;
// false without counters.
bool stepCounter(MemHandle form, FmNameKind kind, const NameFormat &format, char *buffer)
{
    FmLock r(form);
    uint8_t *c = r ? countersIn(r) : nullptr;
    if (!c)
        return false;
    int limit = utGetAt<uint16_t>(c, 6);
    int value = utGetAt<uint16_t>(c, 2 * kind) + 1;
    if (value > limit)
        value = 1;
    utPutAt<uint16_t>(c, 2 * kind, (uint16_t)value);
    snprintf(buffer, kNameBufferSize, value < 10000 ? format.padded : format.plain, value);
    return true;
}

int nameLimit(MemHandle form)
{
    FmLock r(form);
    uint8_t *c = r ? countersIn(r) : nullptr;
    return c ? utGetAt<uint16_t>(c, 6) : 0;
}

}  // namespace

// ---- life ---------------------------------------------------------------------

MemHandle fmNew()
{
    MemHandle form = utAllocHandle(0, kFmHeadSize);
    if (!form)
        return 0;
    {
        FmLock r(form);
        setGetFormDefaults(reinterpret_cast<uint8_t *>(r.get()));
        r->length = kFmHeadSize;
        memset(&r->attrs, 0, sizeof(r->attrs));
        setClearFormHandles(reinterpret_cast<uint8_t *>(r.get()));
        r->options |= FM_OPT_SAVE_OPTION_ANSWERED;
    }
    if (setHasDefaultText()) {
        if (MemHandle text = setGetDefaultText()) {
            MemHandle copy = 0;
            {
                MemLock<char> t(text);
                char *s = t.get();
                uint32_t n = utHandleSize(text);
                if (s && n && memchr(s, 0, n))
                    copy = utHandleFromString(s);
            }
            if (copy) {
                MemLock<char> t(copy);
                form = fmSetTextAttr(form, FM_TAG_TEXT2, t.get());
            }
            utFreeHandle(copy);
            utFreeHandle(text);
        }
    }
    form = fmAddNameCounters(form);
    return fmStorePrinterNames(form);
}

void fmFree(MemHandle form)
{
    if (!form)
        return;
    MemHandle dir = 0, fileName = 0, base = 0;
    MemHandle blocks[4] = {0, 0, 0, 0};
    int count = 0;
    {
        FmLock r(form);
        if (r) {
            dir = r->directory;
            count = r->pages;
            fileName = r->fileName;
            base = r->basePage;
            for (int i = 0; i < 3; ++i)
                blocks[i] = r->blocks[i];
            blocks[3] = r->block4;
        }
    }
    pgDeleteAllEntryFiles(dir, count);
    pgDirDropAll(dir, count);
    utFreeHandle(dir);
    for (MemHandle b : blocks)
        utFreeHandle(b);
    utFreeHandle(fileName);
    pgFreeList(base);
    utFreeHandle(form);
}

// ---- attributes -----------------------------------------------------------------

const uint8_t *fmFindAttr(MemHandle form, uint32_t tag, int *length)
{
    if (length)
        *length = 0;
    if (utHandleSize(form) < kFmHeadSize)
        return nullptr;
    FormRecord *r = static_cast<FormRecord *>(utLock(form));
    if (!r)
        return nullptr;
    const uint8_t *data = attrIn(r, utHandleSize(form), tag, length);
    if (!data)
        utUnlock(form);
    return data;
}

void fmUnlock(MemHandle form) { utUnlock(form); }

MemHandle fmSetAttr(MemHandle form, uint32_t tag, const void *data, int length)
{
    if (!form)
        return 0;
    MemHandle valid = attSet(form, TRUE, kAttrHeaderAt, kFmHeadSize, data, length, tag);
    return valid ? valid : form;
}

MemHandle fmGetAttrCopy(MemHandle form, uint32_t tag)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, tag, &length);
    if (!data)
        return 0;
    MemHandle copy = length > 0 ? utHandleFromBytes(data, (uint32_t)length) : 0;
    fmUnlock(form);
    return copy;
}

MemHandle fmGetTextAttr(MemHandle form, uint32_t tag)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, tag, &length);
    if (!data)
        return 0;
    MemHandle text = attTextCopy(data, length);
    fmUnlock(form);
    return text;
}

MemHandle fmSetTextAttr(MemHandle form, uint32_t tag, const char *text)
{
    int n = attTextLength(text);
    return n < 0 ? form : fmSetAttr(form, tag, text, n);
}

BOOL fmHasText4000000(MemHandle form)
{
    return withForm(form, FALSE, [](FormRecord *r) {
        return (r->attrs.tagMask & FM_TAG_TEXT4000000) ? TRUE : FALSE;
    });
}

BOOL fmHasNumberSettings(MemHandle form)
{
    return withForm(form, FALSE, [](FormRecord *r) {
        return (r->attrs.tagMask & FM_TAG_NUMBER_SETTINGS) ? TRUE : FALSE;
    });
}

// ---- fields ---------------------------------------------------------------------

int fmGetPageCount(MemHandle form)
{
    return withForm(form, 0, [](FormRecord *r) { return (int)r->pages; });
}

uint16_t fmGetOptions(MemHandle form)
{
    return withForm(form, (uint16_t)0, [](FormRecord *r) { return r->options; });
}

void fmSetOptions(MemHandle form, uint16_t options)
{
    changeForm(form, [&](FormRecord *r) { r->options = options; });
}

int fmIsInRecentList(MemHandle form) { return form ? !optionSet(form, FM_OPT_NOT_IN_RECENT) : 1; }

void fmToggleRecentList(MemHandle form)
{
    changeForm(form, [](FormRecord *r) { r->options ^= FM_OPT_NOT_IN_RECENT; });
}

int fmNeedsSaveOptionPrompt(MemHandle form)
{
    return form ? !optionSet(form, FM_OPT_SAVE_OPTION_ANSWERED) : 0;
}

void fmSetSaveOptionDue(MemHandle form, BOOL due)
{
    setOption(form, FM_OPT_SAVE_OPTION_ANSWERED, !due);
}

void fmSetFlag400(MemHandle form, BOOL on) { setOption(form, FM_OPT_FLAG400, on); }
int fmGetFlag400(MemHandle form) { return optionSet(form, FM_OPT_FLAG400); }
int fmPrintsBackgrounds(MemHandle form) { return optionSet(form, FM_OPT_PRINT_BACKGROUNDS); }
int fmGetFlag1000(MemHandle form) { return optionSet(form, FM_OPT_FLAG1000); }
void fmSetFlag80(MemHandle form, BOOL on) { setOption(form, FM_OPT_FLAG80, on); }
int fmGetFlag80(MemHandle form) { return optionSet(form, FM_OPT_FLAG80); }

void fmClearOptions(MemHandle form)
{
    changeForm(form, [](FormRecord *r) { r->options &= FM_OPT_KEPT_ON_CLEAR; });
}

uint16_t fmGetStyle(MemHandle form)
{
    return withForm(form, (uint16_t)0, [](FormRecord *r) { return r->style; });
}

void fmSetStyle(MemHandle form, uint16_t style)
{
    changeForm(form, [&](FormRecord *r) { r->style = style; });
}

void fmSetStyleSaved(MemHandle form)
{
    changeForm(form, [](FormRecord *r) { r->style |= FM_STYLE_SAVED; });
}

void fmSetStyle4(MemHandle form, BOOL on)
{
    changeForm(form, [&](FormRecord *r) {
        r->style = on ? (uint16_t)(r->style | FM_STYLE_4) : (uint16_t)(r->style & ~FM_STYLE_4);
    });
}

int fmGetStyle4(MemHandle form)
{
    return withForm(form, 0, [](FormRecord *r) { return (r->style & FM_STYLE_4) ? 1 : 0; });
}

uint32_t fmGetViewWord(MemHandle form)
{
    return withForm(form, 0u, [](FormRecord *r) { return r->viewWord; });
}

int fmSetViewWord(MemHandle form, uint32_t value)
{
    return withForm(form, 0, [&](FormRecord *r) {
        int changed = r->viewWord != value;
        r->viewWord = value;
        return changed;
    });
}

int fmGetGridDivisions(MemHandle form)
{
    return withForm(form, 0, [](FormRecord *r) { return (int)r->gridDivisions; });
}

int fmGetUnit(MemHandle form)
{
    return withForm(form, 0, [](FormRecord *r) { return r->unit ? (int)r->unit : 3; });
}

int fmGetCurrentPage(MemHandle form)
{
    return withForm(form, 0, [](FormRecord *r) { return (int)(int16_t)r->currentPage; });
}

void fmSetCurrentPage(MemHandle form, int index)
{
    changeForm(form, [&](FormRecord *r) { r->currentPage = (uint16_t)index; });
}

MemHandle fmGetDirectory(MemHandle form)
{
    return withForm(form, (MemHandle)0, [](FormRecord *r) { return r->directory; });
}

MemHandle fmGetBasePage(MemHandle form)
{
    return withForm(form, (MemHandle)0, [](FormRecord *r) { return r->basePage; });
}

void fmSetBasePage(MemHandle form, MemHandle page)
{
    changeForm(form, [&](FormRecord *r) {
        r->basePage = page;
        if (page)
            r->resources |= FM_RES_BASE_PAGE;
        else
            r->resources &= ~FM_RES_BASE_PAGE;
    });
}

void fmDropBasePage(MemHandle form)
{
    MemHandle base = fmGetBasePage(form);
    fmSetBasePage(form, 0);
    pgFreeList(base);
}

BOOL fmIsLengthConsistent(MemHandle form)
{
    return withForm(form, FALSE, [](FormRecord *r) {
        return r->length == kFmHeadSize + r->attrs.size ? TRUE : FALSE;
    });
}

BOOL fmSetFilePath(MemHandle form, const char *path)
{
    FmLock r(form);
    if (!r)
        return FALSE;
    MemHandle name = 0;
    if (path && *path) {
        name = utHandleFromString(path);
        if (!name)
            return FALSE;
    }
    utFreeHandle(r->fileName);
    r->fileName = name;
    return TRUE;
}

int fmGetFilePath(MemHandle form, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return 0;
    buffer[0] = 0;
    MemHandle name = withForm(form, (MemHandle)0, [](FormRecord *r) { return r->fileName; });
    uint32_t held = utHandleSize(name);
    if (!held)
        return 0;
    MemLock<char> n(name);
    if (!n)
        return 0;
    uint32_t len = 0;
    while (len < held && n[len])
        ++len;
    if (len >= size)
        len = size - 1;
    memcpy(buffer, n.get(), len);
    buffer[len] = 0;
    return len ? 1 : 0;
}

BOOL fmHasFilePath(MemHandle form)
{
    char first[2];
    return fmGetFilePath(form, first, sizeof(first)) ? TRUE : FALSE;
}

// ---- facing pages -----------------------------------------------------------------

MemHandle fmSetFacingPages(MemHandle form, MemHandle record)
{
    return storePrefixed(form, FM_TAG_FACING_PAGES, record, 10);
}

int fmIsMirroredPage(MemHandle form, int n)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, FM_TAG_FACING_PAGES, &length);
    if (!data)
        return 0;
    int result = 0;
    if (length >= 10) {
        uint16_t mode = utGetAt<uint16_t>(data, 6);
        int16_t first = (int16_t)utGetAt<uint16_t>(data, 8);
        result = (mode == 1 || mode == 2) && ((n - first) & 1) ? 1 : 0;
    }
    fmUnlock(form);
    return result;
}

// ---- length-prefixed blocks ---------------------------------------------------------

MemHandle fmGetSpecialOptions(MemHandle form) { return fmGetAttrCopy(form, FM_TAG_SPECIAL_OPTIONS); }

MemHandle fmSetSpecialOptions(MemHandle form, MemHandle block)
{
    return storePrefixed(form, FM_TAG_SPECIAL_OPTIONS, block, 12);
}

static int specialFlag(MemHandle form, uint32_t bit)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, FM_TAG_SPECIAL_OPTIONS, &length);
    if (!data)
        return 0;
    int result = length >= 12 && (utGetAt<uint32_t>(data, 8) & bit) ? 1 : 0;
    fmUnlock(form);
    return result;
}

int fmGetSpecialFlag0(MemHandle form) { return specialFlag(form, 1); }
int fmGetSpecialFlag1(MemHandle form) { return specialFlag(form, 2); }

MemHandle fmGetBlock(MemHandle form) { return fmGetAttrCopy(form, FM_TAG_BLOCK); }

MemHandle fmSetBlock(MemHandle form, MemHandle block)
{
    return storePrefixed(form, FM_TAG_BLOCK, block, 4);
}

// ---- document options ---------------------------------------------------------------

void docOptionsDefaults(DocOptions *options)
{
    memset(options, 0, sizeof(*options));
    options->length = kDoSize;
    options->kind = 331;
    options->flagsA = 0x80000000u;
    options->flagsB = DO_B_8000;
}

int fmGetDocOptions(MemHandle form, DocOptions *options)
{
    FmLock r(form);
    const DocOptions *d = r ? docOptionsIn(r) : nullptr;
    if (!d)
        return 0;
    memcpy(options, d, kDoSize);
    return 1;
}

MemHandle fmDupDocOptions(MemHandle form)
{
    FmLock r(form);
    if (!r || !docOptionsIn(r))
        return 0;
    return fmGetAttrCopy(form, FM_TAG_DOC_OPTIONS);
}

MemHandle fmSetDocOptions(MemHandle form, MemHandle options)
{
    return storePrefixed(form, FM_TAG_DOC_OPTIONS, options, kDoSize);
}

MemHandle doGetAttrCopy(MemHandle options, uint32_t tag)
{
    uint32_t block = utHandleSize(options);
    if (block < kDoSize)
        return 0;
    MemLock<DocOptions> d(options);
    if (!d || (uint64_t)kDoSize + d->attrs.size > block)
        return 0;
    return attGetCopyIn(reinterpret_cast<uint8_t *>(d.get()) + kDoSize, d->attrs.count,
                        d->attrs.size, tag);
}

MemHandle doSetAttr(MemHandle options, uint32_t tag, const void *data, int length)
{
    if (utHandleSize(options) < kDoSize)
        return options;
    MemHandle valid =
        attSet(options, TRUE, offsetof(DocOptions, attrs), kDoSize, data, length, tag);
    return valid ? valid : options;
}

MemHandle doGetText(MemHandle options, uint32_t tag)
{
    MemHandle copy = doGetAttrCopy(options, tag);
    if (!copy)
        return 0;
    MemHandle text;
    {
        MemLock<uint8_t> c(copy);
        text = attTextCopy(c.get(), (int)utHandleSize(copy));
    }
    utFreeHandle(copy);
    return text;
}

MemHandle doSetText(MemHandle options, uint32_t tag, const char *text)
{
    int n = attTextLength(text);
    return n < 0 ? options : doSetAttr(options, tag, text, n);
}

uint32_t doGetFlagsA(MemHandle form)
{
    FmLock r(form);
    const DocOptions *d = r ? docOptionsIn(r) : nullptr;
    return d ? d->flagsA : 0;
}

MemHandle doSetFlagsA(MemHandle form, uint32_t flags)
{
    FmLock r(form);
    if (DocOptions *d = r ? docOptionsIn(r) : nullptr)
        d->flagsA = flags;
    return form;
}

int doAnyFlagsA(MemHandle form) { return (doGetFlagsA(form) & 0x6C) ? 1 : 0; }

int doGetWord70(MemHandle form)
{
    FmLock r(form);
    const DocOptions *d = r ? docOptionsIn(r) : nullptr;
    return d ? d->word70 : 0;
}

int doGetFlagB(MemHandle form, uint16_t bit)
{
    FlagBRule rule = ruleOf(bit);
    FmLock r(form);
    const DocOptions *d = r ? docOptionsIn(r) : nullptr;
    if (!d)
        return rule.absent;
    bool set = (d->flagsB & bit) != 0;
    return set != rule.clearMeansOne ? 1 : 0;
}

MemHandle doSetFlagB(MemHandle form, uint16_t bit, BOOL value)
{
    FlagBRule rule = ruleOf(bit);
    bool set = (value != FALSE) != rule.clearMeansOne;
    bool present;
    {
        FmLock r(form);
        present = r && docOptionsIn(r);
    }
    if (!present) {
        if (!form || !set || (bit != DO_B_400 && bit != DO_B_800))
            return form;
        DocOptions defaults;
        docOptionsDefaults(&defaults);
        form = fmSetAttr(form, FM_TAG_DOC_OPTIONS, &defaults, (int)kDoSize);
    }
    FmLock r(form);
    if (DocOptions *d = r ? docOptionsIn(r) : nullptr)
        d->flagsB = set ? (uint16_t)(d->flagsB | bit) : (uint16_t)(d->flagsB & ~bit);
    return form;
}

// ---- password -----------------------------------------------------------------------

int fmGetPassword(MemHandle form, char *buffer)
{
    buffer[0] = 0;
    int length = 0;
    const uint8_t *data = fmFindAttr(form, FM_TAG_PASSWORD, &length);
    if (!data)
        return 0;
    // The stored characters are followed by their terminator; the
    // scrambled bytes themselves may hold a zero, so the count comes from
    // the stored length, never from the text.
    int chars = length > 0 && data[length - 1] == 0 ? length - 1 : length;
    if (chars > kFmPasswordMax)
        chars = kFmPasswordMax;
    memcpy(buffer, data, (size_t)chars);
    fmUnlock(form);
    buffer[chars] = 0;
    utScrambleWords(buffer, (uint32_t)chars, kPasswordKey);
    return chars;
}

MemHandle fmSetPassword(MemHandle form, const char *text)
{
    if (!text || !*text)
        return fmSetAttr(form, FM_TAG_PASSWORD, nullptr, 0);
    char scrambled[kFmPasswordMax + 1] = {};
    size_t n = strlen(text);
    if (n > (size_t)kFmPasswordMax)
        n = kFmPasswordMax;
    memcpy(scrambled, text, n);
    utScrambleWords(scrambled, (uint32_t)n, kPasswordKey);
    return fmSetAttr(form, FM_TAG_PASSWORD, scrambled, (int)n + 1);
}

// ---- name counters ----------------------------------------------------------------

MemHandle fmAddNameCounters(MemHandle form)
{
    uint8_t counters[kFmNameCountersSize] = {};
    utPutAt<uint32_t>(counters, 0, kFmNameCountersSize);
    utPutAt<uint16_t>(counters, 4, kFmNameCountersKind);
    utPutAt<uint16_t>(counters, 6, kFmNameLimit);
    return fmSetAttr(form, FM_TAG_NAME_COUNTERS, counters, kFmNameCountersSize);
}

int fmNextName(HWND workspace, MemHandle *form, FmNameKind kind, char *buffer)
{
    buffer[0] = 0;
    const NameFormat *format = formatOf(kind);
    if (!form || !*form || !format)
        return 0;
    bool present;
    {
        FmLock r(*form);
        present = r && countersIn(r);
    }
    if (!present) {
        MemHandle moved = fmAddNameCounters(*form);
        if (moved != *form) {
            *form = moved;
            if (workspace)
                wsSetDocument(workspace, moved);
        }
    }
    // Every value from 1 to the limit is tried at most once: when all the
    // names are taken there is none to give.
    int tries = nameLimit(*form);
    if (tries < 1)
        tries = 1;
    for (int i = 0; i < tries; ++i) {
        if (!stepCounter(*form, kind, *format, buffer))
            break;
        if (!wsFindObjectByName(workspace, buffer))
            return 1;
    }
    buffer[0] = 0;
    return 0;
}

int fmNextFieldName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_FIELD, b); }
int fmNextButtonName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_BUTTON, b); }
int fmNextCheckBoxName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_CHECKBOX, b); }
int fmNextGroupBoxName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_GROUPBOX, b); }
int fmNextTableName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_TABLE, b); }
int fmNextRadioButtonName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_RADIO, b); }
int fmNextCounterName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_COUNTER, b); }
int fmNextReportTableName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_REPORT_TABLE, b); }
int fmNextImageFileName(HWND ws, MemHandle *form, char *b) { return fmNextName(ws, form, FM_NAME_IMAGE_FILE, b); }

int fmGetNameCounter(MemHandle form, FmNameKind kind)
{
    FmLock r(form);
    uint8_t *c = r ? countersIn(r) : nullptr;
    return c && formatOf(kind) ? utGetAt<uint16_t>(c, 2 * kind) : -1;
}

void fmResetNameCounter(MemHandle form, FmNameKind kind)
{
    FmLock r(form);
    if (uint8_t *c = r && formatOf(kind) ? countersIn(r) : nullptr)
        utPutAt<uint16_t>(c, 2 * kind, 1);
}

void fmUndoName(MemHandle form, FmNameKind kind)
{
    FmLock r(form);
    uint8_t *c = r && formatOf(kind) ? countersIn(r) : nullptr;
    if (!c)
        return;
    uint16_t value = utGetAt<uint16_t>(c, 2 * kind);
    bool above = kind == FM_NAME_FIELD ? (int16_t)value > 0 : value > 0;
    if (above)
        utPutAt<uint16_t>(c, 2 * kind, (uint16_t)(value - 1));
}

void fmResetFieldCounter(MemHandle form) { fmResetNameCounter(form, FM_NAME_FIELD); }
void fmUndoFieldName(MemHandle form) { fmUndoName(form, FM_NAME_FIELD); }
void fmResetTableCounter(MemHandle form) { fmResetNameCounter(form, FM_NAME_TABLE); }
void fmUndoTableName(MemHandle form) { fmUndoName(form, FM_NAME_TABLE); }
void fmResetReportTableCounter(MemHandle form) { fmResetNameCounter(form, FM_NAME_REPORT_TABLE); }
void fmUndoReportTableName(MemHandle form) { fmUndoName(form, FM_NAME_REPORT_TABLE); }
void fmResetImageFileCounter(MemHandle form) { fmResetNameCounter(form, FM_NAME_IMAGE_FILE); }
void fmUndoImageFileName(MemHandle form) { fmUndoName(form, FM_NAME_IMAGE_FILE); }

// ---- printer names ------------------------------------------------------------------

MemHandle fmStorePrinterNames(MemHandle form)
{
    MemHandle packet = dmPackPrinterNames();
    uint32_t length = prefixedLength(packet, DM_PACKET_HEAD);
    if (length) {
        MemLock<uint8_t> p(packet);
        form = fmSetAttr(form, FM_TAG_PRINTER_NAMES, p.get(), (int)length);
    }
    utFreeHandle(packet);
    return form;
}

int fmSamePrinter(MemHandle form)
{
    MemHandle packet = dmPackPrinterNames();
    uint32_t length = prefixedLength(packet, DM_PACKET_HEAD);
    int same = 0;
    int stored = 0;
    const uint8_t *data = length ? fmFindAttr(form, FM_TAG_PRINTER_NAMES, &stored) : nullptr;
    if (data) {
        MemLock<uint8_t> p(packet);
        same = (uint32_t)stored == length && memcmp(data, p.get(), length) == 0;
        fmUnlock(form);
    }
    utFreeHandle(packet);
    return same;
}

// ---- debugging ---------------------------------------------------------------------------

MemHandle fmDumpText(MemHandle form)
{
    FmLock r(form);
    if (!r)
        return 0;
    char text[512];
    snprintf(text, sizeof(text),
             "Form Struct: Length = %d, Type = %d, Update Time = %d,\r\n"
             "Form Option = %x, Number Of Pages = %d, Style = %d, \r\n"
             "Resources = %x, Number of Resources = %d \r\n"
             "Commands  = %x, Number of Commands  = %d \r\n",
             (int)r->length, (int)r->type, (int)r->updateTime, (unsigned)r->options,
             (int)r->pages, (int)r->style, (unsigned)r->resources, (int)r->resourceCount,
             (unsigned)r->attrs.tagMask, (int)r->attrs.count);
    return utHandleFromString(text);
}
