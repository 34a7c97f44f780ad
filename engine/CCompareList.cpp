#include "engine/CCompareList.h"

#include <algorithm>

#include "toolkit/CListStructs.h"

namespace {

constexpr long kGrowthStep = 260;
constexpr long kFixedBytes = 5; // length, level, folder flag, differences, name length

} // namespace

CCompareList::CCompareList() : mItems(std::make_unique<CListStructs>(nullptr, CListStructs::kOwnLength8, kGrowthStep)) {}

CCompareList::~CCompareList() = default;

void CCompareList::AddItem(const CompareStruct& record)
{
    while (mItems->GetCount() > 0) {
        const CompareStruct last = GetItem(mItems->GetCount());
        if (last.differences != 0 || last.level < record.level)
            break;
        mItems->RemoveNthItem(mItems->GetCount());
    }
    CompareStruct stored = record;
    stored.length = UInt8(record.name[0] + kFixedBytes);
    mItems->AddStructToList(&stored, stored.length);
}

long CCompareList::GetCount() const
{
    return mItems->GetCount();
}

CompareStruct CCompareList::GetItem(long index) const
{
    CompareStruct item{};
    const long length = mItems->GetNthStruct(index, &item, sizeof item);
    item.name[0] = UInt8(std::clamp<long>(item.name[0], 0, std::max<long>(0, length - kFixedBytes)));
    return item;
}

UInt8 CCompareList::GetShownBits(long index, UInt8 mask) const
{
    const CompareStruct item = GetItem(index);
    if (!item.isFolder || (item.differences & mask) != 0)
        return item.differences;
    for (long next = index + 1; next <= GetCount(); ++next) {
        const CompareStruct descendant = GetItem(next);
        if (descendant.level <= item.level)
            break;
        if ((descendant.differences & mask) != 0)
            return UInt8(item.differences | descendant.differences);
    }
    return item.differences;
}
