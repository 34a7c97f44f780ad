#include "engine/UReportFile.h"

#include <algorithm>
#include <cstring>

#include "filesystem/CFileObject.h"
#include "toolkit/BigEndian.h"
#include "toolkit/CListStructs.h"

namespace {

constexpr long kLogStep = 260;

// The header's fields in file order: offset and size of each integer.
struct Field {
    std::size_t offset;
    std::size_t size;
};

void Put(std::vector<UInt8>& out, std::size_t offset, UInt32 value, std::size_t size)
{
    if (size == 4)
        PutBigEndian32(out.data() + offset, value);
    else if (size == 2)
        PutBigEndian16(out.data() + offset, UInt16(value));
    else
        out[offset] = UInt8(value);
}

UInt32 Get(const UInt8* bytes, std::size_t size)
{
    return size == 4 ? GetBigEndian32(bytes) : size == 2 ? GetBigEndian16(bytes) : bytes[0];
}

// Every integer of the header, in order, with the member it is kept in.
template <typename Header, typename Visit>
void ForEachField(Header& header, Visit visit)
{
    visit(Field{0, 2}, header.vRefNum);
    visit(Field{2, 2}, header.reserved1);
    visit(Field{4, 4}, header.startDate);
    visit(Field{8, 4}, header.filesHandled);
    visit(Field{12, 4}, header.kilobytesHandled);
    visit(Field{16, 4}, header.newFiles);
    visit(Field{20, 4}, header.replacedFiles);
    visit(Field{24, 4}, header.deletedFiles);
    visit(Field{28, 4}, header.reserved2);
    visit(Field{32, 4}, header.errors);
    visit(Field{36, 1}, header.cancelled);
    visit(Field{37, 1}, header.finished);
    visit(Field{38, 2}, header.reserved3);
}

constexpr std::size_t kReservedOffset = 40;
constexpr std::size_t kTitleOffset = 72;

Boolean ValidEntries(CListStructs& log)
{
    for (long i = 1; i <= log.GetCount(); ++i) {
        const UInt8* entry = reinterpret_cast<const UInt8*>(log.GetNthStructPtr(i));
        const long length = log.GetNthStructLength(i);
        if (!entry || length < UReportFile::kLogEntrySize || entry[4] + UReportFile::kLogEntrySize != length)
            return false;
    }
    return true;
}

} // namespace

CListStructs* UReportFile::NewLog()
{
    return new CListStructs(nullptr, CListStructs::kOwnLength8, kLogStep);
}

LogEntryStruct UReportFile::MakeLogEntry(ConstStr255Param name, SInt32 level, Boolean isFolder, SInt16 errorClass)
{
    LogEntryStruct entry{};
    // The record's length byte holds name + 5: a longer name is cut to fit it.
    const UInt8 nameLength = std::min<UInt8>(name[0], 255 - kLogEntrySize);
    entry.length = UInt8(nameLength + kLogEntrySize);
    entry.level = UInt8(level);
    entry.isFolder = isFolder ? 1 : 0;
    entry.errorClass = UInt8(errorClass & 0xFF);
    entry.name[0] = nameLength;
    std::memcpy(entry.name + 1, name + 1, nameLength);
    return entry;
}

std::vector<UInt8> UReportFile::Encode(const ReportHeaderStruct& header, CListStructs& log)
{
    std::vector<UInt8> out(kPreambleSize + kHeaderSize, 0);
    PutBigEndian32(out.data(), kCreator);
    PutBigEndian32(out.data() + 4, kReportMagic);
    PutBigEndian32(out.data() + 8, kVersion);
    ForEachField(header, [&](Field field, auto value) { Put(out, kPreambleSize + field.offset, UInt32(value), field.size); });
    std::memcpy(out.data() + kPreambleSize + kReservedOffset, header.reserved4, sizeof header.reserved4);
    std::memcpy(out.data() + kPreambleSize + kTitleOffset, header.title, sizeof header.title);
    log.WriteToBytes(out, true);
    return out;
}

UReportFile::DecodeResult UReportFile::Decode(std::span<const UInt8> bytes, ReportHeaderStruct* header,
                                              CListStructs* log)
{
    // A file cut inside the magic codes is a short report; other bytes are no report at all.
    UInt8 magic[8];
    PutBigEndian32(magic, kCreator);
    PutBigEndian32(magic + 4, kReportMagic);
    const std::size_t compared = std::min(bytes.size(), sizeof magic);
    if (bytes.empty() || std::memcmp(bytes.data(), magic, compared) != 0)
        return DecodeResult::kNotAReport;
    if (bytes.size() < kPreambleSize + kHeaderSize)
        return DecodeResult::kShortHeader;
    if (GetBigEndian32(bytes.data() + 8) != kVersion)
        return DecodeResult::kUnsupportedVersion;

    const UInt8* fields = bytes.data() + kPreambleSize;
    ForEachField(*header, [&](Field field, auto& value) {
        value = static_cast<std::remove_reference_t<decltype(value)>>(Get(fields + field.offset, field.size));
    });
    std::memcpy(header->reserved4, fields + kReservedOffset, sizeof header->reserved4);
    std::memcpy(header->title, fields + kTitleOffset, sizeof header->title);
    header->title[0] = std::min<UInt8>(header->title[0], sizeof header->title - 1);

    const std::span<const UInt8> rest = bytes.subspan(kPreambleSize + kHeaderSize);
    const ListReadResult read = log->ReadFromBytes(rest, true);
    if (rest.empty() || !read.ok || read.consumed != rest.size() || !ValidEntries(*log))
        return DecodeResult::kBadLog;
    return DecodeResult::kOK;
}

UReportFile::DecodeResult UReportFile::Read(FSSpec* spec, ReportHeaderStruct* header, CListStructs* log)
{
    CFileObject file(spec);
    const long size = file.GetFileDataSize();
    if (size <= 0 || file.OpenDataFork(fsRdPerm) != noErr)
        return DecodeResult::kNotAReport;
    // The magic codes first, so that no other file is read whole.
    std::vector<UInt8> bytes(std::size_t(std::min<long>(size, 8)));
    OSErr err = file.ReadBytes(bytes.data(), long(bytes.size()));
    if (err == noErr && size > 8 && Decode(bytes, header, log) != DecodeResult::kNotAReport) {
        bytes.resize(std::size_t(size));
        err = file.ReadBytes(bytes.data() + 8, size - 8);
    }
    file.Close();
    if (err != noErr)
        return DecodeResult::kNotAReport;
    return Decode(bytes, header, log);
}
