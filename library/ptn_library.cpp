// The pattern library file: its first pattern.
#include "library/ptn_library.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"

const char kPtnLibraryKind[] = "PTNLIB";

MemHandle ptnReadFirst(const char *fileName)
{
    if (!fileName || !*fileName || !ffExists(fileName))
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(fileName, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle first = 0;
    if (size != 0 && size != INVALID_FILE_SIZE && size <= 0x7FFFFFFF) {
        int32_t budget = (int32_t)size;
        uint16_t count = 0;
        if (qmfCheckHeaderReport(f, &budget, nullptr, kPtnLibraryKind, nullptr) == 1 &&
            ffReadCounted(f, &budget, &count, sizeof count, FALSE) && count > 0)
            first = ffReadPacketEx(f, &budget, FALSE);
    }
    ffClose(f);
    return first;
}
