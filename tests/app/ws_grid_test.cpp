// The workspace grid is the page-grid routines' drawing: the same pixels as
// drawing them directly, at 100 and 200 percent, for both grid styles.
#include "tests/support/kit.h"
#include "app/ws_paint.h"
#include "support/dm_map.h"
#include "support/gdi_track.h"

TEST(WorkspaceGrid, TheSamePixelsAsThePageGridRoutines)
{
    const RECT area = {150, 300, 4200, 4350};
    for (int zoom : {100, 200}) {
        for (uint16_t style : {1, 8}) {
            SCOPED_TRACE(zoom);
            SCOPED_TRACE(style);
            qmtest::Dib viaWorkspace(400, 400), direct(400, 400);
            dmResetModule();
            dmSetZoomDC(viaWorkspace.dc(), zoom);
            dmSetMapping(viaWorkspace.dc());
            dmSetMapping(direct.dc());
            EXPECT_EQ(1, wsDrawGrid(viaWorkspace.dc(), &area, 4, style));
            if (style == 1)
                gdiDrawGridDots(direct.dc(), &area, 4);
            else
                gdiDrawGridLines(direct.dc(), &area, 4, kWsGridFine, kWsGridUnit);
            EXPECT_EQ(0, viaWorkspace.diff(direct));
            EXPECT_GT(400 * 400 - viaWorkspace.count(RGB(255, 255, 255)), 20) << "a grid was drawn";
        }
    }
    qmtest::Dib none(50, 50);
    EXPECT_EQ(0, wsDrawGrid(none.dc(), &area, 4, 2));
    EXPECT_EQ(50 * 50, none.count(RGB(255, 255, 255)));
    dmResetModule();
}
