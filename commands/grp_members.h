// Arranging the members of a group or chain: their union, their saved
// centres, the group fitted to them again, and the arrangements that the
// member alignment of the editing tools and the group commands use (a
// column or a row with a gap, a circle, equal width, height or size, even
// distribution). Every arrangement works on a sorted copy of the member
// list and leaves the members' order in the group unchanged; each member is
// moved alone (never its list successors) and the group is refitted.
#pragma once
#include "support/qmwin.h"

// The number of members of a group or chain (0 for none or no object).
int32_t grpMemberCount(MemHandle group);
// The union of the members' rectangles; FALSE (and an empty rectangle)
// when there are no members.
BOOL grpMembersBox(MemHandle group, RECT *box);
// A new handle of each member's centre (two i32), in member order; 0 when
// there are no members or memory runs out.
MemHandle grpSaveMemberCentres(MemHandle group);
// The group's centre and size become the union of its members' drawn
// rectangles, which is returned.
BOOL grpFitToMembers(MemHandle group, RECT *box);

// Members sorted by top edge; the first stays, each next one moved
// vertically so that its top is the previous member's bottom plus the gap.
// 1 when a member moved.
int grpStackVertically(MemHandle group, int32_t gap);
// Members sorted by top edge; the first stays, each next one moved
// horizontally so that its left is the previous member's right plus the gap.
int grpRowHorizontally(MemHandle group, int32_t gap);
// Member i of n (sorted by top edge) gets its centre on the circle of the
// radius about the point (the group's centre for none), at the start angle
// (tenths of a degree) plus i / n of a turn, counter-clockwise on the page.
// Radius 0 does nothing.
int grpPlaceOnCircle(MemHandle group, const POINT *centre, int32_t radius, int32_t angle);

// The arrangements of the group commands; each returns 1 when a member
// changed. The first member of the reference order lends its extent:
// - same width: a column (no vertical overlap in total and every left edge
//   within two steps of the union's) is ordered by top, anything else by
//   left; each other member keeps its left edge.
int grpSameWidth(MemHandle group, int32_t step);
// - same height: ordered by top; each other member keeps its top.
int grpSameHeight(MemHandle group);
// - same size: reading order; each other member keeps its top-left.
int grpSameSize(MemHandle group);
// Even distribution: the free space of the union (its extent less the sum
// of the members' extents; negative when they overlap) shared out as equal
// gaps, truncated toward zero; ordered by left (top) edge, the first stays.
int grpDistribute(MemHandle group, BOOL vertical);
