#include "cli/UCompareCommand.h"

#include <iostream>
#include <string>

#include "cli/CCommandLine.h"
#include "cli/CEndPoint.h"
#include "cli/ExitStatus.h"
#include "cli/StInterruptHandler.h"
#include "cli/UText.h"
#include "engine/CCompareList.h"
#include "engine/CCompareThread.h"
#include "toolkit/CStr255.h"

namespace {

// The window's three marker columns: one side only or size; date; other side only or owners.
std::string Markers(UInt8 bits)
{
    std::string markers = "   ";
    if (bits & kOnlyOnSecond)
        markers[0] = '>';
    else if (bits & kSizeDiffers)
        markers[0] = 's';
    if (bits & kDateDiffers)
        markers[1] = 'd';
    if (bits & kOnlyOnFirst)
        markers[2] = '<';
    else if (bits & (kFileOwnerDiffers | kFolderOwnerDiffers))
        markers[2] = 'o';
    return markers;
}

// The rows at `level` from entry `start` on, each folder followed by its own rows.
void PrintLevel(const CCompareList& list, long start, UInt8 level, UInt8 mask, std::ostream& out)
{
    for (long index = start; index <= list.GetCount(); ++index) {
        const CompareStruct item = list.GetItem(index);
        if (item.level < level)
            return;
        if (item.level > level || (list.GetShownBits(index, mask) & mask) == 0)
            continue;
        out << Markers(item.differences) << ' ' << std::string(2 * std::size_t(level), ' ')
            << UText::FromPString(item.name) << (item.isFolder ? "/" : "") << '\n';
        if (item.isFolder)
            PrintLevel(list, index + 1, UInt8(level + 1), mask, out);
    }
}

} // namespace

int UCompareCommand::Run(const CCommandLine& line)
{
    CEndPoint first;
    CEndPoint second;
    std::string error;
    if (!first.Resolve(line.mOperands[0], &error) || !second.Resolve(line.mOperands[1], &error)) {
        std::cerr << "varno-cli: " << error << "\n";
        return kExitBadUsage;
    }
    UInt8 mask = kFileAndFolder;
    if (line.Has("sizes"))
        mask |= kSizeDiffers;
    if (line.Has("dates"))
        mask |= kDateDiffers;
    if (line.Has("file-owners"))
        mask |= kFileOwnerDiffers;
    if (line.Has("folder-owners"))
        mask |= kFolderOwnerDiffers;

    CCompareList list;
    // The scheduler disposes of the thread once it has ended.
    auto* thread = new CCompareThread(first.mVRefNum, SInt32(first.mDirID), second.mVRefNum, SInt32(second.mDirID), &list);
    {
        StInterruptHandler interrupts;
        thread->Resume();
        while (!thread->ThreadFinished()) {
            if (StInterruptHandler::Interrupted())
                thread->CancelThread();
            LThread::Yield();
        }
    }
    const bool cancelled = thread->ThreadCancelled();
    thread->Resume();
    LThread::Yield();

    std::cout << "> only in " << second.mPath << ", < only in " << first.mPath
              << ", s size, d date, o owner or permissions\n";
    PrintLevel(list, 1, 0, mask, std::cout);
    long shown = 0;
    for (long index = 1; index <= list.GetCount(); ++index)
        shown += (list.GetItem(index).differences & mask) != 0;
    Str255 count;
    CStr255::ConvLongToString(shown, count, kFormatGroupThousands);
    std::cout << UText::FromPString(count) << (shown == 1 ? " difference" : " differences")
              << (cancelled ? " before the comparison was cancelled" : "") << "\n";
    return cancelled ? kExitRefused : kExitFinished;
}
