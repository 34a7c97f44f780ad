#include "toolkit/CComparator.h"

SInt32 CComparator::Compare(long, long)
{
    return 0;
}
