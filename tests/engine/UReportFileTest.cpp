#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/UReportFile.h"
#include "tests/engine/ActionRunTest.h"
#include "toolkit/BigEndian.h"
#include "toolkit/CListStructs.h"

using actionruntest::LogLine;
using actionruntest::LogLines;
using filestest::PString;

namespace {

ReportHeaderStruct SampleHeader()
{
    ReportHeaderStruct header;
    header.vRefNum = -101;
    header.startDate = 0xC1D2E3F4;
    header.filesHandled = 11;
    header.kilobytesHandled = 0x01020304;
    header.newFiles = 5;
    header.replacedFiles = 6;
    header.deletedFiles = 7;
    header.errors = 2;
    header.cancelled = 1;
    header.finished = 1;
    std::memcpy(header.title, "\x0BNightly run", 12);
    return header;
}

std::unique_ptr<CListStructs> SampleLog()
{
    std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    for (const LogEntryStruct& entry : {UReportFile::MakeLogEntry(PString("usr"), 0, true, 0),
                                        UReportFile::MakeLogEntry(PString("broken file"), 1, false, 5)})
        log->AddStructToList(&entry, entry.length);
    return log;
}

} // namespace

TEST(UReportFileTest, EncodesThePreambleHeaderAndLogAtTheirOffsets)
{
    const auto log = SampleLog();
    const std::vector<UInt8> bytes = UReportFile::Encode(SampleHeader(), *log);
    ASSERT_GT(bytes.size(), 172u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "VrnoZVRe");
    EXPECT_EQ(GetBigEndian32(&bytes[8]), 1u);
    EXPECT_EQ(std::vector<UInt8>(bytes.begin() + 12, bytes.begin() + 36), std::vector<UInt8>(24, 0));

    struct Field {
        std::size_t offset;
        std::size_t size;
        UInt32 value;
    };
    const Field fields[] = {
        {36, 2, 0xFF9B}, {38, 2, 0},  {40, 4, 0xC1D2E3F4}, {44, 4, 11}, {48, 4, 0x01020304}, {52, 4, 5},
        {56, 4, 6},      {60, 4, 7},  {64, 4, 0},          {68, 4, 2},  {72, 1, 1},          {73, 1, 1},
        {74, 2, 0},
    };
    for (const Field& field : fields) {
        const UInt32 read = field.size == 4   ? GetBigEndian32(&bytes[field.offset])
                            : field.size == 2 ? GetBigEndian16(&bytes[field.offset])
                                              : bytes[field.offset];
        EXPECT_EQ(read, field.value) << "offset " << field.offset;
    }
    EXPECT_EQ(std::vector<UInt8>(bytes.begin() + 76, bytes.begin() + 108), std::vector<UInt8>(32, 0));
    EXPECT_EQ(bytes[108], 11);
    EXPECT_EQ(std::string(bytes.begin() + 109, bytes.begin() + 120), "Nightly run");
    EXPECT_EQ(std::vector<UInt8>(bytes.begin() + 120, bytes.begin() + 172), std::vector<UInt8>(52, 0));

    std::vector<UInt8> list;
    log->WriteToBytes(list, true);
    EXPECT_EQ(std::vector<UInt8>(bytes.begin() + 172, bytes.end()), list);
}

TEST(UReportFileTest, DecodesWhatItEncodes)
{
    const auto log = SampleLog();
    const std::vector<UInt8> bytes = UReportFile::Encode(SampleHeader(), *log);
    ReportHeaderStruct header;
    std::unique_ptr<CListStructs> read(UReportFile::NewLog());
    ASSERT_EQ(UReportFile::Decode(bytes, &header, read.get()), UReportFile::DecodeResult::kOK);
    const ReportHeaderStruct expected = SampleHeader();
    EXPECT_EQ(std::memcmp(&header, &expected, sizeof header), 0);
    EXPECT_EQ(LogLines(*read), (std::vector<LogLine>{{0, true, 0, "usr"}, {1, false, 5, "broken file"}}));
}

TEST(UReportFileTest, RefusesBytesThatAreNoCompleteReport)
{
    const auto log = SampleLog();
    const std::vector<UInt8> good = UReportFile::Encode(SampleHeader(), *log);
    using Result = UReportFile::DecodeResult;
    struct Case {
        const char* name;
        std::function<void(std::vector<UInt8>&)> spoil;
        Result expected;
    };
    const Case cases[] = {
        {"empty file", [](auto& b) { b.clear(); }, Result::kNotAReport},
        {"other file", [](auto& b) { b.assign(300, 'x'); }, Result::kNotAReport},
        {"second magic wrong", [](auto& b) { b[5] = 'X'; }, Result::kNotAReport},
        {"cut in the magic", [](auto& b) { b.resize(6); }, Result::kShortHeader},
        {"cut in the preamble", [](auto& b) { b.resize(20); }, Result::kShortHeader},
        {"cut in the header", [](auto& b) { b.resize(171); }, Result::kShortHeader},
        {"other version", [](auto& b) { b[11] = 2; }, Result::kUnsupportedVersion},
        {"no log at all", [](auto& b) { b.resize(172); }, Result::kBadLog},
        {"cut in the log", [](auto& b) { b.pop_back(); }, Result::kBadLog},
        {"bytes after the log", [](auto& b) { b.push_back(0); }, Result::kBadLog},
        {"entry length not name + 5",
         [](auto& b) {
             std::unique_ptr<CListStructs> odd(UReportFile::NewLog());
             const UInt8 entry[] = {9, 0, 1, 0, 6, 'a', 'b', 'c', 'd'};
             odd->AddStructToList(entry, sizeof entry);
             b = UReportFile::Encode(SampleHeader(), *odd);
         },
         Result::kBadLog},
    };
    for (const Case& c : cases) {
        std::vector<UInt8> bytes = good;
        c.spoil(bytes);
        ReportHeaderStruct header;
        std::unique_ptr<CListStructs> read(UReportFile::NewLog());
        EXPECT_EQ(UReportFile::Decode(bytes, &header, read.get()), c.expected) << c.name;
    }
}

TEST(UReportFileTest, LogEntryKeepsTheLowEightBitsOfTheClassAndFitsItsLengthByte)
{
    const LogEntryStruct entry = UReportFile::MakeLogEntry(PString("name"), 3, false, 0x1234);
    EXPECT_EQ(entry.errorClass, 0x34);
    EXPECT_EQ(entry.length, 9);
    EXPECT_EQ(entry.level, 3);
    const LogEntryStruct longest = UReportFile::MakeLogEntry(PString(std::string(255, 'n')), 0, true, 0);
    EXPECT_EQ(longest.length, 255);
    EXPECT_EQ(longest.name[0], 250);
}
