#include "bench/bench_clip.h"
#include "bench/bench_clock.h"
#include "commands/clip_formats.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/sh_box.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

const int kRectangles = 2000;

MemHandle rectangle(int32_t x, int32_t y)
{
    MemHandle h = obNewRecord(kObHeadSize + shBoxGeometrySize(OBT_RECTANGLE));
    if (!h)
        return 0;
    ObLock rec(h);
    rec->type = OBT_RECTANGLE;
    rec->layer = 1;
    rec->penWidth = 20;
    rec->fillKind = 1;
    rec->fillColour = RGB(200, 220, 255);
    rec->scaleX = rec->scaleY = kObScaleOne;
    RECT r = {x, y, x + 100, y + 80};
    obRecSetRect(rec.get(), &r);
    int32_t sides[2] = {rec->width, rec->height};
    memcpy(obRecData(rec.get()), sides, sizeof sides);
    return h;
}

}  // namespace

void benchClipboard()
{
    HWND window = CreateWindowA("STATIC", "clip", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                nullptr, nullptr);
    clipRegisterFormats("QM32OBJFormat");
    std::vector<MemHandle> members;
    for (int i = 0; i < kRectangles; ++i)
        members.push_back(rectangle((i % 50) * 150, (i / 50) * 120));
    MemHandle group = obNewGroupN(OBT_GROUP, members.data(), (int32_t)members.size());
    double t0 = benchSeconds();
    clipCopyObject(window, group);
    const double copying = benchSeconds() - t0;
    const bool block = IsClipboardFormatAvailable(clipObjectFormat());
    const bool pictures = IsClipboardFormatAvailable(CF_ENHMETAFILE) &&
                          IsClipboardFormatAvailable(CF_METAFILEPICT);
    t0 = benchSeconds();
    MemHandle pasted = clipPasteByFormat(window, clipObjectFormat(), POINT{1440, 1440});
    const double pasting = benchSeconds() - t0;
    const int32_t back = pasted ? obCountMembers(pasted) : 0;
    printf("copy a group of %d rectangles (block and metafiles%s) %8.3f s\n", kRectangles,
           block && pictures ? "" : ", MISSING", copying);
    printf("paste it from its block (%d members back)               %8.3f s\n", back, pasting);
    printf("copy and paste together                                %8.3f s\n", copying + pasting);
    clipEmpty(window);
    obFreeTree(pasted);
    obFreeTree(group);
    DestroyWindow(window);
}
