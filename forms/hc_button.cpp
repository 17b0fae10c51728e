// Attributes and label wrapping of push buttons.
#include "forms/hc_button.h"
#include "forms/fld_button.h"
#include "forms/fld_text.h"
#include "model/att_attr.h"
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
