#include "engine/CComparatorCompFolder.h"

#include "engine/CBaseCompareFolder.h"
#include "toolkit/UDiv.h"

SInt32 CComparatorCompFolder::Compare(long a, long b)
{
    const auto* first = reinterpret_cast<const CompFolderStruct*>(a);
    const auto* second = reinterpret_cast<const CompFolderStruct*>(b);
    if (const int byName = CBaseCompareFolder::CompareItems(first, second))
        return byName;
    if (first->side != second->side)
        return SInt32(first->side) - SInt32(second->side);
    if (first->flags & kCompFolder)
        return 0;
    return UDiv::CompareUnsignedLong(second->dirIDOrModDate, first->dirIDOrModDate);
}
