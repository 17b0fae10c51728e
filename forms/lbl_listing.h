// The label listing ("~labspec.dat") and the print job's "PageOptions"
// dialog.
#pragma once
#include "support/qmwin.h"
#include "model/lbl_spec.h"

typedef int (*PrnLabelFileProc)(HWND owner, uint16_t *options);
// The label chooser on the listing file; nonzero when a label was chosen.
int lblChooseFromListing(HWND owner, const char *listingPath, uint16_t *options);
// Path of "~labspec.dat" in the home folder into a buffer of MAX_PATH bytes.
char *lblListingPath(char *buffer);
// The "PageOptions" dialog of a print job; nonzero on OK.
int lblPageOptionsDialog(HWND owner, PrnLabelFileProc labelFile, LabelSpec *spec,
                         LabelLayout *layout, uint16_t *options);
