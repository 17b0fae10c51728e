// Stand-in: the label chooser and the "PageOptions" dialog are not built
// yet. The chooser chooses nothing and the dialog answers Cancel, leaving
// the print job's label options as they were. The listing path is complete.
#include "forms/lbl_listing.h"
#include "support/settings_reg.h"

int lblChooseFromListing(HWND, const char *, uint16_t *) { return 0; }

char *lblListingPath(char *buffer) { return setGetHomeFilePath(buffer, "~labspec.dat"); }

int lblPageOptionsDialog(HWND, PrnLabelFileProc, LabelSpec *, LabelLayout *, uint16_t *)
{
    return 0;
}
