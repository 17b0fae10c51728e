// The state probe: a registered window message of the frame through which a
// program outside the process (the end-to-end driver) reads what a user
// would see change after a command: the tool mode, the objects of the page
// and the current one, the pages, the zoom, the document windows, the state
// of a menu item, and fingerprints of the records a command may change. It
// only reads, except that asking for a menu item's state runs the rules that
// set the states of its pop-ups, as opening them would.
#pragma once
#include "support/qmwin.h"

// The message's name ("QuillmarkDrawProbe"), for RegisterWindowMessageA.
extern const char APP_PROBE_MESSAGE[];

// What the probe answers: wParam of the message.
enum AppProbeQuery : int {
    APP_PROBE_PING = 0,          // (posted) lParam is remembered as the last ping
    APP_PROBE_LAST_PING = 1,     // the last ping's lParam
    APP_PROBE_MODE = 2,          // the active workspace's tool mode; -1 without one
    APP_PROBE_OBJECTS = 3,       // top-level objects of the current page
    APP_PROBE_TYPE = 4,          // the current object's type; 0 for none
    APP_PROBE_PAGES = 5,         // the document's page count
    APP_PROBE_PAGE = 6,          // the current page's index (-1 the base page)
    APP_PROBE_ZOOM = 7,          // the view's zoom percent
    APP_PROBE_FLAGS = 8,         // the current object's flag word
    APP_PROBE_FILL = 9,          // the current object's fill kind
    APP_PROBE_OBJECT_SIGN = 10,  // fingerprint of the current object's tree
    APP_PROBE_PAGE_SIGN = 11,    // fingerprint of the page's objects in their order
    APP_PROBE_VIEW_SIGN = 12,    // fingerprint of the workspace record
    APP_PROBE_FORM_SIGN = 13,    // fingerprint of the document (form) record
    APP_PROBE_FRAME_SIGN = 14,   // fingerprint of the frame's bars and menu
    APP_PROBE_SETUP_SIGN = 15,   // fingerprint of the setup record
    APP_PROBE_DOCUMENTS = 16,    // the number of document windows
    APP_PROBE_MODIFIED = 17,     // whether the active document is modified
    APP_PROBE_MENU = 18,         // lParam a command id of the frame's menu:
                                 // bit 0 enabled, bit 1 checked; -1 not there
    APP_PROBE_MENU_LANGUAGE = 19,
    APP_PROBE_BASE_PAGE = 20,    // whether the document has a base page
    APP_PROBE_EDIT_SIGN = 21,    // fingerprint of the text being edited and its selection
    APP_PROBE_PALETTE_SIGN = 22, // fingerprint of the colour windows
    APP_PROBE_UNDO = 23,         // whether the active document holds an undo step
    APP_PROBE_HANDED = 24,       // requests handed to help and to the shell so far
};

// The message's number in this process.
UINT appProbeMessage();
// The answer to one query.
LRESULT appAnswerProbe(HWND frame, WPARAM query, LPARAM lParam);
// The state bits of a command of the frame's menu: every pop-up on the way
// to it is set up as opening it would; greyed when the item or a pop-up
// that holds it is greyed. -1 when the menu holds no such item.
int appMenuItemState(HWND frame, UINT command);
