// Record-level services of the form fields: the attribute offsets of entry,
// list and equation fields (their record size is forms/ent_field's), and the
// caption of an entry reference.
//
// Entry, list and equation fields (41, 42, 124) keep their tagged
// attributes behind an AttrHeader at type data +80, the records from type
// data +100; the record ends with them. An entry reference (116) names the
// field it shows at type data +78 (32 bytes, zero-terminated).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/att_field.h"   // kFldAttrHeader, kFldAttrRun

const uint32_t kErfNameOffset = 78;     // entry reference: referenced field name
const uint32_t kErfNameBytes = 32;

// The caption shown for an entry reference: ">> " and the referenced field's
// name (cut at its 32 bytes). `data` is the type data of `dataBytes` bytes;
// the buffer holds at least 40 bytes. Empty when the data is too short.
void fldEntryRefCaption(const uint8_t *data, uint32_t dataBytes, char *buffer);
