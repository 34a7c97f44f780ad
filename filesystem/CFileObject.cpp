#include "filesystem/CFileObject.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "filesystem/CFolderAccess.h"
#include "filesystem/CFolderObject.h"
#include "filesystem/ItemCalls.h"
#include "filesystem/UFile.h"
#include "platform/Resources.h"
#include "platform/Folders.h"
#include "toolkit/BigEndian.h"
#include "toolkit/CListStructs.h"

namespace {

constexpr long kEditBufferSize = 64 * 1024;
constexpr int kMaxConflictNumber = 2047;
constexpr std::size_t kCatalogNameLimit = 31;

Boolean SameName(ConstStr255Param a, ConstStr255Param b)
{
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

void SetPascal(const std::string& text, StringPtr out)
{
    out[0] = UInt8(std::min<std::size_t>(text.size(), 255));
    std::memcpy(out + 1, text.data(), out[0]);
}

// A clash's name: the name cut so that "." and the number still fit in a catalog name.
std::string NumberedName(ConstStr255Param name, int number)
{
    const std::string suffix = "." + std::to_string(number);
    const std::string text(reinterpret_cast<const char*>(name + 1), name[0]);
    return text.substr(0, std::min(text.size(), kCatalogNameLimit - suffix.size())) + suffix;
}

// The item's own Unicode name, to give it back untouched.
OSErr UnicodeName(const FSSpec& spec, HFSUniStr255* name)
{
    FSRef ref;
    if (const OSErr err = FSpMakeFSRef(&spec, &ref))
        return err;
    return FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, name, nullptr, nullptr);
}

OSErr RenameUnicode(const FSSpec& spec, const HFSUniStr255& name)
{
    FSRef ref;
    if (const OSErr err = FSpMakeFSRef(&spec, &ref))
        return err;
    return FSRenameUnicode(&ref, name.length, name.unicode, kTextEncodingUnknown, nullptr);
}

} // namespace

CFileObject::CFileObject(const FSSpec* spec) : LFileStream(*spec)
{
}

CFileObject::CFileObject(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    SetFileSpec(vRefNum, dirID, name);
}

CFileObject::CFileObject(SInt16 vRefNum, SInt32 dirID, SInt16 strListID, SInt16 index)
{
    Str255 name;
    GetIndString(name, strListID, index);
    SetFileSpec(vRefNum, dirID, name);
}

void CFileObject::SetFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    SetSpecifier(ItemCalls::ItemSpec(vRefNum, dirID, name));
}

Boolean CFileObject::ExistsOnDisk()
{
    return mMacFileSpec.name[0] != 0 && UFile::ExistsOnDisk(mMacFileSpec.vRefNum, mMacFileSpec.parID, mMacFileSpec.name);
}

// An empty name would make the item calls describe, or change, the parent folder.
OSErr CFileObject::GetFileInfos(CInfoPBRec* pb)
{
    if (mMacFileSpec.name[0] == 0)
        return Result(fnfErr);
    return Result(UFile::GetFileInfos(mMacFileSpec.vRefNum, mMacFileSpec.parID, mMacFileSpec.name, pb));
}

OSErr CFileObject::SetFileInfos(CInfoPBRec* pb)
{
    if (mMacFileSpec.name[0] == 0)
        return Result(fnfErr);
    return Result(UFile::SetFileInfos(mMacFileSpec.vRefNum, mMacFileSpec.parID, mMacFileSpec.name, pb));
}

Boolean CFileObject::IsFolder()
{
    CInfoPBRec pb;
    return GetFileInfos(&pb) == noErr && (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask);
}

Boolean CFileObject::IsLocked()
{
    CInfoPBRec pb;
    return GetFileInfos(&pb) == noErr && (pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask);
}

OSType CFileObject::GetMacType()
{
    CInfoPBRec pb;
    return GetFileInfos(&pb) == noErr ? pb.hFileInfo.ioFlFndrInfo.fdType : 0;
}

OSType CFileObject::GetMacCreator()
{
    CInfoPBRec pb;
    return GetFileInfos(&pb) == noErr ? pb.hFileInfo.ioFlFndrInfo.fdCreator : 0;
}

OSErr CFileObject::SetLock(Boolean locked)
{
    if (IsLocked() == locked)
        return Result(noErr);
    return Result(locked ? FSpSetFLock(&mMacFileSpec) : FSpRstFLock(&mMacFileSpec));
}

OSErr CFileObject::OpenDataFork(SInt16 permission)
{
    return Result(LFileStream::OpenDataFork(permission));
}

OSErr CFileObject::OpenResourceFork(SInt16 permission)
{
    return Result(LFileStream::OpenResourceFork(permission) == noErr ? OSErr(noErr) : OSErr(ioErr));
}

void CFileObject::Close()
{
    CloseDataFork();
    CloseResourceFork();
}

OSErr CFileObject::SetPosition(long offset, short mode)
{
    return Result(SetMarker(offset, UInt16(mode)));
}

long CFileObject::GetPosition()
{
    return long(GetMarker());
}

OSErr CFileObject::SetResourcePosition(long offset, short mode)
{
    return Result(FSSetForkPosition(mResourceForkRefNum, UInt16(mode), offset));
}

OSErr CFileObject::ReadBytes(void* buffer, long count, long keep)
{
    if (!buffer || count <= 0)
        return Result(noErr);
    const long wanted = (keep > 0 && keep < count) ? keep : count;
    SInt32 moved = SInt32(wanted);
    OSErr err = GetBytes(buffer, moved);
    if (err == noErr && wanted < count)
        err = SetMarker(count - wanted, fsFromMark);
    return Result(err);
}

OSErr CFileObject::ReadBytesInResource(void* buffer, long count)
{
    SInt32 moved = SInt32(count);
    return Result(buffer && count > 0 ? ReadAtMark(mResourceForkRefNum, buffer, moved) : OSErr(noErr));
}

OSErr CFileObject::WriteBytes(const void* buffer, long count)
{
    SInt32 moved = SInt32(count);
    return Result(buffer && count > 0 ? PutBytes(buffer, moved) : OSErr(noErr));
}

OSErr CFileObject::WriteBytesInResource(const void* buffer, long count)
{
    SInt32 moved = SInt32(count);
    return Result(buffer && count > 0 ? WriteAtMark(mResourceForkRefNum, buffer, moved) : OSErr(noErr));
}

OSErr CFileObject::MoveTail(long from, long delta)
{
    std::vector<UInt8> buffer;
    try {
        buffer.resize(kEditBufferSize);
    } catch (const std::bad_alloc&) {
        return kNoEditBufferErr;
    }
    SInt64 size = 0;
    if (const OSErr err = FSGetForkSize(mDataForkRefNum, &size))
        return err;
    // Growing moves the tail from its end backwards, shrinking from its start
    // forwards, so no block overwrites bytes not yet moved.
    const auto moveBlock = [&](SInt64 start, SInt64 end) {
        UInt32 actual = 0;
        const UInt32 length = UInt32(end - start);
        if (const OSErr err = FSReadFork(mDataForkRefNum, fsFromStart, start, length, buffer.data(), &actual))
            return err;
        return FSWriteFork(mDataForkRefNum, fsFromStart, start + delta, length, buffer.data(), &actual);
    };
    if (delta > 0) {
        for (SInt64 end = size; end > from;) {
            const SInt64 start = std::max<SInt64>(from, end - kEditBufferSize);
            if (const OSErr err = moveBlock(start, end))
                return err;
            end = start;
        }
        return noErr;
    }
    for (SInt64 start = from; start < size; start += kEditBufferSize) {
        if (const OSErr err = moveBlock(start, std::min<SInt64>(size, start + kEditBufferSize)))
            return err;
    }
    return FSSetForkSize(mDataForkRefNum, fsFromStart, size + delta);
}

OSErr CFileObject::ReplaceInFile(long position, long oldLength, const void* buffer, long newLength)
{
    SInt64 size = 0;
    if (const OSErr err = FSGetForkSize(mDataForkRefNum, &size))
        return Result(err);
    if (position < 0 || oldLength < 0 || newLength < 0 || position + oldLength > size)
        return Result(paramErr);
    OSErr err = newLength == oldLength ? OSErr(noErr) : MoveTail(position + oldLength, newLength - oldLength);
    if (err == noErr && buffer && newLength > 0) {
        UInt32 actual = 0;
        err = FSWriteFork(mDataForkRefNum, fsFromStart, position, UInt32(newLength), buffer, &actual);
    }
    return Result(err);
}

OSErr CFileObject::ReplaceInResource(long position, const void* buffer, long length)
{
    SInt64 size = 0;
    if (const OSErr err = FSGetForkSize(mResourceForkRefNum, &size))
        return Result(err);
    if (position < 0 || length < 0 || position > size || (length > 0 && buffer == nullptr))
        return Result(paramErr);
    UInt32 actual = 0;
    return Result(length > 0 ? FSWriteFork(mResourceForkRefNum, fsFromStart, position, UInt32(length), buffer, &actual)
                             : OSErr(noErr));
}

OSErr CFileObject::InsertInFile(long position, const void* buffer, long length)
{
    return ReplaceInFile(position, 0, buffer, length);
}

OSErr CFileObject::RemoveInFile(long position, long length)
{
    return ReplaceInFile(position, length, nullptr, 0);
}

UInt8 CFileObject::ReadChar()
{
    UInt8 c = 0;
    return ReadBytes(&c, 1) == noErr ? c : 0;
}

SInt32 CFileObject::ReadLong()
{
    UInt8 bytes[4];
    return ReadBytes(bytes, 4) == noErr ? SInt32(GetBigEndian32(bytes)) : 0;
}

OSErr CFileObject::WriteLong(SInt32 value)
{
    UInt8 bytes[4];
    PutBigEndian32(bytes, UInt32(value));
    return WriteBytes(bytes, 4);
}

long CFileObject::GetFileDataSize()
{
    const bool wasOpen = mDataForkRefNum != kClosed;
    if (!wasOpen && OpenDataFork(fsRdPerm) != noErr)
        return 0;
    SInt64 size = 0;
    Result(FSGetForkSize(mDataForkRefNum, &size));
    if (!wasOpen)
        CloseDataFork();
    return long(size);
}

OSErr CFileObject::SetFileDataSize(long length)
{
    const bool wasOpen = mDataForkRefNum != kClosed;
    if (!wasOpen && OpenDataFork(fsWrPerm) != noErr)
        return mLastError;
    Result(SetLength(length));
    if (!wasOpen)
        CloseDataFork();
    return mLastError;
}

OSErr CFileObject::Create(OSType creator, OSType type, Boolean giveToUser)
{
    const OSErr err = FSpCreate(&mMacFileSpec, creator, type, 0);
    // A set-uid run would otherwise leave the user a file that root owns.
    if (err == noErr && giveToUser && geteuid() != getuid()) {
        long owner = 0, group = 0, access = 0;
        const FSSpec& spec = mMacFileSpec;
        if (UFile::GetOwner(spec.vRefNum, spec.parID, spec.name, &owner, &group, &access) == noErr && owner != long(getuid()))
            UFile::SetOwner(spec.vRefNum, spec.parID, spec.name, long(getuid()), group, access);
    }
    return Result(err);
}

OSErr CFileObject::ChangeFileName(ConstStr255Param newName)
{
    FSSpec target;
    Str255 catalogName;
    std::memcpy(catalogName, newName, newName[0] + 1u);
    if (newName[0] > kCatalogNameLimit && UFile::MakeFileSpec(mMacFileSpec.vRefNum, mMacFileSpec.parID, newName, &target) == noErr)
        std::memcpy(catalogName, target.name, target.name[0] + 1u);
    if (SameName(catalogName, mMacFileSpec.name))
        return Result(noErr);
    Close();
    const Boolean locked = IsLocked();
    if (locked)
        FSpRstFLock(&mMacFileSpec);
    const OSErr err = FSpRename(&mMacFileSpec, newName);
    if (err == noErr)
        SetFileSpec(mMacFileSpec.vRefNum, mMacFileSpec.parID, newName);
    if (locked)
        FSpSetFLock(&mMacFileSpec);
    return Result(err);
}

OSErr CFileObject::MoveTo(const FSSpec* folder, Boolean renameOnConflict)
{
    if (!folder || folder->vRefNum != mMacFileSpec.vRefNum)
        return Result(fnfErr);
    Close();
    OSErr err = FSpCatMove(&mMacFileSpec, folder);
    if (err != noErr && err != dupFNErr) {
        CFolderAccess access(mMacFileSpec.vRefNum, mMacFileSpec.parID);
        access.SetAllAccess();
        err = FSpCatMove(&mMacFileSpec, folder);
    }
    if (err == dupFNErr && renameOnConflict)
        err = MoveRenaming(folder);
    return Result(err);
}

OSErr CFileObject::MoveRenaming(const FSSpec* folder)
{
    HFSUniStr255 ownName;
    OSErr err = UnicodeName(mMacFileSpec, &ownName);
    if (err)
        return err;
    FSSpec current = mMacFileSpec;
    err = dupFNErr;
    for (int number = 1; number <= kMaxConflictNumber && err == dupFNErr; ++number) {
        Str255 name;
        SetPascal(NumberedName(mMacFileSpec.name, number), name);
        // A sibling of that name in the file's own folder is a clash as well.
        if ((err = FSpRename(&current, name)) != noErr)
            continue;
        UFile::MakeFileSpec(current.vRefNum, current.parID, name, &current);
        err = FSpCatMove(&current, folder);
    }
    // A file that could not move keeps its own name.
    if (err != noErr && !SameName(current.name, mMacFileSpec.name))
        RenameUnicode(current, ownName);
    return err;
}

OSErr CFileObject::MoveToTrash()
{
    SInt16 trashVRefNum = 0;
    SInt32 trashDirID = 0;
    if (const OSErr err = FindFolder(mMacFileSpec.vRefNum, kTrashFolderType, kCreateFolder, &trashVRefNum, &trashDirID))
        return Result(err);
    // An item of the trash that resists deletion has nowhere further to go; moving it
    // onto itself would pass for its removal.
    if (mMacFileSpec.parID == trashDirID)
        return Result(fBsyErr);
    const FSSpec trash{trashVRefNum, trashDirID, {}};
    return MoveTo(&trash, true);
}

OSErr CFileObject::DeleteFile(Boolean locked)
{
    OSErr err = FSpDelete(&mMacFileSpec);
    if (err != noErr && locked) {
        FSpRstFLock(&mMacFileSpec);
        err = FSpDelete(&mMacFileSpec);
    }
    if (err != noErr) {
        CFolderAccess access(mMacFileSpec.vRefNum, mMacFileSpec.parID);
        access.SetAllAccess();
        err = FSpDelete(&mMacFileSpec);
    }
    return err;
}

OSErr CFileObject::Delete()
{
    Close();
    CInfoPBRec pb;
    if (mMacFileSpec.name[0] == 0 || GetFileInfos(&pb) != noErr)
        return Result(fnfErr);
    const Boolean locked = (pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask) != 0;
    OSErr err = (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask) ? CFolderObject(&mMacFileSpec).Delete() : DeleteFile(locked);
    if (err != noErr && ExistsOnDisk()) {
        err = MoveToTrash();
        // An item that resisted everything is still there: that is no success, and
        // it keeps its lock.
        if (ExistsOnDisk()) {
            if (locked)
                FSpSetFLock(&mMacFileSpec);
            if (err == noErr)
                err = fBsyErr;
        }
    }
    return Result(err);
}

Boolean CFileObject::Delete(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    if (vRefNum == 0 || dirID == 0)
        return true;
    CFileObject file(vRefNum, dirID, name);
    return file.Delete() == noErr || !file.ExistsOnDisk();
}

Boolean CFileObject::Delete(const FSSpec* spec)
{
    return Delete(spec->vRefNum, spec->parID, spec->name);
}

Boolean CFileObject::DeleteCopyOf(const FSSpec* source, SInt16 vRefNum, SInt32 dirID)
{
    HFSUniStr255 name;
    const OSErr err = UnicodeName(*source, &name);
    return DeleteCopyOf(source, err == noErr ? &name : nullptr, vRefNum, dirID);
}

Boolean CFileObject::DeleteCopyOf(const FSSpec* source, const HFSUniStr255* name, SInt16 vRefNum, SInt32 dirID)
{
    FSRef folder, copy;
    FSSpec copySpec;
    const FSSpec folderSpec{vRefNum, dirID, {}};
    if (!name)
        return Delete(vRefNum, dirID, source->name);
    if (FSpMakeFSRef(&folderSpec, &folder) != noErr ||
        FSMakeFSRefUnicode(&folder, name->length, name->unicode, kTextEncodingUnknown, &copy) != noErr ||
        FSGetCatalogInfo(&copy, kFSCatInfoNone, nullptr, nullptr, &copySpec, nullptr) != noErr)
        return true;
    return Delete(&copySpec);
}

std::vector<UInt8> CFileObject::ReadRest()
{
    const SInt64 rest = std::max<SInt64>(0, GetLength() - GetMarker());
    std::vector<UInt8> bytes(std::size_t(rest), 0);
    SInt32 count = SInt32(rest);
    if (Result(GetBytes(bytes.data(), count)) != noErr)
        bytes.resize(std::size_t(count));
    return bytes;
}

Boolean CFileObject::ReadList(const std::function<ListReadResult(std::span<const UInt8>)>& decode)
{
    const SInt64 start = GetMarker();
    const std::vector<UInt8> bytes = ReadRest();
    const ListReadResult result = decode(bytes);
    SetMarker(start + SInt64(result.consumed), fsFromStart);
    return result.ok;
}

Boolean CFileObject::ReadFromFile(CListObject* list, Boolean withIndex)
{
    return ReadList([&](std::span<const UInt8> bytes) { return list->ReadFromBytes(bytes, withIndex); });
}

Boolean CFileObject::AddFromFile(CListObject* list, Boolean withIndex)
{
    return ReadList([&](std::span<const UInt8> bytes) { return list->AddFromBytes(bytes, withIndex); });
}

Boolean CFileObject::ReadFromFileNItems(CListStructs* list)
{
    return ReadList([&](std::span<const UInt8> bytes) { return list->ReadFromBytesNItems(bytes); });
}

long CFileObject::WriteToFile(CListObject* list, Boolean withIndex)
{
    std::vector<UInt8> bytes;
    const long written = list->WriteToBytes(bytes, withIndex);
    WriteBytes(bytes.data(), long(bytes.size()));
    return written;
}

long CFileObject::WriteToFileNItems(CListStructs* list)
{
    std::vector<UInt8> bytes;
    const long written = list->WriteToBytesNItems(bytes);
    WriteBytes(bytes.data(), long(bytes.size()));
    return written;
}

Boolean CFileObject::ReadFromFile(UHandle* block, long count)
{
    if (count < 0 || !block->Resize(count))
        return false;
    SInt32 moved = SInt32(count);
    const OSErr err = Result(count ? GetBytes(block->GetPtr(), moved) : OSErr(noErr));
    if (err != noErr)
        block->Resize(moved);
    return err == noErr;
}

Boolean CFileObject::AddFromFile(UHandle* block, long count)
{
    const long oldSize = block->GetSize();
    if (count < 0 || !block->Resize(oldSize + count))
        return false;
    SInt32 moved = SInt32(count);
    const OSErr err = Result(count ? GetBytes(block->GetPtr() + oldSize, moved) : OSErr(noErr));
    // A failed read appends nothing.
    if (err != noErr)
        block->Resize(oldSize);
    return err == noErr;
}

long CFileObject::WriteToFile(UHandle* block)
{
    const long size = block->GetSize();
    if (size <= 0)
        return 0;
    SInt32 moved = SInt32(size);
    Result(PutBytes(block->GetPtr(), moved));
    return moved;
}
