#include "filesystem/ItemCalls.h"

#include "filesystem/UFile.h"

namespace ItemCalls {

FSSpec ItemSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    FSSpec spec{vRefNum, dirID, {}};
    if (name && name[0] != 0)
        UFile::MakeFileSpec(vRefNum, dirID, name, &spec);
    return spec;
}

} // namespace ItemCalls
