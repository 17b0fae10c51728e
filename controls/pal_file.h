// Palette files (".pal", kind "PALETTE"), the 50 built-in colours, the
// start-up palette, the palette commands Open, Save and Reset, the custom
// colours of the system colour chooser and the one entry point through which
// every module asks the user for a colour (clrPickColor).
//
// A palette file: the 40-byte file header of kind "PALETTE", then one packet
// of u32 length 4n + 6 (counting itself), u16 n and n colours stored as the
// bytes red, green, blue, 0. The file is 46 + 4n bytes long.
#pragma once
#include "support/qmwin.h"

enum {
    CLR_DEFAULT_COUNT = 50,       // built-in colours
    CLR_CUSTOM_COUNT = 16,        // custom colours of the chooser
    CLR_MAX_COLORS = 0x7FFF,      // colours a palette can hold (its count is an i16)
    CLR_FILE_HEAD_BYTES = 46,     // header and packet head of a palette file
    CLR_PATH_MAX = 260,
};

extern const COLORREF clrDefaultColors[CLR_DEFAULT_COUNT];

// The 50 built-in colours in a new handle; count 50.
MemHandle clrGetDefaultColors(int16_t *count);
// Colours for a new palette window: those of the file at the palette path
// when the path is set and the file exists and reads, else the built-in ones.
// A missing file gives the built-in colours without a message.
MemHandle clrLoadStartupColors(int16_t *count);

// The palette path (empty clears it) and a copy of it (buffer of 260 bytes).
void clrSetPaletteFileName(const char *path);
const char *clrGetPaletteFileName();
// Where the start-up palette "vellum.pal" is read from: the home folder's
// copy when it exists (that is where the frame writes it at close), else the
// program folder's. Fills the buffer (260 bytes) and returns it.
char *clrFindStartupPalette(char *buffer);
// Sets the palette path to clrFindStartupPalette's choice.
void clrSetStartupPaletteFileName();

// Reads a palette file: a new handle of its colours and their count; 0 (count
// 0) on failure, reported, or for a palette of 0 colours.
MemHandle clrReadPaletteFile(const char *path, int16_t *count);
// Writes n colours (n from 0 to CLR_MAX_COLORS); 1 when written, 0 when the
// file could not be created or written (reported; a file that was begun is
// removed, so no damaged palette is left behind).
int clrWritePaletteFile(const char *path, MemHandle colours, int n, BOOL ask);
// Writes the colours of the palette window, asking before overwriting when told.
int clrSavePaletteWindow(const char *path, BOOL ask);
int clrSaveStartupPalette(const char *path);

// Appends ".pal" when the name has no extension; TRUE when it did.
BOOL clrAddPaletteExtension(char *path, uint32_t size);

// The "Open Palette" file dialog on the path buffer (260 bytes; "*.pal" when
// empty), then the file read: 1 with the colours when a file was chosen and
// read, 0 otherwise.
int clrOpenPaletteDlg(HWND owner, char *path, MemHandle *colours, int16_t *count);
// The "Save Palette" file dialog on the path buffer; 1 when a name was chosen.
int clrSavePaletteDlg(HWND owner, char *path);

// Frame commands of the palette.
int clrCmdOpenPalette(HWND owner);
int clrCmdSavePalette(HWND owner);
void clrCmdDefaultPalette();

// A logical palette of version 0x300 with one PC_NOCOLLAPSE entry per colour;
// 0 on failure or for no colours.
HPALETTE clrCreateGdiPalette(const COLORREF *colours, int n);

// The 16 custom colours of the chooser: copied in (all white for none) and out.
void clrSetCustomColors(const COLORREF *colours);
void clrGetCustomColors(COLORREF *buffer);

// The system colour chooser, opened full on the colour with the custom
// colours; a non-empty caption becomes its title. Non-zero on OK, with the
// colour written back and the custom colours keeping the user's changes.
int clrChooseColor(HWND owner, const char *caption, COLORREF *colour);
int clrPickColor(HWND owner, const char *caption, COLORREF *colour);

// ---- the common dialogs, replaceable by tests ---------------------------------------

// What a file dialog is asked for. The path buffer holds the initial name
// and receives the chosen one.
struct ClrFileRequest {
    bool save;
    const char *title;
    const char *filter;     // pairs of texts ending in an empty text
    const char *defExt;     // or null
    char *path;
    uint32_t pathSize;
};
typedef BOOL (*ClrFileDialogHook)(HWND owner, ClrFileRequest &request);
void clrSetFileDialogHook(ClrFileDialogHook hook);
BOOL clrFileDialog(HWND owner, ClrFileRequest &request);

// The system colour chooser: caption, colour in/out, the 16 custom colours
// in/out. A hook takes its place in tests.
typedef BOOL (*ClrChooseColorHook)(HWND owner, const char *caption, COLORREF *colour,
                                   COLORREF *custom);
void clrSetChooseColorHook(ClrChooseColorHook hook);

// Forgets the palette path and the custom colours and removes the hooks.
void clrResetPaletteFileModule();
