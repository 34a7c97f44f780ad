#include "engine/URootFolders.h"

#include <memory>

#include "engine/CBaseCompareFolder.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr SInt16 kFilesAndInvisibleItems = kCompInvisible | kCompFile;
constexpr UInt8 kSeparator[] = {2, ',', ' '};

} // namespace

void URootFolders::GetFoldersOnlyAtDestination(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum,
                                               SInt32 dstDirID, StringPtr list)
{
    list[0] = 0;
    const std::unique_ptr<CListStructs> level(
        CBaseCompareFolder::GetOneLevelList(nullptr, srcVRefNum, srcDirID, dstVRefNum, dstDirID, kFilesAndInvisibleItems));
    if (!level)
        return;
    const auto record = [&level](long index) {
        return reinterpret_cast<const CompFolderStruct*>(level->GetNthStructPtr(index));
    };
    for (long index = 1; index <= level->GetCount();) {
        const CompFolderStruct* first = record(index);
        const CompFolderStruct* next = index < level->GetCount() ? record(index + 1) : nullptr;
        if (next && !CBaseCompareFolder::NotEqualItems(first, next)) {
            index += 2;
            continue;
        }
        if (first->side == 1) {
            if (list[0] != 0)
                CStr255::ConcatPStrings(list, kSeparator);
            CStr255::ConcatPStrings(list, first->name);
        }
        ++index;
    }
}
