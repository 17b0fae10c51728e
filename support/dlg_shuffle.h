// The "Shuffle Items" dialog ("shuffle"): the items of a delimited list put
// in a new order, one at a time through the "Item to Move" field.
#pragma once
#include "support/qmwin.h"

// Lists the items of *items (each ended by the delimiter; a CR before an LF
// delimiter dropped), the first selected. "Move" takes the selected item
// out into the held field, "Insert Before" / "Insert After" put the held
// item back at / after the selection, "Move Up" / "Move Down" move the
// selected item one place. With a reset list, button 110 shows resetText
// and refills the list from it. OK (only while nothing is held) writes the
// items, each followed by the delimiter, into *items (grown to fit) and
// gives 1; Cancel gives 0 and leaves *items as it was.
INT_PTR dlgShuffle(HWND owner, const char *caption, MemHandle *items, char delimiter,
                   MemHandle resetList, const char *resetText);
// dlgShuffle without a reset list.
INT_PTR dlgShuffleItems(HWND owner, const char *caption, MemHandle *items, char delimiter);
