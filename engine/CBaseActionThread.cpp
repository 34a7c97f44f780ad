#include "engine/CBaseActionThread.h"

#include "toolkit/CListStr255.h"
#include "toolkit/CStr255.h"
#include "toolkit/UDate.h"

namespace {

// A separator is added only while the text is shorter than this.
constexpr UInt8 kPathSeparatorLimit = 254;

} // namespace

CBaseActionThread::CBaseActionThread() : mStartDate(UDate::Now()), mPathList(std::make_unique<CListStr255>()) {}

CBaseActionThread::~CBaseActionThread() = default;

void CBaseActionThread::SetFolderName(ConstStr255Param name)
{
    while (mPathList->GetCount() > mLevel)
        mPathList->RemoveNthItem(mPathList->GetCount());
    if (name)
        mPathList->AddStr255ToList(name);
    mPathText[0] = 0;
    for (long i = 1; i <= mPathList->GetCount(); ++i) {
        Str255 entry;
        mPathList->GetNthStr255(i, entry);
        if (mPathText[0] > 0 && mPathText[0] < kPathSeparatorLimit)
            CStr255::AddCharToPString(mPathText, '/');
        CStr255::ConcatPStrings(mPathText, entry, 255);
    }
}
