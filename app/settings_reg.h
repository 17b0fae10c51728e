// Named settings in the registry under HKEY_CURRENT_USER, and the program
// and home folders.
#pragma once
#include "support/qmwin.h"

// Product name and version key below "Software\Verdant Arcade". Tests use
// their own names so that they never see the user's settings.
void setSetKeyNames(const char *product, const char *versionKey);
const char *setGetProductName();
const char *setGetVersionKey();

// Opens the four levels of the key in turn (creating missing ones); 0 when a
// level fails, with every level already opened closed again.
HKEY regOpenAppKey();
void regCloseAppKey();

int setGetString(const char *name, char *buffer);   // buffer of 260 bytes
int setPutString(const char *name, const char *text);
DWORD setGetNumber(const char *name);
BOOL setHasNumber(const char *name);
BOOL setPutNumber(const char *name, DWORD value);
BOOL setDeleteValue(const char *name);

// Program folder (with its trailing backslash) and home folder.
BOOL setInitPaths(const char *product, const char *versionKey, const char *programDir);
void setFreePaths();
BOOL setGetProgramDir(char *buffer);                 // MAX_PATH bytes
char *setGetHomeDir(char *buffer);                   // MAX_PATH bytes
char *setGetHomeFilePath(char *buffer, const char *fileName);
BOOL setPutHomeDir(const char *folder);
