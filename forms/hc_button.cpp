// Attributes, label wrapping and command texts of push buttons, and the
// rules for names of fields and objects.
#include "forms/hc_button.h"
#include "forms/fld_button.h"
#include "forms/fld_text.h"
#include "model/att_attr.h"
#include "model/ws_document.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const int32_t kMinWrapWidth = 240;

// The text broken into lines no wider than the width; a word wider than the
// width stands on its own line. Each line but the last keeps the blank it
// was broken at.
std::string wrapText(const std::string &text, const LOGFONTA &font, int32_t width)
{
    std::vector<std::string> words;   // each with its trailing blanks
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find(' ', i);
        if (j == std::string::npos)
            j = text.size();
        while (j < text.size() && text[j] == ' ')
            ++j;
        words.push_back(text.substr(i, j - i));
        i = j;
    }
    std::string out, line;
    for (const std::string &w : words) {
        std::string trial = line + w;
        std::string visible = trial.substr(0, trial.find_last_not_of(' ') + 1);
        SIZE ext;
        fldMeasureText(&font, visible.c_str(), (int)visible.size(), &ext);
        if (!line.empty() && ext.cx > width) {
            out += line;
            out += '\n';
            line = w;
        } else {
            line = trial;
        }
    }
    return out + line;
}

}  // namespace

MemHandle hcSetButtonAttr(MemHandle button, uint32_t tag, const void *text, int length)
{
    uint32_t at;
    {
        ObLock r(button);
        if (!r || !btnPart(r.get()))
            return 0;
        at = obDataOffset(r.get());
    }
    MemHandle valid = attSet(button, FALSE, at + kBtnHeaderOffset, at + kBtnPartSize,
                             length > 0 ? text : nullptr, length > 0 ? length : 0, tag);
    if (!valid)
        return 0;
    {
        ObLock r(valid);
        ButtonPart *part = reinterpret_cast<ButtonPart *>(obRecData(r.get()));
        part->length = kBtnPartSize + part->attrBytes;
        btnRecordSizeIn(r.get(), r.blockSize());
    }
    obRelinkMoved(button, valid);
    return valid;
}

MemHandle hcWrapButtonLabel(MemHandle button, int *changed)
{
    if (changed)
        *changed = 0;
    std::string label, wrapped;
    {
        ObLock r(button);
        ButtonPart *part = r ? btnPart(r.get()) : nullptr;
        if (!part)
            return button;
        int n = 0;
        const uint8_t *data = attGetDataIn(reinterpret_cast<uint8_t *>(part) + kBtnPartSize,
                                           part->attrCount, part->attrBytes, BTN_TAG_LABEL, &n);
        if (!data || n <= 0)
            return button;
        label.assign(reinterpret_cast<const char *>(data),
                     strnlen(reinterpret_cast<const char *>(data), (size_t)n));
        if (label.find(' ') == std::string::npos)
            return button;
        RECT area;
        obRecGetRect(r.get(), &area);
        btnFaceTextRect(&area, part);
        int32_t width = area.right - area.left;
        if (width < 1)
            width = r->width;
        std::string flat;
        for (char c : label)
            if (c != '\n' && c != '\r')
                flat += c;
        wrapped = wrapText(flat, part->font, std::max(width, kMinWrapWidth));
    }
    if (wrapped == label)
        return button;
    MemHandle valid = hcSetButtonAttr(button, BTN_TAG_LABEL, wrapped.c_str(),
                                      (int)wrapped.size() + 1);
    if (!valid)
        return button;   // the old label stays
    if (changed)
        *changed = 1;
    return valid;
}

// ---- command texts ---------------------------------------------------------------------

namespace {

struct HyperCommand {
    int16_t code;
    const char *display;
    const char *word;
    bool takesArgument;
};
// The code-text table in the order the button dialog lists it.
const HyperCommand kCommands[] = {
    {0, "Do Nothing", nullptr, false},
    {63, "Go To Next Page", "nextpage", false},
    {64, "Go To Previous Page", "prevpage", false},
    {65, "Go To First Page", "firstpage", false},
    {66, "Go To Last Page", "lastpage", false},
    {61, "Go To Page Number", "gopagenum", true},
    {62, "Go To Page Name", "gopagename", true},
    {40, "Go To File", "gofile", true},
    {70, "Go To File, Page Name", "gofile", true},
    {71, "Go To File, Page Number", "gofile", true},
    {20, "Open File", "openfile", true},
    {73, "Open File, Page Name", "openfile", true},
    {74, "Open File, Page Number", "openfile", true},
    {101, "Play Sound File (.wav)", "play", true},
    {100, "Run Program", "sys", true},
    {102, "Slide Show", "slideshow", true},
    {46, "Close Form", "close", true},
    {21, "Exit", "exit", false},
};

const HyperCommand *findCommand(int code)
{
    for (const HyperCommand &c : kCommands)
        if (c.code == code)
            return &c;
    return nullptr;
}

const char kNameUsed[] = "The name: %s  has been used by other object.  Please change.";

// A box with the caption of the application name and " Message".
int nameBox(HWND owner, const char *text, UINT flags)
{
    return utMessageBox(owner, text, flags);
}

int nameUsedBox(HWND owner, const char *name)
{
    char text[160];
    snprintf(text, sizeof text, kNameUsed, name);
    nameBox(owner, text, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

}  // namespace

const char *hcCommandDisplayName(int code)
{
    const HyperCommand *c = findCommand(code);
    return c ? c->display : nullptr;
}

MemHandle hcBuildCommandText(int code, const char *argument)
{
    const HyperCommand *c = findCommand(code);
    if (!c || !c->word)
        return 0;
    std::string text = c->word;
    if (c->takesArgument && argument && *argument) {
        text += ' ';
        text += argument;
    }
    return utHandleFromString(text.c_str());
}

MemHandle hcGetButtonCommand(MemHandle button)
{
    int16_t code;
    std::string argument;
    {
        ObLock r(button);
        ButtonPart *part = r ? btnPart(r.get()) : nullptr;
        if (!part)
            return 0;
        int n = 0;
        const uint8_t *data = attGetDataIn(reinterpret_cast<uint8_t *>(part) + kBtnPartSize,
                                           part->attrCount, part->attrBytes, BTN_TAG_ARGUMENT,
                                           &n);
        if (!data || n <= 0)
            return 0;
        code = part->command;
        argument.assign(reinterpret_cast<const char *>(data),
                        strnlen(reinterpret_cast<const char *>(data), (size_t)n));
    }
    if (code == 22)
        return utHandleFromString(argument.c_str());
    return hcBuildCommandText(code, argument.c_str());
}

// ---- names of fields and objects ---------------------------------------------------------

int hcIsValidName(const char *name)
{
    if (!name)
        return 0;
    if (name[0] >= '0' && name[0] <= '9')
        return 0;
    return strpbrk(name, " ,.+-*/=!|") ? 0 : 1;
}

int hcValidateFieldName(HWND workspace, HWND owner, const char *name)
{
    if (!name || !*name)
        return 0;
    if (!hcIsValidName(name)) {
        if (nameBox(owner, "Field name contains invalid characters. Want help?",
                    MB_YESNO | MB_ICONQUESTION) == IDYES)
            utHelpKeyword(owner, "Field Name Convention");
        return 0;
    }
    if (wsFindObjectByName(workspace, name))
        return nameUsedBox(owner, name);
    return 1;
}

int hcCheckObjectName(HWND workspace, HWND dialog, MemHandle object, const char *name)
{
    if (!name || !*name)
        return 0;
    if (!hcIsValidName(name)) {
        nameBox(dialog, "Field name contain invalid characters.", MB_OK | MB_ICONHAND);
        return 0;
    }
    MemHandle holder = wsFindObjectByName(workspace, name);
    if (holder && holder != object)
        return nameUsedBox(dialog, name);
    return 1;
}
