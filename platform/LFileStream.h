#pragma once
// A file with a data fork and a resource fork, and a stream over its data fork at the
// fork's mark. Each fork is opened on demand and closed with the object. Failures are
// the platform's codes, returned, never thrown.

#include "platform/Files.h"

class LFileStream {
public:
    LFileStream() = default;
    explicit LFileStream(const FSSpec& spec) : mMacFileSpec(spec) {}
    virtual ~LFileStream();
    LFileStream(const LFileStream&) = delete;
    LFileStream& operator=(const LFileStream&) = delete;

    const FSSpec& GetSpecifier() const { return mMacFileSpec; }
    // Closes both forks first: they belong to the old file.
    void SetSpecifier(const FSSpec& spec);

    // permission: fsRdPerm, fsWrPerm or fsRdWrPerm.
    virtual OSErr OpenDataFork(SInt16 permission);
    virtual OSErr OpenResourceFork(SInt16 permission);
    void CloseDataFork();
    void CloseResourceFork();
    SInt16 GetDataForkRefNum() const { return mDataForkRefNum; }
    SInt16 GetResourceForkRefNum() const { return mResourceForkRefNum; }

    // At the data fork's mark, uncached; `count` receives the bytes moved.
    virtual OSErr GetBytes(void* buffer, SInt32& count);
    virtual OSErr PutBytes(const void* buffer, SInt32& count);
    // mode: fsFromStart, fsFromLEOF or fsFromMark.
    OSErr SetMarker(SInt64 offset, UInt16 mode);
    SInt64 GetMarker() const;
    SInt64 GetLength() const;
    OSErr SetLength(SInt64 length);

    static constexpr SInt16 kClosed = -1;

protected:
    // Either fork at its mark, uncached.
    static OSErr ReadAtMark(SInt16 refNum, void* buffer, SInt32& count);
    static OSErr WriteAtMark(SInt16 refNum, const void* buffer, SInt32& count);

    FSSpec mMacFileSpec{};
    SInt16 mDataForkRefNum = kClosed;
    SInt16 mResourceForkRefNum = kClosed;
};
