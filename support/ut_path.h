// Paths: split, join, extensions, normalisation, relative and absolute
// forms, and temporary file names.
//
// File names are 8-bit Windows paths of at most 260 characters. Operations
// that change a path work in place on a caller's buffer of 260 bytes
// (UT_PATH_SIZE) unless they return a new string handle.
#pragma once
#include "support/qmwin.h"

enum { UT_PATH_SIZE = 260 };

// The parts of a path as the C runtime's _splitpath gives them: the drive
// ("D:" or empty), the folder (up to and including the last backslash or
// slash), the file name and the extension (with its leading point). Each
// output may be null; each non-null one is a buffer of UT_PATH_SIZE bytes.
void utSplitPath(const char *path, char *drive, char *folder, char *name, char *ext);
// Builds a path from its parts as _makepath does: the drive (a colon added
// when missing), the folder (a backslash added when it does not end with
// one), the name, and the extension (a point added when missing). Null or
// empty parts are left out. The result is cut to fit UT_PATH_SIZE bytes.
void utMakePath(char *out, const char *drive, const char *folder, const char *name,
                const char *ext);

// When the path holds no point at all (a point in a folder name counts),
// appends "." and the extension and returns 1; otherwise 0.
int utAddDefaultExt(char *path, const char *ext);
// Copies the part of the name before its first point, at most n characters
// (destination of n + 1 bytes), terminated.
char *utCopyNameNoExt(char *dst, const char *name, int n);
// Drive and folder (ending with a backslash), and file name with extension.
void utSplitFolderName(const char *path, char *folder, char *name);
// Reduces the path to its file name and extension.
char *utStripFolder(char *path);
// True when the path equals its own file-name part (case ignored).
BOOL utHasNoFolder(const char *path);
// Reduces the path to drive and folder, unless it names an existing folder.
char *utGetFolder(char *path);
// True when the path equals its own utGetFolder form (case ignored).
BOOL utIsFolderPath(const char *path);
// Replaces the buffer by the extension with its point; null (and an empty
// buffer) when there is none.
char *utGetExtension(char *path);
// The same without the point; null for an empty buffer or no extension.
char *utGetExtensionNoDot(char *path);
// Sets the extension (given with or without its point) of the file-name
// part: replaces what follows its last point or appends "." and the
// extension; an empty extension cuts the name at its last point. Null for
// an empty path; otherwise the path.
char *utSetExtension(char *path, const char *ext);
// Normalises in place: trims blanks, folds "\..\" and "/../", and removes
// doubled backslashes (except a leading network pair) and doubled slashes,
// unless the path is a web address. Returns 1.
int utNormalizePath(char *path);
// True for a path of at least 3 characters starting with a letter and a
// colon, or starting with two backslashes.
BOOL utIsAbsolutePath(const char *path);
// Joins a folder and a name (both stripped of trailing blanks) into the
// destination and normalises it; an absolute name is taken unchanged.
char *utJoinPath(char *dst, const char *folder, const char *name);
// New string handle with the path relative to the base folder.
MemHandle utMakeRelativePath(const char *path, const char *base);
// New string handle with the absolute form of the path against the base.
MemHandle utMakeAbsolutePath(const char *path, const char *base);
// Whether a folder path or pattern is valid; false for an empty path.
BOOL utCheckDirPath(const char *path);

// Makes a unique name with the prefix "~" in the folder of the given path
// (beside) or in the system's temporary folder, writes it into the buffer
// and deletes the empty file the system made unless keep is set. Returns 1;
// 0, with the buffer unchanged, when no name could be made.
int utMakeTempFileName(char *path, BOOL beside, BOOL keep);
// A fresh temporary name in the folder of the path (the file not kept);
// FALSE, with an empty destination, when none could be made.
BOOL utTempNameBeside(char *dst, const char *path);
// Renames an existing file to a fresh temporary name in its own folder and
// puts that name in the buffer. FALSE for an empty path or a failed rename
// (the buffer then unchanged).
BOOL utRenameToTemp(char *path);
// New string handle with a fresh temporary name beside the path in the
// string handle (in the current folder when there is none); 0 on failure.
MemHandle utTempNameHandle(MemHandle path);
