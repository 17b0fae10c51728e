// The file header of the program's container files.
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resource.h"
#include <string.h>

uint32_t qmfSecondsSince1970()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    uint64_t t = ((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    return (uint32_t)(t / 10000000ull - 11644473600ull);
}

namespace {

const char kLogo[] = "Vellum";
const char kProgramVersion[] = "3.0";

uint32_t writeHeader(HANDLE file, const char *kind, const char *version, uint32_t format)
{
    FileHeader h = {};
    utStrCopyN(h.logo, kLogo, sizeof(h.logo));
    utStrCopyN(h.version, version, sizeof(h.version));
    utStrCopyN(h.kind, kind, sizeof(h.kind));
    h.time = qmfSecondsSince1970();
    h.formatVersion = format;
    if (!ffSeek(file, 0) || ffWrite(file, &h, sizeof(h)) != sizeof(h)) {
        utErrorBoxId(nullptr, IDS_WRITE_HEADER_FAILED);
        return 0;
    }
    return sizeof(h);
}

bool sameText(const char *field, uint32_t size, const char *expected)
{
    char text[16];
    qmfHeaderText(field, size, text);
    return lstrcmpiA(text, expected) == 0;
}

}  // namespace

void qmfHeaderText(const char *field, uint32_t fieldSize, char *out)
{
    uint32_t n = 0;
    while (n < fieldSize && field[n])
        ++n;
    memcpy(out, field, n);
    out[n] = 0;
}

uint32_t qmfWriteHeader(HANDLE file, const char *kind)
{
    return writeHeader(file, kind, kProgramVersion, QMF_FORMAT_VERSION);
}

uint32_t qmfWriteHeaderEx(HANDLE file, const char *kind, const char *versionText)
{
    return writeHeader(file, kind, versionText, 0);
}

int qmfCheckHeaderLogos(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                        const char *version, BOOL report, BOOL anyLogo)
{
    FileHeader h;
    int result = 1;
    UINT message = 0;
    // The document reader also insists that the counted bytes hold a header.
    if (!ffSeek(file, 0) || (!anyLogo && (!remaining || *remaining < (int32_t)sizeof h)) ||
        !ffReadCounted(file, remaining, &h, sizeof h, FALSE)) {
        result = 2;
        message = IDS_READ_HEADER_FAILED;
    } else if (!sameText(h.logo, sizeof h.logo, "Vellum") && !sameText(h.logo, sizeof h.logo, "Verda")
               && !(anyLogo && sameText(h.logo, sizeof h.logo, "Tavix"))) {
        result = 3;
        message = IDS_NOT_OUR_FILE;
    } else if (kind && *kind && !sameText(h.kind, sizeof h.kind, kind)) {
        result = 3;
        message = IDS_WRONG_FILE_TYPE;
    } else if (version && *version && !sameText(h.version, sizeof h.version, version)) {
        result = 4;
        message = IDS_WRONG_VERSION;
    }
    if (result != 1) {
        if (report)
            utErrorBoxId(nullptr, message);
        return result;
    }
    if (header)
        *header = h;
    return 1;
}

int qmfCheckHeader(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                   const char *version, BOOL report)
{
    return qmfCheckHeaderLogos(file, remaining, header, kind, version, report, TRUE);
}

int qmfCheckHeaderReport(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                         const char *version)
{
    return qmfCheckHeader(file, remaining, header, kind, version, TRUE);
}

BOOL qmfIsDocumentFile(const char *path)
{
    if (!path || !*path)
        return FALSE;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    int32_t remaining = (int32_t)size;
    BOOL ok = qmfCheckHeader(f, &remaining, nullptr, "FORM", "", FALSE) == 1;
    ffClose(f);
    return ok;
}
