#pragma once
// The order of a level list: by name (namesakes together), the source's record
// before its destination namesake, and among files of one name the newer first.

#include "toolkit/CComparator.h"

class CComparatorCompFolder : public CComparator {
public:
    // a and b are the addresses of two CompFolderStruct records.
    SInt32 Compare(long a, long b) override;
};
