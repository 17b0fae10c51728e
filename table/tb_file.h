// The file form of tables and report tables: a 112-byte head (the font
// narrowed), the widths and heights, 80-byte cells (their fonts narrowed)
// and the data-record and text areas as in memory.
#pragma once
#include "support/qmwin.h"
#include <vector>

const uint32_t kTbFileHeadSize = 112;
const uint32_t kTbFileCellSize = 80;

// Memory type data -> file form, appended to out; FALSE for a damaged table.
BOOL tbDataToFile(const uint8_t *data, uint32_t n, std::vector<uint8_t> &out);
// File form -> memory type data; FALSE (the record refused) for anything
// that is not a sound table.
BOOL tbDataFromFile(const uint8_t *data, uint32_t n, std::vector<uint8_t> &out);
