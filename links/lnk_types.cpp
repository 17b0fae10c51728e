// The image-file object type.
#include "links/lnk_types.h"
#include "links/doc_names.h"
#include "links/imgf_kind.h"
#include "links/imgf_object.h"
#include "objects/sh_inset.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"
#include "model/pg_render.h"

namespace {

// Files other than linked drawings are pictures: the view's image-file
// code hides them.
BOOL showsPictureFile(const ObjectRecord *rec)
{
    return imgfGetFileKind(rec) != IMGF_KIND_DWG;
}

}  // namespace

void lnkRegisterTypes()
{
    ObTypeProcs file = {};
    file.recordSize = shSelfSizedRecordSize;
    file.showsPictureFile = showsPictureFile;
    file.draw = imgfDrawRecord;
    obRegisterType(OBT_IMAGE_FILE, &file);
    pgSetPictureLoader(docLoadPicture);
}
