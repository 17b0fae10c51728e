// Object links, lists and tree walks.
//
// A list: the objects of a page in drawing order, joined by prev and next
// (first drawn first, so later objects lie on top); known by its first
// object. A member chain: owner.firstMember, then each member's nextMember;
// each member's parent is the owner. An attached object: one object owned by
// another (a composite's source, a page's own tree).
//
// Walk order of every tree operation: the firstMember tree, then the
// nextMember tree, then the attached tree. Because nextMember is followed,
// an operation started on a member also reaches every member after it. The
// walks run on an explicit stack along the member chains, so neither a big
// group nor a deeply nested one can exhaust the call stack, and a walk that
// meets more objects than are alive (a damaged, cyclic tree) stops.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include <vector>

// ---- walks -----------------------------------------------------------------------------
enum : unsigned {
    OB_WALK_FIRST_MEMBER = 1,
    OB_WALK_NEXT_MEMBER = 2,
    OB_WALK_ATTACHED = 4,
    OB_WALK_MEMBERS = OB_WALK_FIRST_MEMBER | OB_WALK_NEXT_MEMBER,
    OB_WALK_ALL = 7,
    OB_WALK_ROOT_ALONE = 8,   // the root's own nextMember is not followed
};
// Appends the tree below h (h first) in walk order: the object, its
// firstMember tree, its nextMember tree, its attached tree. FALSE when the
// walk was cut short because it met more objects than are alive.
BOOL obCollectTree(MemHandle h, unsigned links, std::vector<MemHandle> &out);
// The objects of a list along next, cut short the same way.
BOOL obCollectList(MemHandle first, std::vector<MemHandle> &out);

// ---- link accessors ----------------------------------------------------------------------
MemHandle obGetPrev(MemHandle h);
void obSetPrev(MemHandle h, MemHandle link);
MemHandle obGetNext(MemHandle h);
void obSetNext(MemHandle h, MemHandle link);
MemHandle obGetParent(MemHandle h);
void obSetParent(MemHandle h, MemHandle link);
MemHandle obGetExtraData(MemHandle h);
void obSetExtraData(MemHandle h, MemHandle link);
MemHandle obGetFirstMember(MemHandle h);
void obSetFirstMember(MemHandle h, MemHandle link);
MemHandle obGetNextMember(MemHandle h);
void obSetNextMember(MemHandle h, MemHandle link);
MemHandle obGetAttached(MemHandle h);
void obSetAttached(MemHandle h, MemHandle link);
// Climbs parent to the top object (h itself when it has no parent).
MemHandle obGetRoot(MemHandle h);

// ---- lists -------------------------------------------------------------------------------
MemHandle obGetListHead(MemHandle h);
// The tail and the length walk the links without allocating.
MemHandle obGetListTail(MemHandle h);
int32_t obCountList(MemHandle first);
// A number that changes whenever any prev or next link changes (through
// the link setters; code that writes a record's links directly tells it
// with obNoteListLinksChanged). A list tail kept with the number it had is
// still the tail while the number is the same.
uint32_t obListLinkEpoch();
void obNoteListLinksChanged();
void obLinkPair(MemHandle a, MemHandle b);
void obUnlink(MemHandle h);
BOOL obListContains(MemHandle first, MemHandle h);
MemHandle obRemoveFromList(MemHandle first, MemHandle h);
BOOL obDelete(MemHandle h);
void obDeleteList(MemHandle first);
void obFreeList(MemHandle first);
// Writes the handles along next into an array of `capacity` elements;
// returns the number written (the list is cut at the capacity).
int32_t obListToArray(MemHandle first, MemHandle *array, int32_t capacity);
// New handle of the list's 4-byte handles and their count; 0 for none.
MemHandle obListToArrayN(MemHandle first, int32_t *count);
// New packet: u32 size (4 n + 4), then the n handles; 0 for an empty list.
MemHandle obListToPacket(MemHandle first);
// Relinks the n objects of an array handle into a list in array order and
// returns the first (n is cut to what the block holds).
MemHandle obRelinkFromArray(MemHandle array, int32_t n);
// Sorts a list in reading order through the reference to its first object;
// 0 for fewer than 2 objects, else 1.
int obSortListReadingOrder(MemHandle *listRef);

// ---- members -----------------------------------------------------------------------------
int32_t obCountMembers(MemHandle owner);
void obAddMember(MemHandle owner, MemHandle m);
// A new 86-byte group (80) or chain (84) with m1's box, the members (up to
// a 0) appended in order and its box fitted to them; 0 when m1 is 0.
MemHandle obNewGroup(int16_t type, MemHandle m1, ...);
MemHandle obNewGroupN(int16_t type, const MemHandle *members, int32_t n);
// New handle of the member handles in chain order and their count; 0 when
// there are none.
MemHandle obCollectMembers(MemHandle owner, int32_t *count);
// As obCollectMembers, then the chain is taken apart (firstMember and every
// nextMember cleared; parent left).
MemHandle obTakeMembers(MemHandle owner, int32_t *count);
// Rebuilds the chain from an array: element 0 first, each element's
// nextMember the next one, the last one's 0; each member's parent the owner.
void obSetMembers(MemHandle owner, const MemHandle *array, int32_t n);
// Replaces a group in its list by its members in chain order and frees the
// group; returns the first member, the group itself when it has none, 0 for 0.
MemHandle obUngroup(MemHandle group);
// The union of the members' drawn rectangles becomes the owner's box and is
// returned; an owner without members keeps and returns its box. FALSE for 0.
BOOL obFitToMembers(MemHandle owner, RECT *r);
// For exactly two members: each moves so that its top-left lands on the
// other's; the box is refitted. 1, else 0.
int obSwapTwoMembers(MemHandle owner);

// ---- moving (the tree below the object, then the object) -----------------------------
void obMoveBy(MemHandle h, int32_t dx, int32_t dy);
void obRecMoveTree(ObjectRecord *rec, int32_t dx, int32_t dy);
void obMoveAloneBy(MemHandle h, int32_t dx, int32_t dy);
void obMoveListBy(MemHandle first, int32_t dx, int32_t dy);
void obMoveCentreTo(MemHandle h, POINT pt);
void obMoveTopLeftTo(MemHandle h, POINT pt);
void obMoveTopRightTo(MemHandle h, POINT pt);
void obMoveBottomLeftTo(MemHandle h, POINT pt);
void obMoveBottomRightTo(MemHandle h, POINT pt);
void obCentreInClient(HWND window, MemHandle h);

// ---- orderings ---------------------------------------------------------------------------
const int32_t kObRowTolerance = 60;   // reading-order rows, 3 points
// Reading order of two boxes: rows from the top (tops within the tolerance
// share a row), then left to right; -1, 0 or 1. Antisymmetric: equal lefts
// in a row are ordered by their tops.
int obCompareReadingOrder(MemHandle a, MemHandle b);
// Sort in reading order: rows are formed from the top down (an object joins
// the row whose first top lies within the tolerance), then left to right.
// Fewer than 2 elements: nothing, result 0.
int obSortReadingOrder(MemHandle *array, int32_t n);
int obSortReadingOrderN(MemHandle array, int32_t n);
MemHandle obFirstOfTwo(MemHandle a, MemHandle b);
int obCompareTop(MemHandle a, MemHandle b);
void obSortByTop(MemHandle array, int32_t n);
int obCompareLeft(MemHandle a, MemHandle b);
void obSortByLeft(MemHandle array, int32_t n);
