#include "cli/UReportText.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli/UText.h"
#include "engine/UReportFile.h"
#include "filesystem/UVolumeChoice.h"
#include "platform/DateTimeUtils.h"
#include "platform/Resources.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr ResIDT kErrorClassStrings = 131;
constexpr ResIDT kReportStateStrings = 133;

// A copy of entry `index`; a name longer than its record is cut to the record.
LogEntryStruct EntryAt(CListStructs& log, long index)
{
    LogEntryStruct entry{};
    const long length = log.GetNthStruct(index, &entry, sizeof entry);
    const long nameRoom = length - UReportFile::kLogEntrySize;
    entry.name[0] = UInt8(nameRoom < 0 ? 0 : std::min<long>(entry.name[0], nameRoom));
    return entry;
}

std::string IndexedString(ResIDT list, short index)
{
    Str255 text = {0};
    if (index > 0)
        GetIndString(text, list, index);
    return UText::FromPString(text);
}

std::string Number(UInt32 value)
{
    Str255 text;
    CStr255::ConvLongToString(long(value), text, kFormatGroupThousands);
    return UText::FromPString(text);
}

std::string StartDate(UInt32 seconds)
{
    Str255 date;
    Str255 time;
    CStr255::ConvDateToString(seconds, date, kFormatDateShort);
    CStr255::ConvTimeToString(seconds % 86400, time, kFormatTimeSeconds);
    return UText::FromPString(date) + " " + UText::FromPString(time);
}

std::string ISODate(UInt32 seconds)
{
    DateTimeRec date{};
    SecondsToDate(seconds, &date);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", date.year, date.month, date.day, date.hour,
                  date.minute, date.second);
    return text;
}

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (UInt8(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(UInt8(c)));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

void UReportText::Print(std::ostream& out, const ReportHeaderStruct& header, CListStructs& log)
{
    Str255 filesAndSize;
    UVolumeChoice::GetNumAndSize(long(header.filesHandled), header.kilobytesHandled, filesAndSize);
    out << UText::FromPString(header.title) << "\n"
        << StartDate(header.startDate) << "\n"
        << UText::FromPString(filesAndSize) << "\n"
        << Number(header.newFiles) << " new, " << Number(header.replacedFiles) << " replaced, "
        << Number(header.deletedFiles) << " deleted, " << Number(header.errors) << " errors\n";
    if (!header.finished)
        out << IndexedString(kReportStateStrings, 2) << "\n";
    else if (header.cancelled)
        out << IndexedString(kReportStateStrings, 1) << "\n";

    long last = log.GetCount();
    while (last > 0 && EntryAt(log, last).errorClass == 0)
        --last;
    if (last == 0)
        return;
    out << "\nFailures:\n";
    for (long index = 1; index <= last; ++index) {
        const LogEntryStruct entry = EntryAt(log, index);
        out << std::string(2 * (std::size_t(entry.level) + 1), ' ') << UText::FromPString(entry.name);
        if (entry.isFolder)
            out << "/";
        if (entry.errorClass != 0)
            out << "  [" << IndexedString(kErrorClassStrings, entry.errorClass) << "]";
        out << "\n";
    }
}

void UReportText::PrintJSON(std::ostream& out, const ReportHeaderStruct& header, CListStructs& log)
{
    out << "{\n"
        << "  \"title\": " << Quoted(UText::FromPString(header.title)) << ",\n"
        << "  \"startDate\": " << Quoted(ISODate(header.startDate)) << ",\n"
        << "  \"volume\": " << header.vRefNum << ",\n"
        << "  \"filesHandled\": " << header.filesHandled << ",\n"
        << "  \"kilobytesHandled\": " << header.kilobytesHandled << ",\n"
        << "  \"newFiles\": " << header.newFiles << ",\n"
        << "  \"replacedFiles\": " << header.replacedFiles << ",\n"
        << "  \"deletedFiles\": " << header.deletedFiles << ",\n"
        << "  \"errors\": " << header.errors << ",\n"
        << "  \"cancelled\": " << (header.cancelled ? "true" : "false") << ",\n"
        << "  \"finished\": " << (header.finished ? "true" : "false") << ",\n"
        << "  \"entries\": [";
    for (long index = 1; index <= log.GetCount(); ++index) {
        const LogEntryStruct entry = EntryAt(log, index);
        out << (index == 1 ? "\n" : ",\n") << "    {\"level\": " << int(entry.level)
            << ", \"kind\": " << (entry.isFolder ? "\"folder\"" : "\"file\"")
            << ", \"errorClass\": " << int(entry.errorClass);
        if (entry.errorClass != 0)
            out << ", \"error\": " << Quoted(IndexedString(kErrorClassStrings, entry.errorClass));
        out << ", \"name\": " << Quoted(UText::FromPString(entry.name)) << "}";
    }
    out << (log.GetCount() ? "\n  ]\n}\n" : "]\n}\n");
}
