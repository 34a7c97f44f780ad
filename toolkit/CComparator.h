#pragma once
// Decides the order of a list: negative when a sorts before b, 0 when equal,
// positive after. The base class finds everything equal.

#include "platform/MacTypes.h"

class CComparator {
public:
    CComparator() = default;
    virtual ~CComparator() = default;
    CComparator(const CComparator&) = delete;
    CComparator& operator=(const CComparator&) = delete;

    // For a CListObject a and b are its values; for a CListStructs, the addresses
    // of the two records' data (after any length prefix).
    virtual SInt32 Compare(long a, long b);

    // When set, every comparison a list makes through this comparator is negated.
    void SetReverse(Boolean reverse) { mReverse = reverse; }
    Boolean IsReverse() const { return mReverse; }

private:
    Boolean mReverse = false;
};
