// Named settings in the registry under HKEY_CURRENT_USER, and the folders
// the program takes its files from: the program folder, the user's home
// folder and the last folder and file name used in a file dialog.
#pragma once
#include "support/qmwin.h"

// Product name and version key below "Software\Verdant Arcade" (each cut to
// 31 characters). Tests use their own names so that they never see the
// user's settings.
void setSetKeyNames(const char *product, const char *versionKey);
const char *setGetProductName();
const char *setGetVersionKey();

// Opens the four levels of the key in turn (creating missing ones); 0 when a
// level fails, with every level already opened closed again.
HKEY regOpenAppKey();
void regCloseAppKey();

// String values: read into a buffer of 260 bytes, always terminated; the
// result is the byte count read (terminator included), 0 with an empty
// buffer when the value is absent or not a string. Written with their
// terminator; the result is the text's length, 0 on failure.
int setGetString(const char *name, char *buffer);
int setPutString(const char *name, const char *text);
// Number values: 0 when absent, not a number or not 4 bytes long.
DWORD setGetNumber(const char *name);
BOOL setHasNumber(const char *name);
BOOL setPutNumber(const char *name, DWORD value);
BOOL setDeleteValue(const char *name);

// Reads the string value and splits it at blanks and commas; 1 only when it
// holds exactly n (at most 10) integers, which go into the array in order.
int setGetNumberList(const char *name, int32_t *values, int n);
// Parses "%d, %d, %d, %d" (left, top, right, bottom). 1 when all four were
// read and the rectangle is not empty; it is then copied out, moved inside
// the screen's work area first when keepOnScreen is set. 0 otherwise.
int setParseRect(const char *text, RECT *rect, BOOL keepOnScreen);
// Writes "%d, %d, %d, %d"; an empty text and 0 for an empty rectangle.
int setFormatRect(char *buffer, const RECT *rect);
// Stores the drive and folder of the path as a string value.
BOOL setPutFolderOf(const char *name, const char *path);
inline BOOL setPutPathFolder(const char *name, const char *path) { return setPutFolderOf(name, path); }
// The colour of the handle blocks on selected objects ("HLBlockColor",
// 0x7F7F7F when absent).
COLORREF setGetHLBlockColor();

// ---- folders -----------------------------------------------------------------
// Called once at start-up: reads the Windows version, keeps the program
// folder (the module's folder when none is given), makes the last-folder
// and last-file-name handles, sets the key names and the home folder flag.
// Without a version key the key is the product, a blank and formatText
// ("Version %s" when null) filled with the file-format version, 2.50.
// Nonzero when the handles were made.
BOOL setInitPaths(const char *product, const char *versionKey, const char *programDir,
                  const char *formatText = nullptr);
// Frees the program folder, last folder and last file name handles.
void setFreePaths();
BOOL setGetProgramDir(char *buffer);                        // 260 bytes; nonzero when not empty
char *setGetProgramFilePath(char *buffer, const char *fileName);
MemHandle setDupProgramFilePath(const char *fileName);
// "UserHomeDir" when it was set at start-up and is not empty, else the
// program folder.
char *setGetHomeDir(char *buffer);
inline char *setCopyHomeDir(char *buffer) { return setGetHomeDir(buffer); }
char *setGetHomeFilePath(char *buffer, const char *fileName);
BOOL setPutHomeDir(const char *folder);
// The last folder and file name of the file dialogs (260-byte buffers).
char *setGetLastFolder(char *buffer);
void setPutLastFolder(const char *folder);
char *setGetLastFileName(char *buffer);
void setPutLastFileName(const char *name);

// Removes one pair of double quotes that encloses the whole text.
char *setStripQuotes(char *path);
// Compares two paths (case ignored) without regard to a trailing backslash.
BOOL setSamePath(const char *a, const char *b);

// ---- Windows version -----------------------------------------------------------
struct SetWinVersion {
    BOOL isNT;          // platform id 2
    BOOL nt4;           // NT, major version 4
    BOOL nt5OrLater;    // NT, major version 5 or later
    BOOL build1000;     // platform id 1, build number above 1000
    BOOL major4;        // major version 4 or later, or platform id 1 with a minor version
    BOOL nativeWheel;   // NT 4 or later, or Windows 4.10 or later
};
// Reads the version (GetVersionExA); when the system has no native wheel
// messages, sets up the older wheel support. Returns nativeWheel.
BOOL setReadWinVersion();
const SetWinVersion &setGetWinVersion();

// ---- application title -----------------------------------------------------------
char *appGetTitle(char *buffer, int size);
void appSetTitle(const char *title);
