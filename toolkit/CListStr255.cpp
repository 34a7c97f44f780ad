#include "toolkit/CListStr255.h"

#include <cstring>

namespace {

void MakeRecord(ConstStr255Param s, Str255 record)
{
    std::memcpy(record, s, std::size_t(s[0]) + 1);
    if (record[0] < 255)
        ++record[0];
}

} // namespace

CListStr255::CListStr255(CComparator* comparator) : CListStructs(comparator, kOwnLength8, kDefaultStep)
{
}

std::unique_ptr<CListObject> CListStr255::NewEmpty() const
{
    return std::make_unique<CListStr255>();
}

long CListStr255::AddStr255ToList(ConstStr255Param s)
{
    Str255 record;
    MakeRecord(s, record);
    return AddStructToList(record, record[0]);
}

void CListStr255::SetNthStr255(long index, ConstStr255Param s)
{
    Str255 record;
    MakeRecord(s, record);
    SetNthStruct(index, record, record[0]);
}

void CListStr255::GetNthStr255(long index, Str255 out)
{
    out[0] = 0;
    if (GetNthStruct(index, out, 255) > 0)
        --out[0];
}
