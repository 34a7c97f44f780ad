// The item rules of the action run: which items take part, and what becomes of each.

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/CActionThread.h"
#include "engine/CCopyFileThread.h"
#include "engine/CDeleteFolder.h"
#include "filesystem/UFile.h"
#include "platform/Resources.h"
#include "toolkit/BigEndian.h"
#include "toolkit/CListStr255.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr ResIDT kLanguagesID = 140;
constexpr unsigned char kSpotlightPrefix[] = "\x0A.Spotlight";
constexpr unsigned char kLanguageSuffix[] = "\x06.lproj";
constexpr unsigned char kDebugSuffix[] = "\x06_debug";
constexpr unsigned char kProfileSuffix[] = "\x08_profile";
constexpr unsigned char kEndOfListPrefix[] = "\x04xxxx";
constexpr UInt32 kSetUIDBit = 0x800;
// A restriction entry: length, depth, the big-endian index of the next entry of the
// same depth (0: none before a shallower one; 0xFFFF: not filled in), the name.
constexpr UInt16 kNextUnknown = 0xFFFF;
constexpr long kRestrictionNameOffset = 4;

Boolean Equal(ConstStr255Param a, const char* text)
{
    return a[0] == std::strlen(text) && std::memcmp(a + 1, text, a[0]) == 0;
}

UInt32 PermissionMode(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    FSCatalogInfo info{};
    UFile::GetMacOSXInfos(vRefNum, dirID, name, &info, nullptr, UFile::kPermissionsInfo);
    return info.permissions[2];
}

} // namespace

Boolean CActionThread::CheckFolder(CompFolderStruct& record)
{
    const ConstStringPtr name = record.name;
    if (mLevel == 0 && CStr255::StartWithPString(kSpotlightPrefix, name))
        return false;
    if (mInUsers && mSettings.userFolders != 0) {
        if (mLevel > 1)
            return false;
        if (mLevel == 1)
            return Equal(name, "Shared");
    }
    if (mLevel == 0 && mSettings.folderName[0] != 0 && mSourceVRefNum == mDestVRefNum &&
        CStr255::EqualPStrings(name, mSettings.folderName))
        return false;
    if (CStr255::EqualPStrings(name, mSkipFolderName))
        return false;
    if (mSkipDeveloperFiles && Equal(name, "Headers"))
        return false;
    if (mLanguageFilter)
        return CheckLanguageFolder(name);
    return true;
}

Boolean CActionThread::CheckFile(CompFolderStruct& record)
{
    const ConstStringPtr name = record.name;
    if (mSkipDeveloperFiles && (((record.flags & kCompAlias) && Equal(name, "Headers")) ||
                                CStr255::EndWithPString(kDebugSuffix, name) ||
                                CStr255::EndWithPString(kProfileSuffix, name)))
        return false;
    if (mInUsers && mSettings.userFolders != 0)
        return mLevel <= 2 && Equal(name, ".localized");
    return !CStr255::EqualPStrings(name, mReportName);
}

Boolean CActionThread::CheckLanguageFolder(ConstStr255Param name)
{
    if (!CStr255::EndWithPString(kLanguageSuffix, name))
        return true;
    if (sLprojFolderName[0][0] == 0) {
        for (int slot = 0; slot < kLanguageSlots; ++slot) {
            Str255 text;
            GetIndString(text, kLanguagesID, SInt16(slot + 1));
            if (text[0] == 0 || CStr255::StartWithPString(kEndOfListPrefix, text)) {
                sLprojFolderName[slot][0] = 0;
                break;
            }
            CStr255::CopyPString(text, sLprojFolderName[slot], 31);
        }
    }
    for (int slot = 0; slot < kLanguageSlots && sLprojFolderName[slot][0] != 0; ++slot) {
        if (CStr255::EqualPStrings(name, sLprojFolderName[slot]))
            return true;
    }
    return false;
}

CBaseFileThread* CActionThread::GetFolderAction(SInt16, SInt32 srcDirID, SInt16 dstVRefNum,
                                                SInt32 dstDirID, CompFolderStruct& record, SInt16* enter)
{
    *enter = 0;
    if (record.side == 1) {
        const Boolean keptAtRoot = dstDirID == fsRtDirID && (mSettings.keepDestinationRoot ||
                                                             (mSettings.userFolders != 0 && Equal(record.name, "Users")));
        return keptAtRoot ? nullptr : DoDeleteItem(dstVRefNum, dstDirID, record.name, true);
    }
    if (srcDirID == fsRtDirID && Equal(record.name, "Volumes")) {
        SInt32 createdID = 0;
        DirCreate(dstVRefNum, dstDirID, record.name, &createdID);
        return nullptr;
    }
    *enter = 1;
    return nullptr;
}

CBaseFileThread* CActionThread::GetFileAction(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                              CompFolderStruct& source, CompFolderStruct&)
{
    auto* action = new CCopyFileThread(srcVRefNum, srcDirID, source.name, dstVRefNum, dstDirID, source.sizeKB);
    mActionKind = kCopyAction;
    ++mFilesHandled;
    ++mHeader.replacedFiles;
    return action;
}

CBaseFileThread* CActionThread::GetFileAction1(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32,
                                               CompFolderStruct& source)
{
    long folder = mDestDirID[mLevel];
    if (folder == 0) {
        folder = mDestDirID[0];
        if (UFile::DuplicateFolderHierarchy(srcVRefNum, srcDirID, mSourceDirID[0], dstVRefNum, &folder, false, true) !=
                noErr ||
            folder == 0 || (mLevel > 0 && folder == mDestDirID[0]))
            return nullptr;
    }
    mDestDirID[mLevel] = SInt32(folder);
    auto* action = new CCopyFileThread(srcVRefNum, srcDirID, source.name, dstVRefNum, SInt32(folder), source.sizeKB);
    mActionKind = kCopyAction;
    ++mFilesHandled;
    ++mHeader.newFiles;
    return action;
}

CBaseFileThread* CActionThread::GetFileAction2(SInt16, SInt32, SInt16 dstVRefNum, SInt32 dstDirID,
                                               CompFolderStruct& destination)
{
    if (mSettings.keepDestinationRoot && dstDirID == fsRtDirID)
        return nullptr;
    return DoDeleteItem(dstVRefNum, dstDirID, destination.name, false);
}

CBaseFileThread* CActionThread::DoDeleteItem(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean isFolder)
{
    if (mSettings.noDeletions)
        return nullptr;
    auto* action = new CDeleteFolder(vRefNum, dirID, name);
    mActionKind = kDeleteAction;
    if (!isFolder)
        ++mHeader.deletedFiles;
    return action;
}

void CActionThread::UpdatePermissions(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                      CompFolderStruct& source, CompFolderStruct&)
{
    long srcOwner = 0, srcGroup = 0, srcAccess = 0;
    long dstOwner = 0, dstGroup = 0, dstAccess = 0;
    if (UFile::GetOwner(srcVRefNum, srcDirID, source.name, &srcOwner, &srcGroup, &srcAccess) != noErr ||
        UFile::GetOwner(dstVRefNum, dstDirID, source.name, &dstOwner, &dstGroup, &dstAccess) != noErr)
        return;
    const Boolean same = srcOwner == dstOwner && srcGroup == dstGroup && srcAccess == dstAccess &&
                         (PermissionMode(srcVRefNum, srcDirID, source.name) & kSetUIDBit) ==
                             (PermissionMode(dstVRefNum, dstDirID, source.name) & kSetUIDBit);
    if (!same)
        UFile::CopyMacOSXInfos(srcVRefNum, srcDirID, source.name, dstVRefNum, dstDirID, source.name, true);
}

void CActionThread::FilterByRestrictionList(CListStructs& list)
{
    // The entries at the current depth under the current path.
    std::vector<std::vector<UInt8>> collected;
    SInt32 depth = 0;
    Str255 expected{};
    mPathList->GetNthStr255(2, expected);
    const long count = mRestrictionList->GetCount();
    for (long i = 1; i <= count;) {
        const auto* entry = reinterpret_cast<const UInt8*>(mRestrictionList->GetNthStructPtr(i));
        const ConstStringPtr name = entry + kRestrictionNameOffset;
        if (entry[1] < depth)
            break;
        if (entry[1] > depth) {
            ++i;
        } else if (depth == mLevel) {
            collected.emplace_back(name, name + name[0] + 1);
            ++i;
        } else if (CStr255::EqualPStrings(name, expected)) {
            ++depth;
            mPathList->GetNthStr255(depth + 2, expected);
            ++i;
        } else {
            const UInt16 next = GetBigEndian16(entry + 2);
            if (next == 0)
                break;
            // Only a forward link is followed: a list that points back would never end.
            i = next == kNextUnknown || next <= i ? i + 1 : long(next);
        }
    }
    if (collected.empty())
        return;
    for (long i = 1; i <= list.GetCount();) {
        const auto* record = reinterpret_cast<const CompFolderStruct*>(list.GetNthStructPtr(i));
        Boolean keep = false;
        if (!collected.empty()) {
            const auto match = std::find_if(collected.begin(), collected.end(), [&](const std::vector<UInt8>& name) {
                return CStr255::EqualPStrings(name.data(), record->name);
            });
            keep = record->side == 1 || Equal(record->name, ".DS_Store") ||
                   (mAllowLocalized && Equal(record->name, ".localized"));
            if (!keep && match != collected.end()) {
                collected.erase(match);
                keep = true;
            }
        }
        if (keep)
            ++i;
        else
            list.RemoveNthItem(i);
    }
}
