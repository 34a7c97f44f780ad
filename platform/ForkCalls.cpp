// The File Manager's fork calls over the fork table.

#include <algorithm>

#include "platform/Catalog.h"
#include "platform/Files.h"
#include "platform/ForkTable.h"
#include "platform/MacNames.h"

namespace {

const std::u16string kDataForkName = u"";
const std::u16string kResourceForkName = u"RESOURCE_FORK";

OSErr ReturnForkName(const std::u16string& name, HFSUniStr255* out)
{
    if (!out)
        return paramErr;
    out->length = UInt16(name.size());
    std::copy(name.begin(), name.end(), out->unicode);
    return noErr;
}

OSErr OpenSpecFork(const FSSpec* spec, bool resource, SInt8 permission, SInt16* refNum)
{
    if (!spec)
        return paramErr;
    CatalogItem item;
    if (const OSErr err = Catalog::Shared().Lookup(spec->vRefNum, spec->parID == 0 ? SInt32(fsRtDirID) : spec->parID,
                                                   MacNames::FromPascal(spec->name), &item))
        return err;
    return ForkTable::Shared().Open(item, resource, permission, refNum);
}

// A classic read or write: `count` in, the bytes moved out.
template <typename Transfer>
OSErr ClassicTransfer(SInt32* count, Transfer transfer)
{
    if (!count || *count < 0)
        return paramErr;
    UInt32 actual = 0;
    const OSErr err = transfer(&actual);
    *count = SInt32(actual);
    return err;
}

} // namespace

OSErr FSGetDataForkName(HFSUniStr255* name)
{
    return ReturnForkName(kDataForkName, name);
}

OSErr FSGetResourceForkName(HFSUniStr255* name)
{
    return ReturnForkName(kResourceForkName, name);
}

OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, SInt8 permissions,
                 SInt16* forkRefNum)
{
    if (!ref)
        return paramErr;
    const std::u16string name(reinterpret_cast<const char16_t*>(forkName), forkName ? forkNameLength : 0);
    if (name != kDataForkName && name != kResourceForkName)
        return errFSForkNotFound;
    CatalogItem item;
    if (const OSErr err = Catalog::Shared().LookupDisk(ref->vRefNum, ref->parID, std::string(ref->name, ref->nameLength), &item))
        return err;
    return ForkTable::Shared().Open(item, name == kResourceForkName, permissions, forkRefNum);
}

OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, UInt32 requestCount, void* buffer,
                 UInt32* actualCount)
{
    return ForkTable::Shared().Read(forkRefNum, positionMode, positionOffset, requestCount, buffer, actualCount);
}

OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, UInt32 requestCount,
                  const void* buffer, UInt32* actualCount)
{
    return ForkTable::Shared().Write(forkRefNum, positionMode, positionOffset, requestCount, buffer, actualCount);
}

OSErr FSGetForkSize(SInt16 forkRefNum, SInt64* forkSize)
{
    return forkSize ? ForkTable::Shared().GetSize(forkRefNum, forkSize) : OSErr(paramErr);
}

OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset)
{
    return ForkTable::Shared().SetSize(forkRefNum, positionMode, positionOffset);
}

OSErr FSGetForkPosition(SInt16 forkRefNum, SInt64* position)
{
    return position ? ForkTable::Shared().GetPosition(forkRefNum, position) : OSErr(paramErr);
}

OSErr FSSetForkPosition(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset)
{
    return ForkTable::Shared().SetPosition(forkRefNum, positionMode, positionOffset);
}

OSErr FSCopyForkRange(SInt16 fromRefNum, SInt16 toRefNum, SInt64 offset, UInt32 count)
{
    return ForkTable::Shared().CopyRange(fromRefNum, toRefNum, offset, count);
}

OSErr FSCloseFork(SInt16 forkRefNum)
{
    return ForkTable::Shared().Close(forkRefNum);
}

OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum)
{
    return OpenSpecFork(spec, false, permission, refNum);
}

OSErr FSpOpenRF(const FSSpec* spec, SInt8 permission, SInt16* refNum)
{
    return OpenSpecFork(spec, true, permission, refNum);
}

OSErr FSRead(SInt16 refNum, SInt32* count, void* buffer)
{
    return ClassicTransfer(count, [&](UInt32* actual) {
        return FSReadFork(refNum, fsAtMark, 0, UInt32(*count), buffer, actual);
    });
}

OSErr FSWrite(SInt16 refNum, SInt32* count, const void* buffer)
{
    return ClassicTransfer(count, [&](UInt32* actual) {
        return FSWriteFork(refNum, fsAtMark, 0, UInt32(*count), buffer, actual);
    });
}

OSErr GetEOF(SInt16 refNum, SInt32* logicalEOF)
{
    SInt64 size = 0;
    if (!logicalEOF)
        return paramErr;
    const OSErr err = FSGetForkSize(refNum, &size);
    // The classic call cannot tell a size beyond 2 GB.
    *logicalEOF = SInt32(std::min<SInt64>(size, 0x7FFFFFFF));
    return err;
}

OSErr SetEOF(SInt16 refNum, SInt32 logicalEOF)
{
    return FSSetForkSize(refNum, fsFromStart, logicalEOF);
}

OSErr GetFPos(SInt16 refNum, SInt32* position)
{
    SInt64 mark = 0;
    if (!position)
        return paramErr;
    const OSErr err = FSGetForkPosition(refNum, &mark);
    *position = SInt32(std::min<SInt64>(mark, 0x7FFFFFFF));
    return err;
}

OSErr SetFPos(SInt16 refNum, SInt16 positionMode, SInt32 offset)
{
    return FSSetForkPosition(refNum, UInt16(positionMode), offset);
}

OSErr FSClose(SInt16 refNum)
{
    return FSCloseFork(refNum);
}
