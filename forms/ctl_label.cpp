// The label of a check box, radio button or group box.
#include "forms/ctl_label.h"
#include "forms/fld_check.h"
#include <string.h>
#include <vector>

MemHandle ctlSetLabelText(MemHandle h, const char *text)
{
    uint32_t newLength = text && text[0] ? (uint32_t)strlen(text) + 1 : 0;
    if (newLength > 0xFFFF)
        return 0;
    uint32_t at;
    std::vector<uint8_t> attrs;
    {
        ObLock r(h);
        ControlPart *part = r ? ckbPart(r.get()) : nullptr;
        if (!part)
            return 0;
        at = obDataOffset(r.get());
        const uint8_t *area = ckbAttrArea(part);
        attrs.assign(area, area + part->attrBytes);
    }
    uint32_t size = at + kCkbPartSize + newLength + (uint32_t)attrs.size();
    MemHandle valid = obResize(h, size);
    if (!valid)
        return 0;
    ObLock r(valid);
    ControlPart *part = reinterpret_cast<ControlPart *>(obRecData(r.get()));
    part->labelLength = (uint16_t)newLength;
    uint8_t *label = reinterpret_cast<uint8_t *>(part) + kCkbPartSize;
    if (newLength)
        memcpy(label, text, newLength);
    if (!attrs.empty())
        memcpy(label + newLength, attrs.data(), attrs.size());
    part->labelWidth = 0;   // measured again by the natural size
    ckbCalcRecordSize(r.get());
    return valid;
}
