#pragma once
// What the file and folder objects share about naming their item.

#include "platform/Files.h"

namespace ItemCalls {

// The FSSpec an item object keeps: resolved as UFile::MakeFileSpec does it,
// but an empty name stays empty, where the platform would name the folder itself and
// the object would act on its parent folder.
FSSpec ItemSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);

} // namespace ItemCalls
