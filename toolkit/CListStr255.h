#pragma once
// A list of Pascal strings. Each record is the string with its length byte raised by
// one, so that the byte holds the record's total length; a string of 255 characters
// therefore keeps only its first 254. A comparator sees the record, whose first byte
// is thus one more than the string's length.

#include "toolkit/CListStructs.h"

class CListStr255 : public CListStructs {
public:
    explicit CListStr255(CComparator* comparator = nullptr);

    long AddStr255ToList(ConstStr255Param s);
    void SetNthStr255(long index, ConstStr255Param s);
    // The empty string when index is out of range.
    void GetNthStr255(long index, Str255 out);

protected:
    std::unique_ptr<CListObject> NewEmpty() const override;
};
