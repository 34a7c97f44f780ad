#pragma once
// One file, addressed by its FSSpec, with its data and resource forks: plain
// reads and writes, catalog information, locking, creation, renaming, moving to the
// trash and a deletion that does not give up: it unlocks the file, opens the parent
// folder's rights, and moves the item to the trash as the last resort.
//
// Every operation stores its platform result in mLastError and returns it. The list
// and block file calls read and write the toolkit's list file format at the data
// fork's mark.

#include <functional>
#include <span>
#include <vector>

#include "platform/LFileStream.h"
#include "toolkit/CListObject.h"

class CListStructs;

class CFileObject : public LFileStream {
public:
    enum : OSErr {
        kNoEditBufferErr = -27, // no buffer for an in-place edit
    };

    explicit CFileObject(const FSSpec* spec);
    // A long name is resolved to the item's catalog name; an empty name names no item.
    CFileObject(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
    // The name is string `index` of the string list resource `strListID`.
    CFileObject(SInt16 vRefNum, SInt32 dirID, SInt16 strListID, SInt16 index);

    void SetFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
    OSErr GetLastError() const { return mLastError; }

    Boolean ExistsOnDisk();
    Boolean IsFolder();
    Boolean IsLocked();
    // 0 on error.
    OSType GetMacType();
    OSType GetMacCreator();
    OSErr GetFileInfos(CInfoPBRec* pb);
    OSErr SetFileInfos(CInfoPBRec* pb);
    OSErr SetLock(Boolean locked);

    // permission 1 read, 2 write, 3 both; 0 when the fork is already open. A resource
    // fork that will not open is ioErr, whatever the platform said.
    OSErr OpenDataFork(SInt16 permission) override;
    OSErr OpenResourceFork(SInt16 permission) override;
    void Close();

    // mode: fsFromStart, fsFromLEOF or fsFromMark.
    virtual OSErr SetPosition(long offset, short mode);
    long GetPosition();
    virtual OSErr SetResourcePosition(long offset, short mode);
    // With 0 < keep < count, reads keep bytes and skips the rest of the field.
    virtual OSErr ReadBytes(void* buffer, long count, long keep = 0);
    virtual OSErr ReadBytesInResource(void* buffer, long count);
    // Nothing (noErr) without a buffer or bytes.
    virtual OSErr WriteBytes(const void* buffer, long count);
    virtual OSErr WriteBytesInResource(const void* buffer, long count);
    // In-place edits of the open data fork; the following bytes move up or down.
    virtual OSErr ReplaceInFile(long position, long oldLength, const void* buffer, long newLength);
    // Overwrites `length` bytes of the resource fork at `position` (inside the fork or at its end).
    virtual OSErr ReplaceInResource(long position, const void* buffer, long length);
    virtual OSErr InsertInFile(long position, const void* buffer, long length);
    virtual OSErr RemoveInFile(long position, long length);

    // 0 on error.
    UInt8 ReadChar();
    SInt32 ReadLong();
    OSErr WriteLong(SInt32 value);

    // The data fork's length; the fork is opened for the call when closed.
    long GetFileDataSize();
    OSErr SetFileDataSize(long length);

    // With giveToUser, a file made by a set-uid run goes to the user who started it.
    OSErr Create(OSType creator, OSType type, Boolean giveToUser);
    // On success the object names the renamed file; a lock stays.
    OSErr ChangeFileName(ConstStr255Param newName);
    // Into `folder` on the same volume (else fnfErr); the object keeps naming the old place.
    // With renameOnConflict, a clash gives the name ".1", ".2", … up to ".2047".
    OSErr MoveTo(const FSSpec* folder, Boolean renameOnConflict);
    OSErr MoveToTrash();
    // A file, or a folder with its content: noErr only when the item is gone. An
    // item that resists even the trash stays where it was, with its lock.
    OSErr Delete();

    // True when the item does not exist afterwards; nothing is done for volume or folder 0.
    static Boolean Delete(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
    static Boolean Delete(const FSSpec* spec);
    // Deletes the item of the folder (vRefNum, dirID) that has the name of `source`.
    static Boolean DeleteCopyOf(const FSSpec* source, SInt16 vRefNum, SInt32 dirID);
    // The same with the source's Unicode name in hand; without it, by the source's catalog name.
    static Boolean DeleteCopyOf(const FSSpec* source, const HFSUniStr255* name, SInt16 vRefNum, SInt32 dirID);

    // The list file format (CListObject::WriteToBytes); every reader and writer of
    // this system uses the index. A read leaves the mark after the list.
    Boolean ReadFromFile(CListObject* list, Boolean withIndex);
    Boolean AddFromFile(CListObject* list, Boolean withIndex);
    long WriteToFile(CListObject* list, Boolean withIndex);
    // Fixed-size lists only: a record count, then the records.
    Boolean ReadFromFileNItems(CListStructs* list);
    long WriteToFileNItems(CListStructs* list);
    // A memory block: `count` bytes into it (replacing or appending), or all of it out.
    Boolean ReadFromFile(UHandle* block, long count);
    Boolean AddFromFile(UHandle* block, long count);
    long WriteToFile(UHandle* block);

private:
    OSErr Result(OSErr err) { return mLastError = err; }
    OSErr DeleteFile(Boolean locked);
    OSErr MoveRenaming(const FSSpec* folder);
    // The bytes from the mark to the end of the data fork.
    std::vector<UInt8> ReadRest();
    // Decodes a list from the mark on and leaves the mark after it.
    Boolean ReadList(const std::function<ListReadResult(std::span<const UInt8>)>& decode);
    OSErr MoveTail(long from, long delta);

    OSErr mLastError = noErr;
};
