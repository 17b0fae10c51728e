// The 40-byte header that opens every container file of the program.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct FileHeader {
    char logo[8];             // "Vellum", zero-padded
    char version[8];          // version text of the writing program
    char kind[12];            // kind name: "FORM", "QMSETUP", ...
    uint32_t time;            // seconds since 1970-01-01
    uint32_t formatVersion;   // 250 from qmfWriteHeader, 0 from qmfWriteHeaderEx
    uint32_t zero;
};
#pragma pack(pop)
static_assert(sizeof(FileHeader) == 40, "the file header is 40 bytes");

enum { QMF_FORMAT_VERSION = 250 };

// The current time as the files store it: seconds since 1970-01-01 (UTC).
uint32_t qmfSecondsSince1970();

// Writes a header at offset 0 with the program's logo, the given kind and
// version text and the current time: 40, or 0 with message 603 on a short
// write. qmfWriteHeader uses the program's version text "3.0" and the file
// format version 250; qmfWriteHeaderEx (other container files) the given
// version text and 0.
uint32_t qmfWriteHeader(HANDLE file, const char *kind);
uint32_t qmfWriteHeaderEx(HANDLE file, const char *kind, const char *versionText);
// Reads the header from offset 0 into `header` (may be null), taking 40
// from the count of bytes left. 1 when usable; 2 when it cannot be read
// (604), 3 when the logo is none of "Vellum", "Verda" and "Tavix" (605) or
// the kind differs (606), 4 when the version text differs (607). An empty
// or null kind or version is not compared; texts are compared without
// regard to case. With report, the message of the failure is shown.
// The header check behind both readers: the general one accepts the three
// logos, the document reader (anyLogo FALSE) only "Vellum" and "Verda".
int qmfCheckHeaderLogos(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                        const char *version, BOOL report, BOOL anyLogo);
int qmfCheckHeader(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                   const char *version, BOOL report);
int qmfCheckHeaderReport(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                         const char *version);
// A header text field as a terminated string (the field may fill its bytes).
void qmfHeaderText(const char *field, uint32_t fieldSize, char *out);
// 1 when the file's header carries the program's logo and names the kind
// "FORM"; 0 for any other file, a short one or one that cannot be opened
// (nothing is reported).
BOOL qmfIsDocumentFile(const char *path);
