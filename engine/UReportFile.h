#pragma once
// The report file of an action run: its byte layout, written down once. Big-endian:
//   0   'Vrno' (the application's creator code)
//   4   'ZVRe'
//   8   version, 1
//   12  24 zero bytes
//   36  ReportHeaderStruct, 136 bytes
//   172 the log list in the list file form, with its index
// Every writer goes through Encode and every reader through Decode.

#include <span>
#include <vector>

#include "platform/MacTypes.h"

class CListStructs;

// The counters of a run. In memory in host byte order; Encode and Decode give it
// its big-endian file form, field by field in this order.
struct ReportHeaderStruct {
    SInt16 vRefNum = 0; // the source volume at write time
    SInt16 reserved1 = 0;
    UInt32 startDate = 0; // seconds since 1904
    UInt32 filesHandled = 0;
    UInt32 kilobytesHandled = 0;
    UInt32 newFiles = 0;
    UInt32 replacedFiles = 0;
    UInt32 deletedFiles = 0; // single files, plus the files inside deleted folders
    UInt32 reserved2 = 0;
    UInt32 errors = 0; // actions that ended with an error other than the cancel marker
    UInt8 cancelled = 0;
    UInt8 finished = 0;
    UInt16 reserved3 = 0;
    UInt8 reserved4[32] = {};
    Str63 title{}; // up to 63 characters
};
static_assert(sizeof(ReportHeaderStruct) == 136);

// A log entry, a record of the log list (length mode 5): length = name length + 5,
// the item's level (0: directly in the source root), 1 for a folder the run entered
// or 0 for a file whose action failed, the low 8 bits of the error class (0 for a
// folder), then the item's long name as a Pascal string.
struct LogEntryStruct {
    UInt8 length;
    UInt8 level;
    UInt8 isFolder;
    UInt8 errorClass;
    Str255 name;
};
static_assert(sizeof(LogEntryStruct) == 260);

class UReportFile {
public:
    static constexpr OSType kCreator = MakeOSType("Vrno");
    static constexpr OSType kReportMagic = MakeOSType("ZVRe");
    static constexpr OSType kFileType = MakeOSType("VrnR");
    static constexpr UInt32 kVersion = 1;
    static constexpr std::size_t kPreambleSize = 36;
    static constexpr std::size_t kHeaderSize = 136;
    static constexpr long kLogEntrySize = 5; // without the name's characters

    // Why bytes are not a report.
    enum class DecodeResult {
        kOK,
        kNotAReport,         // the two magic codes are not there
        kUnsupportedVersion, // a version other than 1
        kShortHeader,        // the file ends inside the preamble or the header
        kBadLog,             // the log list is missing, malformed or followed by other bytes
    };

    // A new, empty log list: length mode 5, growth step 260, no comparator.
    static CListStructs* NewLog();
    // A log entry of `level`, `isFolder` and the low 8 bits of `errorClass`.
    static LogEntryStruct MakeLogEntry(ConstStr255Param name, SInt32 level, Boolean isFolder, SInt16 errorClass);

    static std::vector<UInt8> Encode(const ReportHeaderStruct& header, CListStructs& log);
    // On success `header` and `log` hold the report; otherwise they are unspecified.
    static DecodeResult Decode(std::span<const UInt8> bytes, ReportHeaderStruct* header, CListStructs* log);
    // Decodes the data fork of the file `spec` names; one that cannot be read is no report.
    static DecodeResult Read(FSSpec* spec, ReportHeaderStruct* header, CListStructs* log);
};
