// Entry field option dialogs, the form's special options and field name lists.
#include "forms/fld_options.h"
#include "forms/db_types.h"
#include "forms/fld_dialogs.h"
#include "model/fm_form.h"
#include "objects/fil_border_dlg.h"
#include "objects/img_image.h"
#include "text/te_font_dlg.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "support/num_format.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "model/ws_document.h"
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// ---- "editstyle" ----------------------------------------------------------------------------

struct EditStyle {
    uint16_t word;
    BOOL allow;
};

INT_PTR CALLBACK editStyleProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditStyle *d = (EditStyle *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        d = (EditStyle *)lParam;
        CheckDlgButton(dlg, 190, (d->word & 0x1) ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dlg, 190), d->allow);
        CheckDlgButton(dlg, 194, (d->word & 0x40) ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 193:
            utHelpKeyword(dlg, "Entry Edit Style");
            return TRUE;
        case IDOK:
            if (d->allow)
                d->word = (uint16_t)((d->word & ~0x1) | (IsDlgButtonChecked(dlg, 190) ? 0x1 : 0));
            d->word = (uint16_t)((d->word & ~0x40) | (IsDlgButtonChecked(dlg, 194) ? 0x40 : 0));
            EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- "entdatatype" --------------------------------------------------------------------------

struct DataTypeChoice {
    const char *caption;
    uint16_t type;
};

INT_PTR CALLBACK dataTypeProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DataTypeChoice *d = (DataTypeChoice *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        d = (DataTypeChoice *)lParam;
        if (d->caption)
            SetWindowTextA(dlg, d->caption);
        dbFillTypeCombo(dlg, 104, (int16_t)d->type);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            d->type = (uint16_t)dbGetTypeCombo(dlg, 104);
            EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- "entws" ----------------------------------------------------------------------------------

const char *const kHAlign[] = {"Left", "Center", "Right"};
const struct {
    const char *text;
    uint16_t code;
} kVAlign[] = {{"Top", 4}, {"Center", 8}, {"Bottom", 16}};

bool takesMaxChars(uint16_t type)
{
    switch (type) {
    case 3: case 4: case 5: case 6: case 7: case 12: case 13: case 20: case 21: case 22:
    case 23: case 31: case 50:
        return true;
    default:
        return false;
    }
}

struct Defaults {
    EntryFieldPart part;
};

// Follows a new data type: display value, flags and the dependent controls.
void followType(HWND dlg, Defaults *d, uint16_t type)
{
    EntryFieldPart &p = d->part;
    if (type != p.dataType) {
        p.displayFormat = dbIsImageType((int16_t)type) ? 8 : numDefaultStyleForKind(type);
        if (type == 14)
            p.flags |= ENT_MULTILINE;
    }
    p.dataType = type;
    p.flags = entStyleFlags(p.flags, type);
    bool image = dbIsImageType((int16_t)type) != 0;
    SetDlgItemTextA(dlg, 124, image ? "Display..." : "Number...");
    EnableWindow(GetDlgItem(dlg, 124), image || dbIsNumericType((int16_t)type));
    EnableWindow(GetDlgItem(dlg, 123), !image);
    CheckDlgButton(dlg, 190, (p.flags & ENT_MULTILINE) ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dlg, 190), type == 3 || type == 31);
    bool max = takesMaxChars(type);
    EnableWindow(GetDlgItem(dlg, 173), max);
    EnableWindow(GetDlgItem(dlg, 175), max);
    if (!max)
        SetDlgItemInt(dlg, 173, (UINT)-1, TRUE);
}

INT_PTR CALLBACK defaultsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Defaults *d = (Defaults *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        d = (Defaults *)lParam;
        EntryFieldPart &p = d->part;
        SetDlgItemInt(dlg, 173, (UINT)(int)p.maxChars, TRUE);
        CheckDlgButton(dlg, 108, p.mode == 1 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dlg, 112, (p.options & 0x4) ? BST_CHECKED : BST_UNCHECKED);
        dbFillTypeCombo(dlg, 104, (int16_t)p.dataType);
        for (const char *h : kHAlign)
            SendDlgItemMessageA(dlg, 106, CB_ADDSTRING, 0, (LPARAM)h);
        for (const auto &v : kVAlign)
            SendDlgItemMessageA(dlg, 107, CB_ADDSTRING, 0, (LPARAM)v.text);
        int h = p.align & 0x3;
        SendDlgItemMessageA(dlg, 106, CB_SETCURSEL, h <= 2 ? (WPARAM)h : (WPARAM)-1, 0);
        for (int i = 0; i < 3; ++i)
            if ((p.align & 0x1C) == kVAlign[i].code)
                SendDlgItemMessageA(dlg, 107, CB_SETCURSEL, (WPARAM)i, 0);
        followType(dlg, d, p.dataType);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 104:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                followType(dlg, d, (uint16_t)dbGetTypeCombo(dlg, 104));
            return TRUE;
        case 121:
            filBorderStyleDlg(dlg, "Field Style", &d->part.frameStyle, &d->part.frameValue);
            return TRUE;
        case 123:
            txChooseFont(dlg, &d->part.font, 0, nullptr);
            return TRUE;
        case 124:
            if (dbIsImageType((int16_t)d->part.dataType))
                obAskImageFitMode(dlg, "Graphic Display Option", &d->part.displayFormat);
            else
                fldEditNumFormat(dlg, &d->part.displayFormat);
            return TRUE;
        case 130:
            utHelpKeyword(dlg, "Default Entry Field Properties");
            return TRUE;
        case IDOK: {
            EntryFieldPart &p = d->part;
            uint16_t type = (uint16_t)dbGetTypeCombo(dlg, 104);
            if (type)
                p.dataType = type;
            LRESULT h = SendDlgItemMessageA(dlg, 106, CB_GETCURSEL, 0, 0);
            LRESULT v = SendDlgItemMessageA(dlg, 107, CB_GETCURSEL, 0, 0);
            p.align = (uint16_t)((h == CB_ERR ? 0 : h) | (v == CB_ERR ? 4 : kVAlign[v].code));
            bool multi = IsDlgButtonChecked(dlg, 190) == BST_CHECKED;
            if (p.dataType != 14) {
                p.flags = (p.flags & ~ENT_MULTILINE) | ENT_DISPLAY_BITS;
                if ((p.dataType == 3 || p.dataType == 31) && multi)
                    p.flags |= ENT_MULTILINE;
                BOOL ok = FALSE;
                int max = (int)GetDlgItemInt(dlg, 173, &ok, TRUE);
                if (ok && max >= -1 && max <= 0x7FFF)
                    p.maxChars = (int16_t)max;
            } else {
                p.flags = (p.flags & ~(ENT_MULTILINE | ENT_DISPLAY_BITS)) | (multi ? ENT_MULTILINE : 0);
                p.maxChars = -1;
            }
            p.mode = IsDlgButtonChecked(dlg, 108) == BST_CHECKED ? 1 : 2;
            p.options = (uint16_t)((p.options & ~0x4) | (IsDlgButtonChecked(dlg, 112) ? 0x4 : 0));
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- "formspecial" ------------------------------------------------------------------------

INT_PTR CALLBACK specialProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    uint32_t *flags = (uint32_t *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        flags = (uint32_t *)lParam;
        CheckDlgButton(dlg, 100, (*flags & FM_SPECIAL_FLUSH_CLIPBOARD) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dlg, 101, (*flags & FM_SPECIAL_ENCODE_OBJECTS) ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            *flags = (*flags & ~3u) |
                     (IsDlgButtonChecked(dlg, 100) ? FM_SPECIAL_FLUSH_CLIPBOARD : 0) |
                     (IsDlgButtonChecked(dlg, 101) ? FM_SPECIAL_ENCODE_OBJECTS : 0);
            EndDialog(dlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

MemHandle newSpecialBlock()
{
    MemHandle block = utAllocHandle(0, FM_SPECIAL_SIZE);
    if (block) {
        MemLock<uint8_t> p(block);
        memset(p.get(), 0, FM_SPECIAL_SIZE);
        utPutAt<uint32_t>(p.get(), 0, FM_SPECIAL_SIZE);
    }
    return block;
}

// ---- names ------------------------------------------------------------------------------------

std::string nameOf(MemHandle object)
{
    char name[64] = "";
    obGetName(object, name);
    return name;
}

void appendName(std::string &list, char delimiter, MemHandle object, int kind)
{
    if (!fldNameKindAccepts(object, kind))
        return;
    std::string name = nameOf(object);
    if (name.empty())
        return;
    list += name;
    list += delimiter;
}

void appendPageNames(std::string &list, MemHandle page, char delimiter, int kind)
{
    for (MemHandle o = pgGetFirstObject(page); o; o = obGetNext(o))
        appendName(list, delimiter, o, kind);
}

MemHandle listHandle(const std::string &list)
{
    return list.empty() ? 0 : utHandleFromString(list.c_str());
}

MemHandle listDocNames(HWND workspace, int lastPage, char delimiter, int kind)
{
    MemHandle form = wsGetDocument(workspace);
    if (!form)
        return 0;
    int count = fmGetPageCount(form);
    if (lastPage >= count)
        lastPage = count - 1;
    std::string list;
    for (int n = 0; n <= lastPage; ++n) {
        form = wsGetDocument(workspace);
        MemHandle dir = fmGetDirectory(form);
        // A page already in memory (the current one, or one held with its
        // edits) stays; only what is read here is released again.
        bool wasLoaded = pgDirGetPages(dir, n) != 0;
        MemHandle page = pgDirEnsureLoaded(workspace, dir, n);
        if (!page)
            continue;
        appendPageNames(list, page, delimiter, kind);
        if (!wasLoaded && n != fmGetCurrentPage(wsGetDocument(workspace)))
            pgDropEntryPages(workspace, n);
    }
    return listHandle(list);
}

}  // namespace

int fldEditEntryStyle(HWND owner, uint16_t *style, uint16_t, BOOL allowMultiLine)
{
    if (!style)
        return 0;
    EditStyle d = {*style, allowMultiLine};
    int result = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "editstyle", owner, editStyleProc,
                                      (LPARAM)&d);
    if (result == 1)
        *style = d.word;
    return result == 1 ? 1 : 0;
}

int fldChooseDataType(HWND owner, const char *caption, uint16_t *type, uint32_t *flags)
{
    if (!type)
        return 0;
    DataTypeChoice d = {caption, *type};
    int result = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "entdatatype", owner,
                                      dataTypeProc, (LPARAM)&d);
    if (result != 1)
        return 0;
    *type = d.type;
    if (flags)
        *flags = entStyleFlags(*flags, d.type);
    return 1;
}

int fldEditEntryDefaults(HWND owner, EntryFieldPart *defaults)
{
    if (!defaults)
        return 0;
    Defaults d = {*defaults};
    int result = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "entws", owner, defaultsProc,
                                      (LPARAM)&d);
    if (result != 1)
        return 0;
    *defaults = d.part;
    defaults->listFlags = 0;
    return 1;
}

MemHandle fmEditSpecialOptions(HWND owner, MemHandle block, int *result)
{
    uint32_t flags = 0;
    if (block && utHandleSize(block) >= 12) {
        MemLock<uint8_t> p(block);
        flags = utGetAt<uint32_t>(p.get(), 8);
    }
    int answer = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "formspecial", owner, specialProc,
                                      (LPARAM)&flags);
    if (result)
        *result = answer;
    if (answer != IDOK)
        return block;
    if ((flags & 3) == 0) {
        utFreeHandle(block);
        return 0;
    }
    if (!block || utHandleSize(block) < FM_SPECIAL_SIZE) {
        MemHandle made = newSpecialBlock();
        if (!made)
            return block;
        utFreeHandle(block);
        block = made;
    }
    MemLock<uint8_t> p(block);
    utPutAt<uint32_t>(p.get(), 8, flags);
    return block;
}

MemHandle fmSetAllSpecialOptions(MemHandle form)
{
    MemHandle block = fmGetSpecialOptions(form);
    if (!block || utHandleSize(block) < FM_SPECIAL_SIZE) {
        MemHandle made = newSpecialBlock();
        if (block && made) {
            MemLock<uint8_t> from(block);
            MemLock<uint8_t> to(made);
            memcpy(to.get() + 4, from.get() + 4, utHandleSize(block) - 4);
        }
        utFreeHandle(block);
        block = made;
    }
    if (!block)
        return form;
    {
        MemLock<uint8_t> p(block);
        utPutAt<uint32_t>(p.get(), 8, utGetAt<uint32_t>(p.get(), 8) | 3u);
    }
    MemHandle moved = fmSetSpecialOptions(form, block);
    utFreeHandle(block);
    if (moved)
        form = moved;
    fmSetOptions(form, (uint16_t)(fmGetOptions(form) | FM_OPTION_SPECIAL));
    return form;
}

MemHandle obFindByName(MemHandle first, const char *name)
{
    if (!name || !*name)
        return 0;
    for (MemHandle o = first; o; o = obGetNext(o)) {
        std::string n = nameOf(o);
        if (!n.empty() && lstrcmpiA(n.c_str(), name) == 0)
            return o;
    }
    return 0;
}

BOOL fldNameKindAccepts(MemHandle object, int kind)
{
    int16_t type = obGetType(object);
    bool field = obIsEntryField(type) != FALSE;
    auto numericField = [&]() {
        if (!field)
            return false;
        ObLock r(object);
        EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
        return part && dbIsNumericType((int16_t)part->dataType);
    };
    switch (kind) {
    case FLD_NAMES_FIELDS:
        return field;
    case FLD_NAMES_NUMERIC:
        return numericField();
    case FLD_NAMES_GRAPHIC:
        return obTreeIsGraphicOnly(object);
    case FLD_NAMES_FIELDS_TABLES:
        return field || type == OBT_TABLE;
    case FLD_NAMES_NUMERIC_TABLES:
        return numericField() || type == OBT_TABLE;
    case FLD_NAMES_FIELDS_COUNTERS:
        return field || type == OBT_COUNTER;
    default:
        return TRUE;
    }
}

MemHandle fldListPageNames(MemHandle page, char delimiter, int kind)
{
    std::string list;
    appendPageNames(list, page, delimiter, kind);
    return listHandle(list);
}

MemHandle fldListPageNamesDeep(MemHandle page, char delimiter, int kind)
{
    std::string list;
    // Members before their group: for each object its member list, then its
    // attached object, then the object itself; an explicit stack keeps deep
    // trees off the call stack.
    struct Frame {
        MemHandle object;
        int stage;
    };
    for (MemHandle top = pgGetFirstObject(page); top; top = obGetNext(top)) {
        std::vector<Frame> stack{{top, 0}};
        while (!stack.empty()) {
            Frame &f = stack.back();
            if (f.stage == 0) {
                f.stage = 1;
                // Members in their order: pushed last to first.
                std::vector<MemHandle> members;
                for (MemHandle m = obGetFirstMember(f.object); m; m = obGetNextMember(m))
                    members.push_back(m);
                MemHandle attached = obGetAttached(f.object);
                if (attached)
                    stack.push_back({attached, 0});
                for (size_t i = members.size(); i-- > 0;)
                    stack.push_back({members[i], 0});
                continue;
            }
            appendName(list, delimiter, f.object, kind);
            stack.pop_back();
        }
    }
    return listHandle(list);
}

MemHandle fldListDocNames(HWND workspace, char delimiter, int kind)
{
    return listDocNames(workspace, 0x7FFFFFFF, delimiter, kind);
}

MemHandle fldListDocNamesUpTo(HWND workspace, int lastPage, char delimiter, int kind)
{
    return listDocNames(workspace, lastPage, delimiter, kind);
}
