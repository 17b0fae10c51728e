// The user's application settings held for the whole run: the setup
// record, the form defaults (the fixed head of new documents), the default
// page and an optional start document, with one accessor per field. Every
// accessor has a defined answer when the record does not exist.
#pragma once
#include "support/qmwin.h"
#include "model/att_attr.h"

#pragma pack(push, 1)
struct SetupRecord {
    uint32_t length;            // 162 + the byte size of the blocks
    uint16_t version;           // 1024
    uint16_t reserved6;
    uint16_t options;           // SetupOption bits
    int16_t zoomCode;           // of new views
    int16_t zoomPercent;        // of new views
    uint16_t reserved14;
    uint8_t maximized;          // the frame was maximised when last closed
    uint8_t reserved17;
    uint16_t barBits;           // which tool bars of the frame are shown
    int32_t frameRect[4];       // normal rectangle: left, top, right, bottom
    uint8_t reserved36[10];
    uint16_t dockLayout;        // docked bar layout word
    uint16_t reserved48;
    uint16_t backgroundKind;    // workspace background, SetupBackground
    uint8_t reserved52[10];
    uint32_t reserved62;
    uint32_t editorColor;       // handed to the text editor at start-up
    uint32_t reserved70;
    uint8_t reserved74[4];
    uint32_t packetFlags;       // SETUP_PACKET_* packets that follow the record
    uint8_t reserved82[10];
    uint16_t fontDialogBits;    // handed to the font dialog at start-up
    uint8_t reserved94[4];
    uint8_t pageSetting;        // copied into each new page record
    uint8_t reserved99;
    uint32_t pageValues[3];     // copied into each new page record
    uint16_t scrollStyle;       // of new views: 0 single page, 2 continuous
    uint8_t reserved114[4];
    uint32_t customBkColor;     // background colour of kind 0xFFFF
    uint8_t reserved122[16];
    uint32_t flagBits;          // SETUP_FLAG_* bits
    uint8_t reserved142[12];
    AttrHeader blocks;          // the tagged blocks that follow
};
#pragma pack(pop)
static_assert(sizeof(SetupRecord) == 162, "the setup record's fixed part is 162 bytes");
static_assert(offsetof(SetupRecord, backgroundKind) == 50, "background kind at 50");
static_assert(offsetof(SetupRecord, packetFlags) == 78, "packet flags at 78");
static_assert(offsetof(SetupRecord, scrollStyle) == 112, "scroll style at 112");
static_assert(offsetof(SetupRecord, flagBits) == 138, "flag bits at 138");

enum SetupOption : uint16_t {
    SETUP_OPT_STAY_IN_DRAW = 0x0001,
    SETUP_OPT_HIGHLIGHT_A = 0x0002,       // highlight style, with SETUP_OPT_HIGHLIGHT_B
    SETUP_OPT_HIGHLIGHT_HIDDEN = 0x0004,
    SETUP_OPT_MASTER_AUTHOR = 0x0010,
    SETUP_OPT_BIT5 = 0x0020,              // read by the welcome dialog and page templates
    SETUP_OPT_NO_WELCOME = 0x0040,
    SETUP_OPT_MEMBER_MARKS = 0x0080,
    SETUP_OPT_DROP_IMAGE_FRAME = 0x0100,
    SETUP_OPT_NO_MOVE_GUIDES = 0x0200,
    SETUP_OPT_HIGHLIGHT_B = 0x0400,
    SETUP_OPT_DRAW_GUIDES = 0x0800,
};
enum : uint32_t {
    SETUP_PACKET_START_FILE = 1,     // an old "StartFile" packet follows the record
    SETUP_PACKET_START_DOC = 2,      // a start-document packet follows
    SETUP_FLAG_CLASSIC_COLORS = 1,
    SETUP_FLAG_SMOOTH_FONTS = 2,
};
enum SetupBlockTag : uint32_t {
    SETUP_TAG_MASTER_AUTHOR = 16,
    SETUP_TAG_CUSTOM_COLORS = 32,
    SETUP_TAG_TEXT_FONT = 64,
    SETUP_TAG_PRESENTATION_FONT = 128,
};
enum {
    SETUP_RECORD_SIZE = 162,
    FORM_HEAD_SIZE = 80,
    SETUP_BK_CUSTOM = 0xFFFF,
};

// A font of the settings: point size and face name.
#pragma pack(push, 1)
struct SetupFontSpec {
    int16_t pointSize;
    char face[38];
};
#pragma pack(pop)
static_assert(sizeof(SetupFontSpec) == 40, "a settings font is 40 bytes");

// ---- the records ----------------------------------------------------------------
// A new setup record with the defaults; 0 when memory fails.
MemHandle setNewSetupRecord();
// A new 80-byte form head with the defaults.
MemHandle setNewFormDefaults();
// The records held now (0 when absent); never freed by the caller.
MemHandle setGetSetupRecord();
MemHandle setGetDefaultPage();
// Tests of records read from a file: the stated lengths agree with the
// block and the blocks' run.
BOOL setIsValidSetupRecord(MemHandle record);
BOOL setIsValidFormDefaults(MemHandle head);
// Frees the four records and releases the background brush.
void setFreeSetupRecords();

// ---- form defaults -----------------------------------------------------------------
// Fills the head with the defaults and copies the view fields (options,
// style, view flags, view bytes, grid divisions, unit, view word) from the
// stored form defaults.
void setGetFormDefaults(uint8_t *head);
// Stores the head as the form defaults (length 80, no attributes, no
// handles).
void setPutFormDefaults(const uint8_t *head);

// ---- fields ------------------------------------------------------------------------
int setGetZoomCode();          // 100 without a record
void setPutZoomCode(int code);
int setGetZoomPercent();       // 100 without a record
void setPutZoomPercent(int percent);
int setGetScrollStyle();       // 2 without a record
void setPutScrollStyle(int style);

int setGetOptionBits();        // 0 without a record
void setPutOptionBits(uint16_t mask, BOOL on);
BOOL setGetStayInDrawMode();
void setPutStayInDrawMode(BOOL on);
// 0, SETUP_OPT_HIGHLIGHT_A or SETUP_OPT_HIGHLIGHT_B.
int setGetHighlightStyle();
void setPutHighlightStyle(int style);
BOOL setGetOptionBit1();
BOOL setGetHighlightHidden();
void setPutHighlightHidden(BOOL on);
BOOL setGetApplyMasterAuthor();
void setPutApplyMasterAuthor(BOOL on);
inline BOOL setHasDefaultText() { return setGetApplyMasterAuthor(); }
BOOL setGetOptionBit5();
void setPutOptionBit5(BOOL on);
BOOL setGetShowWelcome();                // the inverse of SETUP_OPT_NO_WELCOME
void setPutShowWelcome(BOOL show);
BOOL setGetShowMemberMarks();
void setPutShowMemberMarks(BOOL on);
BOOL setGetDropAsImageFrame();
void setPutDropAsImageFrame(BOOL on);
BOOL setGetMoveGuides();                 // the inverse of SETUP_OPT_NO_MOVE_GUIDES
void setPutMoveGuides(BOOL on);
BOOL setGetDrawGuides();
void setPutDrawGuides(BOOL on);

int setGetBackgroundKind();              // 0 without a record
void setPutBackgroundKind(int kind);
COLORREF setGetCustomBkColor();          // 0xFFFFD4 without a record
void setPutCustomBkColor(COLORREF colour);
BOOL setGetFrameMaximized();
void setPutFrameMaximized(BOOL on);
int setGetFrameBarBits();                // -1 without a record
void setPutFrameBarBits(uint16_t bits);
int setGetDockLayout();
void setPutDockLayout(uint16_t word);
// x and y raised to 0 and kept left of and above the work area's far edges;
// a width or height below 1 answered as 0x80000000 (the default size).
void setGetFrameRect(int *x, int *y, int *width, int *height);
void setPutFrameRect(const RECT *rect);
int setGetFontDialogBits();
void setPutFontDialogBits(uint16_t bits);
COLORREF setGetEditorColor();            // 0xFF0000 without a record
uint32_t setGetFlagBits();               // 0 without a record
void setPutFlagBits(uint32_t mask, BOOL on);

// The byte at 98 and the three words at 100 (the third answered 0xFFFFFF).
void setGetPageDefaults(uint8_t *setting, uint32_t values[3]);
void setPutPageDefaults(uint8_t setting, const uint32_t values[3]);
inline void setGetFillDefaults(uint8_t *fillKind, uint32_t colours[3])
{
    setGetPageDefaults(fillKind, colours);
}
// Byte 45 of the default page's data: 1 when there is no default page or
// the byte is 0. The setter stores 2 when on, else 1.
int setGetPageProp59();
inline int setGetPageByte45() { return setGetPageProp59(); }
void setPutPageProp59(BOOL on);

// ---- blocks --------------------------------------------------------------------------
// The master author text (a new string handle, 0 when none); an empty text
// removes it.
MemHandle setGetNewDocText();
inline MemHandle setGetDefaultText() { return setGetNewDocText(); }
BOOL setPutNewDocText(const char *text);
// The 16 custom colours (all white when absent); null removes them.
BOOL setGetCustomColors(COLORREF colours[16]);
BOOL setPutCustomColors(const COLORREF *colours);
// The regular page font ("Arial", 12 points when absent) and the
// presentation font ("Arial", 24); an empty face removes it.
void setGetTextFont(SetupFontSpec *font);
BOOL setPutTextFont(const SetupFontSpec *font);
void setGetPresentationFont(SetupFontSpec *font);
BOOL setPutPresentationFont(const SetupFontSpec *font);
// The LOGFONT of the regular page font (height minus the size in twips).
void setGetTextLogFont(LOGFONTA *font);
// The same; 0, and nothing copied, without a setup record.
BOOL setGetDefaultFont(LOGFONTA *font);

// ---- workspace background ------------------------------------------------------------
COLORREF setGetWorkspaceBkColor();
// The second colour of the workspace painting (page frame).
COLORREF setGetWorkspaceFrameColor();
// The background brush, made on first use and again when the kind changes.
HBRUSH setGetWorkspaceBkBrush();
void setRebuildBkBrush();
void setReleaseBkBrush();

// ---- start document ------------------------------------------------------------------
MemHandle setGetStartDocument();        // new string handle, 0 when none
void setPutStartDocument(const char *path);   // empty removes
// Sends the frame WM_COMMAND 111 with a new string handle of the path; 1,
// or 0 without a start document or frame window.
int setOpenStartDocument();
// With a page name: WM_COMMAND 133 with "path\npage".
int setOpenStartDocumentAtPage(const char *pageName);

// The document file filter with its bars turned into separators.
char *fcGetDocFilter(char *buffer, int size);

// ---- kept for the file reader and writer ------------------------------------------------
// Replace the held record (freeing the old one); the handle becomes the
// module's.
void setAdoptSetupRecord(MemHandle record);
void setAdoptFormDefaults(MemHandle head);
void setAdoptDefaultPage(MemHandle page);
MemHandle setGetFormDefaultsRecord();
MemHandle setGetStartDocumentPacket();
// Zeroes the handle fields of a form head or page record read from or
// written to a file: they name blocks of the run that wrote them.
void setClearFormHandles(uint8_t *head);
void setClearPageHandles(uint8_t *page);
