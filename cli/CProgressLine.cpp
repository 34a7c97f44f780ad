#include "cli/CProgressLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>

#include "cli/UText.h"
#include "engine/CActionThread.h"
#include "filesystem/UVolumeChoice.h"
#include "toolkit/CStr255.h"

namespace {

std::string Number(UInt32 value)
{
    Str255 text;
    CStr255::ConvLongToString(long(value), text, kFormatGroupThousands);
    return UText::FromPString(text);
}

std::size_t TerminalWidth()
{
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// `text` cut to `width` characters, never inside a UTF-8 sequence.
std::string Cut(const std::string& text, std::size_t width)
{
    std::size_t shown = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((UInt8(text[i]) & 0xC0) != 0x80 && shown++ == width)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

CProgressLine::CProgressLine(std::ostream& out, bool terminal) : mOut(out), mTerminal(terminal) {}

std::string CProgressLine::Text(const CActionThread& thread)
{
    const UInt64 done = UInt64(thread.mDoneKB) + thread.mActionKB;
    const UInt64 percent = thread.mTotalKB == 0 ? 0 : std::min<UInt64>(100, done * 100 / thread.mTotalKB);
    Str255 size;
    UVolumeChoice::GetSize(thread.mCopiedKB + thread.mActionKB, size);
    std::string text = std::to_string(percent) + "%  " + Number(thread.mFilesExamined) + " of " +
                       Number(thread.mTotalFiles) + " files, " + Number(thread.mFilesHandled) + " handled, " +
                       UText::FromPString(size);
    if (thread.mPathText[0] != 0)
        text += "  " + UText::FromPString(thread.mPathText);
    return text;
}

void CProgressLine::Show(const CActionThread& thread)
{
    if (mTerminal) {
        mOut << '\r' << Cut(Text(thread), TerminalWidth() - 1) << "\033[K" << std::flush;
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now < mNextPlainLine)
        return;
    mNextPlainLine = now + std::chrono::seconds(1);
    mOut << Text(thread) << std::endl;
}

void CProgressLine::End(const CActionThread& thread)
{
    mNextPlainLine = {};
    Show(thread);
    if (mTerminal)
        mOut << '\n' << std::flush;
}
