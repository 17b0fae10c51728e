// The settings file "~qmsetup" in the user's home folder: a file header of
// kind "QMSETUP", version "4.0", then the form defaults, the default page,
// the setup record and the start document as packets.
#pragma once
#include "support/qmwin.h"

// Reads the file when it exists, makes whatever is missing with defaults,
// and hands the stored values to their users (the editor colour and font
// dialog bits, the colour-menu style, font smoothing). Nonzero when all
// three records exist.
BOOL setLoadSetupFile(const char *path);
// Reads the file; nonzero when the form defaults and the default page were
// taken from it. A missing file is not reported; a damaged one is, by the
// header check and the packet reader, and whatever was not read keeps its
// defaults.
BOOL setReadSetupFile(const char *path);
// Writes the whole file through a temporary file beside it, so that a
// failed write leaves the previous file as it was. 1, or 0 when it could
// not be written; the first failure of a run is reported.
BOOL setWriteSetupFile(HWND frame, const char *path);
// At the close of the frame: stores the frame's state in the setup record,
// writes the file, releases the background brush and frees the records.
BOOL appSaveFrameSettings(HWND frame, const char *path);
// Lets the next write failure be reported again (tests, a new run).
void setResetSetupFileWarning();
