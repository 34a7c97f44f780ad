#pragma once
// The open forks, by reference number. A data fork is the file's content, opened
// as a file; a symbolic link's data fork is its target, read-only; FIFOs and device
// nodes have an empty data fork and are never opened. A resource fork is the
// extended attribute user.com.apple.ResourceFork, held in memory and written back
// on every change, so a write beyond what the file system holds fails at once.

#include <map>
#include <string>

#include "platform/Catalog.h"

class ForkTable {
public:
    static ForkTable& Shared();

    OSErr Open(const CatalogItem& item, bool resource, SInt8 permission, SInt16* refNum);
    OSErr Read(SInt16 refNum, UInt16 positionMode, SInt64 offset, UInt32 count, void* buffer, UInt32* actual);
    OSErr Write(SInt16 refNum, UInt16 positionMode, SInt64 offset, UInt32 count, const void* buffer, UInt32* actual);
    OSErr GetSize(SInt16 refNum, SInt64* size);
    OSErr SetSize(SInt16 refNum, UInt16 positionMode, SInt64 offset);
    OSErr GetPosition(SInt16 refNum, SInt64* position);
    OSErr SetPosition(SInt16 refNum, UInt16 positionMode, SInt64 offset);
    OSErr Close(SInt16 refNum);
    OSErr CopyRange(SInt16 fromRefNum, SInt16 toRefNum, SInt64 offset, UInt32 count);

private:
    struct Fork {
        std::string path;
        bool resource = false;
        bool writable = false;
        int fd = -1;          // an open data fork
        std::string contents; // a resource fork or a link's target
        SInt64 position = 0;
    };

    ForkTable() = default;
    Fork* Find(SInt16 refNum);
    SInt64 Size(const Fork& fork) const;
    OSErr Place(const Fork& fork, UInt16 positionMode, SInt64 offset, SInt64* position) const;
    // Stores a resource fork's new contents; on failure the fork keeps the old ones.
    OSErr ReplaceContents(Fork& fork, std::string contents) const;

    std::map<SInt16, Fork> mForks;
    SInt16 mNextRefNum = 1;
};
